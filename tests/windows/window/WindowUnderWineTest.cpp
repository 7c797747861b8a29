// varnet-orvel.exe, the Win32 window cross-built with mingw-w64, run under wine on a virtual
// desktop of a private X server and driven by real X input: pointer moves and clicks, keys and
// chords as a user plays them. A probe in the same prefix reads what the controls show; the
// jobs go through wine's winspool into a private CUPS scheduler and are read back byte for byte.
//
// Where wine is not Windows, the cases check what wine does:
// - wine's spooler lists no job of the CUPS queue and reports no stopped queue, so the busy and
//   stopped-queue messages can't be reached here; the core's tests with the recording spooler
//   show them.
// - a scheduler that does not answer leaves wine with no printer at all: the no-printer message.
// - neither MSAA nor UI Automation can be observed under wine: the accessible names are read as
//   the controls' own texts, which is where the system's accessibility takes them from.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "printer/commands/FeaturesPage.h"
#include "printer/commands/mdlFlagSettings.h"
#include "settings/SettingsModel.h"
#include "settings/mdlFlagSettings.h"
#include "tests/cups/CupsSandbox.h"
#include "tests/support/ByteList.h"
#include "tests/windows/window/WineDesktop.h"
#include "ui/core/windows/FeaturesText.h"

namespace orvel::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr char kWindowProgram[] = ORVEL_WINDOW_PROGRAM;
constexpr char kBitmapFolder[] = ORVEL_SOURCE_DIR "/assets";
constexpr char kQueue[] = "Orvel";
constexpr char kMain[] = "frmConfigUtility";
constexpr char kFeatures[] = "frmFeatures";
constexpr char kSettingsJob[] = "Permanent Settings Configuration";
constexpr char kFeaturesJob[] = "Varnet Orvel FEATURES";
// The pause after a sent download, and a margin for wine and the probe.
constexpr auto kPause = 2500ms;

// The messages, word for word; lines joined by CR LF (escaped as the probe prints them).
constexpr char kReadyText[] =
    "Please check whether the printer is :\\r\\n* Switched ON\\r\\n* In online mode\\r\\n"
    "* In Parallel or Autoshare interface\\r\\n\\r\\nTo continue press OK else press Cancel to "
    "quit.";
constexpr char kQuitText[] = "Are you sure to quit from this application?";
constexpr char kNoPrinterText[] = "No printer drivers are installed.\\r\\nDownload Failed!!";
constexpr char kOpenFailedText[] = "OpenPrinter Falied!!!\\r\\nUnable to access printer";
constexpr char kMessageTitle[] = "Printer Configuration Utility";
constexpr char kApplicationTitle[] = "Varnet Orvel Printer Utility";

// The captions beside the boxes, in focus order: each list's accessible name.
const std::vector<std::string> kCaptions = {
    "Font",
    "Tearoff",
    "Page Length",
    "Interface",
    "Baud Rate",
    "Parity",
    "Flow Control",
    "Strobe Edge",
    "Character Table",
    "Language",
    "Language Standard",
    "Space Compensation",
    "Input Buffer Size",
    "Skip Over Perforation",
    "Print Direction",
    "Slashed Zero",
    "Line Spacing",
    "Auto LineFeed",
    "Roll Paper",
};

// The defaults as the boxes show them, in focus order, and which boxes start disabled.
const std::vector<std::pair<std::string, std::string>> kDefaults = {
    {"cboFont", "Sans Serif"},    {"cboTearOff", "Short Auto"},
    {"cboPageLength", "12 Inch"}, {"cboInterface", "Autoshare"},
    {"cboBaudRate", "9600"},      {"cboParity", "None"},
    {"cboFlowCtrl", "Hardware"},  {"cboStrobeEdge", "Falling Edge"},
    {"cboCharTable", "Graphics"}, {"cboLanguage", "Hindi"},
    {"cboLanStd", "8 bit-ISCII"}, {"cboSpcComp", "Disabled"},
    {"cboInputBS", "64k bytes"},  {"cboSOP", "OFF"},
    {"cboPrintDir", "Bi-D"},      {"cboSlaZero", "Slashed"},
    {"cboLineSpc", "6 LPI"},      {"cboALF", "Disabled"},
    {"cboRollPaper", "Disabled"},
};
const std::vector<std::string> kDisabledAtStart = {"cboLanguage", "cboLanStd", "cboSpcComp"};

