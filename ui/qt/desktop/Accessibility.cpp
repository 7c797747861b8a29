#include "ui/qt/desktop/Accessibility.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeySequence>
#include <QMouseEvent>
#include <algorithm>
#include <optional>

#include "settings/SettingsTable.h"
#include "ui/core/buttons/ButtonFaces.h"
#include "ui/core/buttons/PictureTexts.h"
#include "ui/core/input/ShortcutTables.h"
#include "ui/qt/buttons/PictureControl.h"

namespace orvel {

namespace {

const char kMainWindow[] = "frmConfigUtility";
const char kFeaturesWindow[] = "frmFeatures";

// What one control is to assistive technology.
struct Description {
    QAccessible::Role role;
    QString name;
    QString shortcut;  // "Ctrl+A", empty when the control has none
    bool decorative;   // hidden: it only repeats what other controls say, or says nothing
};

// The picture controls of both windows by window and control name. A button's shortcut is the
// CTRL letter of its command in the shortcut tables.
struct PictureRow {
    const char* window;
    const char* control;
    QAccessible::Role role;
    const char* name;  // a button's name is the caption on its face
    std::optional<ButtonFace> face;
    std::optional<MainCommand> mainCommand;
    std::optional<FeaturesCommand> featuresCommand;
};

const PictureRow kPictures[] = {
    {kMainWindow, "imgApplySettings", QAccessible::Button, nullptr, ButtonFace::ApplySettings,
     MainCommand::ApplySettings, std::nullopt},
    {kMainWindow, "imgDefault", QAccessible::Button, nullptr, ButtonFace::RestoreDefault,
     MainCommand::RestoreDefault, std::nullopt},
    {kMainWindow, "imgSFeatures", QAccessible::Button, nullptr, ButtonFace::ShowFeatures,
     MainCommand::ShowFeatures, std::nullopt},
    {kMainWindow, "imgPFeatures", QAccessible::Button, nullptr, ButtonFace::PrintFeatures,
     MainCommand::PrintFeatures, std::nullopt},
    {kMainWindow, "imgExit", QAccessible::Button, nullptr, ButtonFace::Exit, MainCommand::Exit,
     std::nullopt},
    {kMainWindow, "imgWarning", QAccessible::StaticText, picturetexts::kBanner, std::nullopt,
     std::nullopt, std::nullopt},
    {kMainWindow, "Picture1", QAccessible::StaticText, picturetexts::kMainTitle, std::nullopt,
     std::nullopt, std::nullopt},
    // The caption columns repeat the names that the selection boxes carry.
    {kMainWindow, "Image1", QAccessible::Graphic, nullptr, std::nullopt, std::nullopt,
     std::nullopt},
    {kMainWindow, "Image2", QAccessible::Graphic, nullptr, std::nullopt, std::nullopt,
     std::nullopt},
    {kMainWindow, "imgBackground", QAccessible::Graphic, nullptr, std::nullopt, std::nullopt,
     std::nullopt},
    {kFeaturesWindow, "imgPrintFeatures", QAccessible::Button, nullptr, ButtonFace::PrintFeatures,
     std::nullopt, FeaturesCommand::PrintFeatures},
    {kFeaturesWindow, "imgClose", QAccessible::Button, nullptr, ButtonFace::Close, std::nullopt,
     FeaturesCommand::Close},
    // The title box takes the focus first, so it is named; the heading says the same again.
    {kFeaturesWindow, "Picture1", QAccessible::StaticText, picturetexts::kFeaturesTitle,
     std::nullopt, std::nullopt, std::nullopt},
    {kFeaturesWindow, "Image2", QAccessible::Graphic, nullptr, std::nullopt, std::nullopt,
     std::nullopt},
    {kFeaturesWindow, "imgBackground", QAccessible::Graphic, nullptr, std::nullopt, std::nullopt,
     std::nullopt},
};

QString shortcutText(Qt::KeyboardModifier modifier, char letter) {
    return QKeySequence(QKeyCombination(modifier, static_cast<Qt::Key>(letter)))
        .toString(QKeySequence::PortableText);
}

template <typename Command>
QString ctrlShortcut(const std::vector<CtrlShortcut<Command>>& table, Command command) {
    const auto found = std::find_if(table.begin(), table.end(),
                                    [command](const auto& row) { return row.command == command; });
    return found == table.end() ? QString() : shortcutText(Qt::ControlModifier, found->letter);
}

std::optional<Description> describePicture(const QString& window, const QString& control) {
    for (const PictureRow& row : kPictures) {
        if (window != QLatin1String(row.window) || control != QLatin1String(row.control))
            continue;
        const QString name =
            row.face ? QString::fromStdString(facePictures(*row.face).caption)
                     : QString::fromLatin1(row.name);
        Description description{row.role, name, QString(), name.isEmpty()};
        if (row.mainCommand)
            description.shortcut = ctrlShortcut(mainCtrlShortcuts(), *row.mainCommand);
        if (row.featuresCommand)
            description.shortcut = ctrlShortcut(featuresCtrlShortcuts(), *row.featuresCommand);
        return description;
    }
    return std::nullopt;
}

// A selection box is named by the caption beside it and reached with ALT and its letter.
std::optional<Description> describeSelectionBox(const QString& window, const QString& box) {
    if (window != QLatin1String(kMainWindow))
        return std::nullopt;
    for (const AltShortcut& shortcut : altShortcuts()) {
        const SettingInfo& info = settingInfo(shortcut.box);
        if (box == QString::fromStdString(info.box))
            return Description{QAccessible::ComboBox, QString::fromStdString(info.caption),
                               shortcutText(Qt::AltModifier, shortcut.letter), false};
    }
    return std::nullopt;
}

std::optional<Description> describe(QWidget& widget) {
    const QString window = widget.window()->objectName();
    if (qobject_cast<PictureControl*>(&widget))
        return describePicture(window, widget.objectName());
    if (qobject_cast<QComboBox*>(&widget))
        return describeSelectionBox(window, widget.objectName());
    return std::nullopt;
}

// A control told as its description says. A selection box keeps what makes it a list: its
// current choice as its value and the list that drops down as its child.
class AccessibleControl : public QAccessibleWidget {
public:
    AccessibleControl(QWidget* widget, Description description)
        : QAccessibleWidget(widget, description.role), description_(std::move(description)) {}

