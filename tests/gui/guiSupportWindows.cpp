// The window tests' helpers that type into the system's own dialogs and read the screen on
// Windows.
#include "tests/gui/guiSupport.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

namespace {

int keyCode(const std::string& name)
{
    if (name == "Return")
        return WXK_RETURN;
    if (name == "Escape")
        return WXK_ESCAPE;
    ADD_FAILURE() << "no key named " << name;
    return WXK_ESCAPE;
}

// The system's dialog of this program in front (a file dialog, a message box), or null.
HWND systemDialogInFront()
{
    const HWND window = GetForegroundWindow();
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t className[16] = {};
    if (!window || process != GetCurrentProcessId() || !GetClassNameW(window, className, 16))
        return nullptr;
    return std::wstring(className) == L"#32770" ? window : nullptr;
}

// The system's dialogs run a modal loop of their own, in which only timers reach the program:
// waits for the dialog to come up, types the text and presses the keys. Ends once none of the
// system's dialogs of the program is in front any more; one that stays up (the typed dialog, or
// one it opened) fails the test after some seconds and is escaped.
class KeyPresser : public wxTimer {
public:
    KeyPresser(const wxString& text, const std::vector<std::string>& keys) : text(text), keys(keys)
    {
        Start(200);
    }

    void Notify() override
    {
        const HWND dialog = systemDialogInFront();
        wxUIActionSimulator user;
        if (typed && !dialog) {
            Stop();
            delete this;   // wxTimer allows it from Notify
        } else if (++ticks > 125) {
            Stop();   // a dialog that Escape does not end either: the test has failed already
            delete this;
        } else if (ticks > 100) {
            ADD_FAILURE() << "the dialog did not take \"" << text.utf8_string() << "\"";
            user.Char(WXK_ESCAPE);
        } else if (dialog && !typed) {
            typed = true;
            if (!text.empty())
                user.Text(text.utf8_str());
            for (const std::string& key : keys)
                user.Char(keyCode(key));
        }
    }

private:
    wxString text;
    std::vector<std::string> keys;
    bool typed = false;
    int ticks = 0;
};

}  // namespace

void typeKeys(wxWindow*, const wxString& text, const std::vector<std::string>& keys)
{
    new KeyPresser(text, keys);
}

std::vector<uint32_t> screenPixels(const wxRect& area)
{
    std::vector<uint32_t> pixels;
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = area.width;
    info.bmiHeader.biHeight = -area.height;   // rows from the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap) {
        const HGDIOBJ before = SelectObject(memory, bitmap);
        if (BitBlt(memory, 0, 0, area.width, area.height, screen, area.x, area.y, SRCCOPY)) {
            GdiFlush();
            const uint32_t* first = static_cast<const uint32_t*>(bits);
            for (std::size_t i = 0; i < static_cast<std::size_t>(area.width) * area.height; ++i)
                pixels.push_back(first[i] & 0xFFFFFF);
        }
        SelectObject(memory, before);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// The toolkit on Windows reports through wx's assertions, which fail the tests already.
void failOnToolkitWarnings() {}
