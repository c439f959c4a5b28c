// veskctl delete-frequency: one frequency table entry removed, unless a channel still uses it.

#include <optional>

#include "cli_prompt.h"
#include "edit_session.h"
#include "verbs.h"

int RunDeleteFrequency(const QStringList& args) {
    SProfileArgs parsed;
    std::optional<int> number;
    if (!ParseEdit(args, 1, parsed) || !(number = Position(parsed.operands[1]))) {
        return TellUsage("veskctl delete-frequency FILE.vk4 N [-o OUT.vk4] [--yes]   (N from 1)");
    }
    return RunEdit(parsed, [number](CDataItem& root, CCliPrompt& prompt) {
        if (!HasFrequency(root, *number)) {
            return kExitUsage;
        }
        CDataItem frequencies = Child(root, "frequencies");
        // The rule script itself refuses an entry a channel uses, with the message the page
        // shows for it.
        return Settle(prompt, [&](EConfirmation confirmation) {
            return frequencies.RemoveChildByIndex(*number - 1, confirmation);
        });
    });
}
