#pragma once

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QList>
#include <QStringList>
#include <QTest>
#include <QWidget>

// The focus chain of the active window as Tab walks it, by accessible name.
inline QStringList TabWalk(int steps) {
    QStringList names;
    for (int i = 0; i < steps; ++i) {
        QWidget* focus = QApplication::focusWidget();
        if (focus == nullptr) {
            break;
        }
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(focus);
        names << (accessible ? accessible->text(QAccessible::Name) : QString());
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    return names;
}

// The mnemonic letters of a window's labels and buttons, lower case, one per text that has one.
inline QList<QChar> MnemonicKeys(const QWidget& dialog) {
    QList<QChar> keys;
    auto collect = [&keys](const QString& text) {
        const qsizetype at = text.indexOf(u'&');
        if (at >= 0 && at + 1 < text.size()) {
            keys << text.at(at + 1).toLower();
        }
    };
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        collect(label->text());
    }
    for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
        collect(button->text());
    }
    return keys;
}