// Where the controls stand within the main window's client area, in pixels (twips / 15).
struct Place {
    std::string control;
    int left;
    int top;
    int width;
    int height;
};
const std::vector<Place> kMainPlaces = {
    {"cboFont", 107, 45, 161, 21},         {"cboLanguage", 107, 286, 161, 21},
    {"cboLanStd", 402, 72, 161, 21},       {"cboRollPaper", 402, 287, 161, 21},
    {"Apply Settings", 588, 168, 128, 26}, {"Restore Default", 588, 198, 128, 26},
    {"Show Features", 588, 228, 128, 26},  {"Print Features", 588, 258, 128, 26},
    {"Exit", 588, 288, 128, 26},           {"&Domestic Model", 288, 42, 113, 17},
    {"E&xport Model", 432, 42, 121, 17},
};

std::string control(const std::string& window, const std::string& name, const char* property) {
    return window + "/" + name + "." + property;
}

std::string escapedCrLf(const std::string& text) {
    std::string out;
    for (char c : text)
        out += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
    return out;
}

class DesktopEnvironment : public testing::Environment {
public:
    void SetUp() override {
        why_ = CupsSandbox::whyUnavailable();
        if (why_.empty())
            why_ = WinePrefix::whyUnavailable();
        if (why_.empty())
            why_ = XServer::whyUnavailable();
        if (why_.empty() && !std::ifstream(kWindowProgram))
            why_ = std::string("the Windows build was not made (") + kWindowProgram + ")";
        if (!why_.empty()) {
            std::printf("wine window tests skipped: %s\n", why_.c_str());
            return;
        }
        try {
            desktop_ = std::make_unique<WineDesktop>();
        } catch (const std::exception& error) {
            failure_ = error.what();
        }
    }
    void TearDown() override { desktop_.reset(); }

    static inline std::unique_ptr<WineDesktop> desktop_;
    static inline std::string why_;
    static inline std::string failure_;
};

[[maybe_unused]] testing::Environment* const kDesktopEnvironment =
    testing::AddGlobalTestEnvironment(new DesktopEnvironment);

class WindowUnderWine : public testing::Test {
protected:
    void SetUp() override {
        if (!DesktopEnvironment::why_.empty())
            GTEST_SKIP() << DesktopEnvironment::why_;
        ASSERT_TRUE(DesktopEnvironment::failure_.empty()) << DesktopEnvironment::failure_;
        desktop = DesktopEnvironment::desktop_.get();
        folder = desktop->prefix().workFolder() + "/" +
                 testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::create_directories(folder);
        fs::copy_file(kWindowProgram, folder + "/varnet-orvel.exe",
                      fs::copy_options::overwrite_existing);
        for (const auto& bitmap : fs::directory_iterator(kBitmapFolder))
            fs::copy_file(bitmap.path(), folder + "/" + bitmap.path().filename().string(),
                          fs::copy_options::overwrite_existing);
        sandbox.emplace();
    }

    void TearDown() override {
        if (HasFailure() && desktop != nullptr)
            desktop->screenshot(
                shot(std::string("failure-") +
                     testing::UnitTest::GetInstance()->current_test_info()->name()));
        program.reset();
    }

    void startWithPrinter() {
        sandbox->start();
        sandbox->addQueue(kQueue, true);
        startProgram();
    }

    // Starts the window from its folder and waits until it shows, the defaults selected.
    ProbeReading startProgram() {
        program = desktop->start(folder + "/varnet-orvel.exe");
        ProbeReading shown = desktop->probeUntil([](const ProbeReading& reading) {
            return valueOf(reading, std::string(kMain) + ".visible") == "1" &&
                   valueOf(reading, "thread.active") == kMain;
        });
        EXPECT_EQ(shown[std::string(kMain) + ".visible"], "1") << "the window did not show";
        return shown;
    }

