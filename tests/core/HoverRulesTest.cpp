#include "ui/core/buttons/HoverButtons.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "tests/core/RecordingViews.h"

namespace orvel {
namespace {

const std::string kFolder = "/opt/orvel";

std::string fileIn(const std::string& folder, const std::string& name) {
    return folder + kPictureLiteralLead + name;
}

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// A window's buttons as the hover rules see them: what each button shows last, and every file
// read, through a recording view.
class WindowUnderTest {
public:
    WindowUnderTest(HoverWindow window, const std::string& folder = kFolder)
        : view(log), hover(window, view, folder), m_window(window) {}

    // Controls created anew show their built-in faces again.
    void createControls() { view.shownFile.clear(); }

    // One letter per button in reset order: '-' built-in face, 'n' normal file, 'h' highlighted.
    std::string faces() const {
        std::string result;
        for (ButtonFace face : resetOrder(m_window))
            result += faceOf(face);
        return result;
    }

    test::CallLog log;
    test::RecordingFeaturesView view;
    HoverButtons hover;

private:
    char faceOf(ButtonFace face) const {
        const auto shown = view.shownFile.find(face);
        if (shown == view.shownFile.end())
            return '-';
        if (endsWith(shown->second, facePictures(face).normal))
            return 'n';
        if (endsWith(shown->second, facePictures(face).highlighted))
            return 'h';
        return '?';
    }

