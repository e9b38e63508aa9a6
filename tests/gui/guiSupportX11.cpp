// The window tests' helpers that drive GTK's own dialogs with xdotool and read what the X server
// shows: the toolkit's layer on Linux.
#include "tests/gui/guiSupport.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstdlib>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/timer.h>
#include <wx/weakref.h>

#include "app/MainFrame.h"

namespace {

// Fails the running test on a warning or critical message of GTK, GDK, GLib or the libraries
// under them, then prints it as GLib would.
GLogWriterOutput failOnToolkitWarning(GLogLevelFlags level, const GLogField* fields, gsize count, gpointer)
{
    if (level & (G_LOG_LEVEL_ERROR | G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING)) {
        std::string domain = "?", message;
        for (gsize i = 0; i < count; ++i) {
            const std::string key = fields[i].key;
            const char* value = static_cast<const char*>(fields[i].value);
            if (fields[i].length < 0 && key == "GLIB_DOMAIN")
                domain = value;
            else if (fields[i].length < 0 && key == "MESSAGE")
                message = value;
        }
        ADD_FAILURE() << domain << ((level & G_LOG_LEVEL_WARNING) ? " warning: " : " critical: ") << message;
    }
    return g_log_writer_default(level, fields, count, nullptr);
}

// Runs the shell script of xdotool commands with the arguments in the background, on a shell
// that ends at once; none of its commands may run longer than 20 s.
void xdotool(const std::string& script, std::vector<std::string> arguments)
{
    const std::string bounded = "xdotool() { timeout 20 xdotool \"$@\"; }; ";
    std::vector<std::string> words = {"sh", "-c", bounded + "{ " + script + "; } &", "sh"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t shell = 0;
    ASSERT_EQ(posix_spawnp(&shell, "sh", nullptr, nullptr, argv.data(), environ), 0);
    int status = 0;
    ::waitpid(shell, &status, 0);
}

// The text of the dialog's focused text field, if it has one.
wxString focusedText(wxWindow* dialog)
{
    GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(dialog->GetHandle()));
    if (!focus || !GTK_IS_ENTRY(focus))
        return wxString();
    return wxString::FromUTF8(gtk_entry_get_text(GTK_ENTRY(focus)));
}

// Presses the keys on the dialog once the text has stood in its field for a moment, as a user
// who has typed it does (GTK's file dialog loses an Enter that comes at once), and again every
// moment while the dialog stays up. A text that GTK completes (a name that begins only one name
// in the folder) never stands as typed: after some seconds the test fails and the dialog is
// cancelled. Ends itself with the dialog.
class KeyPresser : public wxTimer {
public:
    KeyPresser(wxWindow* dialog, const wxString& text, const std::vector<std::string>& keys)
        : dialog(dialog), text(text), keys(keys)
    {
        Start(200);
    }

    void Notify() override
    {
        if (!dialog || !gtk_widget_get_visible(dialog->GetHandle())) {
            Stop();
            wxTheApp->CallAfter([this] { delete this; });
        } else if (++ticks > 100) {
            ADD_FAILURE() << "the dialog did not take \"" << text.utf8_string() << "\"";
            xdotool("xdotool key Escape", {});
        } else if (!text.empty() && focusedText(dialog) != text) {
            typedAt = 0;
        } else if (typedAt == 0) {
            typedAt = ticks;
        } else if ((ticks - typedAt) % 3 == 0) {
            xdotool("xdotool key \"$@\"", keys);
        }
    }

private:
    wxWeakRef<wxWindow> dialog;
    wxString text;
    std::vector<std::string> keys;
    int ticks = 0;
    int typedAt = 0;   // the tick at which the text was seen complete, 0 before
};

}  // namespace

void typeKeys(wxWindow* dialog, const wxString& text, const std::vector<std::string>& keys)
{
    GdkWindow* window = gtk_widget_get_window(dialog->GetHandle());
    if (!window || !gdk_window_is_viewable(window)) {   // not on the screen yet
        dialog->CallAfter([dialog, text, keys] { typeKeys(dialog, text, keys); });
        return;
    }
    // xdotool knows no window when it types, so that the keys go through the X test extension
    // to the focused window, as a keyboard's do.
    xdotool("xdotool windowfocus --sync \"$1\" && { [ -z \"$2\" ] || xdotool type --delay 10 \"$2\"; }",
            {std::to_string(gdk_x11_window_get_xid(window)), text.utf8_string()});
    new KeyPresser(dialog, text, keys);
}

std::vector<uint32_t> screenPixels(const wxRect& area)
{
    std::vector<uint32_t> pixels;
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return pixels;
    XImage* image = XGetImage(display, DefaultRootWindow(display), area.x, area.y, area.width,
                              area.height, AllPlanes, ZPixmap);
    if (image) {
        for (int y = 0; y < area.height; ++y)
            for (int x = 0; x < area.width; ++x)
                pixels.push_back(static_cast<uint32_t>(XGetPixel(image, x, y)));
        XDestroyImage(image);
    }
    XCloseDisplay(display);
    return pixels;
}

void failOnToolkitWarnings() { g_log_set_writer_func(failOnToolkitWarning, nullptr, nullptr); }

void userInput(const wxString& arguments)
{
    const wxString command = "xdotool " + arguments;
    EXPECT_EQ(std::system(command.utf8_str().data()), 0) << command.utf8_str().data();
}

void clickGraphsTabAndPressEscape(MainFrame* frame)
{
    const wxPoint at = tabOnScreen(frame->notebook, 1);
    userInput(wxString::Format("mousemove %d %d click 1 key Escape", at.x, at.y));
}