    ProbeReading waitForMessageBox() {
        ProbeReading reading = desktop->probeUntil(
            [](const ProbeReading& r) { return valueOf(r, "messagebox.exists") == "1"; });
        EXPECT_EQ(valueOf(reading, "messagebox.exists"), "1") << "no message box came up";
        return reading;
    }

    ProbeReading waitForNoMessageBox() {
        return desktop->probeUntil(
            [](const ProbeReading& r) { return valueOf(r, "messagebox.exists") == "0"; });
    }

    // The icon is not compared: the probe can't tell the system's icons apart across processes
    // under wine.
    void expectMessage(const ProbeReading& reading, const std::string& text,
                       const std::string& title, const std::string& buttons) {
        EXPECT_EQ(valueOf(reading, "messagebox.text"), text);
        EXPECT_EQ(valueOf(reading, "messagebox.title"), title);
        EXPECT_EQ(valueOf(reading, "messagebox.buttons"), buttons);
    }

    // The centre of a control, on the screen.
    std::pair<int, int> centreOf(const ProbeReading& reading, const std::string& window,
                                 const std::string& name) {
        const ScreenRect rect = parseRect(valueOf(reading, control(window, name, "rect")));
        return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }

    // The pointer as a user moves it to a button: over the background first, then onto it.
    void moveOnto(const ProbeReading& reading, const std::string& window, const std::string& name) {
        const ScreenRect rect = parseRect(valueOf(reading, control(window, name, "rect")));
        desktop->moveTo(rect.left - 12, rect.top - 2);
        desktop->moveTo(rect.left + 20, rect.top + 10);
    }

    void clickButton(const ProbeReading& reading, const std::string& window,
                     const std::string& name) {
        moveOnto(reading, window, name);
        const auto [x, y] = centreOf(reading, window, name);
        desktop->clickAt(x, y);
    }

    std::vector<Bytes> jobsArrived(size_t count) {
        const std::vector<SpooledJob> jobs = sandbox->waitForCompletedJobs(kQueue, count);
        titles.clear();
        for (const SpooledJob& job : jobs)
            titles.push_back(job.title);
        return sandbox->capturedJobs(kQueue);
    }

    Selections shownSelections(const ProbeReading& reading) {
        Selections shown{};
        for (int i = 0; i < kSettingCount; ++i) {
            const std::string selection =
                valueOf(reading, control(kMain, settingsTable()[i].box, "selection"));
            // A box the probe did not read shows no choice.
            shown[i] = selection.empty() ? SettingsModel::kNoSelection : std::stoi(selection);
        }
        return shown;
    }

    // Screenshots are kept beside the test program: the windows as they look under wine, and the
    // screen of a test that failed.
    std::string shot(const std::string& what) const {
        fs::create_directories(ORVEL_WINDOW_SHOTS);
        return std::string(ORVEL_WINDOW_SHOTS) + "/" + what + ".png";
    }

    WineDesktop* desktop = nullptr;
    std::string folder;
    std::optional<CupsSandbox> sandbox;
    std::unique_ptr<BackgroundProgram> program;
    std::vector<std::string> titles;
};

Bytes settingsJob(const Selections& selections) {
    const FlagSettings block = mdlFlagSettings::fncGetFlagSettings(selections);
    return mdlFlagSettings::fncDownloadCommand(mdlFlagSettings::kApplySettings, &block);
}

