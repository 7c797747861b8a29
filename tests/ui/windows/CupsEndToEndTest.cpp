// The main window on the real spooler: settings chosen in the window reach a private CUPS
// scheduler's printer byte for byte.
#include <optional>

#include "printer/cups/CupsSpooler.h"
#include "tests/cups/CupsSandbox.h"
#include "tests/ui/windows/WindowFixture.h"

namespace orvel::test {
namespace {

constexpr char kQueue[] = "Orvel";

class WindowOnCups : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string why = CupsSandbox::whyUnavailable();
        if (!why.empty())
            GTEST_SKIP() << why;
        sandbox.emplace();
        sandbox->start();
        sandbox->addQueue(kQueue, true);
        spooler.emplace();
        window = std::make_unique<ConfigUtilityView>(pictures);
        core = std::make_unique<frmConfigUtility>(
            WindowServices{*spooler, messageBox, sleep, program, kPictureFolder.toStdString()},
            *window);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    void TearDown() override {
        core.reset();
        window.reset();
        spooler.reset();
        sandbox.reset();
    }

    std::optional<CupsSandbox> sandbox;
    std::optional<CupsSpooler> spooler;
    ScriptedMessageBox messageBox;
    RecordingSleep sleep;
    RecordingProgramControl program;
    CountingPictureLoader pictures;
    std::unique_ptr<ConfigUtilityView> window;
    std::unique_ptr<frmConfigUtility> core;
};

TEST_F(WindowOnCups, ApplySendsTheChosenSettingsToThePrinter) {
    pickWithKeyboard(window->cboFont, 5);       // OCR-B
    window->OptExport->click();                 // 11 Inch, Autoshare
    pickWithKeyboard(window->cboInterface, 1);  // Serial
    pickWithKeyboard(window->cboBaudRate, 4);   // 19200
    pickWithKeyboard(window->cboCharTable, 2);  // Indian Language
    pickWithKeyboard(window->cboLanguage, 3);   // Telugu

    QTest::mouseClick(window->imgApplySettings, Qt::LeftButton);

    ASSERT_EQ(messageBox.shown.size(), 1u);  // the confirmation, and no failure after it
    EXPECT_EQ(sleep.pauses, std::vector<int>{2500});
    const auto completed = sandbox->waitForCompletedJobs(kQueue, 1);
    ASSERT_EQ(completed.size(), 1u);
    EXPECT_EQ(completed[0].title, "Permanent Settings Configuration");
    const Bytes expected = {'\x1b', '\x19', '\x00', 5, 16, 8, 0, 15, 120, 2, 16, 2, 1, 4, 1};
    EXPECT_EQ(sandbox->capturedJobs(kQueue), std::vector<Bytes>{expected});
}

}  // namespace
}  // namespace orvel::test
