// veskctl reset: restarts the radio on the cable, as the Reset command does.

#include "cli_prompt.h"
#include "radio_session.h"
#include "verbs.h"

int RunReset(const QStringList& args) {
    if (!args.isEmpty()) {
        return TellUsage("veskctl reset");
    }
    CCliPrompt prompt(false);
    CRadioSession session(prompt);
    return session.CableReady() && session.Reset() ? kExitOk : kExitRefused;
}
