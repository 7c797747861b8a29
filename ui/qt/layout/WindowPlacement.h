#pragma once

class QWidget;

namespace orvel {

// Moves a top-level window's client area to the middle of the available area of its screen.
void centreOnScreen(QWidget& window);

// Fixed size, minimisable but not maximisable, with the close button.
void makeFixedSingleWindow(QWidget& window, int clientWidth, int clientHeight);

}  // namespace orvel
