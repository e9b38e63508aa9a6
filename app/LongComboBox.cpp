#include "app/LongComboBox.h"

#ifdef __WXGTK3__
#include <gtk/gtk.h>
#endif

LongComboBox::LongComboBox(wxWindow* parent, wxWindowID id, int width)
    : wxComboBox(parent, id, wxString(), wxDefaultPosition, wxSize(width, -1), 0, nullptr, wxCB_READONLY)
{
#ifdef __WXGTK3__
    // GTK's drop-down menu updates every one of its items for each item added or removed, so
    // that filling it grows with the square of the items; its drop-down list does not.
    GtkCssProvider* style = gtk_css_provider_new();
    gtk_css_provider_load_from_data(style, "combobox { -GtkComboBox-appears-as-list: true; }", -1, nullptr);
    gtk_style_context_add_provider(gtk_widget_get_style_context(m_widget), GTK_STYLE_PROVIDER(style),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(style);
#endif
}

unsigned int LongComboBox::GetCount() const
{
#ifdef __WXGTK3__
    // The toolkit counts by walking all items, and does so for each item that is added with
    // its data.
    return static_cast<unsigned int>(
        gtk_tree_model_iter_n_children(gtk_combo_box_get_model(GTK_COMBO_BOX(m_widget)), nullptr));
#else
    return wxComboBox::GetCount();
#endif
}
