// veskctl delete-channel: one channel taken off a profile, though never its last enabled one.

#include <optional>

#include "cli_prompt.h"
#include "edit_session.h"
#include "model/profile_checks.h"
#include "verbs.h"

namespace {

constexpr int kMsgLastChannel = 338;

}  // namespace

int RunDeleteChannel(const QStringList& args) {
    SProfileArgs parsed;
    std::optional<int> number;
    if (!ParseEdit(args, 1, parsed) || !(number = Position(parsed.operands[1]))) {
        return TellUsage("veskctl delete-channel FILE.vk4 N [-o OUT.vk4] [--yes]   (N from 1)");
    }
    return RunEdit(parsed, [number](CDataItem& root, CCliPrompt& prompt) {
        const int count = ChannelCount(root);
        if (*number > count) {
            TellError(QStringLiteral("there is no channel %1; the profile has %2")
                          .arg(*number)
                          .arg(count));
            return kExitUsage;
        }
        const int index = *number - 1;
        CDataItem channels = Child(root, "channels");
        CDataItem channel = channels.GetChildByIndex(index);
        // As the channel tree decides: the last enabled channel stays, and the rule script is
        // asked before anything is confirmed.
        const bool disabled = channel.GetAttributeValue(QStringLiteral("disable_channel")).toBool();
        if ((profile_checks::GetEnabledChannelCount(root) <= 1 && !disabled) ||
            !channel.CanDeleteChild()) {
            prompt.Show(kMsgLastChannel, PromptStyle::Error);
            return kExitRefused;
        }
        return Settle(prompt, [&](EConfirmation confirmation) {
            return channels.RemoveChildByIndex(index, confirmation);
        });
    });
}
