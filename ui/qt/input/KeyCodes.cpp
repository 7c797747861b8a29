#include "ui/qt/input/KeyCodes.h"

#include <QKeyEvent>
#include <algorithm>
#include <array>

namespace orvel {

namespace {

struct KeyCodeRow {
    int qtKey;
    int keyCode;
};

// The keys beyond letters, digits and function keys that the program's users may press. Any
// key missing here gets kNoKeyCode, which is no letter.
constexpr std::array<KeyCodeRow, 22> kOtherKeys = {{
    {Qt::Key_Backspace, 8}, {Qt::Key_Tab, 9},       {Qt::Key_Backtab, 9},  {Qt::Key_Return, 13},
    {Qt::Key_Enter, 13},    {Qt::Key_Shift, 16},    {Qt::Key_Control, 17}, {Qt::Key_Alt, 18},
    {Qt::Key_Pause, 19},    {Qt::Key_CapsLock, 20}, {Qt::Key_Escape, 27},  {Qt::Key_Space, 32},
    {Qt::Key_PageUp, 33},   {Qt::Key_PageDown, 34}, {Qt::Key_End, 35},     {Qt::Key_Home, 36},
    {Qt::Key_Left, 37},     {Qt::Key_Up, 38},       {Qt::Key_Right, 39},   {Qt::Key_Down, 40},
    {Qt::Key_Insert, 45},   {Qt::Key_Delete, 46},
}};

// The keypad's digit and operator keys have codes of their own, 96 to 111.
constexpr std::array<KeyCodeRow, 16> kKeypadKeys = {{
    {Qt::Key_0, 96},
    {Qt::Key_1, 97},
    {Qt::Key_2, 98},
    {Qt::Key_3, 99},
    {Qt::Key_4, 100},
    {Qt::Key_5, 101},
    {Qt::Key_6, 102},
    {Qt::Key_7, 103},
    {Qt::Key_8, 104},
    {Qt::Key_9, 105},
    {Qt::Key_Asterisk, 106},
    {Qt::Key_Plus, 107},
    {Qt::Key_Minus, 109},
    {Qt::Key_Period, 110},
    {Qt::Key_Comma, 110},
    {Qt::Key_Slash, 111},
}};

template <std::size_t N>
int lookUp(const std::array<KeyCodeRow, N>& table, int qtKey) {
    const auto found = std::find_if(table.begin(), table.end(),
                                    [qtKey](const KeyCodeRow& row) { return row.qtKey == qtKey; });
    return found == table.end() ? kNoKeyCode : found->keyCode;
}

// The modifier that a modifier key itself stands for.
Qt::KeyboardModifier ownModifier(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Shift:
            return Qt::ShiftModifier;
        case Qt::Key_Control:
            return Qt::ControlModifier;
        case Qt::Key_Alt:
            return Qt::AltModifier;
        default:
            return Qt::NoModifier;
    }
}

}  // namespace

int keyCodeOf(int qtKey, Qt::KeyboardModifiers modifiers) {
    if (modifiers.testFlag(Qt::KeypadModifier)) {
        const int keypadCode = lookUp(kKeypadKeys, qtKey);
        if (keypadCode != kNoKeyCode)
            return keypadCode;
    }
    // Qt's codes of the letters and digits are their uppercase character codes.
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return qtKey;
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
        return 112 + (qtKey - Qt::Key_F1);
    return lookUp(kOtherKeys, qtKey);
}

int keyCodeOf(const QKeyEvent& event) {
    return keyCodeOf(event.key(), event.modifiers());
}

int shiftStateOf(Qt::KeyboardModifiers modifiers) {
    int shift = 0;
    if (modifiers.testFlag(Qt::ShiftModifier))
        shift += kShiftMask;
    if (modifiers.testFlag(Qt::ControlModifier))
        shift += kCtrlMask;
    if (modifiers.testFlag(Qt::AltModifier))
        shift += kAltMask;
    return shift;
}

int shiftStateOf(const QKeyEvent& event) {
    Qt::KeyboardModifiers modifiers = event.modifiers();
    const Qt::KeyboardModifier own = ownModifier(event.key());
    if (own != Qt::NoModifier)
        modifiers.setFlag(own, event.type() == QEvent::KeyPress);
    return shiftStateOf(modifiers);
}

}  // namespace orvel
