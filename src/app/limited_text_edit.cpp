#include "app/limited_text_edit.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>

namespace {

// The first `room` units of `text`, without half of a surrogate pair at the end.
QString Fitted(const QString& text, qsizetype room) {
    if (text.size() <= room) {
        return text;
    }
    if (room > 0 && text.at(room - 1).isHighSurrogate()) {
        --room;
    }
    return text.left(room);
}

}  // namespace

CLimitedTextEdit::CLimitedTextEdit(int maxLength, QWidget* parent)
    : QPlainTextEdit(parent), m_maxLength(maxLength) {}

qsizetype CLimitedTextEdit::Room() const {
    const qsizetype kept = toPlainText().size() - textCursor().selectedText().size();
    return std::max<qsizetype>(0, m_maxLength - kept);
}

void CLimitedTextEdit::keyPressEvent(QKeyEvent* event) {
    const bool newLine = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const QString text = event->text();
    // Ctrl with a letter is a command (Select All, Undo), whatever text the platform gives it;
    // Ctrl with Alt is AltGr on some keyboards and does type.
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool command = (modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier);
    const bool typesText = newLine || (!command && !text.isEmpty() && text.at(0).isPrint());
    if (typesText && !isReadOnly()) {
        const qsizetype length = newLine ? 1 : text.size();
        if (Room() < length) {
            QApplication::beep();
            event->accept();
            return;
        }
    }
    QPlainTextEdit::keyPressEvent(event);
}

void CLimitedTextEdit::inputMethodEvent(QInputMethodEvent* event) {
    const qsizetype room = Room();
    if (event->commitString().size() <= room) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent trimmed(event->preeditString(), event->attributes());
    trimmed.setCommitString(Fitted(event->commitString(), room), event->replacementStart(),
                            event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&trimmed);
    QApplication::beep();
}

void CLimitedTextEdit::insertFromMimeData(const QMimeData* source) {
    if (source == nullptr || !source->hasText()) {
        return;
    }
    // Line ends from other systems would otherwise count twice and end two lines.
    QString text = source->text();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    const QString fitted = Fitted(text, Room());
    if (fitted.size() < text.size()) {
        QApplication::beep();
    }
    if (!fitted.isEmpty()) {
        QTextCursor cursor = textCursor();
        cursor.insertText(fitted);
        setTextCursor(cursor);
        ensureCursorVisible();
    }
}
