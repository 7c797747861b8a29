#include "Pictures.h"

#include <QPainter>
#include <algorithm>

#include "Look.h"
#include "Pieces.h"
#include "settings/SettingsTable.h"
#include "ui/core/buttons/ButtonFaces.h"
#include "ui/core/buttons/PictureTexts.h"

namespace picturegen {

namespace {

constexpr int kMainStripHeight = 32;
constexpr int kMainBackgroundWidth = 731;
constexpr int kFeaturesStripHeight = 30;
constexpr int kFeaturesBackgroundWidth = 738;

// Where the title pictures sit in their windows, over the strip.
const QRect kMainTitleArea(8, 8, 204, 16);
const QRect kFeaturesTitleArea(8, 0, 338, 25);
constexpr int kFeaturesTitleVisibleWidth = 169;

const QString kMainTitle = QLatin1String(orvel::picturetexts::kMainTitle);
const QString kFeaturesTitle = QLatin1String(orvel::picturetexts::kFeaturesTitle);
const QString kBannerText = QLatin1String(orvel::picturetexts::kBanner);

// A caption column: where its picture sits in the main window and the window rows of the tops
// of the boxes it labels, one per setting from firstRow on.
struct CaptionColumn {
    QPoint origin;
    QSize size;
    int firstRow;  // zero-based index into the settings table
    std::vector<int> boxTops;
};
constexpr int kBoxHeight = 21;

const CaptionColumn& leftColumn() {
    static const CaptionColumn column{
        {8, 44}, {118, 264}, 0, {45, 72, 99, 125, 152, 179, 206, 232, 259, 286}};
    return column;
}

const CaptionColumn& rightColumn() {
    static const CaptionColumn column{
        {280, 72}, {125, 238}, 10, {72, 99, 125, 152, 179, 206, 232, 259, 287}};
    return column;
}

QString captionOf(int row) {
    return QString::fromStdString(orvel::settingsTable()[row].caption);
}

int underlinedIndexOf(int row) {
    const orvel::SettingInfo& info = orvel::settingsTable()[row];
    return static_cast<int>(info.caption.find(info.underlined));
}

// One size for both columns, so they read alike: 11 px unless a caption would run into its box.
qreal captionPixelSize() {
    qreal size = 11;
    for (const CaptionColumn* column : {&leftColumn(), &rightColumn()}) {
        for (std::size_t i = 0; i < column->boxTops.size(); ++i) {
            const int row = column->firstRow + static_cast<int>(i);
            size = std::min(size, fittingPixelSize(captionOf(row), column->size.width() - 4, 11,
                                                   Weight::Regular));
        }
    }
    return size;
}

void drawCaptionColumn(QPainter& painter, const CaptionColumn& column) {
    painter.fillRect(QRect(QPoint(0, 0), column.size), Qt::white);
    painter.setPen(Qt::black);
    const QFont font = uiFont(captionPixelSize());
    for (std::size_t i = 0; i < column.boxTops.size(); ++i) {
        const int row = column.firstRow + static_cast<int>(i);
        const QRectF boxRow(0, column.boxTops[i] - column.origin.y(), column.size.width(),
                            kBoxHeight);
        drawCaption(painter, boxRow, Qt::AlignLeft, captionOf(row), underlinedIndexOf(row), font);
    }
}

// Title lettering, drawn in window coordinates; the background and the title picture both call it.
void drawTitleText(QPainter& painter, const QRect& area, int visibleWidth, const QString& text,
                   qreal maxPixelSize) {
    const qreal margin = 3;
    const QFont font =
        uiFont(fittingPixelSize(text, visibleWidth - 2 * margin, maxPixelSize, Weight::Bold),
               Weight::Bold);
    painter.setPen(colour::kTitleText);
    drawCaption(painter, QRectF(area).adjusted(margin, 0, 0, 0), Qt::AlignLeft, text, -1, font);
}

void drawMainTitleText(QPainter& painter) {
    drawTitleText(painter, kMainTitleArea, kMainTitleArea.width(), kMainTitle, 13);
}

void drawFeaturesTitleText(QPainter& painter) {
    drawTitleText(painter, kFeaturesTitleArea, kFeaturesTitleVisibleWidth, kFeaturesTitle, 15);
}

void drawMainBackground(QPainter& painter) {
    drawBackground(painter, {{kMainBackgroundWidth, 353}, kMainStripHeight, 575, 315, {652, 46}});
    drawMainTitleText(painter);
}

void drawFeaturesBackground(QPainter& painter) {
    drawBackground(painter,
                   {{kFeaturesBackgroundWidth, 455}, kFeaturesStripHeight, 592, 421, {665, 56}});
    drawFeaturesTitleText(painter);
}

void drawMainTitle(QPainter& painter) {
    painter.translate(-kMainTitleArea.topLeft());
    drawTitleStrip(painter, kMainBackgroundWidth, kMainStripHeight);
    drawMainTitleText(painter);
}

void drawFeaturesTitle(QPainter& painter) {
    painter.translate(-kFeaturesTitleArea.topLeft());
    drawTitleStrip(painter, kFeaturesBackgroundWidth, kFeaturesStripHeight);
    drawFeaturesTitleText(painter);
}

// Bold text centred on a plain ground, as large as fits within the margin, at most maxPixels.
void drawCentredBoldText(QPainter& painter, QSize size, const QColor& ground, const QColor& ink,
                         const QString& text, int margin, int maxPixels) {
    const QRect area(QPoint(0, 0), size);
    painter.fillRect(area, ground);
    painter.setPen(ink);
    const QFont font = uiFont(
        fittingPixelSize(text, area.width() - margin, maxPixels, Weight::Bold), Weight::Bold);
    drawCaption(painter, area, Qt::AlignHCenter, text, -1, font);
}

void drawFeaturesHeading(QPainter& painter) {
    drawCentredBoldText(painter, {246, 32}, Qt::white, Qt::black, kFeaturesTitle, 8, 20);
}

void drawBanner(QPainter& painter) {
    drawCentredBoldText(painter, {346, 34}, colour::kBannerGrey, Qt::white, kBannerText, 12, 12);
}

Picture facePicture(const ButtonFace& face, int suffix, FaceState state) {
    const int underlined = face.caption.indexOf(face.underlined);
    return {face.stem + QString::number(suffix), face.size, [face, underlined, state](QPainter& p) {
                drawButtonFace(p, face.size, face.caption, underlined, state);
            }};
}

}  // namespace

std::vector<Picture> windowPictures() {
    return {
        {QStringLiteral("main_background"), {731, 353}, drawMainBackground},
        {QStringLiteral("main_title"), kMainTitleArea.size(), drawMainTitle},
        {QStringLiteral("main_captions_left"), leftColumn().size,
         [](QPainter& p) { drawCaptionColumn(p, leftColumn()); }},
        {QStringLiteral("main_captions_right"), rightColumn().size,
         [](QPainter& p) { drawCaptionColumn(p, rightColumn()); }},
        {QStringLiteral("banner"), {346, 34}, drawBanner},
        {QStringLiteral("features_background"), {738, 455}, drawFeaturesBackground},
        {QStringLiteral("features_title"), kFeaturesTitleArea.size(), drawFeaturesTitle},
        {QStringLiteral("features_heading"), {246, 32}, drawFeaturesHeading},
    };
}

const std::vector<ButtonFace>& buttonFaces() {
    // Captions, letters, file names and sizes are the program's own: a picture of another size
    // than its button's would be refused when the program loads it.
    static const std::vector<ButtonFace> faces = [] {
        std::vector<ButtonFace> list;
        for (const orvel::FacePictures& face : orvel::buttonPictures())
            list.push_back({QString::fromStdString(face.stem), QString::fromStdString(face.caption),
                            QLatin1Char(face.underlined),
                            QSize(face.size.width, face.size.height)});
        return list;
    }();
    return faces;
}

Picture normalFace(const ButtonFace& face) {
    return facePicture(face, 1, FaceState::Normal);
}

Picture highlightedFace(const ButtonFace& face) {
    return facePicture(face, 2, FaceState::Highlighted);
}

}  // namespace picturegen
