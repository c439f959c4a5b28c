// veskctl add-frequency: a new entry in a profile's frequency table, if its rules allow it.

#include <cstdio>
#include <optional>

#include "cli_prompt.h"
#include "edit_session.h"
#include "verbs.h"

int RunAddFrequency(const QStringList& args) {
    SProfileArgs parsed;
    if (!ParseEdit(args, 4, parsed)) {
        return TellUsage(
            "veskctl add-frequency FILE.vk4 MHZ BANDWIDTH POWER COMPANDER "
            "[-o OUT.vk4] [--yes]");
    }
    const std::optional<SFrequencyEntry> entry = ParseFrequencyEntry(parsed.operands.mid(1));
    if (!entry) {
        return kExitUsage;
    }
    return RunEdit(parsed, [&entry](CDataItem& root, CCliPrompt& prompt) {
        CDataItem frequencies = Child(root, "frequencies");
        const int settled =
            Settle(prompt, [&](EConfirmation) { return frequencies.AddFrequency(*entry); });
        if (settled == kExitOk) {
            std::printf("frequency %d\n", FrequencyCount(root));
        }
        return settled;
    });
}
