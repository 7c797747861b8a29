#include "ui/qt/services/QtMessageBox.h"

#include <QApplication>

namespace orvel {

namespace {

struct ButtonSet {
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton;
    QMessageBox::StandardButton escapeButton;
};

ButtonSet buttonSet(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::OKCancel:
            return {QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok, QMessageBox::Cancel};
        case MessageButtons::YesNo:
            return {QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, QMessageBox::No};
        case MessageButtons::OK:
            break;
    }
    return {QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok};
}

QMessageBox::Icon standardIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Critical:
            return QMessageBox::Critical;
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Question:
            return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// The messages join their lines with CR LF; a label breaks lines at LF alone.
QString displayedText(const std::string& text) {
    return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace

void QtMessageBox::prepare(QMessageBox& box, const std::string& text, MessageButtons buttons,
                           MessageIcon icon, const std::optional<std::string>& title) {
    const ButtonSet set = buttonSet(buttons);
    box.setTextFormat(Qt::PlainText);
    box.setText(displayedText(text));
    box.setWindowTitle(QString::fromStdString(title.value_or(kApplicationTitle)));
    box.setIcon(standardIcon(icon));
    box.setStandardButtons(set.buttons);
    box.setDefaultButton(set.defaultButton);
    box.setEscapeButton(set.escapeButton);
    box.setWindowModality(Qt::ApplicationModal);
}

MessageAnswer QtMessageBox::answerFor(QMessageBox::StandardButton clicked) {
    switch (clicked) {
        case QMessageBox::Ok:
            return MessageAnswer::OK;
        case QMessageBox::Yes:
            return MessageAnswer::Yes;
        case QMessageBox::No:
            return MessageAnswer::No;
        default:
            return MessageAnswer::Cancel;
    }
}

MessageAnswer QtMessageBox::show(const std::string& text, MessageButtons buttons, MessageIcon icon,
                                 const std::optional<std::string>& title) {
    QMessageBox box(QApplication::activeWindow());
    prepare(box, text, buttons, icon, title);
    box.exec();
    return answerFor(box.standardButton(box.clickedButton()));
}

}  // namespace orvel