TEST_F(WindowUnderWine, StartsCentredWithTheDefaultsEveryControlAtItsPlace) {
    startWithPrinter();
    const ProbeReading reading = desktop->probe();
    EXPECT_EQ(valueOf(reading, "frmConfigUtility.caption"),
              " Varnet Orvel  Printer Configuration Utility");
    const ScreenRect client = parseRect(valueOf(reading, "frmConfigUtility.client"));
    EXPECT_EQ(client.width(), 728);
    EXPECT_EQ(client.height(), 353);
    const ScreenRect frame = parseRect(valueOf(reading, "frmConfigUtility.frame"));
    EXPECT_LE(std::abs((frame.left + frame.right) - XServer::kWidth), 1) << "centred across";
    EXPECT_LE(std::abs((frame.top + frame.bottom) - XServer::kHeight), 40) << "centred down";
    // Fixed single border, minimize but no maximize.
    const long style = std::stol(valueOf(reading, "frmConfigUtility.style"));
    EXPECT_NE(style & 0x00020000L, 0) << "minimize box";
    EXPECT_EQ(style & 0x00010000L, 0) << "maximize box";
    EXPECT_EQ(style & 0x00040000L, 0) << "sizing border";

    for (size_t i = 0; i < kDefaults.size(); ++i) {
        const auto& [box, text] = kDefaults[i];
        SCOPED_TRACE(box);
        EXPECT_EQ(valueOf(reading, control(kMain, box, "text")), text);
        EXPECT_EQ(valueOf(reading, control(kMain, box, "label")), kCaptions[i]);
        const bool disabled = std::find(kDisabledAtStart.begin(), kDisabledAtStart.end(), box) !=
                              kDisabledAtStart.end();
        EXPECT_EQ(valueOf(reading, control(kMain, box, "enabled")), disabled ? "0" : "1");
    }
    EXPECT_EQ(valueOf(reading, control(kMain, "&Domestic Model", "checked")), "1");
    EXPECT_EQ(valueOf(reading, control(kMain, "E&xport Model", "checked")), "0");
    EXPECT_EQ(valueOf(reading, "thread.focus"), "frmConfigUtility/cboFont");
    EXPECT_EQ(valueOf(reading, control(kMain, "Please wait, while printer settings being applied.",
                                       "visible")),
              "0");
    for (const Place& place : kMainPlaces) {
        SCOPED_TRACE(place.control);
        const ScreenRect rect = parseRect(valueOf(reading, control(kMain, place.control, "rect")));
        EXPECT_EQ(rect.left - client.left, place.left);
        EXPECT_EQ(rect.top - client.top, place.top);
        EXPECT_EQ(rect.width(), place.width);
        EXPECT_EQ(rect.height(), place.height);
    }
    desktop->screenshot(shot("main_window"), frame);
}

constexpr char kBanner[] = "Please wait, while printer settings being applied.";

TEST_F(WindowUnderWine, CtrlAAppliesTheDefaultsWithTheBannerUpAndDropsWhatIsGivenDuringThePause) {
    startWithPrinter();
    desktop->chord("ctrl", "a");
    expectMessage(waitForMessageBox(), kReadyText, kMessageTitle, "OK|Cancel");
    desktop->key("Return");

    const ProbeReading during = desktop->probeUntil(
        [](const ProbeReading& r) { return valueOf(r, control(kMain, kBanner, "visible")) == "1"; },
        kPause);
    ASSERT_EQ(valueOf(during, control(kMain, kBanner, "visible")), "1");
    // Painted at once: its picture on the screen inside its 2-pixel sunken border.
    ScreenRect inner = parseRect(valueOf(during, control(kMain, kBanner, "rect")));
    inner = {inner.left + 2, inner.top + 2, inner.right - 2, inner.bottom - 2};
    EXPECT_EQ(desktop->pixels(inner), picturePixels(ORVEL_SOURCE_DIR "/ui/pictures/banner.png"));
    desktop->screenshot(shot("main_window_applying"),
                        parseRect(valueOf(during, "frmConfigUtility.frame")));
    // A click on Exit and a key for the focused box, given during the pause, act on nothing.
    clickButton(during, kMain, "Exit");
    desktop->key("Down");

    desktop->probeUntil([](const ProbeReading& r) {
        return valueOf(r, control(kMain, kBanner, "visible")) == "0";
    });
    std::this_thread::sleep_for(1s);
    const ProbeReading after = desktop->probe();
    EXPECT_EQ(valueOf(after, "messagebox.exists"), "0");
    EXPECT_EQ(valueOf(after, control(kMain, "cboFont", "text")), "Sans Serif");
    EXPECT_EQ(valueOf(after, control(kMain, "Apply Settings", "enabled")), "1");

    SettingsModel defaults;
    defaults.IntializeSelectionBoxes();
    EXPECT_EQ(jobsArrived(1), std::vector<Bytes>{settingsJob(defaults.selections())});
    EXPECT_EQ(titles, std::vector<std::string>{kSettingsJob});
}

