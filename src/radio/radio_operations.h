#pragma once

// The radio operations: identification, reset, and the progress dialog's read and write, each a
// worker thread that drives the programming link and tells a window how it goes through posted
// operation messages. The main window's and the progress dialog's reactions to those messages
// live here too, as plain methods, so that the desktop program and veskctl react alike.

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include <QString>
#include <QtGlobal>

#include "platform/user_prompt.h"
#include "radio/protocol.h"
#include "radio/remembered_password.h"
#include "radio/virtual_cp.h"

class CCableWatch;
class CUsbCable;

namespace op {

// The kinds of the operation message.
inline constexpr int kProgress = 1;     // value: percent
inline constexpr int kFinished = 2;     // value: 0
inline constexpr int kFailed = 3;       // value: -1 communication failure, else the result
inline constexpr int kStatusFault = 4;  // value: the radio's status code

inline constexpr int kCommunicationFailure = -1;
// Kind 3 values of the write's own checks; no request returns them.
inline constexpr int kVerifyMismatch = -20;  // the radio holds other bytes than were written
inline constexpr int kBackupFailed = -21;    // the radio's contents could not be kept first

// Message numbers the reactions name.
inline constexpr int kMsgCommunicationError = 309;
inline constexpr int kMsgOperationFailed = 329;
inline constexpr int kMsgWarning = 409;
inline constexpr int kMsgFactoryReset = 390;
inline constexpr int kMsgReturnToManufacturer = 410;
inline constexpr int kMsgUnknownWarning = 335;
inline constexpr int kMsgReadSucceeded = 332;
inline constexpr int kMsgWriteSucceeded = 333;
inline constexpr int kMsgReadFailed = 304;
inline constexpr int kMsgWriteFailed = 305;
inline constexpr int kMsgVerifyMismatch = 600;
inline constexpr int kMsgBackupFailed = 601;

// The pause after a reset, before the radio takes requests again.
inline constexpr std::chrono::milliseconds kResetPause{2000};
// The main window's pause after a finished reset.
inline constexpr std::chrono::milliseconds kAfterResetPause{1000};

}  // namespace op

class IOperationSink {
public:
    virtual ~IOperationSink() = default;
    // Called on the worker thread; a window queues it for its own thread.
    virtual void PostOperation(int kind, int value) = 0;
};

// Keeps what the radio holds before a write changes it. Called on the write worker's thread with
// the whole radio as a read gives it, before anything is written; false with `error` (a sentence
// for the user, saying why) stops the write there.
class IWriteBackup {
public:
    virtual ~IWriteBackup() = default;
    virtual bool Save(const CVirtualCP& current, QString& error) = 0;
};

// What a write does besides sending the image.
struct SWriteSafety {
    // Reads the whole radio first and hands it to the backup; none: no backup.
    std::shared_ptr<IWriteBackup> backup;
    // Reads back every block written and compares; a difference fails the write with
    // op::kVerifyMismatch and names the first differing address.
    bool verify = true;
};

enum class OperationCode : int {
    None = 0,
    ReadIdentification = 2,
    WriteIdentification = 3,
    Reset = 4
};
enum class DialogMode : int { None = 0, Read = 2, Write = 3 };

// A message to put to the user: its number (the one that decides, for front ends that answer by
// number) and its finished text. A notice without a number shows nothing.
struct SOperationNotice {
    int messageId = 0;
    QString text;
    PromptStyle style = PromptStyle::Error;

    bool IsEmpty() const { return messageId == 0; }
};

// What the main window does with one message, after CRadioOperations has updated the state.
struct SMainWindowReaction {
    bool cleanedUp = false;
    // A reset has ended: the window waits op::kAfterResetPause (shutdown-aware).
    bool pause = false;
    // An identification has ended well: the compatibility checks run now.
    bool runChecks = false;
    SOperationNotice notice;
};

// The progress dialog's own state, kept by whoever shows the dialog.
struct SDialogState {
    int progressBar = 0;
    bool failureShown = false;
};

// What the progress dialog does with one message.
struct SDialogReaction {
    // -1: the bar stays.
    int progressBar = -1;
    // The dialog's text by message number, 0 to keep it.
    int dialogTextId = 0;
    // Success: the button is enabled and takes the focus.
    bool enableButton = false;
    bool cleanedUp = false;
    bool close = false;
    SOperationNotice notice;
};

class CRadioOperations {
public:
    using Pause = std::function<void(std::chrono::milliseconds)>;

    explicit CRadioOperations(CCableWatch& watch);
    ~CRadioOperations();
    CRadioOperations(const CRadioOperations&) = delete;
    CRadioOperations& operator=(const CRadioOperations&) = delete;

