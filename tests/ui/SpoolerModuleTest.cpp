// The spooler module beside the program, opened on first use: a module that works answers
// through its spooler and ends it; one that is missing or unusable, in any way, leaves the
// printer out of reach, and a command says so with the open-failure message instead of failing
// in any other way. The CUPS module itself hands a job to a private scheduler.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "printer/cups/SpoolerModuleEntries.h"
#include "printer/job/RawJob.h"
#include "tests/support/FakeServices.h"
#include "ui/services/SpoolerModule.h"

#ifdef ORVEL_CUPS_MODULE_PATH
#include <cups/cups.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>

#include <chrono>
#include <future>
#include <memory>

#include "printer/commands/mdlFlagSettings.h"
#include "tests/cups/CupsSandbox.h"
#include "tests/cups/spooler/HostileServer.h"
#include "tests/cups/spooler/LoopbackListener.h"
#endif

namespace orvel::test {
namespace {

const QString kWorkingModule = QStringLiteral(ORVEL_TEST_MODULE_WORKS);

// What a command shows when the printer can't be reached, as the user reads it.
const std::string kOpenFailedText = "OpenPrinter Falied!!!\r\nUnable to access printer";
const std::string kOpenFailedTitle = "Printer Configuration Utility";

int spoolersAliveIn(const QString& module) {
    QLibrary library(module);
    const auto alive =
        reinterpret_cast<int (*)()>(library.resolve("orvel_test_module_spoolers_alive"));
    return alive == nullptr ? -1 : alive();
}

RawJobOutcome sendOneJob(Spooler& spooler, ScriptedMessageBox& messageBox) {
    RecordingSleep sleep;
    PrinterServices services{spooler, messageBox, sleep};
    return fncSendRawJob(services, "document", {"\x1b@"}, BusyCheck::On);
}

TEST(SpoolerModule, AWorkingModuleAnswersThroughItsSpoolerAndEndsIt) {
    {
        SpoolerModule module(kWorkingModule);
        ASSERT_TRUE(module.load());
        ASSERT_TRUE(module.load());
        EXPECT_EQ(spoolersAliveIn(kWorkingModule), 1);

        const DefaultPrinter printer = module.defaultPrinter();
        EXPECT_TRUE(printer.found);
        EXPECT_EQ(printer.name, "Module printer");
        const Spooler::Handle handle = module.openPrinter("Module printer");
        EXPECT_EQ(handle, 7u);
        EXPECT_EQ(module.queuedJobs(handle), 3);
        EXPECT_TRUE(module.queueStopped(handle));
        EXPECT_TRUE(module.startDocument(handle, "document"));
        EXPECT_TRUE(module.startPage(handle));
        EXPECT_EQ(module.writeChunk(handle, "four"), 4);
        EXPECT_TRUE(module.endPage(handle));
        EXPECT_TRUE(module.endDocument(handle));
        EXPECT_EQ(module.openPrinter("Another"), Spooler::kNoHandle);
    }
    EXPECT_EQ(spoolersAliveIn(kWorkingModule), 0);
}

struct Unusable {
    const char* what;
    QString path;  // relative to the test's scratch folder unless absolute
};

TEST(SpoolerModule, AnUnusableModuleLeavesThePrinterOutOfReach) {
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    const QDir folder(scratch.path());
    {
        QFile notALibrary(folder.filePath(QStringLiteral("text.so")));
        ASSERT_TRUE(notALibrary.open(QIODevice::WriteOnly));
        notALibrary.write("This is no shared library.\n");
    }
    ASSERT_TRUE(folder.mkdir(QStringLiteral("folder.so")));
    ASSERT_TRUE(QFile::copy(kWorkingModule, folder.filePath(QStringLiteral("works.so"))));

    const Unusable cases[] = {
        {"missing", folder.filePath(QStringLiteral("missing.so"))},
        {"not a shared library", folder.filePath(QStringLiteral("text.so"))},
        {"a folder", folder.filePath(QStringLiteral("folder.so"))},
        {"without the entry points", QStringLiteral(ORVEL_TEST_MODULE_NO_ENTRIES)},
        // Its spooler would end the test: it must not be asked for one.
        {"built for another interface", QStringLiteral(ORVEL_TEST_MODULE_OTHER_INTERFACE)},
        {"making no spooler", QStringLiteral(ORVEL_TEST_MODULE_NO_SPOOLER)},
        // A working module, but by a name that the library search would resolve.
        {"named by a relative path", QStringLiteral("./works.so")},
    };
    // Back to the working folder however the test ends: the next tests must not run in a
    // folder that is removed.
    struct WorkingFolder {
        const QString path = QDir::currentPath();
        ~WorkingFolder() { QDir::setCurrent(path); }
    } workingFolder;
    ASSERT_TRUE(QDir::setCurrent(folder.path()));
    for (const Unusable& c : cases) {
        SCOPED_TRACE(c.what);
        SpoolerModule module(c.path);
        EXPECT_FALSE(module.load());
        const DefaultPrinter printer = module.defaultPrinter();
        EXPECT_TRUE(printer.found);
        EXPECT_EQ(printer.name, "");
        EXPECT_EQ(module.openPrinter("Orvel"), Spooler::kNoHandle);

        ScriptedMessageBox messageBox;
        EXPECT_EQ(sendOneJob(module, messageBox), RawJobOutcome::NotSent);
        ASSERT_EQ(messageBox.shown.size(), 1u);
        EXPECT_EQ(messageBox.shown[0].text, kOpenFailedText);
        EXPECT_EQ(messageBox.shown[0].buttons, MessageButtons::OK);
        EXPECT_EQ(messageBox.shown[0].icon, MessageIcon::Critical);
        EXPECT_EQ(messageBox.shown[0].title, kOpenFailedTitle);
    }
    ASSERT_TRUE(QDir::setCurrent(workingFolder.path));
}

TEST(SpoolerModule, AFailureIsToldOnceAndAModulePutRightIsTakenUp) {
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    const QString path = QDir(scratch.path()).filePath(QStringLiteral("varnet-orvel-cups.so"));
    SpoolerModule module(path);

    testing::internal::CaptureStderr();
    ScriptedMessageBox messageBox;
    sendOneJob(module, messageBox);
    sendOneJob(module, messageBox);
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_EQ(messageBox.shown.size(), 2u);
    EXPECT_NE(told.find(path.toStdString()), std::string::npos) << told;
    EXPECT_EQ(std::count(told.begin(), told.end(), '\n'), 1) << told;

    ASSERT_TRUE(QFile::copy(kWorkingModule, path));
    EXPECT_EQ(module.defaultPrinter().name, "Module printer");
}

// Where a loader or a toolkit that searched might find a module when the program names
// <folder>/varnet-orvel-cups.so: other names in the same folder, and the subfolders that the
// system's loader tries, for this processor, in each folder of its search path.
const char* const kPlantedNames[] = {
    "libvarnet-orvel-cups.so",
    "varnet-orvel-cups.so.so",
    "libvarnet-orvel-cups.so.so",
    "varnet-orvel-cups",
    "haswell/varnet-orvel-cups.so",
    "haswell/libvarnet-orvel-cups.so",
    "x86_64/varnet-orvel-cups.so",
    "x86_64/libvarnet-orvel-cups.so",
    "haswell/x86_64/varnet-orvel-cups.so",
    "tls/varnet-orvel-cups.so",
    "tls/haswell/x86_64/varnet-orvel-cups.so",
    "glibc-hwcaps/x86-64-v2/varnet-orvel-cups.so",
    "glibc-hwcaps/x86-64-v3/varnet-orvel-cups.so",
    "glibc-hwcaps/x86-64-v4/varnet-orvel-cups.so",
};

struct Opened {
    int status;          // of the process that opened it: 0 its spooler came, 1 not
    std::string loaded;  // the planted modules that were loaded, one path a line
};

// Opens <folder>/varnet-orvel-cups.so as the program does, in a process whose loader searches
// the folder (LD_LIBRARY_PATH), after copies of a module that tells when it is loaded have been
// planted in every place of kPlantedNames.
Opened openAmongPlantedModules(const QDir& folder) {
    for (const char* name : kPlantedNames) {
        const QString path = folder.filePath(QString::fromLatin1(name));
        QDir().mkpath(QFileInfo(path).path());
        QFile::remove(path);
        EXPECT_TRUE(QFile::copy(QStringLiteral(ORVEL_TEST_MODULE_PLANTED), path)) << name;
    }
    const QString marker = folder.filePath(QStringLiteral("loaded.txt"));
    QFile::remove(marker);
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LD_LIBRARY_PATH"), folder.path());
    environment.insert(QStringLiteral("ORVEL_PLANTED_MARKER"), marker);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(ORVEL_OPEN_SPOOLER_MODULE),
                  {folder.filePath(QStringLiteral("varnet-orvel-cups.so"))});
    if (!process.waitForFinished(20000)) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << "the module was not opened within 20 s";
    }
    QFile loaded(marker);
    const std::string paths =
        loaded.open(QIODevice::ReadOnly) ? loaded.readAll().toStdString() : std::string();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, paths};
}