// Every enabled box reached as a user must: ALT with its caption's letter, then Home and Down to
// the choice. A box that an interlock has disabled is left alone, as ALT would not reach it.
TEST_F(WindowUnderWine, ARandomSelectionReachedThroughEnabledBoxesIsAppliedByMouse) {
    startWithPrinter();
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    SettingsModel model;
    model.IntializeSelectionBoxes();
    std::vector<int> order(kSettingCount);
    for (int i = 0; i < kSettingCount; ++i)
        order[i] = i;
    std::shuffle(order.begin(), order.end(), random);
    for (int row : order) {
        const SettingInfo& info = settingsTable()[row];
        if (!model.isEnabled(info.id))
            continue;
        const int choice = std::uniform_int_distribution<int>(
            0, static_cast<int>(info.choices.size()) - 1)(random);
        std::vector<std::string> keys = {
            "keydown", "alt",
            "key",     std::string(1, static_cast<char>(std::tolower(info.underlined))),
            "keyup",   "alt",
            "key",     "Home"};
        for (int step = 0; step < choice; ++step) {
            keys.push_back("key");
            keys.push_back("Down");
        }
        desktop->x(keys);
        ASSERT_TRUE(model.userSelect(info.id, choice));
    }
    const ProbeReading chosen = desktop->probeUntil(
        [&](const ProbeReading& r) { return shownSelections(r) == model.selections(); });
    ASSERT_EQ(shownSelections(chosen), model.selections());
    for (int i = 0; i < kSettingCount; ++i)
        EXPECT_EQ(valueOf(chosen, control(kMain, settingsTable()[i].box, "enabled")),
                  model.isEnabled(settingAt(i)) ? "1" : "0")
            << settingsTable()[i].box;

    clickButton(chosen, kMain, "Apply Settings");
    waitForMessageBox();
    desktop->key("Return");
    EXPECT_EQ(jobsArrived(1), std::vector<Bytes>{settingsJob(model.selections())});
    EXPECT_EQ(titles, std::vector<std::string>{kSettingsJob});
}

TEST_F(WindowUnderWine, CancelSendsNothingRestoreSendsItsCommandAndQuittingAsksFirst) {
    startWithPrinter();
    // The Export model's preset, then Restore Default answered with Cancel: nothing changes.
    desktop->chord("ctrl", "e");
    desktop->probeUntil([](const ProbeReading& r) {
        return valueOf(r, control(kMain, "cboPageLength", "text")) == "11 Inch";
    });
    desktop->chord("ctrl", "d");
    expectMessage(waitForMessageBox(), kReadyText, kMessageTitle, "OK|Cancel");
    desktop->key("Escape");
    ProbeReading reading = waitForNoMessageBox();
    EXPECT_EQ(valueOf(reading, control(kMain, "cboPageLength", "text")), "11 Inch");
    EXPECT_EQ(valueOf(reading, control(kMain, "E&xport Model", "checked")), "1");
    EXPECT_EQ(valueOf(reading, control(kMain, kBanner, "visible")), "0");
    // After a message box the focus is where it was.
    EXPECT_EQ(valueOf(reading, "thread.focus"), "frmConfigUtility/cboFont");

    desktop->chord("ctrl", "d");
    waitForMessageBox();
    desktop->key("Return");
    EXPECT_EQ(jobsArrived(1), std::vector<Bytes>{bytes({0x1B, 0x19, 0x01})});
    EXPECT_EQ(titles, std::vector<std::string>{kSettingsJob});
    // What is given during the pause after the job would be dropped.
    std::this_thread::sleep_for(kPause);
    reading = desktop->probe();
    EXPECT_EQ(valueOf(reading, control(kMain, "cboPageLength", "text")), "12 Inch");
    EXPECT_EQ(valueOf(reading, control(kMain, "&Domestic Model", "checked")), "1");

    // Exit, and closing by ALT+F4 with a list focused, each answered No: the window stays.
    clickButton(reading, kMain, "Exit");
    expectMessage(waitForMessageBox(), kQuitText, kMessageTitle, "&Yes|&No");
    desktop->key("n");
    waitForNoMessageBox();
    desktop->chord("alt", "F4");
    expectMessage(waitForMessageBox(), kQuitText, kMessageTitle, "&Yes|&No");
    desktop->key("n");
    reading = waitForNoMessageBox();
    EXPECT_EQ(valueOf(reading, "frmConfigUtility.visible"), "1");
    EXPECT_TRUE(program->running());

    // The close button answered Yes: the program ends, without a second question.
    std::this_thread::sleep_for(300ms);
    const ScreenRect frame = parseRect(valueOf(reading, "frmConfigUtility.frame"));
    desktop->clickAt(frame.right - 12, frame.top + 12);
    waitForMessageBox();
    desktop->key("y");
    EXPECT_TRUE(program->waitForExit(10s));
    EXPECT_EQ(sandbox->capturedJobs(kQueue).size(), 1u);
}

