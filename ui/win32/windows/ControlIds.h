// The child window identifiers of the main window's selection boxes: the box of a setting is
// kFirstBoxId plus the setting's row minus one. The test probe finds the boxes by them.
#pragma once

namespace orvel::win32 {

constexpr int kFirstBoxId = 100;

}  // namespace orvel::win32
