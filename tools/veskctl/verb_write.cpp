// veskctl write: writes a profile file into the radio on the cable, with the identification and
// every check of the Write command. The file itself is never changed.

#include "cli_prompt.h"
#include "model/profile_checks.h"
#include "model/profile_document.h"
#include "model/settings_documents.h"
#include "radio/radio_checks.h"
#include "radio_session.h"
#include "verbs.h"

int RunWrite(const QStringList& arguments) {
    constexpr const char* kUsage = "veskctl write FILE.vk4 [--password PIN] [--yes]";
    QStringList args = arguments;
    std::optional<QString> password;
    SProfileArgs parsed;
    if (!TakePasswordOption(args, password) || !ParseProfileArgs(args, kOptYes, parsed) ||
        parsed.operands.size() != 1) {
        return TellUsage(kUsage);
    }
    return WithOpenProfile(
        parsed.operands.first(), parsed.yes,
        [&password](CProfileDocument& document, CCliPrompt& prompt,
                    const CSettingsDocuments& settings) {
            // Before the radio is touched, as the Write command checks it.
            if (!profile_checks::CheckChannelFrequencyRange(document.Model().RootItem())) {
                prompt.Show(profile_checks::kMsgOutOfRange);
                return kExitRefused;
            }
            CRadioSession session(prompt);
            if (!session.CableReady() || !session.Identify(OperationCode::WriteIdentification)) {
                return kExitRefused;
            }
            radio_checks::CFixedPasswordPrompt passwordPrompt(password);
            QString remembered;
            if (!radio_checks::CheckRadioForWrite(
                    CheckInputs(session, settings, prompt, passwordPrompt, remembered), &document,
                    session.Operations().Image())) {
                TellPasswordNeeded(prompt, password, passwordPrompt);
                return kExitRefused;
            }
            return session.Transfer(DialogMode::Write) ? kExitOk : kExitRefused;
        });
}
