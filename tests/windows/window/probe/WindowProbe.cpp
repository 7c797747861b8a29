// window-probe.exe: run in the same wine prefix as the window, it reads what the window shows
// and prints it, one "name.property=value" line each, for the tests to compare with what they
// expect: the two windows, every control that a user sees or works, the focus, and a message box
// that is up. Texts are printed with \r, \n and \\ escaped. The wide forms of the messages are
// used where the narrow ones lose letters across processes under wine.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "settings/SettingsTable.h"
#include "ui/win32/windows/ControlIds.h"

namespace {

using orvel::win32::kFirstBoxId;
constexpr int kMaxText = 4096;

// A message to a control of the window, given up after a while should the window not answer
// (a window busy with a command answers once the command is over).
LRESULT ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    constexpr UINT kAnswerTimeoutMs = 5000;
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kAnswerTimeoutMs,
                             &answer))
        return -1;
    return static_cast<LRESULT>(answer);
}

std::string escaped(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        if (c == L'\r')
            out += "\\r";
        else if (c == L'\n')
            out += "\\n";
        else if (c == L'\\')
            out += "\\\\";
        else if (c < 0x80)
            out += static_cast<char>(c);
        else
            out += '?';
    }
    return out;
}

std::wstring textOf(HWND window) {
    std::vector<wchar_t> buffer(kMaxText);
    const LRESULT length =
        ask(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    return std::wstring(buffer.data(), static_cast<size_t>(length > 0 ? length : 0));
}

std::string classOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

void print(const std::string& name, const char* property, const std::string& value) {
    std::printf("%s.%s=%s\n", name.c_str(), property, value.c_str());
}

std::string rectText(RECT rect) {
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
           std::to_string(rect.right) + "," + std::to_string(rect.bottom);
}

// The name the tests know a control by: a box by its setting, the rest by their text (the
// accessible name of a picture, the caption of an option button or label), the text box by
// its kind.
std::string nameOf(HWND control) {
    const std::string kind = classOf(control);
    const int id = GetDlgCtrlID(control);
    if (kind == "ComboBox" && id >= kFirstBoxId && id < kFirstBoxId + orvel::kSettingCount)
        return orvel::settingsTable()[id - kFirstBoxId].box;
    if (kind == "Edit")
        return "txtFeatures";
    return escaped(textOf(control));
}

void printControl(const std::string& window, HWND control) {
    const std::string kind = classOf(control);
    const std::string name = window + "/" + nameOf(control);
    print(name, "class", kind);
    print(name, "visible", IsWindowVisible(control) ? "1" : "0");
    print(name, "enabled", IsWindowEnabled(control) ? "1" : "0");
    RECT rect{};
    GetWindowRect(control, &rect);
    print(name, "rect", rectText(rect));
    if (kind == "ComboBox") {
        const LRESULT selected = ask(control, CB_GETCURSEL, 0, 0);
        print(name, "selection", std::to_string(selected));
        std::wstring text;
        if (selected >= 0) {
            std::vector<wchar_t> buffer(kMaxText);
            const LRESULT length = ask(control, CB_GETLBTEXTLEN, selected, 0);
            if (length >= 0 && length < kMaxText)
                ask(control, CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(buffer.data()));
            text = buffer.data();
        }
        print(name, "text", escaped(text));
        print(name, "dropped", ask(control, CB_GETDROPPEDSTATE, 0, 0) > 0 ? "1" : "0");
        // The label just before it, where the system's accessibility takes a list's name from.
        HWND label = GetWindow(control, GW_HWNDPREV);
        print(name, "label",
              label != nullptr && classOf(label) == "Static" ? escaped(textOf(label)) : "");
    } else if (kind == "Button") {
        print(name, "checked", ask(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? "1" : "0");
    } else if (kind == "Edit") {
        print(name, "text", escaped(textOf(control)));
        HWND label = GetWindow(control, GW_HWNDPREV);
        print(name, "label",
              label != nullptr && classOf(label) == "Static" ? escaped(textOf(label)) : "");
    }
}

BOOL CALLBACK printChild(HWND control, LPARAM window) {
    // Only the window's own controls, not the parts of a drop-down list.
    if (GetParent(control) == GetAncestor(control, GA_ROOT))
        printControl(*reinterpret_cast<const std::string*>(window), control);
    return TRUE;
}

std::string focusName(HWND focus) {
    if (focus == nullptr)
        return "";
    HWND root = GetAncestor(focus, GA_ROOT);
    if (root == focus)
        return classOf(root);
    // A list's own parts give the focus to the list.
    HWND control = focus;
    while (GetParent(control) != root && GetParent(control) != nullptr)
        control = GetParent(control);
    return classOf(root) + "/" + nameOf(control);
}

void printWindow(const char* name, HWND window) {
    print(name, "exists", window != nullptr ? "1" : "0");
    if (window == nullptr)
        return;
    print(name, "visible", IsWindowVisible(window) ? "1" : "0");
    print(name, "enabled", IsWindowEnabled(window) ? "1" : "0");
    print(name, "caption", escaped(textOf(window)));
    RECT client{};
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    print(name, "client", rectText(client));
    RECT frame{};
    GetWindowRect(window, &frame);
    print(name, "frame", rectText(frame));
    print(name, "style", std::to_string(GetWindowLongW(window, GWL_STYLE)));
    const std::string parent = name;
    EnumChildWindows(window, printChild, reinterpret_cast<LPARAM>(&parent));
}

BOOL CALLBACK findMessageBox(HWND window, LPARAM found) {
    if (classOf(window) == "#32770" && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

struct MessageBoxParts {
    std::wstring text;
    std::string buttons;
};

BOOL CALLBACK readMessageBoxPart(HWND control, LPARAM parts) {
    auto& box = *reinterpret_cast<MessageBoxParts*>(parts);
    const std::string kind = classOf(control);
    if (kind == "Button" && IsWindowVisible(control)) {
        box.buttons += (box.buttons.empty() ? "" : "|") + escaped(textOf(control));
    } else if (kind == "Static" && (GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) != SS_ICON &&
               !textOf(control).empty()) {
        // The icon is not read: under wine another process can't tell the system's icons apart.
        box.text = textOf(control);
    }
    return TRUE;
}

void printMessageBox(DWORD thread) {
    HWND box = nullptr;
    EnumThreadWindows(thread, findMessageBox, reinterpret_cast<LPARAM>(&box));
    print("messagebox", "exists", box != nullptr ? "1" : "0");
    if (box == nullptr)
        return;
    MessageBoxParts parts;
    EnumChildWindows(box, readMessageBoxPart, reinterpret_cast<LPARAM>(&parts));
    print("messagebox", "title", escaped(textOf(box)));
    print("messagebox", "text", escaped(parts.text));
    print("messagebox", "buttons", parts.buttons);
    RECT frame{};
    GetWindowRect(box, &frame);
    print("messagebox", "frame", rectText(frame));
}

}  // namespace

int main() {
    HWND main = FindWindowA("frmConfigUtility", nullptr);
    HWND features = FindWindowA("frmFeatures", nullptr);
    printWindow("frmConfigUtility", main);
    printWindow("frmFeatures", features);
    if (main == nullptr)
        return 0;
    const DWORD thread = GetWindowThreadProcessId(main, nullptr);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(thread, &info)) {
        print("thread", "focus", focusName(info.hwndFocus));
        print("thread", "active", focusName(info.hwndActive));
        print("thread", "capture", focusName(info.hwndCapture));
    }
    printMessageBox(thread);
    return 0;
}
