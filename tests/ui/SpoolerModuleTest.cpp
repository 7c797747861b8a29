// The spooler module beside the program, opened on first use: a module that works answers
// through its spooler and ends it; one that is missing or unusable, in any way, leaves the
// printer out of reach, and a command says so with the open-failure message instead of failing
// in any other way. The CUPS module itself hands a job to a private scheduler.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLibrary>
#include <QTemporaryDir>
#include <algorithm>

#include "printer/cups/SpoolerModuleEntries.h"
#include "printer/job/RawJob.h"
#include "tests/support/FakeServices.h"
#include "ui/services/SpoolerModule.h"

#ifdef ORVEL_CUPS_MODULE_PATH
#include "tests/cups/CupsSandbox.h"
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
#endif

}  // namespace
}  // namespace orvel::test
