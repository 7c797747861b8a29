#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "printer/commands/mdlFlagSettings.h"
#include "printer/job/Messages.h"
#include "tests/support/FakeServices.h"
#include "tests/support/RecordingSpooler.h"

namespace orvel {
namespace {

using test::RecordingSleep;
using test::RecordingSpooler;
using test::ScriptedMessageBox;

// The main window's three controls, writing what was done to them into a shared log.
class RecordingControls : public DownloadIdleControls {
public:
    explicit RecordingControls(std::vector<std::string>& log) : log_(log) {}
    void enableApplySettings() override { log_.push_back("enable imgApplySettings"); }
    void hideWarning() override { log_.push_back("hide imgWarning"); }
    void enableBackground() override { log_.push_back("enable imgBackground"); }
    void repaintApplySettings() override { log_.push_back("repaint imgApplySettings"); }
    void repaintWarning() override { log_.push_back("repaint imgWarning"); }
    void repaintBackground() override { log_.push_back("repaint imgBackground"); }

private:
    std::vector<std::string>& log_;
};

struct Fixture {
    RecordingSpooler spooler;
    ScriptedMessageBox messageBox;
    RecordingSleep sleep;
    PrinterServices services{spooler, messageBox, sleep};
    std::vector<std::string> log;  // controls and messages, in order
    RecordingControls controls{log};

