// The picture buttons of both real windows under the pointer: real pointer moves, delivered by Qt
// to the topmost control under the point, so the stacking of the controls is part of the test.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tests/ui/windows/UserInput.h"
#include "tests/ui/windows/WindowFixture.h"
#include "ui/core/buttons/ButtonFaces.h"
#include "ui/qt/input/MouseButtons.h"
#include "ui/qt/loading/BuiltInPictures.h"
#include "ui/qt/loading/QtPictureLoader.h"

namespace orvel::test {
namespace {

// Where the pointer goes.
enum class Spot {
    Background,       // a strip of background between two buttons
    OtherBackground,  // elsewhere on the background
    Frame,            // inside the model frame, beside the option buttons (main)
    Note,             // a note at the foot (main)
    Box,              // a selection box (main), the text box (features)
    ApplySettings,
    RestoreDefault,
    ShowFeatures,
    PrintFeatures,
    Exit,
    Close,
    InsideAgain,  // another point of the button last moved onto
    Reopen,       // not a move: the features window closed by its own close button and shown again
};

struct HoverStep {
    Spot spot;
    std::vector<const char*> reads;  // the files read by this step, in order
    const char* faces;  // per button in column order: '-' built-in, 'n' normal, 'h' lit
    bool blnButtonsNormal;
};

struct HoverCase {
    const char* name;
    QString folder;
    std::vector<const char*> missing;  // files that cannot be read
    std::vector<HoverStep> steps;
};

// Failures name the case.
void PrintTo(const HoverCase& row, std::ostream* out) {
    *out << row.name;
}

QString fileOf(const QString& folder, const char* name) {
    return folder + QLatin1String(kPictureLiteralLead) + QLatin1String(name);
}

class HoverTest : public WindowTest {
protected:
    // Qt drops a move to where the pointer already is, which may be where the last test left
    // it: start each test over the title picture, which takes no pointer moves.
    void park() { movePointer(shownWindow(), centreOf(*title())); }

    // Before SetUp: the case's folder and missing files.
    void configure(const HoverCase& hoverCase) {
        folder = hoverCase.folder;
        for (const char* name : hoverCase.missing)
            pictures.failing.insert(fileOf(hoverCase.folder, name));
    }

    // Each button with the faces its two files show, in column order.
    struct Button {
        PictureControl* control;
        ButtonFace face;
    };
    virtual std::vector<Button> buttons() const = 0;
    virtual QWidget& shownWindow() = 0;
    virtual PictureControl* background() = 0;
    virtual PictureControl* title() = 0;
    virtual QWidget* boxSpot() = 0;
    virtual bool blnButtonsNormal() const = 0;
    virtual void reopen() {}

    QPoint pointOf(Spot spot) {
        const std::vector<Button> all = buttons();
        const QRect first = all[0].control->geometry();
        const QRect second = all[1].control->geometry();
        switch (spot) {
            case Spot::Background:
                return {first.center().x(), (first.bottom() + second.top()) / 2 + 1};
            case Spot::OtherBackground:
                return {first.left() - 20, first.top() - 10};
            case Spot::Frame:
                return window->Shape1->geometry().topLeft() + QPoint(4, 4);
            case Spot::Note:
                return window->Label3->geometry().center();
            case Spot::Box:
                return test::centreOf(*boxSpot());
            case Spot::InsideAgain:
                return lastButton->geometry().topLeft() + QPoint(3, 3);
            default:
                for (const Button& button : all) {
                    if (spotOf(button.face) == spot) {
                        lastButton = button.control;
                        return button.control->geometry().center();
                    }
                }
                ADD_FAILURE() << "no such button in this window";
                return {};
        }
    }

    static Spot spotOf(ButtonFace face) {
        switch (face) {
            case ButtonFace::ApplySettings:
                return Spot::ApplySettings;
            case ButtonFace::RestoreDefault:
                return Spot::RestoreDefault;
            case ButtonFace::ShowFeatures:
                return Spot::ShowFeatures;
            case ButtonFace::PrintFeatures:
                return Spot::PrintFeatures;
            case ButtonFace::Exit:
                return Spot::Exit;
            case ButtonFace::Close:
                return Spot::Close;
        }
        return Spot::Background;
    }

