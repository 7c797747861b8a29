#include "ui/qt/input/KeyCodes.h"

#include <gtest/gtest.h>

#include <QKeyEvent>

namespace orvel {
namespace {

TEST(KeyCodes, KeysGetTheCodesOfTheirPlatform) {
    const struct {
        int qtKey;
        Qt::KeyboardModifiers modifiers;
        int keyCode;
    } cases[] = {
        {Qt::Key_A, Qt::NoModifier, 65},
        {Qt::Key_A, Qt::ShiftModifier, 65},
        {Qt::Key_Z, Qt::ControlModifier, 90},
        {Qt::Key_0, Qt::NoModifier, 48},
        {Qt::Key_9, Qt::NoModifier, 57},
        {Qt::Key_F1, Qt::NoModifier, 112},   // "p"
        {Qt::Key_F4, Qt::AltModifier, 115},  // "s"
        {Qt::Key_F12, Qt::NoModifier, 123},
        {Qt::Key_0, Qt::KeypadModifier, 96},
        {Qt::Key_9, Qt::KeypadModifier, 105},
        {Qt::Key_Asterisk, Qt::KeypadModifier, 106},
        {Qt::Key_Plus, Qt::KeypadModifier, 107},
        {Qt::Key_Minus, Qt::KeypadModifier, 109},
        {Qt::Key_Period, Qt::KeypadModifier, 110},
        {Qt::Key_Slash, Qt::KeypadModifier, 111},
        {Qt::Key_Enter, Qt::KeypadModifier, 13},
        {Qt::Key_Home, Qt::KeypadModifier, 36},  // the keypad without num lock
        {Qt::Key_Control, Qt::ControlModifier, 17},
        {Qt::Key_Escape, Qt::NoModifier, 27},
        {Qt::Key_Down, Qt::AltModifier, 40},
        {Qt::Key_Asterisk, Qt::NoModifier, kNoKeyCode},
        {Qt::Key_Adiaeresis, Qt::NoModifier, kNoKeyCode},  // Latin-1 196, no letter
        {Qt::Key_Launch0, Qt::NoModifier, kNoKeyCode},
    };
    for (const auto& c : cases)
        EXPECT_EQ(keyCodeOf(c.qtKey, c.modifiers), c.keyCode) << "Qt key 0x" << std::hex << c.qtKey;
}

TEST(KeyCodes, ShiftStateCountsShiftCtrlAndAltOnly) {
    const struct {
        Qt::KeyboardModifiers modifiers;
        int shift;
    } cases[] = {
        {Qt::NoModifier, 0},
        {Qt::ShiftModifier, 1},
        {Qt::ControlModifier, 2},
        {Qt::AltModifier, 4},
        {Qt::ControlModifier | Qt::ShiftModifier, 3},
        {Qt::ControlModifier | Qt::AltModifier, 6},
        {Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier, 7},
        {Qt::ControlModifier | Qt::KeypadModifier, 2},
        {Qt::AltModifier | Qt::MetaModifier, 4},
    };
    for (const auto& c : cases)
        EXPECT_EQ(shiftStateOf(c.modifiers), c.shift) << c.modifiers.toInt();
}

// Qt's platforms disagree on whether a modifier key's own event carries its bit.
TEST(KeyCodes, ModifierKeyCarriesItsOwnBitOnItsPressOnly) {
    const struct {
        QEvent::Type type;
        int qtKey;
        Qt::KeyboardModifiers modifiers;
        int shift;
    } cases[] = {
        {QEvent::KeyPress, Qt::Key_Control, Qt::NoModifier, 2},
        {QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier, 2},
        {QEvent::KeyRelease, Qt::Key_Control, Qt::ControlModifier, 0},
        {QEvent::KeyPress, Qt::Key_Alt, Qt::ShiftModifier, 5},
        {QEvent::KeyRelease, Qt::Key_Shift, Qt::ShiftModifier | Qt::AltModifier, 4},
        {QEvent::KeyRelease, Qt::Key_A, Qt::ControlModifier, 2},
    };
    for (const auto& c : cases) {
        const QKeyEvent event(c.type, c.qtKey, c.modifiers);
        EXPECT_EQ(shiftStateOf(event), c.shift) << "Qt key 0x" << std::hex << c.qtKey;
    }
}

}  // namespace
}  // namespace orvel
