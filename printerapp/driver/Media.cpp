#include "printerapp/driver/Media.h"

#include "printerapp/settings/VendorAttributes.h"
#include "settings/mdlFlagSettings.h"

namespace orvel::printerapp {

const std::vector<MediaSize>& mediaSizes() {
    static const std::vector<MediaSize> sizes = [] {
        std::vector<MediaSize> list;
        const SettingInfo& pageLength = settingInfo(Setting::cboPageLength);
        for (std::size_t i = 0; i < pageLength.choices.size(); ++i) {
            // "11.66 Inch": the number names the size, the printer's own number its length.
            const std::string& text = pageLength.choices[i];
            const std::string inches = text.substr(0, text.find(' '));
            list.push_back({"oe_fanfold-" + keywordOf(text) + "_8.5x" + inches + "in",
                            pageLengthNumbers()[i], true});
        }
        list.push_back({"na_letter_8.5x11in", 11 * 360, false});
        list.push_back({"na_legal_8.5x14in", 14 * 360, false});
        list.push_back({"iso_a4_210x297mm", 297 * 360 * 10 / 254, false});
        return list;
    }();
    return sizes;
}

const MediaSize& continuousMedia(int pageLengthChoice) {
    return mediaSizes().at(static_cast<std::size_t>(pageLengthChoice));
}

int lengthIn360thsFor(const std::string& pwgName, int lengthHundredthsMm) {
    for (const MediaSize& size : mediaSizes())
        if (size.pwgName == pwgName)
            return size.lengthIn360ths;
    return (lengthHundredthsMm * 360 + 1270) / 2540;
}

}  // namespace orvel::printerapp
