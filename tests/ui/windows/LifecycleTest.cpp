// Which window is visible when, what each keeps, and how the program ends.
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QTextCursor>

#include "tests/ui/windows/WindowFixture.h"
#include "ui/qt/buttons/PictureControl.h"

namespace orvel::test {
namespace {

using Lifecycle = WindowTest;

// Places the caret and a selection in the feature list.
void selectSomeFeatures(QPlainTextEdit& text) {
    QTextCursor cursor = text.textCursor();
    cursor.setPosition(40);
    cursor.setPosition(55, QTextCursor::KeepAnchor);
    text.setTextCursor(cursor);
}

TEST_F(Lifecycle, ShowFeaturesHidesTheMainWindowWithItsSelections) {
    pick(Setting::cboFont, 4);
    const std::vector<int> edited = selections();
    showFeatures();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(window->features()->isVisible());
    EXPECT_TRUE(messageBox.shown.empty());

    release(window->features()->imgClose);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->features()->isVisible());
    EXPECT_EQ(selections(), edited);
}

TEST_F(Lifecycle, CloseThenShowFeaturesBringsBackTheSameWindowWithItsCaretAndSelection) {
    showFeatures();
    FeaturesView* features = window->features();
    QPlainTextEdit* text = features->txtFeatures;
    selectSomeFeatures(*text);
    features->move(features->pos() + QPoint(30, 20));
    const QPoint movedTo = features->pos();

    release(features->imgClose);
    showFeatures();

    EXPECT_EQ(window->features(), features);
    EXPECT_EQ(features->txtFeatures, text);
    EXPECT_EQ(text->textCursor().anchor(), 40);
    EXPECT_EQ(text->textCursor().position(), 55);
    EXPECT_EQ(features->pos(), movedTo);
}

TEST_F(Lifecycle, ItsOwnCloseButtonReturnsToTheMainWindowAndTheNextShowIsFreshAndCentred) {
    showFeatures();
    FeaturesView* features = window->features();
    QPointer<QPlainTextEdit> oldText = features->txtFeatures;
    selectSomeFeatures(*oldText);
    features->move(features->pos() + QPoint(30, 20));

    EXPECT_TRUE(features->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(features->isVisible());
    EXPECT_TRUE(oldText.isNull());
    EXPECT_TRUE(messageBox.shown.empty());
    EXPECT_EQ(program.endings, 0);

    showFeatures();
    EXPECT_FALSE(window->isVisible());
    ASSERT_TRUE(features->isLoaded());
    EXPECT_FALSE(features->txtFeatures->textCursor().hasSelection());
    EXPECT_EQ(features->txtFeatures->textCursor().position(), 0);
    const QRect available = features->screen()->availableGeometry();
    EXPECT_LE((features->geometry().center() - available.center()).manhattanLength(), 1);
}

TEST_F(Lifecycle, ClosingTheMainWindowAsksAndEndsTheProgramOnlyOnYes) {
    messageBox.answers = {MessageAnswer::No};
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(program.endings, 0);

    // Also after the features window was opened and closed with its Close button.
    showFeatures();
    release(window->features()->imgClose);
    messageBox.shown.clear();
    EXPECT_TRUE(window->close());
    EXPECT_EQ(program.endings, 1);
    ASSERT_EQ(messageBox.shown.size(), 1u);
    EXPECT_EQ(messageBox.shown[0].text, kQuitText);
}

TEST_F(Lifecycle, ExactlyOneWindowIsVisibleThroughShowAndBothCloses) {
    auto visibleWindows = [this] {
        int count = window->isVisible() ? 1 : 0;
        if (window->features() != nullptr && window->features()->isVisible())
            ++count;
        return count;
    };
    EXPECT_EQ(visibleWindows(), 1);
    showFeatures();
    EXPECT_EQ(visibleWindows(), 1);
    release(window->features()->imgClose);
    EXPECT_EQ(visibleWindows(), 1);
    showFeatures();
    window->features()->close();
    EXPECT_EQ(visibleWindows(), 1);
    EXPECT_TRUE(window->isVisible());
}

}  // namespace
}  // namespace orvel::test