TEST_F(WindowUnderWine, TheFeaturesPageFromBothWindowsOneWindowShownAtATime) {
    startWithPrinter();
    desktop->chord("ctrl", "p");
    expectMessage(waitForMessageBox(), kReadyText, kMessageTitle, "OK|Cancel");
    desktop->key("Return");
    jobsArrived(1);

    ProbeReading reading = waitForNoMessageBox();
    clickButton(reading, kMain, "Show Features");
    reading = desktop->probeUntil([](const ProbeReading& r) {
        return valueOf(r, "frmFeatures.exists") == "1" && valueOf(r, "frmFeatures.visible") == "1";
    });
    ASSERT_EQ(valueOf(reading, "frmFeatures.visible"), "1");
    EXPECT_EQ(valueOf(reading, "frmConfigUtility.visible"), "0");
    EXPECT_EQ(valueOf(reading, "frmFeatures.caption"),
              "Varnet Orvel Printer Configuration Utility");
    const ScreenRect client = parseRect(valueOf(reading, "frmFeatures.client"));
    EXPECT_EQ(client.width(), 738);
    EXPECT_EQ(client.height(), 453);
    EXPECT_EQ(valueOf(reading, control(kFeatures, "txtFeatures", "text")),
              escapedCrLf(featuresText()));
    EXPECT_EQ(valueOf(reading, control(kFeatures, "txtFeatures", "label")),
              "Varnet Orvel FEATURES");
    desktop->screenshot(shot("features_window"), parseRect(valueOf(reading, "frmFeatures.frame")));

    clickButton(reading, kFeatures, "Print Features");
    waitForMessageBox();
    desktop->key("Return");
    EXPECT_EQ(jobsArrived(2), (std::vector<Bytes>{featuresPageBytes(), featuresPageBytes()}));
    EXPECT_EQ(titles, (std::vector<std::string>{kFeaturesJob, kFeaturesJob}));

    // CTRL+C returns; CTRL+S shows it again; its own close button returns without a question.
    desktop->chord("ctrl", "c");
    reading = desktop->probeUntil(
        [](const ProbeReading& r) { return valueOf(r, "frmConfigUtility.visible") == "1"; });
    EXPECT_EQ(valueOf(reading, "frmFeatures.visible"), "0");
    desktop->chord("ctrl", "s");
    reading = desktop->probeUntil([](const ProbeReading& r) {
        return valueOf(r, "frmFeatures.visible") == "1" && valueOf(r, "thread.active") == kFeatures;
    });
    // The frame is drawn a moment after the window shows.
    std::this_thread::sleep_for(300ms);
    const ScreenRect frame = parseRect(valueOf(reading, "frmFeatures.frame"));
    desktop->clickAt(frame.right - 12, frame.top + 12);
    reading = desktop->probeUntil(
        [](const ProbeReading& r) { return valueOf(r, "frmConfigUtility.visible") == "1"; });
    EXPECT_EQ(valueOf(reading, "frmConfigUtility.visible"), "1");
    EXPECT_EQ(valueOf(reading, "messagebox.exists"), "0");

    // CTRL+X answered Yes ends the program, the features window made earlier included.
    desktop->chord("ctrl", "x");
    expectMessage(waitForMessageBox(), kQuitText, kMessageTitle, "&Yes|&No");
    desktop->key("y");
    EXPECT_TRUE(program->waitForExit(10s));
}

