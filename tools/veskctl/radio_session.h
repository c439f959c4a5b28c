#pragma once

// One radio command of veskctl, run as the desktop program runs it: the same workers post the
// same operation messages, which are taken on this thread and met with the main window's and the
// progress dialog's reactions; their messages are told on stderr, progress too.

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <utility>

#include <QString>

#include "radio/cable_watch.h"
#include "radio/radio_checks.h"
#include "radio/radio_operations.h"

class CCliPrompt;
class CProfileDocument;
class CSettingsDocuments;

class CRadioSession : public IOperationSink {
public:
    explicit CRadioSession(CCliPrompt& prompt);
    ~CRadioSession() override;
    CRadioSession(const CRadioSession&) = delete;
    CRadioSession& operator=(const CRadioSession&) = delete;

    // The cable watch's verdict, taken once: exactly one cable (else 336 or 397 told).
    bool CableReady();
    // Identification for a read (code 2) or a write (code 3). True when it ended well and the
    // compatibility checks come next; false after its message, the operation cleaned up.
    bool Identify(OperationCode code);
    // The progress dialog's read or write. True when the radio reported success.
    bool Transfer(DialogMode mode);
    bool Reset();

    CRadioOperations& Operations() { return m_operations; }
    // Hands the operation back after identification when nothing follows it.
    void Cleanup() { m_operations.Cleanup(); }

    void PostOperation(int kind, int value) override;

private:
    std::pair<int, int> Take();
    std::pair<int, SMainWindowReaction> FollowMainWindow(const char* what);
    void ShowProgress(const char* what, int percent);
    void EndProgress();
    void Tell(const SOperationNotice& notice);

    CCliPrompt& m_prompt;
    CCableWatch m_watch;
    CRadioOperations m_operations;
    std::mutex m_mutex;
    std::condition_variable m_posted;
    std::deque<std::pair<int, int>> m_queue;
    bool m_terminal = false;
    int m_shownPercent = -1;
};

// Model letters as characters, digits as the numbers the radio keeps: "CUD41604".
QString RadioModelText(const CRadioInfo& radio);

// Takes "--password PIN" out of `args`; false after a usage message when PIN is missing or given
// twice.
bool TakePasswordOption(QStringList& args, std::optional<QString>& password);

// The compatibility checks' inputs for this run: the identified radio, the password given on the
// command line, the operations' remembered password and the session's cleanup.
radio_checks::SCheckInputs CheckInputs(CRadioSession& session, const CSettingsDocuments& settings,
                                       CCliPrompt& prompt,
                                       radio_checks::CFixedPasswordPrompt& passwordPrompt);

// After checks that stopped: a protected radio and no --password stopped silently, as the
// password dialog's Cancel does; on a command line that needs saying.
void TellPasswordNeeded(CCliPrompt& prompt, const std::optional<QString>& password,
                        const radio_checks::CFixedPasswordPrompt& asked);

// The Read command on the radio on the cable, into `document` (a new profile, as the desktop
// program opens a read): identification, the checks, the transfer. False after its message.
bool ReadRadioProfile(CProfileDocument& document, const CSettingsDocuments& settings,
                      CCliPrompt& prompt, const std::optional<QString>& password);
