#pragma once

#include <array>

#include <QDialog>
#include <QString>

class CConfiguration;
class CLimitedTextEdit;
class IUserPrompt;

// The dealer's three free texts (dealer information, notes, contact information) of the user's
// language, kept in the user hive, where the reports read them too.
class CDealerInfoDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kMsgNoLanguage = 264;
    static constexpr int kMsgLoadFailed = 263;
    static constexpr int kMsgOpenFailed = 373;
    static constexpr int kMsgWriteFailed = 374;
    static constexpr int kMsgTooLong = 375;
    static constexpr int kMaxLength = 250;

    enum class Field { Left, Middle, Right };
    static constexpr int kControls[] = {1001, 1005, 1002};

    CDealerInfoDialog(const CConfiguration& config, QString language, IUserPrompt& prompt,
                      QWidget* parent = nullptr);

    // Puts the stored texts into the fields. False, after telling the user why, when they cannot
    // be shown; the dialog is then not to be shown either.
    bool Load();

    // The Dealer Info command: loads the texts and, when that succeeds, runs the dialog.
    static void Run(const CConfiguration& config, const QString& language, IUserPrompt& prompt,
                    QWidget* parent);

    CLimitedTextEdit* Edit(Field field) const { return m_edits[static_cast<int>(field)]; }

    // Writes the three texts; the dialog stays open when they cannot be written.
    void accept() override;

private:
    const CConfiguration& m_config;
    QString m_language;
    IUserPrompt& m_prompt;
    std::array<CLimitedTextEdit*, 3> m_edits{};
};
