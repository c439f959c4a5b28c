#include "radio_session.h"

#include <cstdio>
#include <thread>

#include <QStringList>

#include "cli_prompt.h"
#include "platform/string_table.h"
#include "radio/document_image.h"
#include "radio/usb_cable.h"
#include "verbs.h"

#include <unistd.h>

namespace {

constexpr int kMsgCableNotConnected = 336;
constexpr int kMsgManyCables = 397;

}  // namespace

CRadioSession::CRadioSession(CCliPrompt& prompt)
    : m_prompt(prompt), m_operations(m_watch), m_terminal(isatty(STDERR_FILENO) == 1) {}

CRadioSession::~CRadioSession() {
    m_operations.Wait();
    // A verb that leaves early (a model failure between identification and the checks) must not
    // leave slot 2 set for the desktop program until the cable watch notices this copy is gone.
    if (m_operations.Busy()) {
        m_operations.Cleanup();
    }
}

bool CRadioSession::CableReady() {
    // Counted under the protocol lock like the monitor does, so a count never cuts into another
    // copy's transfer.
    int count = 0;
    {
        std::lock_guard lock(m_watch.ProtocolLock());
        CUsbCable cable;
        count = cable.CountCables();
    }
    if (count == 1) {
        return true;
    }
    if (count == 0) {
        m_prompt.Show(kMsgCableNotConnected);
    } else {
        m_prompt.Ask(kMsgManyCables,
                     CStringTable::Instance().Format(kMsgManyCables, {QString::number(count)}),
                     PromptStyle::Error);
    }
    return false;
}

void CRadioSession::PostOperation(int kind, int value) {
    {
        std::lock_guard lock(m_mutex);
        m_queue.emplace_back(kind, value);
    }
    m_posted.notify_one();
}

std::pair<int, int> CRadioSession::Take() {
    std::unique_lock lock(m_mutex);
    m_posted.wait(lock, [this] { return !m_queue.empty(); });
    const std::pair<int, int> message = m_queue.front();
    m_queue.pop_front();
    return message;
}

void CRadioSession::ShowProgress(const char* what, int percent) {
    if (percent == m_shownPercent) {
        return;
    }
    m_shownPercent = percent;
    if (m_terminal) {
        constexpr int kWidth = 30;
        const int filled = percent * kWidth / 100;
        std::fprintf(stderr, "\r%s [%s%s] %3d%%", what, QByteArray(filled, '#').constData(),
                     QByteArray(kWidth - filled, ' ').constData(), percent);
    } else {
        std::fprintf(stderr, "%s: %d%%\n", what, percent);
    }
    std::fflush(stderr);
}

void CRadioSession::EndProgress() {
    if (m_terminal && m_shownPercent >= 0) {
        std::fprintf(stderr, "\n");
    }
    m_shownPercent = -1;
}

void CRadioSession::Tell(const SOperationNotice& notice) {
    if (!notice.IsEmpty()) {
        EndProgress();
        m_prompt.Ask(notice.messageId, notice.text, notice.style);
    }
}

// The main window's side of an identification or a reset: progress until the worker's last
// message, which decides.
std::pair<int, SMainWindowReaction> CRadioSession::FollowMainWindow(const char* what) {
    for (;;) {
        const auto [kind, value] = Take();
        const SMainWindowReaction reaction = m_operations.OnMainWindowMessage(kind, value);
        if (kind == op::kProgress) {
            ShowProgress(what, value);
            continue;
        }
        m_operations.Wait();
        EndProgress();
        Tell(reaction.notice);
        return {kind, reaction};
    }
}

bool CRadioSession::Identify(OperationCode code) {
    {
        std::lock_guard lock(m_mutex);
        m_queue.clear();
    }
    if (!m_operations.StartIdentification(code, *this)) {
        TellError(QStringLiteral("another radio operation is still running"));
        return false;
    }
    const SMainWindowReaction reaction = FollowMainWindow("identifying").second;
    if (reaction.runChecks) {
        return true;
    }
    if (reaction.notice.IsEmpty()) {
        // A finish the main window ignores: the identification never reached its end.
        m_operations.Cleanup();
        TellError(QStringLiteral("the identification ended before the radio was known"));
    }
    return false;
}

