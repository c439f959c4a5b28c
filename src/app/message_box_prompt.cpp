#include "app/message_box_prompt.h"

#include <QMessageBox>

#include "platform/string_table.h"

PromptAnswer CMessageBoxPrompt::Ask(int /*messageId*/, const QString& text, PromptStyle style) {
    using Button = QMessageBox::StandardButton;
    QMessageBox::Icon icon = QMessageBox::Critical;
    QMessageBox::StandardButtons buttons = Button::Ok;
    switch (style) {
        case PromptStyle::Error:
            break;
        case PromptStyle::Warning:
            icon = QMessageBox::Warning;
            break;
        case PromptStyle::Information:
            icon = QMessageBox::Information;
            break;
        case PromptStyle::YesNo:
            icon = QMessageBox::Question;
            buttons = Button::Yes | Button::No;
            break;
        case PromptStyle::YesNoCancel:
            icon = QMessageBox::Question;
            buttons = Button::Yes | Button::No | Button::Cancel;
            break;
        case PromptStyle::OkCancel:
            icon = QMessageBox::Question;
            buttons = Button::Ok | Button::Cancel;
            break;
    }
    QMessageBox box(icon, kApplicationName, text, buttons, m_parent);
    switch (box.exec()) {
        case Button::Yes:
            return PromptAnswer::Yes;
        case Button::No:
            return PromptAnswer::No;
        case Button::Cancel:
            return PromptAnswer::Cancel;
        default:
            return PromptAnswer::Ok;
    }
}
