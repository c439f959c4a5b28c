#pragma once

#include <optional>

#include <QDialog>
#include <QString>

#include "radio/radio_checks.h"

class IUserPrompt;
class QLabel;
class QLineEdit;

// Asks for the password of the connected radio. A wrong answer is told at once (279) and the
// dialog stays open, so the checks get back only the right password or Cancel and never have to
// tell the user themselves.
class CAskPwdDlg : public QDialog, public radio_checks::IPasswordPrompt {
    Q_OBJECT

public:
    static constexpr int kMaxDigits = 4;
    // The translation of the checks' own prompt text.
    static constexpr int kPromptText = 620;

    CAskPwdDlg(QString radioPassword, IUserPrompt& prompt, QWidget* parent = nullptr);

    // Runs the dialog: the proven password, or nullopt for Cancel.
    std::optional<QString> AskPassword(const QString& text) override;

    QLineEdit* Field() const { return m_field; }

    void accept() override;

private:
    void SetPromptText(const QString& text);

    QString m_radioPassword;
    IUserPrompt& m_prompt;
    QLabel* m_label = nullptr;
    QLineEdit* m_field = nullptr;
};
