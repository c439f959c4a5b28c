#pragma once

#include <QPlainTextEdit>

// A multi-line text box that holds at most a given number of characters (UTF-16 units, as the
// configuration store counts them), whether the text is typed, pasted, dropped or composed.
// Text beyond the room left is cut off, never the text already there.
class CLimitedTextEdit : public QPlainTextEdit {
    Q_OBJECT

public:
    CLimitedTextEdit(int maxLength, QWidget* parent = nullptr);

    int MaxLength() const { return m_maxLength; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // How many characters may still be inserted in place of the selection.
    qsizetype Room() const;

    int m_maxLength;
};
