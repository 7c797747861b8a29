#include "tests/windows/WinePrefix.h"

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>

namespace orvel::test {

namespace {

namespace fs = std::filesystem;

// Debian's wine64 package keeps its loader and server in wine's own folder, off the command
// path; the wine package's "wine" command is only a script in front of them.
constexpr char kWineFolder[] = "/usr/lib/wine";

// Wine's own fonts (Tahoma for message boxes among them), from the fonts-wine package.
constexpr char kWineFontFolder[] = "/usr/share/wine/fonts";

std::string loader() {
    return std::string(kWineFolder) + "/wine64";
}

std::string server() {
    return std::string(kWineFolder) + "/wineserver";
}

bool isExecutable(const std::string& path) {
    return access(path.c_str(), X_OK) == 0;
}

std::string describe(const ProcessResult& result) {
    std::string text = result.timedOut ? "timed out" : "exit " + std::to_string(result.exitCode);
    return text + "\n" + result.out + result.err;
}

}  // namespace

std::string WinePrefix::whyUnavailable() {
    if (!isExecutable(loader()))
        return "wine is not installed (no " + loader() + "; tools/setup.sh installs it)";
    if (!isExecutable(server()))
        return "wine is not installed completely (no " + server() + ")";
    return {};
}

std::string WinePrefix::loaderPath() {
    return loader();
}

WinePrefix::WinePrefix(const std::string& display) {
    char folderTemplate[] = "/tmp/orvel-wine.XXXXXX";
    if (mkdtemp(folderTemplate) == nullptr)
        throw std::runtime_error("cannot make a folder for the wine prefix");
    folder_ = folderTemplate;
    prefix_ = folder_ + "/prefix";
    workFolder_ = folder_ + "/work";
    std::error_code failed;
    fs::create_directory(prefix_, failed);
    if (!failed)
        fs::create_directory(workFolder_, failed);
    if (failed) {
        shutDown();
        throw std::runtime_error("cannot make the wine prefix: " + failed.message());
    }

    const auto start = std::chrono::steady_clock::now();
    // Booting reaches no scheduler: every program reads the printers afresh when it starts.
    const ProcessResult boot = runTool({loader(), "wineboot", "-i"},
                                       {{"CUPS_SERVER", folder_ + "/no-scheduler"}}, kBootTimeout);
    // Wineboot returns while the prefix is still being set up: wait until all of that is done
    // and the server has gone.
    const ProcessResult settled = runTool({server(), "-w"}, {}, kBootTimeout);
    // The virtual desktop is set before any program of the display starts: the desktop's own
    // process, once up, keeps the kind of desktop it began with. So the settings are written
    // headless, and the server is let go again, with every process of the prefix.
    if (!display.empty() && settled.exitCode == 0) {
        try {
            prepareDesktop();
        } catch (const std::exception&) {
            shutDown();
            throw;
        }
        runTool({server(), "-w"}, {}, kBootTimeout);
        display_ = display;
    }
    // Then one server for the whole run, so that each program starts at once. It must not hold
    // our output open. It ends at the end of the run, or, should this process die first, once
    // no wine program has run for a while.
    const ProcessResult serving = runTool(
        {server(), "-p" + std::to_string(kServerIdleTimeout.count())}, {}, kBootTimeout, false);
    bootTime_ = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    if (boot.exitCode != 0 || settled.exitCode != 0 || serving.exitCode != 0) {
        const std::string why = "wineboot: " + describe(boot) +
                                "\nwineserver -w: " + describe(settled) +
                                "\nwineserver -p: " + describe(serving);
        shutDown();
        throw std::runtime_error("the wine prefix does not boot: " + why);
    }
}

void WinePrefix::prepareDesktop() {
    const std::vector<std::vector<std::string>> settings = {
        {"HKCU\\Software\\Wine\\Explorer", "Desktop", "Default"},
        {"HKCU\\Software\\Wine\\Explorer\\Desktops", "Default", "1024x768"},
    };
    for (const auto& setting : settings) {
        const ProcessResult set =
            runTool({loader(), "reg", "add", setting[0], "/v", setting[1], "/d", setting[2], "/f"},
                    {}, kRunTimeout);
        if (set.exitCode != 0)
            throw std::runtime_error("cannot set the virtual desktop: " + describe(set));
    }
    std::error_code failed;
    const fs::path fonts = fs::path(prefix_) / "drive_c" / "windows" / "Fonts";
    fs::create_directories(fonts, failed);
    for (const auto& font : fs::directory_iterator(kWineFontFolder, failed)) {
        fs::copy_file(font.path(), fonts / font.path().filename(),
                      fs::copy_options::overwrite_existing, failed);
    }
}

WinePrefix::~WinePrefix() {
    shutDown();
}

void WinePrefix::shutDown() {
    if (folder_.empty())
        return;
    // Ends the server and every wine process of this prefix, then waits for the server to go.
    runTool({server(), "-k"}, {}, kShutdownTimeout);
    runTool({server(), "-w"}, {}, kShutdownTimeout);
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
    folder_.clear();
}

Environment WinePrefix::wineEnvironment() const {
    return {
        {"WINEPREFIX", prefix_},
        {"WINEDEBUG", "-all"},
        // Nothing to offer the browser and .NET stand-ins that a new prefix would install.
        {"WINEDLLOVERRIDES", "mscoree,mshtml="},
        {"DISPLAY", display_.empty() ? std::nullopt : std::optional<std::string>(display_)},
        {"WAYLAND_DISPLAY", std::nullopt},
    };
}

ProcessResult WinePrefix::runTool(const std::vector<std::string>& arguments,
                                  const Environment& extra, std::chrono::milliseconds timeout,
                                  bool captureOutput) const {
    ProcessRequest request;
    request.arguments = arguments;
    request.workingFolder = workFolder_;
    request.environment = wineEnvironment();
    for (const auto& [name, value] : extra)
        request.environment[name] = value;
    request.timeout = timeout;
    request.captureOutput = captureOutput;
    return BoundedProcess::run(request);
}

ProcessResult WinePrefix::run(const std::string& program, const std::vector<std::string>& arguments,
                              std::chrono::milliseconds timeout) const {
    std::vector<std::string> command{loader(), program};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return runTool(command, {}, timeout);
}

}  // namespace orvel::test
