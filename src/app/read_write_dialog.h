#pragma once

#include <functional>

#include <QDialog>
#include <QPointer>

#include "radio/radio_operations.h"

class IUserPrompt;
class QLabel;
class QProgressBar;
class QPushButton;

namespace ReadWriteText {
inline constexpr int kWrite = 299;
inline constexpr int kWriting = 300;
inline constexpr int kReading = 301;
inline constexpr int kRead = 302;
inline constexpr int kOk = 140;
inline constexpr int kBackupSaved = 612;
inline constexpr int kVerified = 613;
}  // namespace ReadWriteText

// The progress dialog of a read or a write: it starts the transfer worker when it opens, follows
// its operation messages and closes on a failure; after success the user closes it with OK.
class CReadWriteDialog : public QDialog {
    Q_OBJECT

public:
    // `sink` is what the worker posts to; it must outlive the worker and deliver the messages
    // to OnOperation on this dialog's thread for as long as the dialog exists.
    CReadWriteDialog(CRadioOperations& operations, DialogMode mode, IUserPrompt& prompt,
                     IOperationSink& sink, QWidget* parent = nullptr);

    // Lines added below the success text (where the backup went, that the radio was verified).
    void SetSuccessDetail(std::function<QString()> detail) { m_successDetail = std::move(detail); }

    void OnOperation(int kind, int value);
    bool Succeeded() const { return m_succeeded; }
    QString Text() const;
    int Progress() const;

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    CRadioOperations& m_operations;
    DialogMode m_mode;
    IUserPrompt& m_prompt;
    IOperationSink& m_sink;
    std::function<QString()> m_successDetail;
    SDialogState m_state;
    QLabel* m_text = nullptr;
    QProgressBar* m_bar = nullptr;
    QPushButton* m_button = nullptr;
    bool m_started = false;
    bool m_succeeded = false;
};

// Hands a transfer worker's messages to the progress dialog on the user-interface thread. The
// worker keeps posting after the dialog has its answer (the closing reset, the cleanup); those
// reach no window, as they never reached a closed dialog, and above all not the main window,
// whose reactions would take a finished transfer for a finished identification.
class CDialogRelay : public IOperationSink {
public:
    explicit CDialogRelay(QObject* context) : m_context(context) {}

    void SetTarget(CReadWriteDialog* dialog) { m_target = dialog; }
    void PostOperation(int kind, int value) override;

private:
    QObject* m_context;
    QPointer<CReadWriteDialog> m_target;
};