    // The main window's Read (code 2) and Write (code 3) after their preconditions: busy and
    // slot 2 set, operation code stored, the identification worker started. False, starting
    // nothing, for any other code or while a worker is still at work; a worker that has posted
    // its last message is waited for (it only lets go of the cable and the lock then), so a
    // caller that starts the next step on that message is never refused.
    bool StartIdentification(OperationCode code, IOperationSink& sink);
    bool StartReset(IOperationSink& sink);
    // The progress dialog's workers: running = 1, busy, dialog mode 2 or 3. The write sends
    // Image(), as the compatibility checks filled it.
    bool StartRead(IOperationSink& sink);
    bool StartWrite(IOperationSink& sink);
    // Blocks until the current worker (if any) has ended.
    void Wait();
    // The dialog has reported a failure: the transfer goes no further than its current step.
    void Stop() { m_running.store(false); }

    // Reactions. Both update the shared state (progress, cleanup, running, dialog mode).
    SMainWindowReaction OnMainWindowMessage(int kind, int value);
    SDialogReaction OnDialogMessage(int kind, int value, SDialogState& dialog);

    // Cleanup: slot 2 = 0, busy = 0.
    void Cleanup();

    // The message for a kind 3 value; the write's own failures name what the last worker found.
    SOperationNotice FailureNotice(int result) const;
    static SOperationNotice StatusNotice(int statusCode);

    // Takes effect with the next StartWrite.
    void SetWriteSafety(SWriteSafety safety);
    SWriteSafety WriteSafety() const;

    // Defaults to a real sleep; tests record the pauses instead.
    void SetPause(Pause pause);

    bool Busy() const;
    bool Running() const { return m_running.load(); }
    OperationCode Code() const { return m_code.load(); }
    DialogMode Mode() const { return m_mode.load(); }
    int RememberedProgress() const { return m_progress.load(); }
    // The one remembered password of the program: the checks prove it, the write worker sets it.
    CRememberedPassword& RememberedPassword() { return m_password; }
    const CRememberedPassword& RememberedPassword() const { return m_password; }

    // Only between workers: a worker owns them while it runs.
    CVirtualCP& Image() { return m_image; }
    const CVirtualCP& Image() const { return m_image; }
    CRadioInfo& RadioInfo() { return m_info; }
    const CRadioInfo& RadioInfo() const { return m_info; }

    // What the last worker's link moved (start request, sequence and reset together).
    ProgrammingLink::STraffic LastTraffic() const;
    // Which request of the last worker failed last and how, for diagnosis.
    QString LastFailure() const;

private:
    class CWorker;

    // False while a worker runs; a worker that has ended is joined first.
    bool Launch(void (CRadioOperations::*body)(CWorker&), IOperationSink& sink);
    bool Idle();
    void RunIdentification(CWorker& w);
    void RunReset(CWorker& w);
    // The reset worker's steps inside a holding of the protocol lock that the caller has.
    void ResetSteps(CWorker& w);
    void RunRead(CWorker& w);
    void RunWrite(CWorker& w);
    // The read sequence into `image`; `asRead`: with the status gate and the progress messages
    // of the read operation, else as the write's backup reads the radio.
    void ReadSequence(CWorker& w, CVirtualCP& image, bool asRead);
    void WriteSequence(CWorker& w, const SWriteSafety& safety);
    void Backup(CWorker& w, IWriteBackup& backup);
    // Reads back every block the write sent and compares.
    void Verify(CWorker& w);
    // Ends the worker's steps with `result` and what the user is to be told about it.
    [[noreturn]] void FailWith(int result, const QString& detail);

    CCableWatch& m_watch;
    std::thread m_thread;
    std::atomic<bool> m_workerDone{true};
    // The worker has posted its last message and only lets go of the cable and the lock.
    std::atomic<bool> m_workerEnding{true};
    std::atomic<bool> m_running{false};
    std::atomic<OperationCode> m_code{OperationCode::None};
    std::atomic<DialogMode> m_mode{DialogMode::None};
    std::atomic<int> m_progress{0};

    mutable std::mutex m_mutex;  // the texts, the safety settings and the last link's figures
    CRememberedPassword m_password;
    SWriteSafety m_safety;
    QString m_lastFailure;
    QString m_failureDetail;  // for op::kVerifyMismatch and op::kBackupFailed
    ProgrammingLink::STraffic m_traffic;
    Pause m_pause;

    CVirtualCP m_image;
    CRadioInfo m_info;
};