// Run from the zip for Windows users, unpacked into a folder of its own: the window reads its
// button pictures from there.
TEST_F(WindowUnderWine, AHoverReadsItsFileFromTheProgramFolderAndADamagedFileKeepsThePicture) {
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::string zip;
    for (const auto& entry : fs::directory_iterator(fs::path(kWindowProgram).parent_path())) {
        if (entry.path().filename().string().find("-windows-x64.zip") != std::string::npos)
            zip = entry.path().string();
    }
    ASSERT_FALSE(zip.empty()) << "no zip beside " << kWindowProgram;
    ProcessRequest unzip;
    unzip.arguments = {"/usr/bin/unzip", "-q", zip, "-d", folder};
    ASSERT_EQ(BoundedProcess::run(unzip).exitCode, 0);
    ASSERT_TRUE(fs::exists(folder + "/varnet-orvel.exe"));
    // Apply Settings lights up with whatever its file holds; Restore Default's file is cut short.
    fs::copy_file(folder + "/Show_Features2.bmp", folder + "/Apply_Settings2.bmp",
                  fs::copy_options::overwrite_existing);
    fs::resize_file(folder + "/Restore_Default2.bmp", 200);
    startWithPrinter();
    const ProbeReading reading = desktop->probe();
    moveOnto(reading, kMain, "Apply Settings");
    const ScreenRect apply = parseRect(valueOf(reading, control(kMain, "Apply Settings", "rect")));
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(desktop->pixels(apply), picturePixels(folder + "/Show_Features2.bmp"));

    moveOnto(reading, kMain, "Restore Default");
    const ScreenRect restore =
        parseRect(valueOf(reading, control(kMain, "Restore Default", "rect")));
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(desktop->pixels(restore), picturePixels(folder + "/Restore_Default1.bmp"));
    // The background put Apply Settings back, read from its normal file.
    EXPECT_EQ(desktop->pixels(apply), picturePixels(folder + "/Apply_Settings1.bmp"));
    const ScreenRect print = parseRect(valueOf(reading, control(kMain, "Print Features", "rect")));
    moveOnto(reading, kMain, "Print Features");
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(desktop->pixels(print), picturePixels(folder + "/Print_Features2.bmp"));
    desktop->screenshot(shot("main_window_hover"),
                        parseRect(valueOf(reading, "frmConfigUtility.frame")));
}