    Fixture() {
        // Also among the spooler's calls, so that closing the printer before telling the user
        // shows.
        messageBox.onShow = [this](const test::ShownMessage&) {
            log.push_back("message");
            spooler.calls.push_back("message");
        };
    }
    void restore() {
        mdlFlagSettings::fncDownloadSettings(services, controls, mdlFlagSettings::kRestoreDefaults,
                                             nullptr);
    }
};

const std::vector<std::string> kIdleThenMessage = {"enable imgApplySettings",
                                                   "hide imgWarning",
                                                   "enable imgBackground",
                                                   "repaint imgApplySettings",
                                                   "repaint imgWarning",
                                                   "repaint imgBackground",
                                                   "message"};

struct DownloadCase {
    const char* name;
    std::function<void(RecordingSpooler&)> script;
    std::vector<std::string> calls;
    const Message* message;  // nullptr: none
    std::vector<std::string> log;
    std::vector<int> pauses;
};

void PrintTo(const DownloadCase& c, std::ostream* os) {
    *os << c.name;
}

const std::vector<std::string> kSentCalls = {
    "default",   "open Orvel", "stopped", "jobs",   "startDoc Permanent Settings Configuration",
    "startPage", "write 3",    "endPage", "endDoc", "close"};

std::vector<std::string> failedAfter(size_t callsKept) {
    std::vector<std::string> calls(kSentCalls.begin(), kSentCalls.begin() + callsKept);
    calls.push_back("cancelDoc");
    calls.push_back("close");
    calls.push_back("message");
    return calls;
}

class DownloadOutcome : public ::testing::TestWithParam<DownloadCase> {};

TEST_P(DownloadOutcome, TellsTheUserAndPausesOnlyAfterASentJob) {
    Fixture f;
    GetParam().script(f.spooler);
    f.restore();

    EXPECT_EQ(f.spooler.calls, GetParam().calls);
    EXPECT_EQ(f.log, GetParam().log);
    EXPECT_EQ(f.sleep.pauses, GetParam().pauses);
    if (GetParam().message) {
        ASSERT_EQ(f.messageBox.shown.size(), 1u);
        const test::ShownMessage& shown = f.messageBox.shown[0];
        EXPECT_EQ(shown.text, GetParam().message->text());
        EXPECT_EQ(shown.title, GetParam().message->title);
        EXPECT_EQ(shown.icon, MessageIcon::Critical);
        EXPECT_EQ(shown.buttons, MessageButtons::OK);
    } else {
        EXPECT_TRUE(f.messageBox.shown.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Spooler, DownloadOutcome,
    ::testing::Values(
        DownloadCase{"EmptyQueue", [](RecordingSpooler&) {}, kSentCalls, nullptr, {}, {2500}},
        DownloadCase{"NoPrinter",
                     [](RecordingSpooler& s) {
                         s.defaultAnswer = {false, ""};
                     },
                     {"default", "message"},
                     &messages::kNoPrinter,
                     {"message"},
                     {}},
        DownloadCase{"OpenFails",
                     [](RecordingSpooler& s) { s.openSucceeds = false; },
                     {"default", "open Orvel", "message"},
                     &messages::kOpenFailed,
                     {"message"},
                     {}},
        DownloadCase{"Busy",
                     [](RecordingSpooler& s) { s.jobsInQueue = 1; },
                     {"default", "open Orvel", "stopped", "jobs", "close", "message"},
                     &messages::kPrinterBusy,
                     kIdleThenMessage,
                     {}},
        // A stopped queue's jobs never clear, so its own message is the one that helps; the
        // download tells it and ends there, the controls left to the command.
        DownloadCase{"Stopped",
                     [](RecordingSpooler& s) { s.queueIsStopped = true; },
                     {"default", "open Orvel", "stopped", "close", "message"},
                     &messages::kQueueStopped,
                     {"message"},
                     {}},
        DownloadCase{"StoppedHoldingJobs",
                     [](RecordingSpooler& s) {
                         s.queueIsStopped = true;
                         s.jobsInQueue = 2;
                     },
                     {"default", "open Orvel", "stopped", "close", "message"},
                     &messages::kQueueStopped,
                     {"message"},
                     {}},
        DownloadCase{"StartDocumentFails",
                     [](RecordingSpooler& s) { s.startDocumentSucceeds = false; },
                     failedAfter(5),
                     &messages::kSendFailed,
                     {"message"},
                     {}},
        DownloadCase{"StartPageFails",
                     [](RecordingSpooler& s) { s.startPageSucceeds = false; },
                     failedAfter(6),
                     &messages::kSendFailed,
                     {"message"},
                     {}},
        DownloadCase{"WriteFails",
                     [](RecordingSpooler& s) { s.failWriteNumber = 0; },
                     failedAfter(7),
                     &messages::kSendFailed,
                     {"message"},
                     {}},
        DownloadCase{"ShortWrite",
                     [](RecordingSpooler& s) { s.shortWriteNumber = 0; },
                     failedAfter(7),
                     &messages::kSendFailed,
                     {"message"},
                     {}},
        DownloadCase{"EndPageFails",
                     [](RecordingSpooler& s) { s.endPageSucceeds = false; },
                     failedAfter(8),
                     &messages::kSendFailed,
                     {"message"},
                     {}},
        DownloadCase{"EndDocumentFails",
                     [](RecordingSpooler& s) { s.endDocumentSucceeds = false; },
                     failedAfter(9),
                     &messages::kSendFailed,
                     {"message"},
                     {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DownloadMessages, AreWordForWord) {
    EXPECT_EQ(messages::kNoPrinter.text(),
              "No printer drivers are installed.\r\nDownload Failed!!");
    EXPECT_EQ(messages::kNoPrinter.title,
              std::optional<std::string>("Varnet Orvel Printer Utility"));
    EXPECT_EQ(messages::kOpenFailed.text(), "OpenPrinter Falied!!!\r\nUnable to access printer");
    EXPECT_EQ(messages::kSendFailed.text(),
              "Unable to send data to the printer.\r\nDownload Failed!!");
    EXPECT_EQ(messages::kPrinterBusy.text(),
              "Unable to download printer settings.\r\n\r\nPrinter is busy with processing print "
              "jobs, please try once printer is free.");
    // Read in the window as four lines, and on a terminal joined into one.
    EXPECT_EQ(messages::kQueueStopped.text(),
              "Unable to download printer settings.\r\n\r\nThe printer's queue is stopped: the "
              "settings would reach the printer only once the queue is resumed.\r\nResume the "
              "queue (sudo cupsenable followed by the printer's name), then try again.");
    for (const Message* m : {&messages::kOpenFailed, &messages::kSendFailed,
                             &messages::kPrinterBusy, &messages::kQueueStopped}) {
        EXPECT_EQ(m->title, std::optional<std::string>("Printer Configuration Utility"));
    }
}

struct CommandCase {
    const char* name;
    std::int16_t mode;
    std::array<std::int16_t, 12> block;
    Bytes expected;
};

void PrintTo(const CommandCase& c, std::ostream* os) {
    *os << c.name;
}

class DownloadCommand : public ::testing::TestWithParam<CommandCase> {};

TEST_P(DownloadCommand, IsOneChunkOfThePrintersCommandBytes) {
    Fixture f;
    FlagSettings block;
    block.values = GetParam().block;
    mdlFlagSettings::fncDownloadSettings(f.services, f.controls, GetParam().mode,
                                         GetParam().mode == 2 ? &block : nullptr);
    ASSERT_EQ(f.spooler.written.size(), 1u);
    EXPECT_EQ(f.spooler.written[0], GetParam().expected);
    EXPECT_EQ(f.spooler.documentName, "Permanent Settings Configuration");
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, DownloadCommand,
    ::testing::Values(
        CommandCase{"Restore", 1, {}, Bytes("\x1B\x19\x01", 3)},
        CommandCase{"StoreZeros", 2, {}, Bytes("\x1B\x19\x00", 3) + Bytes(12, '\0')},
        CommandCase{"StoreOneToTwelve",
                    2,
                    {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},
                    Bytes("\x1B\x19\x00\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C", 15)},
        CommandCase{"StoreFullBytes",
                    2,
                    {255, 255, 93, 2, 16, 224, 0, 8, 2, 1, 1, 1},
                    Bytes("\x1B\x19\x00\xFF\xFF\x5D\x02\x10\xE0\x00\x08\x02\x01\x01\x01", 15)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DownloadCommandErrors, NeverSendsAValueThatDoesNotFitItsByte) {
    FlagSettings block;
    block.values[3] = 256;
    EXPECT_THROW(mdlFlagSettings::fncDownloadCommand(2, &block), std::invalid_argument);
    block.values[3] = -1;
    EXPECT_THROW(mdlFlagSettings::fncDownloadCommand(2, &block), std::invalid_argument);
    EXPECT_THROW(mdlFlagSettings::fncDownloadCommand(2, nullptr), std::invalid_argument);
    EXPECT_THROW(mdlFlagSettings::fncDownloadCommand(3, &block), std::invalid_argument);
}

TEST(RawJob, AnEmptyChunkListStillSpoolsOneDocumentWithOnePage) {
    Fixture f;
    EXPECT_EQ(fncSendRawJob(f.services, "Doc", {}, BusyCheck::On), RawJobOutcome::Sent);
    const std::vector<std::string> expected = {"default", "open Orvel",   "stopped",
                                               "jobs",    "startDoc Doc", "startPage",
                                               "endPage", "endDoc",       "close"};
    EXPECT_EQ(f.spooler.calls, expected);
}

TEST(RawJob, WithoutTheBusyCheckTheQueueIsNotLookedAt) {
    Fixture f;
    f.spooler.jobsInQueue = 3;
    f.spooler.queueIsStopped = true;
    EXPECT_EQ(fncSendRawJob(f.services, "Doc", {"a", "bc"}, BusyCheck::Off), RawJobOutcome::Sent);
    const std::vector<std::string> expected = {"default",   "open Orvel", "startDoc Doc",
                                               "startPage", "write 1",    "write 2",
                                               "endPage",   "endDoc",     "close"};
    EXPECT_EQ(f.spooler.calls, expected);
}

}  // namespace
}  // namespace orvel