    std::string faces() const {
        std::string result;
        for (const Button& button : buttons()) {
            const QString path = pictures.pathOf(button.control->pixmap());
            if (path.isEmpty())
                result += '-';
            else if (path.endsWith(QString::fromStdString(facePictures(button.face).normal)))
                result += 'n';
            else if (path.endsWith(QString::fromStdString(facePictures(button.face).highlighted)))
                result += 'h';
            else
                result += '?';
        }
        return result;
    }

    void runSteps(const HoverCase& hoverCase) {
        for (std::size_t i = 0; i < hoverCase.steps.size(); ++i) {
            const HoverStep& step = hoverCase.steps[i];
            SCOPED_TRACE("step " + std::to_string(i + 1));
            const int before = static_cast<int>(pictures.reads.size());
            if (step.spot == Spot::Reopen)
                reopen();
            else
                movePointer(shownWindow(), pointOf(step.spot));
            QStringList expected;
            for (const char* name : step.reads)
                expected << fileOf(hoverCase.folder, name);
            EXPECT_EQ(pictures.reads.mid(before), expected);
            EXPECT_EQ(faces(), step.faces);
            EXPECT_EQ(blnButtonsNormal(), step.blnButtonsNormal);
        }
    }

    QWidget* lastButton = nullptr;
};

class MainWindowHover : public HoverTest {
protected:
    void SetUp() override {
        HoverTest::SetUp();
        park();
    }
    std::vector<Button> buttons() const override {
        return {{window->imgApplySettings, ButtonFace::ApplySettings},
                {window->imgDefault, ButtonFace::RestoreDefault},
                {window->imgSFeatures, ButtonFace::ShowFeatures},
                {window->imgPFeatures, ButtonFace::PrintFeatures},
                {window->imgExit, ButtonFace::Exit}};
    }
    QWidget& shownWindow() override { return *window; }
    PictureControl* background() override { return window->imgBackground; }
    PictureControl* title() override { return window->Picture1; }
    QWidget* boxSpot() override { return window->cboInputBS; }
    bool blnButtonsNormal() const override { return core->blnButtonsNormal(); }
};

// The five normal files in the order the main window reloads them.
const std::vector<const char*> kMainNormals = {"Apply_Settings1.bmp", "Restore_Default1.bmp",
                                               "Exit_Button1.bmp", "Print_Features1.bmp",
                                               "Show_Features1.bmp"};

class MainWindowHoverSequence : public MainWindowHover,
                                public ::testing::WithParamInterface<HoverCase> {
protected:
    void SetUp() override {
        configure(GetParam());
        MainWindowHover::SetUp();
    }
};

TEST_P(MainWindowHoverSequence, PicturesAndFileReadsAfterEachMove) {
    runSteps(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, MainWindowHoverSequence,
    ::testing::Values(
        HoverCase{"ArmedByTheBackgroundThenOneButtonAtATime",
                  kPictureFolder,
                  {},
                  {
                      // Created under a pointer that rests on a button: nothing happens.
                      {Spot::ShowFeatures, {}, "-----", false},
                      // The first background move reads all five, although they look normal.
                      {Spot::Background, kMainNormals, "nnnnn", true},
                      {Spot::OtherBackground, {}, "nnnnn", true},
                      {Spot::ApplySettings, {"Apply_Settings2.bmp"}, "hnnnn", false},
                      {Spot::InsideAgain, {}, "hnnnn", false},
                      {Spot::Background, kMainNormals, "nnnnn", true},
                      {Spot::Exit, {"Exit_Button2.bmp"}, "nnnnh", false},
                      // The notes and the boxes cover the background.
                      {Spot::Note, {}, "nnnnh", false},
                      {Spot::Box, {}, "nnnnh", false},
                      // The frame shape takes no pointer: the background beneath it does.
                      {Spot::Frame, kMainNormals, "nnnnn", true},
                      {Spot::PrintFeatures, {"Print_Features2.bmp"}, "nnnhn", false},
                  }},
        HoverCase{"SkipFromOneButtonStraightOntoTheNext",
                  kPictureFolder,
                  {},
                  {
                      {Spot::Background, kMainNormals, "nnnnn", true},
                      {Spot::RestoreDefault, {"Restore_Default2.bmp"}, "nhnnn", false},
                      {Spot::ShowFeatures, {}, "nhnnn", false},
                      {Spot::Background, kMainNormals, "nnnnn", true},
                      {Spot::ShowFeatures, {"Show_Features2.bmp"}, "nnhnn", false},
                  }},
        HoverCase{"FolderEndingWithASeparator",
                  kPictureFolder + QLatin1String(kPictureLiteralLead),
                  {},
                  {
                      {Spot::Background, kMainNormals, "nnnnn", true},
                      {Spot::ApplySettings, {"Apply_Settings2.bmp"}, "hnnnn", false},
                  }},
        HoverCase{"MissingNormalFileKeepsTheFaceAndTheWindowUnarmed",
                  kPictureFolder,
                  {"Exit_Button1.bmp"},
                  {
                      {Spot::Background, kMainNormals, "nnnn-", false},
                      {Spot::OtherBackground, kMainNormals, "nnnn-", false},
                      {Spot::ApplySettings, {}, "nnnn-", false},
                  }},
        HoverCase{"MissingHighlightedFileTriesAgainAtTheNextMove",
                  kPictureFolder,
                  {"Exit_Button2.bmp"},
                  {
                      {Spot::Background, kMainNormals, "nnnnn", true},
                      {Spot::Exit, {"Exit_Button2.bmp"}, "nnnnn", true},
                      {Spot::InsideAgain, {"Exit_Button2.bmp"}, "nnnnn", true},
                      {Spot::ApplySettings, {"Apply_Settings2.bmp"}, "hnnnn", false},
                  }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowHover, PathsAreTheFolderWithTheLiteralAppended) {
    folder = QStringLiteral("/");
    window.reset();
    WindowTest::SetUp();
    movePointer(*window, pointOf(Spot::Background));
    ASSERT_FALSE(pictures.reads.isEmpty());
    EXPECT_EQ(pictures.reads.first(),
              QStringLiteral("/") + QLatin1String(kPictureLiteralLead) + "Apply_Settings1.bmp");
}

class FeaturesWindowHover : public HoverTest {
protected:
    void SetUp() override {
        HoverTest::SetUp();
        showFeatures();
        park();
    }
    FeaturesView& features() const { return *window->features(); }
    std::vector<Button> buttons() const override {
        return {{features().imgPrintFeatures, ButtonFace::PrintFeatures},
                {features().imgClose, ButtonFace::Close}};
    }
    QWidget& shownWindow() override { return features(); }
    PictureControl* background() override { return features().imgBackground; }
    PictureControl* title() override { return features().Picture1; }
    QWidget* boxSpot() override { return features().txtFeatures; }
    bool blnButtonsNormal() const override { return features().window().blnButtonsNormal(); }
    // Closed by its own close button, then shown again by Show Features.
    void reopen() override {
        features().close();
        core->imgSFeatures_MouseUp(kLeftButton, 0, 0, 0);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&features()));
    }
};

class FeaturesWindowHoverSequence : public FeaturesWindowHover,
                                    public ::testing::WithParamInterface<HoverCase> {
protected:
    void SetUp() override {
        configure(GetParam());
        FeaturesWindowHover::SetUp();
    }
};

TEST_P(FeaturesWindowHoverSequence, PicturesAndFileReadsAfterEachMove) {
    runSteps(GetParam());
}

const std::vector<const char*> kFeaturesNormals = {"Close_Button1.bmp", "Print_Features1.bmp"};

INSTANTIATE_TEST_SUITE_P(
    Sequences, FeaturesWindowHoverSequence,
    ::testing::Values(HoverCase{"RebuiltControlsShowBuiltInFacesAndTheFlagLivesOn",
                                kPictureFolder,
                                {},
                                {
                                    {Spot::Close, {}, "--", false},
                                    {Spot::Background, kFeaturesNormals, "nn", true},
                                    // The same file as the main window's Print Features.
                                    {Spot::PrintFeatures, {"Print_Features2.bmp"}, "hn", false},
                                    {Spot::Reopen, {}, "--", false},
                                    {Spot::Close, {}, "--", false},
                                    {Spot::Background, kFeaturesNormals, "nn", true},
                                    {Spot::Reopen, {}, "--", true},
                                    {Spot::Close, {"Close_Button2.bmp"}, "-h", false},
                                    {Spot::Box, {}, "-h", false},
                                }},
                      HoverCase{"SkipAndMissingFile",
                                kPictureFolder,
                                {"Close_Button1.bmp"},
                                {
                                    {Spot::Background, kFeaturesNormals, "n-", false},
                                    {Spot::PrintFeatures, {}, "n-", false},
                                }}),
    [](const auto& info) { return std::string(info.param.name); });

// During Apply Settings its button and the background are disabled and see no pointer moves;
// the window takes no input at all while the command holds the thread, the enabled buttons'
// moves included, neither then nor afterwards.
TEST_F(MainWindowHover, PointerMovesDuringApplySettingsChangeNothing) {
    movePointer(*window, pointOf(Spot::Background));
    ASSERT_TRUE(core->blnButtonsNormal());
    const int reads = static_cast<int>(pictures.reads.size());
    bool during = false;
    sleep.onSleep = [&](int) {
        during = true;
        ASSERT_FALSE(window->imgApplySettings->isEnabled());
        movePointer(*window, pointOf(Spot::ApplySettings));
        EXPECT_TRUE(core->blnButtonsNormal());
        movePointer(*window, pointOf(Spot::Exit));
        EXPECT_TRUE(core->blnButtonsNormal()) << "an enabled button lit up";
        movePointer(*window, pointOf(Spot::Background));
        EXPECT_TRUE(core->blnButtonsNormal());
    };
    pressKey(*window, Qt::Key_A, Qt::ControlModifier);
    ASSERT_TRUE(during);
    QCoreApplication::processEvents();
    EXPECT_EQ(pictures.reads.mid(reads), QStringList{});
    EXPECT_EQ(faces(), "nnnnn");
    EXPECT_TRUE(core->blnButtonsNormal());
}

// The real bitmaps, read by Qt from a folder of copies: each swap reads the file anew, and a
// button takes the size of the picture it shows.
class RealBitmaps : public WindowTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(copies.isValid());
        const QDir assets(QStringLiteral(ORVEL_ASSETS_DIR));
        for (const QString& name : assets.entryList({QStringLiteral("*.bmp")}))
            ASSERT_TRUE(QFile::copy(assets.filePath(name), copies.filePath(name)));
        open(messageBox, files, QDir::toNativeSeparators(copies.path()));
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        movePointer(*window, centreOf(*window->Picture1));
    }