TEST(SpoolerModule, OnlyTheCheckedFileIsOpenedNothingALoaderCouldFindInItsStead) {
    struct Case {
        const char* what;
        std::function<void(const QString& checked)> make;
        int status;
        std::string loaded;  // CHECKED stands for the checked file's path
    };
    const std::vector<Case> cases = {
        {"missing", [](const QString&) {}, 1, ""},
        {"not a shared library",
         [](const QString& checked) {
             QFile text(checked);
             ASSERT_TRUE(text.open(QIODevice::WriteOnly));
             text.write("This is no shared library.\n");
         },
         1, ""},
        {"a folder", [](const QString& checked) { ASSERT_TRUE(QDir().mkpath(checked)); }, 1, ""},
        {"a working module",
         [](const QString& checked) { ASSERT_TRUE(QFile::copy(kWorkingModule, checked)); }, 0, ""},
        // Shows that a loaded module would be seen: the one checked is itself one that tells.
        {"a module that tells when it is loaded",
         [](const QString& checked) {
             ASSERT_TRUE(QFile::copy(QStringLiteral(ORVEL_TEST_MODULE_PLANTED), checked));
         },
         0, "CHECKED\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir scratch;
        ASSERT_TRUE(scratch.isValid());
        const QDir folder(scratch.path());
        const QString checked = folder.filePath(QStringLiteral("varnet-orvel-cups.so"));
        c.make(checked);
        const Opened opened = openAmongPlantedModules(folder);
        EXPECT_EQ(opened.status, c.status);
        std::string loaded = c.loaded;
        if (loaded.find("CHECKED") != std::string::npos)
            loaded.replace(loaded.find("CHECKED"), 7, checked.toStdString());
        EXPECT_EQ(opened.loaded, loaded);
    }
}

#ifdef ORVEL_CUPS_MODULE_PATH
// The module that the program installs beside itself: the job reaches the printer of a private
// scheduler byte for byte.
TEST(SpoolerModule, TheCupsModuleHandsAJobToTheScheduler) {
    const std::string why = CupsSandbox::whyUnavailable();
    if (!why.empty())
        GTEST_SKIP() << why;
    CupsSandbox sandbox;
    sandbox.start();
    sandbox.addQueue("Orvel", true);

    SpoolerModule module(QStringLiteral(ORVEL_CUPS_MODULE_PATH));
    ASSERT_TRUE(module.load());
    ScriptedMessageBox messageBox;
    EXPECT_EQ(sendOneJob(module, messageBox), RawJobOutcome::Sent);
    EXPECT_TRUE(messageBox.shown.empty());
    ASSERT_EQ(sandbox.waitForCompletedJobs("Orvel", 1).size(), 1u);
    EXPECT_EQ(sandbox.capturedJobs("Orvel"), std::vector<Bytes>{"\x1b@"});
}

struct WindowRun {
    RawJobOutcome outcome;
    std::vector<ShownMessage> shown;
    double seconds;
};

// Apply Settings as the window sends it after the user's OK, through the CUPS module, on a
// thread of its own pointed at the server (libcups keeps the server per thread).
WindowRun applyThroughTheModule(const std::string& server) {
    cupsSetServer(server.c_str());
    SpoolerModule module(QStringLiteral(ORVEL_CUPS_MODULE_PATH));
    ScriptedMessageBox messageBox;
    RecordingSleep sleep;
    PrinterServices services{module, messageBox, sleep};
    NoIdleControls controls;
    const FlagSettings block{};
    const auto start = std::chrono::steady_clock::now();
    const RawJobOutcome outcome = mdlFlagSettings::fncDownloadSettings(
        services, controls, mdlFlagSettings::kApplySettings, &block);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    cupsSetServer(nullptr);
    return {outcome, messageBox.shown, took.count()};
}

// A server that answers only its headers, or trickles its answer a byte every half second, holds
// the window no longer than one that never answers: the printer's bound (7 s), and the message.
TEST(SpoolerModule, TheWindowsCommandEndsAtItsBoundHoweverAServerDrawsOutItsAnswer) {
    CupsSandbox environment;  // no lpoptions; its scheduler never starts
    setenv("LPDEST", "Orvel", 1);
    constexpr double kPrinterBound = 7;
    constexpr double kSlack = 1;
    const std::vector<Hostility> hostilities = {Hostility::Silent, Hostility::HeadersOnly,
                                                Hostility::Trickling};
    std::vector<std::unique_ptr<HostileServer>> servers;
    std::vector<std::future<WindowRun>> runs;
    for (Hostility hostility : hostilities) {
        servers.push_back(std::make_unique<HostileServer>(hostility));
        runs.push_back(
            std::async(std::launch::async, applyThroughTheModule, servers.back()->address()));
    }
    for (size_t i = 0; i < hostilities.size(); ++i) {
        SCOPED_TRACE(describe(hostilities[i]));
        const WindowRun run = runs[i].get();
        EXPECT_EQ(run.outcome, RawJobOutcome::NotSent);
        ASSERT_EQ(run.shown.size(), 1u);
        EXPECT_EQ(run.shown[0].text, kOpenFailedText);
        EXPECT_LT(run.seconds, kPrinterBound + kSlack);
        EXPECT_EQ(servers[i]->connections(), 1);
    }
    unsetenv("LPDEST");
}

// Every file descriptor of the process taken while it lives, as when a program has run out.
class NoFileDescriptorLeft {
public:
    NoFileDescriptorLeft() {
        getrlimit(RLIMIT_NOFILE, &saved_);
        int highest = 2;
        for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
            highest = std::max(highest, std::stoi(entry.path().filename().string()));
        rlimit lowered = saved_;
        lowered.rlim_cur = static_cast<rlim_t>(highest) + 1;
        setrlimit(RLIMIT_NOFILE, &lowered);
        for (int fd; (fd = open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;)
            taken_.push_back(fd);
    }
    ~NoFileDescriptorLeft() {
        for (int fd : taken_)
            close(fd);
        setrlimit(RLIMIT_NOFILE, &saved_);
    }
    NoFileDescriptorLeft(const NoFileDescriptorLeft&) = delete;
    NoFileDescriptorLeft& operator=(const NoFileDescriptorLeft&) = delete;

private:
    rlimit saved_{};
    std::vector<int> taken_;
};

// The message box keeps its words; why the printer could not be reached goes to standard error.
TEST(SpoolerModule, AProgramOutOfFileDescriptorsSaysSoOnStandardError) {
    CupsSandbox environment;
    setenv("LPDEST", "Orvel", 1);
    // A port that refuses: the same road, with file descriptors to spare, is taken once first,
    // so that the sanitizers (whose type checks need a pipe the first time they meet a class)
    // have met every class on it before none is left.
    const test::LoopbackListener closed = test::listenOnLoopback();
    close(closed.socket);
    cupsSetServer(("127.0.0.1:" + std::to_string(closed.port)).c_str());
    SpoolerModule module(QStringLiteral(ORVEL_CUPS_MODULE_PATH));
    ScriptedMessageBox messageBox;
    EXPECT_EQ(sendOneJob(module, messageBox), RawJobOutcome::NotSent);
    testing::internal::CaptureStderr();
    RawJobOutcome outcome;
    {
        const NoFileDescriptorLeft none;
        outcome = sendOneJob(module, messageBox);
    }
    const std::string told = testing::internal::GetCapturedStderr();
    cupsSetServer(nullptr);
    unsetenv("LPDEST");
    EXPECT_EQ(outcome, RawJobOutcome::NotSent);
    ASSERT_EQ(messageBox.shown.size(), 2u);
    EXPECT_EQ(messageBox.shown[1].text, kOpenFailedText);
    EXPECT_EQ(told,
              "The printer can't be reached: this program has run out of file descriptors (Too "
              "many open files)\n");
}
#endif

}  // namespace
}  // namespace orvel::test
