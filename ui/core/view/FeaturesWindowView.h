// What a toolkit does for the features window beyond what both windows need.
#pragma once

#include "ui/core/view/WindowView.h"

namespace orvel {

class FeaturesWindowView : public WindowView {
public:
    // The read-only text box with the feature list; the text's lines end in CR LF.
    virtual void createTextBox(const TextBoxPlace& place, const std::string& text) = 0;
    // The window was closed by its own close button: its controls are destroyed, and built anew
    // from the definition at the next show. The window object and this view live on.
    virtual void destroyControls() = 0;
};

}  // namespace orvel
