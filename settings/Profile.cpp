#include "settings/Profile.h"

#include <cstdio>
#include <map>
#include <optional>

namespace orvel {

namespace {

struct ModelChoice {
    const char* text;
    Model model;
};

// The words of the model line, after the two option buttons.
const std::vector<ModelChoice>& modelChoices() {
    static const std::vector<ModelChoice> choices = {
        {"Domestic", Model::OptDomestic},
        {"Export", Model::OptExport},
    };
    return choices;
}

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
// A word quoted in an error is cut here, so that an error stays one readable line.
constexpr std::size_t kQuotedWordLimit = 60;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string trimmed(const std::string& text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isBlank(text[first]))
        ++first;
    while (last > first && isBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

// Only the 7-bit letters fold: every caption and choice is plain ASCII.
std::string folded(const std::string& text) {
    std::string lower = trimmed(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

bool sameWord(const std::string& written, const std::string& known) {
    return folded(written) == folded(known);
}

std::string quoted(const std::string& word) {
    if (word.size() <= kQuotedWordLimit)
        return "\"" + word + "\"";
    std::size_t cut = kQuotedWordLimit;
    // Not in the middle of a UTF-8 sequence.
    while (cut > 0 && (static_cast<unsigned char>(word[cut]) & 0xC0) == 0x80)
        --cut;
    return "\"" + word.substr(0, cut) + "...\"";
}

std::string listed(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) {
        if (!text.empty())
            text += ", ";
        text += trimmed(word);
    }
    return text;
}

std::vector<std::string> knownCaptions() {
    std::vector<std::string> captions = {kModelCaption};
    for (const SettingInfo& info : settingsTable())
        captions.push_back(info.caption);
    return captions;
}

std::vector<std::string> modelChoiceTexts() {
    std::vector<std::string> texts;
    for (const ModelChoice& choice : modelChoices())
        texts.push_back(choice.text);
    return texts;
}

const SettingInfo* settingCaptioned(const std::string& caption) {
    for (const SettingInfo& info : settingsTable()) {
        if (sameWord(caption, info.caption))
            return &info;
    }
    return nullptr;
}

std::optional<int> choiceIndex(const std::vector<std::string>& choices, const std::string& word) {
    for (std::size_t c = 0; c < choices.size(); ++c) {
        if (sameWord(word, choices[c]))
            return static_cast<int>(c);
    }
    return std::nullopt;
}

// A control byte other than TAB, CR and LF: the file is not a text.
std::optional<std::size_t> controlByteAt(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if ((c < 0x20 && c != '\t' && c != '\r' && c != '\n') || c == 0x7F)
            return i;
    }
    return std::nullopt;
}

std::string hexByte(unsigned char byte) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", byte);
    return text;
}

class ProfileReader {
public:
    explicit ProfileReader(const std::string& source) : source_(source) {}

    ProfileReading read(const std::string& text) {
        if (text.size() > kMaxProfileBytes) {
            fileError("larger than " + std::to_string(kMaxProfileBytes) + " bytes, not a profile");
            return reading_;
        }
        if (const auto at = controlByteAt(text)) {
            lineError(lineNumberAt(text, *at), "a control byte " +
                                                   hexByte(static_cast<unsigned char>(text[*at])) +
                                                   ", not a profile");
            return reading_;
        }
        std::size_t start = text.compare(0, 3, kByteOrderMark) == 0 ? 3 : 0;
        int line = 1;
        while (start <= text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string::npos)
                end = text.size();
            readLine(line, text.substr(start, end - start));
            start = end + 1;
            ++line;
        }
        // An empty file is what a failed command leaves behind: storing the defaults from it
        // would reset every printer it reaches. Whoever means the defaults names no profile.
        if (reading_.ok() && reading_.profile.settings.empty() &&
            reading_.profile.model == Model::None)
            fileError(
                "names no setting, not a profile (without a profile, the defaults are "
                "stored)");
        return reading_;
    }

private:
    static int lineNumberAt(const std::string& text, std::size_t position) {
        int line = 1;
        for (std::size_t i = 0; i < position; ++i)
            line += text[i] == '\n' ? 1 : 0;
        return line;
    }

    void fileError(const std::string& what) { reading_.errors.push_back(source_ + ": " + what); }

    void lineError(int line, const std::string& what) {
        reading_.errors.push_back(source_ + ":" + std::to_string(line) + ": " + what);
    }

    void readLine(int line, const std::string& raw) {
        const std::string text = trimmed(raw);
        if (text.empty() || text[0] == '#')
            return;
        const std::size_t colon = text.find(':');
        const std::string caption =
            colon == std::string::npos ? "" : trimmed(text.substr(0, colon));
        if (caption.empty()) {
            lineError(line, quoted(text) + " is not a \"Caption: Choice\" line");
            return;
        }
        const std::string choice = trimmed(text.substr(colon + 1));
        if (sameWord(caption, kModelCaption)) {
            readModel(line, choice);
            return;
        }
        const SettingInfo* info = settingCaptioned(caption);
        if (info == nullptr) {
            lineError(line, "unknown setting " + quoted(caption) +
                                "; the settings are: " + listed(knownCaptions()));
            return;
        }
        if (namedTwice(line, info->caption))
            return;
        const auto index = choiceIndex(info->choices, choice);
        if (!index) {
            lineError(line, quoted(choice) + " is not a choice of " + info->caption +
                                "; the choices are: " + listed(info->choices));
            return;
        }
        reading_.profile.settings.push_back({info->id, *index, line});
    }

    void readModel(int line, const std::string& choice) {
        if (namedTwice(line, kModelCaption))
            return;
        const auto index = choiceIndex(modelChoiceTexts(), choice);
        if (!index) {
            lineError(line, quoted(choice) + " is not a choice of " + kModelCaption +
                                "; the choices are: " + listed(modelChoiceTexts()));
            return;
        }
        reading_.profile.model = modelChoices()[*index].model;
    }

    // Records where a caption is first named; a second naming is an error.
    bool namedTwice(int line, const std::string& caption) {
        const auto [first, inserted] = firstLines_.emplace(caption, line);
        if (inserted)
            return false;
        lineError(line,
                  caption + " is named twice, first on line " + std::to_string(first->second));
        return true;
    }

    std::string source_;
    ProfileReading reading_;
    std::map<std::string, int> firstLines_;
};

}  // namespace

ProfileReading readProfile(const std::string& text, const std::string& source) {
    return ProfileReader(source).read(text);
}

Selections profileSelections(const Profile& profile) {
    SettingsModel model;
    model.IntializeSelectionBoxes();
    if (profile.model != Model::None)
        model.selectModel(profile.model);
    // The program's setter: a box that an interlock disables takes its choice all the same.
    for (const ProfileSetting& named : profile.settings)
        model.setSelection(named.setting, named.choice);
    return model.selections();
}

std::vector<std::string> profileLines(const Selections& selections) {
    std::vector<std::string> lines;
    for (const SettingInfo& info : settingsTable())
        lines.push_back(info.caption + ": " + info.choices.at(selections[index(info.id)]));
    return lines;
}

}  // namespace orvel