bool CRadioSession::Transfer(DialogMode mode) {
    const bool reading = mode == DialogMode::Read;
    {
        std::lock_guard lock(m_mutex);
        m_queue.clear();
    }
    const bool started = reading ? m_operations.StartRead(*this) : m_operations.StartWrite(*this);
    if (!started) {
        m_operations.Cleanup();
        TellError(QStringLiteral("another radio operation is still running"));
        return false;
    }
    SDialogState dialog;
    std::optional<bool> outcome;
    // The worker goes on after the dialog has its answer (the final reset, its cleanup); its
    // messages are taken to the end, as the dialog takes them until it closes.
    while (!outcome) {
        const auto [kind, value] = Take();
        const SDialogReaction reaction = m_operations.OnDialogMessage(kind, value, dialog);
        if (reaction.progressBar >= 0) {
            ShowProgress(reading ? "reading" : "writing", reaction.progressBar);
        }
        Tell(reaction.notice);
        if (reaction.enableButton) {
            outcome = true;
        } else if (reaction.close) {
            outcome = false;
        }
    }
    m_operations.Wait();
    EndProgress();
    if (*outcome) {
        std::fprintf(stderr, "%s\n",
                     qPrintable(CStringTable::Instance().Text(reading ? op::kMsgReadSucceeded
                                                                      : op::kMsgWriteSucceeded)));
    }
    return *outcome;
}

bool CRadioSession::Reset() {
    if (!m_operations.StartReset(*this)) {
        TellError(QStringLiteral("another radio operation is still running"));
        return false;
    }
    const auto [kind, reaction] = FollowMainWindow("resetting");
    if (reaction.pause) {
        std::this_thread::sleep_for(op::kAfterResetPause);
    }
    return kind == op::kFinished;
}

QString RadioModelText(const CRadioInfo& radio) {
    QString text;
    const QByteArray model = radio.Raw(vcp::RadioInfoField("model"));
    for (const char byte : model) {
        const auto value = static_cast<quint8>(byte);
        text += value < 10 ? QChar(u'0' + value) : QChar(QLatin1Char(byte));
    }
    return text;
}

bool TakePasswordOption(QStringList& args, std::optional<QString>& password) {
    const qsizetype at = args.indexOf(QStringLiteral("--password"));
    if (at < 0) {
        return true;
    }
    if (at + 1 >= args.size() || args.indexOf(QStringLiteral("--password"), at + 1) >= 0) {
        TellError(QStringLiteral("--password needs the radio's password, once"));
        return false;
    }
    password = args[at + 1];
    args.remove(at, 2);
    return true;
}

radio_checks::SCheckInputs CheckInputs(CRadioSession& session, const CSettingsDocuments& settings,
                                       CCliPrompt& prompt,
                                       radio_checks::CFixedPasswordPrompt& passwordPrompt) {
    return {session.Operations().RadioInfo(),
            settings,
            prompt,
            passwordPrompt,
            session.Operations().RememberedPassword(),
            [&session] { session.Cleanup(); }};
}

void TellPasswordNeeded(CCliPrompt& prompt, const std::optional<QString>& password,
                        const radio_checks::CFixedPasswordPrompt& asked) {
    if (!password && asked.TimesAsked() > 0) {
        prompt.Show(radio_checks::kMsgWrongPassword);
        TellError(QStringLiteral("the radio has a password: give it with --password"));
    }
}

bool ReadRadioProfile(CProfileDocument& document, const CSettingsDocuments& settings,
                      CCliPrompt& prompt, const std::optional<QString>& password) {
    CRadioSession session(prompt);
    if (!session.CableReady() || !session.Identify(OperationCode::ReadIdentification)) {
        return false;
    }
    radio_checks::CFixedPasswordPrompt passwordPrompt(password);
    if (!radio_checks::CheckRadioForRead(CheckInputs(session, settings, prompt, passwordPrompt))) {
        TellPasswordNeeded(prompt, password, passwordPrompt);
        return false;
    }
    return session.Transfer(DialogMode::Read) &&
           NewFromImage(document, session.Operations().Image());
}