TEST_F(WindowUnderWine, AltFocusesEnabledBoxesOnlyAndCtrlChoosesTheModel) {
    startWithPrinter();
    const auto focusAfter = [this](const std::string& letter) {
        desktop->chord("alt", letter);
        std::this_thread::sleep_for(200ms);
        return valueOf(desktop->probe(), "thread.focus");
    };
    EXPECT_EQ(focusAfter("p"), "frmConfigUtility/cboPageLength");
    // Interface to Parallel: the serial line's boxes are disabled, and ALT+B leaves the focus.
    EXPECT_EQ(focusAfter("i"), "frmConfigUtility/cboInterface");
    desktop->key("Home");
    EXPECT_EQ(focusAfter("b"), "frmConfigUtility/cboInterface");
    EXPECT_EQ(focusAfter("l"), "frmConfigUtility/cboInterface");
    // ALT alone, then ALT with a letter: no menu mode in between.
    desktop->key("alt");
    EXPECT_EQ(focusAfter("o"), "frmConfigUtility/cboRollPaper");
    // CTRL with a letter that is no shortcut: nothing runs and the box keeps its selection.
    desktop->chord("ctrl", "z");
    ProbeReading reading = desktop->probe();
    EXPECT_EQ(valueOf(reading, control(kMain, "cboRollPaper", "text")), "Disabled");
    EXPECT_EQ(valueOf(reading, "messagebox.exists"), "0");

    desktop->chord("ctrl", "e");
    reading = desktop->probeUntil([](const ProbeReading& r) {
        return valueOf(r, control(kMain, "E&xport Model", "checked")) == "1";
    });
    EXPECT_EQ(valueOf(reading, control(kMain, "cboPageLength", "text")), "11 Inch");
    EXPECT_EQ(valueOf(reading, control(kMain, "cboInterface", "text")), "Autoshare");
    // The option buttons' own access keys.
    desktop->chord("alt", "d");
    reading = desktop->probeUntil([](const ProbeReading& r) {
        return valueOf(r, control(kMain, "&Domestic Model", "checked")) == "1";
    });
    EXPECT_EQ(valueOf(reading, control(kMain, "cboPageLength", "text")), "12 Inch");
    desktop->chord("alt", "x");
    reading = desktop->probeUntil([](const ProbeReading& r) {
        return valueOf(r, control(kMain, "E&xport Model", "checked")) == "1";
    });
    EXPECT_EQ(valueOf(reading, control(kMain, "cboPageLength", "text")), "11 Inch");
    desktop->chord("ctrl", "o");
    reading = desktop->probeUntil([](const ProbeReading& r) {
        return valueOf(r, control(kMain, "&Domestic Model", "checked")) == "1";
    });
    EXPECT_EQ(valueOf(reading, control(kMain, "cboPageLength", "text")), "12 Inch");
}

struct Unreachable {
    const char* name;
    const char* text;
    const char* title;
};

// Where wine keeps the name of the default printer: "name,driver,port".
constexpr char kDefaultPrinterKey[] =
    "HKCU\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";

// No printer (a scheduler with no queue), a default printer that no spooler knows, and a
// scheduler that does not answer (to wine: no printer at all).
TEST_F(WindowUnderWine, NoPrinterAnUnknownPrinterAndADeadSchedulerGiveTheirMessageAndNoJob) {
    const Unreachable cases[] = {
        {"no printer", kNoPrinterText, kApplicationTitle},
        {"unknown printer", kOpenFailedText, kMessageTitle},
        {"dead scheduler", kNoPrinterText, kApplicationTitle},
    };
    const WinePrefix& prefix = desktop->prefix();
    for (const Unreachable& unreachable : cases) {
        const std::string name = unreachable.name;
        SCOPED_TRACE(name);
        sandbox.emplace();
        sandbox->start();
        if (name == "dead scheduler") {
            sandbox->addQueue(kQueue, true);
            sandbox->stop();
        }
        if (name == "unknown printer")
            prefix.run("reg", {"add", kDefaultPrinterKey, "/v", "Device", "/d",
                               "Nowhere,winspool,FILE:", "/f"});
        startProgram();
        desktop->chord("ctrl", "a");
        waitForMessageBox();
        desktop->key("Return");
        const ProbeReading reading = desktop->probeUntil([](const ProbeReading& r) {
            return valueOf(r, "messagebox.exists") == "1" &&
                   valueOf(r, "messagebox.buttons") == "OK";
        });
        expectMessage(reading, unreachable.text, unreachable.title, "OK");
        desktop->key("Return");
        waitForNoMessageBox();
        program.reset();
        if (name == "unknown printer")
            prefix.run("reg", {"delete", kDefaultPrinterKey, "/v", "Device", "/f"});
        if (name == "dead scheduler") {
            EXPECT_TRUE(sandbox->capturedJobs(kQueue).empty());
        }
    }
}

}  // namespace
}  // namespace orvel::test
