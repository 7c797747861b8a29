// Both windows' definitions against their layout tables written out, in twips as they stand there:
// a view of any toolkit builds from these, and converts to its own units itself.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "ui/core/layout/FeaturesWindowLayout.h"
#include "ui/core/layout/MainWindowLayout.h"

namespace orvel {
namespace {

struct Twips {
    int left, top, width, height;
    bool operator==(const Twips& other) const {
        return std::tie(left, top, width, height) ==
               std::tie(other.left, other.top, other.width, other.height);
    }
};

void PrintTo(const Twips& t, std::ostream* os) {
    *os << t.left << ", " << t.top << ", " << t.width << ", " << t.height;
}

Twips twips(const TwipsRect& place) {
    return {place.left, place.top, place.width, place.height};
}

// Every control of the main window with a place, by name.
std::map<std::string, Twips> mainPlaces() {
    std::map<std::string, Twips> places;
    for (const PicturePlace& p : mainwindow::lowerPictures())
        places[p.name] = twips(p.place);
    places[mainwindow::shape().name] = twips(mainwindow::shape().place);
    for (const ButtonPlace& b : mainwindow::pictureButtons())
        places[b.name] = twips(b.place);
    places[mainwindow::title().name] = twips(mainwindow::title().place);
    for (const BoxPlace& b : mainwindow::selectionBoxes())
        places[settingInfo(b.setting).box] = twips(b.place);
    for (const OptionPlace& o : mainwindow::optionButtons())
        places[o.name] = twips(o.place);
    places[mainwindow::banner().name] = twips(mainwindow::banner().place);
    return places;
}

TEST(LayoutTables, MainWindowControlsStandWhereTheTablesSay) {
    const std::map<std::string, Twips> expected = {
        {"imgBackground", {0, 0, 10965, 5295}},
        {"Picture1", {120, 120, 3015, 255}},
        {"Image1", {120, 660, 1770, 3960}},
        {"Image2", {4200, 1080, 1875, 3570}},
        {"Shape1", {4200, 555, 4215, 375}},
        {"imgApplySettings", {8820, 2520, 1920, 390}},
        {"imgDefault", {8820, 2970, 1920, 390}},
        {"imgSFeatures", {8820, 3420, 1920, 390}},
        {"imgPFeatures", {8820, 3870, 1920, 390}},
        {"imgExit", {8820, 4320, 1920, 390}},
        {"OptDomestic", {4320, 630, 1695, 255}},
        {"OptExport", {6480, 630, 1815, 255}},
        {"imgWarning", {2520, 2160, 5250, 570}},
        // Every box is 2415 twips wide and 315 high.
        {"cboFont", {1605, 675, 2415, 315}},
        {"cboTearOff", {1605, 1080, 2415, 315}},
        {"cboPageLength", {1605, 1485, 2415, 315}},
        {"cboInterface", {1605, 1875, 2415, 315}},
        {"cboBaudRate", {1605, 2280, 2415, 315}},
        {"cboParity", {1605, 2685, 2415, 315}},
        {"cboFlowCtrl", {1605, 3090, 2415, 315}},
        {"cboStrobeEdge", {1605, 3480, 2415, 315}},
        {"cboCharTable", {1605, 3885, 2415, 315}},
        {"cboLanguage", {1605, 4290, 2415, 315}},
        {"cboLanStd", {6030, 1080, 2415, 315}},
        {"cboSpcComp", {6030, 1485, 2415, 315}},
        {"cboInputBS", {6030, 1875, 2415, 315}},
        {"cboSOP", {6030, 2280, 2415, 315}},
        {"cboPrintDir", {6030, 2685, 2415, 315}},
        {"cboSlaZero", {6030, 3090, 2415, 315}},
        {"cboLineSpc", {6030, 3480, 2415, 315}},
        {"cboALF", {6030, 3885, 2415, 315}},
        {"cboRollPaper", {6030, 4310, 2415, 315}},
    };
    EXPECT_EQ(mainPlaces(), expected);
    const WindowFrame& frame = mainwindow::frame();
    EXPECT_EQ(frame.clientWidth, 10920);
    EXPECT_EQ(frame.clientHeight, 5295);
    EXPECT_EQ(std::string(frame.caption), " Varnet Orvel  Printer Configuration Utility");
}

// The tab index is the box's place in the list: the rows of the left column, then the right.
TEST(LayoutTables, TheBoxesFollowTheFocusOrder) {
    std::vector<std::string> order;
    for (const BoxPlace& b : mainwindow::selectionBoxes())
        order.push_back(settingInfo(b.setting).box);
    for (const OptionPlace& o : mainwindow::optionButtons())
        order.push_back(o.name);
    const std::vector<std::string> expected = {
        "cboFont",    "cboTearOff",  "cboPageLength", "cboInterface", "cboBaudRate",
        "cboParity",  "cboFlowCtrl", "cboStrobeEdge", "cboCharTable", "cboLanguage",
        "cboLanStd",  "cboSpcComp",  "cboInputBS",    "cboSOP",       "cboPrintDir",
        "cboSlaZero", "cboLineSpc",  "cboALF",        "cboRollPaper", "OptDomestic",
        "OptExport"};
    EXPECT_EQ(order, expected);
}

// Text RGB (0, 0, 64) in every box but cboFlowCtrl, which keeps the system's window-text
// colour; the system's window colour behind, but fixed white in cboFont and cboRollPaper.
TEST(LayoutTables, BoxColours) {
    for (const BoxPlace& b : mainwindow::selectionBoxes()) {
        const std::string box = settingInfo(b.setting).box;
        SCOPED_TRACE(box);
        if (box == "cboFlowCtrl") {
            EXPECT_FALSE(b.text.has_value());
        } else {
            ASSERT_TRUE(b.text.has_value());
            EXPECT_EQ(std::tie(b.text->red, b.text->green, b.text->blue),
                      std::make_tuple(0, 0, 64));
        }
        if (box == "cboFont" || box == "cboRollPaper") {
            ASSERT_TRUE(b.background.has_value());
            EXPECT_EQ(std::tie(b.background->red, b.background->green, b.background->blue),
                      std::make_tuple(255, 255, 255));
        } else {
            EXPECT_FALSE(b.background.has_value());
        }
    }
    const Rgb frame = mainwindow::shape().colour;
    EXPECT_EQ(std::tie(frame.red, frame.green, frame.blue), std::make_tuple(192, 192, 255));
}

TEST(LayoutTables, NotesAndOptionCaptions) {
    const struct {
        const char* name;
        const char* text;
        bool bold;
        int left, top;
    } notes[] = {
        {"Label1", "Note:", true, 120, 4800},
        {"Label3", "Use CTRL+Underlined letter to select command buttons.", false, 840, 4800},
        {"Label2", "Use ALT+Underlined letter to select printer permanent settings.", false, 840,
         5040},
    };
    ASSERT_EQ(mainwindow::notes().size(), std::size(notes));
    for (std::size_t i = 0; i < std::size(notes); ++i) {
        const LabelPlace& label = mainwindow::notes()[i];
        EXPECT_EQ(std::string(label.name), notes[i].name);
        EXPECT_EQ(std::string(label.text), notes[i].text);
        EXPECT_EQ(label.font.bold, notes[i].bold);
        EXPECT_EQ(label.font.pointSize, 8.25);
        EXPECT_EQ(std::tie(label.left, label.top), std::tie(notes[i].left, notes[i].top));
    }
    EXPECT_EQ(std::string(mainwindow::optionPlace(Model::OptDomestic).caption), "&Domestic Model");
    EXPECT_EQ(std::string(mainwindow::optionPlace(Model::OptExport).caption), "E&xport Model");
    EXPECT_EQ(mainwindow::banner().sunkenBorder, 2);
}

TEST(LayoutTables, FeaturesWindowControlsStandWhereTheTableSays) {
    std::map<std::string, Twips> places;
    for (const PicturePlace& p : featureswindow::lowerPictures())
        places[p.name] = twips(p.place);
    for (const ButtonPlace& b : featureswindow::pictureButtons())
        places[b.name] = twips(b.place);
    places[featureswindow::title().name] = twips(featureswindow::title().place);
    places[featureswindow::textBox().name] = twips(featureswindow::textBox().place);
    const std::map<std::string, Twips> expected = {
        {"imgBackground", {0, 0, 11070, 6825}},
        {"Image2", {2760, 480, 3690, 480}},
        {"imgPrintFeatures", {9000, 5400, 1920, 390}},
        {"imgClose", {9000, 5880, 1890, 360}},
        {"Picture1", {120, 0, 2535, 375}},
        {"txtFeatures", {120, 1320, 8655, 4875}},
    };
    EXPECT_EQ(places, expected);
    const WindowFrame& frame = featureswindow::frame();
    EXPECT_EQ(std::tie(frame.clientWidth, frame.clientHeight), std::make_tuple(11070, 6795));
    EXPECT_EQ(std::string(frame.caption), "Varnet Orvel Printer Configuration Utility");
    // White behind RGB (0, 0, 64), Verdana 9.75 pt regular.
    const TextBoxPlace& text = featureswindow::textBox();
    EXPECT_EQ(std::tie(text.text.red, text.text.green, text.text.blue), std::make_tuple(0, 0, 64));
    EXPECT_EQ(std::tie(text.background.red, text.background.green, text.background.blue),
              std::make_tuple(255, 255, 255));
    EXPECT_EQ(text.font.pointSize, 9.75);
    EXPECT_FALSE(text.font.bold);
}

}  // namespace
}  // namespace orvel
