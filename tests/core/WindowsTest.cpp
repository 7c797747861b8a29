// Which of the two windows is shown, and the features window's life: made by the first Show
// Features, hidden by Close, its controls destroyed by its own close button and built anew.
#include "tests/core/CoreWindowFixture.h"

namespace orvel::test {
namespace {

using CoreWindows = CoreWindowTest;

TEST_F(CoreWindows, TheMainWindowIsBuiltWithItsDefaultsAndTheBannerHidden) {
    EXPECT_EQ(view.frame->caption, std::string(" Varnet Orvel  Printer Configuration Utility"));
    EXPECT_EQ(shownSelections(), defaults());
    EXPECT_EQ(view.model, Model::OptDomestic);
    EXPECT_FALSE(view.bannerVisible);
    EXPECT_EQ(view.focus, Setting::cboFont);
    EXPECT_EQ(view.centred, 1);
    EXPECT_TRUE(view.reads.empty());
    EXPECT_EQ(window.features(), nullptr);
    // Stacking order, lowest first: the boxes and option buttons above every picture, label and
    // the shape, the banner above the boxes.
    const std::vector<std::string> controls = {
        "imgBackground", "Image1",       "Image2",           "Shape1",     "Label1",
        "Label3",        "Label2",       "imgApplySettings", "imgDefault", "imgSFeatures",
        "imgPFeatures",  "imgExit",      "Picture1",         "cboFont",    "cboTearOff",
        "cboPageLength", "cboInterface", "cboBaudRate",      "cboParity",  "cboFlowCtrl",
        "cboStrobeEdge", "cboCharTable", "cboLanguage",      "cboLanStd",  "cboSpcComp",
        "cboInputBS",    "cboSOP",       "cboPrintDir",      "cboSlaZero", "cboLineSpc",
        "cboALF",        "cboRollPaper", "OptDomestic",      "OptExport",  "imgWarning"};
    EXPECT_EQ(view.controls, controls);
}

TEST_F(CoreWindows, ExactlyOneOfTheTwoIsShownAndTheFeaturesWindowIsMadeOnce) {
    view.showWindow();
    pick(Setting::cboFont, 3);
    log.clear();
    frmFeatures& features = showFeatures();
    EXPECT_EQ(log, (CallLog{"main: hidden", "main: features view made", "features: shown"}));
    EXPECT_FALSE(view.visible);
    EXPECT_TRUE(featuresView().visible);
    EXPECT_EQ(featuresView().frame->caption,
              std::string("Varnet Orvel Printer Configuration Utility"));
    EXPECT_EQ(featuresView().controls,
              (std::vector<std::string>{"imgBackground", "Image2", "imgPrintFeatures", "imgClose",
                                        "Picture1", "txtFeatures"}));

    log.clear();
    features.imgClose_MouseUp(kLeftButton, 0, 0, 0);
    EXPECT_EQ(log, (CallLog{"features: hidden", "main: shown"}));
    EXPECT_EQ(view.selections[index(Setting::cboFont)], 3);

    log.clear();
    EXPECT_EQ(&showFeatures(), &features);
    EXPECT_EQ(log, (CallLog{"main: hidden", "features: shown"}));
    EXPECT_EQ(featuresView().centred, 1);  // hidden and shown again, not built again
    EXPECT_TRUE(messageBox.shown.empty());
}

// Its own close button: the close always goes ahead, the main window comes back, and the next
// Show Features builds the controls anew, centred, in the same window object.
TEST_F(CoreWindows, ClosingTheFeaturesWindowDestroysItsControlsAndNeverAsks) {
    frmFeatures& features = showFeatures();
    log.clear();
    EXPECT_TRUE(features.closeRequested());
    EXPECT_EQ(log, (CallLog{"features: hidden", "main: shown", "features: controls destroyed"}));
    EXPECT_FALSE(features.isLoaded());
    EXPECT_TRUE(messageBox.shown.empty());
    EXPECT_EQ(program.endings, 0);

    EXPECT_EQ(&showFeatures(), &features);
    EXPECT_TRUE(features.isLoaded());
    EXPECT_EQ(featuresView().controls.size(), 6u);
    EXPECT_EQ(featuresView().centred, 2);
    EXPECT_EQ(std::count(log.begin(), log.end(), "main: features view made"), 0);
}

// The window object keeps its hover flag while its controls are destroyed and built anew: the
// buttons show their built-in faces, and a move onto one lights nothing until the background.
TEST_F(CoreWindows, AFeaturesWindowBuiltAnewKeepsItsHoverFlag) {
    frmFeatures& features = showFeatures();
    features.imgBackground_MouseMove(0, 0, 0, 0);
    features.imgClose_MouseMove(0, 0, 0, 0);
    ASSERT_FALSE(features.blnButtonsNormal());
    features.closeRequested();
    showFeatures();
    EXPECT_TRUE(featuresView().shownFile.empty());
    const std::size_t reads = featuresView().reads.size();
    features.pictureButton_MouseMove(ButtonFace::Close, 0, 0, 0, 0);
    EXPECT_EQ(featuresView().reads.size(), reads);
    features.picture_MouseMove(Picture::Background, 0, 0, 0, 0);
    EXPECT_EQ(featuresView().reads.size(), reads + 2);
    EXPECT_TRUE(features.blnButtonsNormal());
}

TEST_F(CoreWindows, TheFeaturesWindowShowsTheFeatureList) {
    showFeatures();
    const std::string& text = featuresView().text;
    EXPECT_EQ(text.substr(0, 8), " 1.     ");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 19);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

}  // namespace
}  // namespace orvel::test
