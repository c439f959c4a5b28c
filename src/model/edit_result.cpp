#include "model/edit_result.h"

#include "platform/string_table.h"

CEditResult CEditResult::FromScript(qint32 outcome, qint32 messageId, qint32 scriptStyle) {
    switch (outcome) {
        case 0:
            return CEditResult(EOutcome::Accepted, messageId, scriptStyle);
        case 2:
            return CEditResult(EOutcome::NeedsConfirmation, messageId, scriptStyle);
        default:
            return CEditResult(EOutcome::Refused, messageId, scriptStyle);
    }
}

PromptStyle CEditResult::Style() const {
    return PromptStyleFromScript(m_scriptStyle);
}

PromptStyle CEditResult::RefusalStyle() const {
    const PromptStyle style = Style();
    if (style == PromptStyle::YesNo || style == PromptStyle::YesNoCancel ||
        style == PromptStyle::OkCancel) {
        return PromptStyle::Error;
    }
    return style;
}

PromptStyle PromptStyleFromScript(qint32 style) {
    switch (style & 0x0F) {
        case 1:
            return PromptStyle::OkCancel;
        case 3:
            return PromptStyle::YesNoCancel;
        case 4:
            return PromptStyle::YesNo;
        default:
            break;
    }
    switch (style & 0xF0) {
        case 0x30:
            return PromptStyle::Warning;
        case 0x40:
            return PromptStyle::Information;
        default:
            return PromptStyle::Error;
    }
}

CEditResult SettleEdit(IUserPrompt& prompt,
                       const std::function<CEditResult(EConfirmation)>& change) {
    CEditResult result = change(EConfirmation::Unconfirmed);
    if (result.NeedsConfirmation()) {
        const PromptStyle style = result.Style();
        const PromptAnswer answer = prompt.Ask(
            result.MessageId(), CStringTable::Instance().Text(result.MessageId()), style);
        const bool yes = answer == PromptAnswer::Yes ||
                         (style == PromptStyle::OkCancel && answer == PromptAnswer::Ok);
        if (!yes) {
            return result;
        }
        result = change(EConfirmation::Confirmed);
    }
    if (!result.IsAccepted() && result.MessageId() != 0) {
        // Told, never asked: rules that ask again after the confirmation have refused.
        prompt.Ask(result.MessageId(), CStringTable::Instance().Text(result.MessageId()),
                   result.RefusalStyle());
    }
    return result;
}
