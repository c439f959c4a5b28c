// veskctl write: writes a profile file into the radio on the cable, with the identification and
// every check of the Write command. The file itself is never changed. Before anything is written
// the radio's contents are kept as a profile in the user's backup folder, and afterwards every
// block written is read back and compared; --no-backup and --no-verify leave either out.

#include <cstdio>
#include <memory>

#include "cli_prompt.h"
#include "model/profile_checks.h"
#include "model/profile_document.h"
#include "model/settings_documents.h"
#include "platform/settings/configuration.h"
#include "radio/radio_backup.h"
#include "radio/radio_checks.h"
#include "radio_session.h"
#include "verbs.h"

namespace {

// Takes `flag` out of `args`; true when it was there.
bool TakeFlag(QStringList& args, const QString& flag) {
    return args.removeAll(flag) > 0;
}

}  // namespace

int RunWrite(const QStringList& arguments) {
    constexpr const char* kUsage =
        "veskctl write FILE.vk4 [--password PIN] [--yes] [--no-backup] [--no-verify]";
    QStringList args = arguments;
    std::optional<QString> password;
    SProfileArgs parsed;
    const bool backup = !TakeFlag(args, QStringLiteral("--no-backup"));
    const bool verify = !TakeFlag(args, QStringLiteral("--no-verify"));
    if (!TakePasswordOption(args, password) || !ParseProfileArgs(args, kOptYes, parsed) ||
        parsed.operands.size() != 1) {
        return TellUsage(kUsage);
    }
    return WithOpenProfile(
        parsed.operands.first(), parsed.yes,
        [&](CProfileDocument& document, CCliPrompt& prompt, const CSettingsDocuments& settings) {
            // Before the radio is touched, as the Write command checks it.
            if (!profile_checks::CheckChannelFrequencyRange(document.Model().RootItem())) {
                prompt.Show(profile_checks::kMsgOutOfRange);
                return kExitRefused;
            }
            CRadioSession session(prompt);
            std::shared_ptr<CRadioBackup> keeper;
            if (backup) {
                keeper =
                    std::make_shared<CRadioBackup>(CConfiguration::FromEnvironment(), settings);
            }
            session.Operations().SetWriteSafety({keeper, verify});
            if (!session.CableReady() || !session.Identify(OperationCode::WriteIdentification)) {
                return kExitRefused;
            }
            radio_checks::CFixedPasswordPrompt passwordPrompt(password);
            if (!radio_checks::CheckRadioForWrite(
                    CheckInputs(session, settings, prompt, passwordPrompt), &document,
                    session.Operations().Image())) {
                TellPasswordNeeded(prompt, password, passwordPrompt);
                return kExitRefused;
            }
            const bool written = session.Transfer(DialogMode::Write);
            if (keeper && !keeper->LastSaved().isEmpty()) {
                std::fprintf(stderr, "the radio as it was: %s\n", qPrintable(keeper->LastSaved()));
            }
            return written ? kExitOk : kExitRefused;
        });
}
