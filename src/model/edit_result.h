#pragma once

// What the profile's rules made of a change: the one answer every page and every editing verb
// reads, instead of the rule script's outcome code and its two numbers passed by reference.

#include <functional>

#include <QtGlobal>

#include "platform/user_prompt.h"

// The argument a change is made with: first unconfirmed; the rules may then ask the user and the
// caller repeats the change confirmed.
enum class EConfirmation : qint32 { Unconfirmed = 0, Confirmed = 1 };

class CEditResult {
public:
    enum class EOutcome { Accepted, Refused, NeedsConfirmation };

    // The rule script's outcome code (0 accepted, 2 needs confirmation, anything else refused),
    // with the message number and message-box style it chose.
    static CEditResult FromScript(qint32 outcome, qint32 messageId, qint32 scriptStyle);
    static CEditResult Accepted() { return CEditResult(EOutcome::Accepted, 0, 0); }
    // Refused without a message of the rules' own (no rule allows the change at all).
    static CEditResult Refused() { return CEditResult(EOutcome::Refused, 0, 0); }

    EOutcome Outcome() const { return m_outcome; }
    bool IsAccepted() const { return m_outcome == EOutcome::Accepted; }
    bool IsRefused() const { return m_outcome == EOutcome::Refused; }
    bool NeedsConfirmation() const { return m_outcome == EOutcome::NeedsConfirmation; }
    // The message the rules chose; 0 when they chose none (a silent refusal).
    int MessageId() const { return m_messageId; }
    // The message-box style the rules chose, as the front ends know styles.
    PromptStyle Style() const;
    // The style a refusal is told in: a question the rules left in it is no question any more.
    PromptStyle RefusalStyle() const;
    // The rule script's own style number, for a front end that shows the exact icon it names.
    qint32 ScriptStyle() const { return m_scriptStyle; }

    friend bool operator==(const CEditResult&, const CEditResult&) = default;

private:
    CEditResult(EOutcome outcome, int messageId, qint32 scriptStyle)
        : m_outcome(outcome), m_messageId(messageId), m_scriptStyle(scriptStyle) {}

    EOutcome m_outcome;
    int m_messageId;
    qint32 m_scriptStyle;
};

// A message-box style number as the rule script writes it (buttons in the low four bits, the
// icon in the next four) in the front ends' terms.
PromptStyle PromptStyleFromScript(qint32 style);

// Makes a change as a dealer expects: unconfirmed first; when the rules ask, the question goes to
// the user and only a Yes (or OK) repeats it confirmed; a refusal that carries a message is told.
// Returns the last result; a change the user declined comes back as it was asked, unaccepted.
CEditResult SettleEdit(IUserPrompt& prompt,
                       const std::function<CEditResult(EConfirmation)>& change);