    QString text(QAccessible::Text kind) const override {
        switch (kind) {
            case QAccessible::Name:
                return description_.name;
            case QAccessible::Accelerator:
                return description_.shortcut;
            case QAccessible::Value:
                return comboBox() ? comboBox()->currentText() : QString();
            default:
                return QAccessibleWidget::text(kind);
        }
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        if (description_.decorative)
            state.invisible = true;
        return state;
    }

    int childCount() const override { return comboBox() ? 1 : QAccessibleWidget::childCount(); }

    QAccessibleInterface* child(int index) const override {
        if (comboBox())
            return index == 0 ? QAccessible::queryAccessibleInterface(comboBox()->view()) : nullptr;
        return QAccessibleWidget::child(index);
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        if (comboBox())
            return child && child->object() == comboBox()->view() ? 0 : -1;
        return QAccessibleWidget::indexOfChild(child);
    }

    QStringList actionNames() const override {
        if (isButton())
            return {pressAction()};
        if (comboBox())
            return {showMenuAction(), setFocusAction()};
        return QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override {
        if (isButton() && action == pressAction())
            click();
        else if (comboBox() && action == showMenuAction())
            comboBox()->showPopup();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    QComboBox* comboBox() const { return qobject_cast<QComboBox*>(widget()); }
    bool isButton() const { return description_.role == QAccessible::Button; }

    // A left click, as the user makes it: the command starts on the release. Posted, so that
    // the command and its message boxes run after the request that asked for it has returned.
    void click() {
        QWidget* button = widget();
        const QPointF centre = QRectF(button->rect()).center();
        const QPointF global = button->mapToGlobal(centre);
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            const Qt::MouseButtons held =
                type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
            QCoreApplication::postEvent(
                button,
                new QMouseEvent(type, centre, global, Qt::LeftButton, held, Qt::NoModifier));
        }
    }

    Description description_;
};

QAccessibleInterface* describeControl(const QString& /*className*/, QObject* object) {
    if (!object || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (std::optional<Description> description = describe(*widget))
        return new AccessibleControl(widget, std::move(*description));
    return nullptr;
}

}  // namespace

void installAccessibility() {
    QAccessible::installFactory(&describeControl);
}

}  // namespace orvel