    QImage fileImage(const char* name) const {
        return QImage(copies.filePath(QLatin1String(name))).convertToFormat(QImage::Format_RGB32);
    }
    static QImage shown(const PictureControl* control) {
        return control->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    }
    void moveOnto(const QWidget* control) { movePointer(*window, centreOf(*control)); }
    void moveOverBackground() {
        movePointer(*window, window->imgApplySettings->geometry().topLeft() - QPoint(4, 4));
    }

    QTemporaryDir copies;
    QtPictureLoader files;
};

TEST_F(RealBitmaps, AFileReplacedWhileRunningShowsAtTheNextSwap) {
    moveOverBackground();
    EXPECT_EQ(shown(window->imgApplySettings), fileImage("Apply_Settings1.bmp"));
    moveOnto(window->imgApplySettings);
    EXPECT_EQ(shown(window->imgApplySettings), fileImage("Apply_Settings2.bmp"));
    EXPECT_EQ(window->imgApplySettings->size(), QSize(128, 26));

    // Another picture of the button's size under the same name.
    const QString highlighted = copies.filePath(QStringLiteral("Apply_Settings2.bmp"));
    ASSERT_TRUE(QFile::remove(highlighted));
    ASSERT_TRUE(QFile::copy(copies.filePath(QStringLiteral("Restore_Default2.bmp")), highlighted));
    moveOverBackground();
    moveOnto(window->imgApplySettings);
    EXPECT_EQ(shown(window->imgApplySettings), fileImage("Restore_Default2.bmp"));
    EXPECT_EQ(window->imgApplySettings->size(), QSize(128, 26));
}

struct Damage {
    const char* name;
    std::function<void(const QString& file, const QDir& copies)> apply;
};

const Damage kDamages[] = {
    {"cut off after 60 bytes",
     [](const QString& file, const QDir&) { ASSERT_TRUE(QFile::resize(file, 60)); }},
    {"a PNG picture under the name",
     [](const QString& file, const QDir&) {
         const QImage picture(file);
         ASSERT_TRUE(picture.save(file, "PNG"));
     }},
    {"the Close button's bitmap, of another size",
     [](const QString& file, const QDir& copies) {
         ASSERT_TRUE(QFile::remove(file));
         ASSERT_TRUE(QFile::copy(copies.filePath(QStringLiteral("Close_Button1.bmp")), file));
     }},
    // Within what Qt allows itself to allocate: Qt alone decodes it, black beyond the file's end.
    {"a header claiming 4000 x 4000 pixels",
     [](const QString& file, const QDir&) {
         QFile bitmap(file);
         ASSERT_TRUE(bitmap.open(QIODevice::ReadWrite));
         ASSERT_TRUE(bitmap.seek(18));
         const char size[] = {'\xa0', '\x0f', 0, 0, '\xa0', '\x0f', 0, 0};
         ASSERT_EQ(bitmap.write(size, sizeof size), qint64(sizeof size));
     }},
};

// A damaged file is taken as a missing one: the button keeps what it shows, the window stays
// unarmed, and the next move over the background reads the files again.
TEST_F(RealBitmaps, DamagedNormalFilesLeaveTheButtonsAsTheyAre) {
    const std::vector<std::pair<PictureControl*, const char*>> buttons = {
        {window->imgApplySettings, "Apply_Settings1"},
        {window->imgDefault, "Restore_Default1"},
        {window->imgSFeatures, "Show_Features1"},
        {window->imgPFeatures, "Print_Features1"},
        {window->imgExit, "Exit_Button1"}};
    for (const Damage& damage : kDamages) {
        SCOPED_TRACE(damage.name);
        for (const auto& [control, stem] : buttons)
            damage.apply(copies.filePath(QLatin1String(stem) + ".bmp"), QDir(copies.path()));
        movePointer(*window, centreOf(*window->Picture1));
        moveOverBackground();
        for (const auto& [control, stem] : buttons) {
            SCOPED_TRACE(stem);
            EXPECT_EQ(shown(control), builtInPicture(QLatin1String(stem))
                                          .toImage()
                                          .convertToFormat(QImage::Format_RGB32));
            EXPECT_EQ(control->size(), QSize(128, 26));
        }
        EXPECT_FALSE(core->blnButtonsNormal());
        for (const auto& [control, stem] : buttons) {
            const QString file = copies.filePath(QLatin1String(stem) + ".bmp");
            ASSERT_TRUE(QFile::remove(file));
            ASSERT_TRUE(QFile::copy(QStringLiteral(ORVEL_ASSETS_DIR "/") + stem + ".bmp", file));
        }
    }
    movePointer(*window, centreOf(*window->Picture1));
    moveOverBackground();
    EXPECT_TRUE(core->blnButtonsNormal());
    EXPECT_EQ(shown(window->imgExit), fileImage("Exit_Button1.bmp"));
}

TEST_F(RealBitmaps, ADamagedHighlightedFileLeavesTheButtonNormalUntilItIsMended) {
    moveOverBackground();
    const QString highlighted = copies.filePath(QStringLiteral("Exit_Button2.bmp"));
    for (const Damage& damage : kDamages) {
        SCOPED_TRACE(damage.name);
        damage.apply(highlighted, QDir(copies.path()));
        moveOnto(window->imgExit);
        EXPECT_EQ(shown(window->imgExit), fileImage("Exit_Button1.bmp"));
        EXPECT_EQ(window->imgExit->size(), QSize(128, 26));
        EXPECT_TRUE(core->blnButtonsNormal());
        ASSERT_TRUE(QFile::remove(highlighted));
        ASSERT_TRUE(QFile::copy(QStringLiteral(ORVEL_ASSETS_DIR "/Exit_Button2.bmp"), highlighted));
        moveOverBackground();
    }
    moveOnto(window->imgExit);
    EXPECT_EQ(shown(window->imgExit), fileImage("Exit_Button2.bmp"));
    EXPECT_FALSE(core->blnButtonsNormal());
}

TEST_F(RealBitmaps, AMissingFileKeepsThePictureAndTheNextMoveTriesAgain) {
    moveOverBackground();
    const QString highlighted = copies.filePath(QStringLiteral("Exit_Button2.bmp"));
    const QString aside = highlighted + QStringLiteral(".aside");
    ASSERT_TRUE(QFile::rename(highlighted, aside));
    moveOnto(window->imgExit);
    EXPECT_EQ(shown(window->imgExit), fileImage("Exit_Button1.bmp"));
    EXPECT_TRUE(core->blnButtonsNormal());

    ASSERT_TRUE(QFile::rename(aside, highlighted));
    movePointer(*window, pointOf(*window->imgExit, {3, 3}));
    EXPECT_EQ(shown(window->imgExit), fileImage("Exit_Button2.bmp"));
    EXPECT_FALSE(core->blnButtonsNormal());
}

}  // namespace
}  // namespace orvel::test
