// orvel-win-driver: hands one of the utility's jobs to a printer through the winspool backend,
// as the command-line program will on Windows.
//
//   orvel-win-driver apply [PROFILE] [-d PRINTER]
//   orvel-win-driver restore [-d PRINTER]
//   orvel-win-driver features-page [-d PRINTER]
//
// Without -d the job goes to the system's default printer. Each message goes to standard error
// as one line after the printer's name; the result, "PRINTER: sent" or "PRINTER: not sent", to
// standard output. Exit status: 0 sent, 1 not sent, 2 a usage or profile error (nothing sent).
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "ChosenPrinterSpooler.h"
#include "LineMessageBox.h"
#include "ProfileReader.h"
#include "printer/FeaturesPage.h"
#include "printer/mdlFlagSettings.h"
#include "printer/win/WinSpooler.h"
#include "settings/mdlFlagSettings.h"

namespace {

using namespace orvel;
using namespace orvel::windriver;

constexpr int kSent = 0;
constexpr int kNotSent = 1;
constexpr int kUsageError = 2;
constexpr char kNoPrinterLabel[] = "default printer";

const char kUsage[] =
    "usage: orvel-win-driver apply [PROFILE] [-d PRINTER]\n"
    "       orvel-win-driver restore [-d PRINTER]\n"
    "       orvel-win-driver features-page [-d PRINTER]\n";

struct Request {
    std::string command;
    std::optional<std::string> profile;
    std::optional<std::string> printer;
};

class ThreadSleep : public SleepService {
public:
    void sleep(int milliseconds) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
};

// Nobody watches a window here.
class NoIdleControls : public DownloadIdleControls {
public:
    void enableApplySettings() override {}
    void hideWarning() override {}
    void enableBackground() override {}
    void repaintApplySettings() override {}
    void repaintWarning() override {}
    void repaintBackground() override {}
};

std::optional<Request> parseCommandLine(const std::vector<std::string>& arguments) {
    if (arguments.empty())
        return std::nullopt;
    Request request{arguments[0], std::nullopt, std::nullopt};
    if (request.command != "apply" && request.command != "restore" &&
        request.command != "features-page")
        return std::nullopt;
    for (size_t i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == "-d") {
            if (i + 1 >= arguments.size() || request.printer || arguments[i + 1].empty())
                return std::nullopt;
            request.printer = arguments[++i];
        } else if (request.command == "apply" && !request.profile && !arguments[i].empty() &&
                   arguments[i][0] != '-') {
            request.profile = arguments[i];
        } else {
            return std::nullopt;
        }
    }
    return request;
}

int run(const Request& request) {
    ProfileResult profile = ProfileReader::defaults();
    if (request.profile)
        profile = ProfileReader::read(*request.profile);
    if (!profile.ok) {
        std::fprintf(stderr, "orvel-win-driver: %s\n", profile.error.c_str());
        return kUsageError;
    }

    WinSpooler system;
    ChosenPrinterSpooler spooler(system, request.printer);
    const auto label = [&spooler] {
        return spooler.printerName().empty() ? std::string(kNoPrinterLabel) : spooler.printerName();
    };
    LineMessageBox messageBox(label);
    ThreadSleep sleep;
    PrinterServices services{spooler, messageBox, sleep};
    NoIdleControls controls;

    if (request.command == "apply") {
        const FlagSettings block = mdlFlagSettings::fncGetFlagSettings(profile.selections);
        mdlFlagSettings::fncDownloadSettings(services, controls, mdlFlagSettings::kApplySettings,
                                             &block);
    } else if (request.command == "restore") {
        mdlFlagSettings::fncDownloadSettings(services, controls, mdlFlagSettings::kRestoreDefaults,
                                             nullptr);
    } else {
        fncPrintFeaturesPage(services);
    }
    // Every way of not sending tells the user why; a job that was sent tells nothing.
    const bool sent = !messageBox.anyShown();
    std::printf("%s: %s\n", label().c_str(), sent ? "sent" : "not sent");
    return sent ? kSent : kNotSent;
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::optional<Request> request =
        parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!request) {
        std::fputs(kUsage, stderr);
        return kUsageError;
    }
    return run(*request);
}
