#include "printerapp/settings/SettingsStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "settings/Profile.h"

namespace orvel::printerapp {

StoredSettings loadSettings(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return defaultSettings();
    std::string text(kMaxProfileBytes + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (text.size() > kMaxProfileBytes)
        return defaultSettings();
    const ProfileReading reading = readProfile(text, path);
    if (!reading.ok())
        return defaultSettings();
    StoredSettings stored;
    stored.selections = profileSelections(reading.profile);
    stored.model =
        reading.profile.model == Model::None ? Model::OptDomestic : reading.profile.model;
    return stored;
}

bool saveSettings(const std::string& path, const StoredSettings& settings) {
    std::string text = std::string(kModelCaption) + ": " +
                       (settings.model == Model::OptExport ? "Export" : "Domestic") + "\n";
    for (const std::string& line : profileLines(settings.selections))
        text += line + "\n";
    const std::string temporary = path + ".new";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW,
                          S_IRUSR | S_IWUSR);
    if (fd < 0)
        return false;
    const bool written =
        ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()) &&
        ::fsync(fd) == 0;
    ::close(fd);
    if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace orvel::printerapp
