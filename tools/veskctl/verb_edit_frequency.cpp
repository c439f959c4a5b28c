// veskctl edit-frequency: one entry of a profile's frequency table changed, if its rules allow it.

#include <optional>

#include "cli_prompt.h"
#include "edit_session.h"
#include "verbs.h"

int RunEditFrequency(const QStringList& args) {
    SProfileArgs parsed;
    std::optional<int> number;
    if (!ParseEdit(args, 5, parsed) || !(number = Position(parsed.operands[1]))) {
        return TellUsage(
            "veskctl edit-frequency FILE.vk4 N MHZ BANDWIDTH POWER COMPANDER "
            "[-o OUT.vk4] [--yes]   (N from 1)");
    }
    const std::optional<SFrequencyEntry> entry = ParseFrequencyEntry(parsed.operands.mid(2));
    if (!entry) {
        return kExitUsage;
    }
    return RunEdit(parsed, [number, &entry](CDataItem& root, CCliPrompt& prompt) {
        if (!HasFrequency(root, *number)) {
            return kExitUsage;
        }
        CDataItem frequencies = Child(root, "frequencies");
        const quint32 index = static_cast<quint32>(*number - 1);
        return Settle(prompt, [&](EConfirmation confirmation) {
            return frequencies.SetFreqAttributeValue(index, *entry, confirmation);
        });
    });
}