    HoverWindow m_window;
};

// Where the pointer moves: a button, or the background when none.
using Where = std::optional<ButtonFace>;
constexpr std::nullopt_t Background = std::nullopt;

struct HoverStep {
    Where where;
    std::string faces;  // in reset order, see WindowUnderTest::faces
    int reads;          // file reads since the window was created
    bool blnButtonsNormal;
};

struct HoverCase {
    const char* name;
    HoverWindow window;
    std::vector<const char*> missingFiles;
    std::vector<HoverStep> steps;
};

void PrintTo(const HoverCase& c, std::ostream* os) {
    *os << c.name;
}

class HoverSequence : public ::testing::TestWithParam<HoverCase> {};

TEST_P(HoverSequence, ShowsPicturesAndReadsFilesOnlyOnAChangeOfState) {
    const HoverCase& c = GetParam();
    WindowUnderTest window(c.window);
    for (const char* name : c.missingFiles)
        window.view.failing.insert(fileIn(kFolder, name));
    int number = 0;
    for (const HoverStep& step : c.steps) {
        ++number;
        if (step.where)
            window.hover.highlight(*step.where);
        else
            window.hover.reset();
        EXPECT_EQ(window.faces(), step.faces) << "step " << number;
        EXPECT_EQ(window.view.reads.size(), static_cast<std::size_t>(step.reads))
            << "step " << number;
        EXPECT_EQ(window.hover.blnButtonsNormal(), step.blnButtonsNormal) << "step " << number;
    }
}

// Main window buttons in reset order: Apply Settings, Restore Default, Exit, Print Features,
// Show Features. Features window: Close, Print Features.
constexpr auto Apply = ButtonFace::ApplySettings;
constexpr auto Default = ButtonFace::RestoreDefault;
constexpr auto Show = ButtonFace::ShowFeatures;
constexpr auto Print = ButtonFace::PrintFeatures;
constexpr auto Exit = ButtonFace::Exit;
constexpr auto Close = ButtonFace::Close;

INSTANTIATE_TEST_SUITE_P(
    BothWindows, HoverSequence,
    ::testing::Values(
        HoverCase{"MainCreatedUnderARestingPointer",
                  HoverWindow::ConfigUtility,
                  {},
                  {
                      {Apply, "-----", 0, false},
                      {Apply, "-----", 0, false},
                      {Background, "nnnnn", 5, true},  // although the faces already look normal
                      {Background, "nnnnn", 5, true},
                      {Apply, "hnnnn", 6, false},
                      {Apply, "hnnnn", 6, false},
                      {Background, "nnnnn", 11, true},
                  }},
        HoverCase{"MainSkipsTheStripBetweenTwoButtons",
                  HoverWindow::ConfigUtility,
                  {},
                  {
                      {Background, "nnnnn", 5, true},
                      {Default, "nhnnn", 6, false},
                      {Apply, "nhnnn", 6, false},
                      {Background, "nnnnn", 11, true},
                      {Apply, "hnnnn", 12, false},
                  }},
        HoverCase{"MainEveryButtonInTurn",
                  HoverWindow::ConfigUtility,
                  {},
                  {
                      {Background, "nnnnn", 5, true},
                      {Exit, "nnhnn", 6, false},
                      {Background, "nnnnn", 11, true},
                      {Print, "nnnhn", 12, false},
                      {Background, "nnnnn", 17, true},
                      {Show, "nnnnh", 18, false},
                  }},
        HoverCase{"FeaturesCreatedUnderARestingPointer",
                  HoverWindow::Features,
                  {},
                  {
                      {Close, "--", 0, false},
                      {Background, "nn", 2, true},
                      {Background, "nn", 2, true},
                      {Print, "nh", 3, false},
                      {Close, "nh", 3, false},
                      {Background, "nn", 5, true},
                      {Close, "hn", 6, false},
                  }},
        HoverCase{"MainMissingNormalFile",
                  HoverWindow::ConfigUtility,
                  {"Exit_Button1.bmp"},
                  {
                      // the other buttons are put back; not armed, so every move retries
                      {Background, "nn-nn", 5, false},
                      {Apply, "nn-nn", 5, false},
                      {Background, "nn-nn", 10, false},
                  }},
        HoverCase{"FeaturesMissingHighlightedFile",
                  HoverWindow::Features,
                  {"Close_Button2.bmp"},
                  {
                      {Background, "nn", 2, true},
                      {Close, "nn", 3, true},
                      {Close, "nn", 4, true},
                      {Print, "nh", 5, false},
                  }}),
    [](const ::testing::TestParamInfo<HoverCase>& info) { return std::string(info.param.name); });

struct ReadOrderCase {
    HoverWindow window;
    std::vector<const char*> resetFiles;
};

TEST(HoverButtons, ResetReadsEveryNormalFileInTheWindowsOrder) {
    const ReadOrderCase cases[] = {
        {HoverWindow::ConfigUtility,
         {"Apply_Settings1.bmp", "Restore_Default1.bmp", "Exit_Button1.bmp", "Print_Features1.bmp",
          "Show_Features1.bmp"}},
        {HoverWindow::Features, {"Close_Button1.bmp", "Print_Features1.bmp"}},
    };
    for (const ReadOrderCase& c : cases) {
        WindowUnderTest window(c.window);
        window.hover.reset();
        std::vector<std::string> expected;
        for (const char* name : c.resetFiles)
            expected.push_back(fileIn(kFolder, name));
        EXPECT_EQ(window.view.reads, expected);
    }
}

TEST(HoverButtons, HighlightReadsTheButtonsHighlightedFile) {
    const struct {
        HoverWindow window;
        ButtonFace face;
        const char* file;
    } cases[] = {
        {HoverWindow::ConfigUtility, Apply, "Apply_Settings2.bmp"},
        {HoverWindow::ConfigUtility, Default, "Restore_Default2.bmp"},
        {HoverWindow::ConfigUtility, Show, "Show_Features2.bmp"},
        {HoverWindow::ConfigUtility, Print, "Print_Features2.bmp"},
        {HoverWindow::ConfigUtility, Exit, "Exit_Button2.bmp"},
        // both windows' Print Features buttons show the same files
        {HoverWindow::Features, Print, "Print_Features2.bmp"},
        {HoverWindow::Features, Close, "Close_Button2.bmp"},
    };
    for (const auto& c : cases) {
        WindowUnderTest window(c.window);
        window.hover.reset();
        window.view.reads.clear();
        window.hover.highlight(c.face);
        EXPECT_EQ(window.view.reads, std::vector<std::string>{fileIn(kFolder, c.file)});
    }
}

// Each file is "a BMP bitmap of its button's size, 128 x 26 pixels, and 126 x 24 pixels for
// imgClose": a button's two files are read for it, and the view takes them at its face's size.
TEST(HoverButtons, ReadsBothPicturesOfAButtonAtItsSize) {
    const struct {
        HoverWindow window;
        ButtonFace face;
        const char* stem;  // of the two files, <stem>1.bmp and <stem>2.bmp
        int width;
        int height;
    } cases[] = {
        {HoverWindow::ConfigUtility, Apply, "Apply_Settings", 128, 26},
        {HoverWindow::ConfigUtility, Default, "Restore_Default", 128, 26},
        {HoverWindow::ConfigUtility, Show, "Show_Features", 128, 26},
        {HoverWindow::ConfigUtility, Print, "Print_Features", 128, 26},
        {HoverWindow::ConfigUtility, Exit, "Exit_Button", 128, 26},
        {HoverWindow::Features, Print, "Print_Features", 128, 26},
        {HoverWindow::Features, Close, "Close_Button", 126, 24},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stem);
        WindowUnderTest window(c.window);
        window.hover.reset();
        window.hover.highlight(c.face);
        const std::string stem = c.stem;
        EXPECT_EQ(window.view.shownFile[c.face], fileIn(kFolder, stem + "2.bmp"));
        const std::vector<std::string>& reads = window.view.reads;
        EXPECT_NE(std::find(reads.begin(), reads.end(), fileIn(kFolder, stem + "1.bmp")),
                  reads.end());
        EXPECT_EQ(facePictures(c.face).size.width, c.width);
        EXPECT_EQ(facePictures(c.face).size.height, c.height);
    }
}

TEST(HoverButtons, FolderEndingWithASeparatorGetsTwoInARow) {
    WindowUnderTest window(HoverWindow::Features, kFolder + kPictureLiteralLead);
    window.hover.reset();
    EXPECT_EQ(window.view.reads.front(),
              kFolder + kPictureLiteralLead + kPictureLiteralLead + "Close_Button1.bmp");
}

TEST(HoverButtons, MissingFileThatReappearsIsReadAtTheNextMove) {
    WindowUnderTest window(HoverWindow::ConfigUtility);
    window.view.failing.insert(fileIn(kFolder, "Show_Features1.bmp"));
    window.hover.reset();
    ASSERT_FALSE(window.hover.blnButtonsNormal());
    window.view.failing.clear();
    window.hover.reset();
    EXPECT_EQ(window.faces(), "nnnnn");
    EXPECT_TRUE(window.hover.blnButtonsNormal());
}

// The features window closed by its own close button comes back with new controls.
TEST(HoverButtons, ControlsCreatedAnewKeepTheWindowsFlag) {
    WindowUnderTest window(HoverWindow::Features);
    window.hover.reset();
    window.hover.highlight(Close);
    window.createControls();
    EXPECT_EQ(window.faces(), "--");

    window.hover.highlight(Close);
    EXPECT_EQ(window.faces(), "--");
    window.hover.reset();
    EXPECT_EQ(window.faces(), "nn");
}

}  // namespace
}  // namespace orvel
