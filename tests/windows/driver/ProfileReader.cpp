#include "ProfileReader.h"

#include <cctype>
#include <fstream>
#include <optional>
#include <sstream>
#include <utility>
#include <vector>

#include "settings/SettingsModel.h"

namespace orvel::windriver {

namespace {

constexpr char kModelCaption[] = "Model";

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

bool sameWords(const std::string& a, const std::string& b) {
    const std::string x = trimmed(a);
    const std::string y = trimmed(b);
    if (x.size() != y.size())
        return false;
    for (size_t i = 0; i < x.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(x[i])) !=
            std::tolower(static_cast<unsigned char>(y[i])))
            return false;
    }
    return true;
}

std::optional<Setting> settingCaptioned(const std::string& caption) {
    for (const SettingInfo& info : settingsTable()) {
        if (sameWords(info.caption, caption))
            return info.id;
    }
    return std::nullopt;
}

std::optional<int> choiceNamed(const SettingInfo& info, const std::string& word) {
    for (size_t i = 0; i < info.choices.size(); ++i) {
        if (sameWords(info.choices[i], word))
            return static_cast<int>(i);
    }
    return std::nullopt;
}

ProfileResult failure(const std::string& path, int line, const std::string& what) {
    ProfileResult result;
    result.error = path + ":" + std::to_string(line) + ": " + what;
    return result;
}

}  // namespace

ProfileResult ProfileReader::defaults() {
    return parse("", "");
}

ProfileResult ProfileReader::read(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return failure(path, 0, "cannot be read");
    std::string text(kMaxBytes + 1, '\0');
    file.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (file.bad())
        return failure(path, 0, "cannot be read");
    text.resize(static_cast<size_t>(file.gcount()));
    if (text.size() > kMaxBytes)
        return failure(path, 0, "larger than " + std::to_string(kMaxBytes) + " bytes");
    if (text.find('\0') != std::string::npos)
        return failure(path, 0, "is not a text file");
    return parse(path, text);
}

ProfileResult ProfileReader::parse(const std::string& path, const std::string& text) {
    std::optional<Model> model;
    std::vector<std::pair<Setting, int>> named;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        const std::string content = trimmed(line);
        if (content.empty() || content.front() == '#')
            continue;
        const auto colon = content.find(':');
        if (colon == std::string::npos)
            return failure(path, number, "not a \"Caption: Choice\" line: " + content);
        const std::string caption = content.substr(0, colon);
        const std::string word = content.substr(colon + 1);
        if (sameWords(caption, kModelCaption)) {
            if (sameWords(word, "Domestic"))
                model = Model::OptDomestic;
            else if (sameWords(word, "Export"))
                model = Model::OptExport;
            else
                return failure(path, number, "no model " + trimmed(word));
            continue;
        }
        const std::optional<Setting> setting = settingCaptioned(caption);
        if (!setting)
            return failure(path, number, "no setting " + trimmed(caption));
        for (const auto& earlier : named) {
            if (earlier.first == *setting)
                return failure(path, number, trimmed(caption) + " is named twice");
        }
        const std::optional<int> choice = choiceNamed(settingInfo(*setting), word);
        if (!choice)
            return failure(path, number, "no choice " + trimmed(word) + " for " + trimmed(caption));
        named.emplace_back(*setting, *choice);
    }

    SettingsModel settings;
    settings.IntializeSelectionBoxes();
    if (model)
        settings.selectModel(*model);
    for (const auto& [setting, choice] : named)
        settings.setSelection(setting, choice);
    ProfileResult result;
    result.ok = true;
    result.selections = settings.selections();
    return result;
}

}  // namespace orvel::windriver
