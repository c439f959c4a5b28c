// veskctl add-channel: one more channel on a profile, made as the channel tree makes it.

#include <cstdio>

#include "cli_prompt.h"
#include "edit_session.h"
#include "verbs.h"

int RunAddChannel(const QStringList& args) {
    SProfileArgs parsed;
    if (!ParseEdit(args, 0, parsed)) {
        return TellUsage("veskctl add-channel FILE.vk4 [-o OUT.vk4] [--yes]");
    }
    return RunEdit(parsed, [](CDataItem& root, CCliPrompt&) {
        CDataItem channels = Child(root, "channels");
        const CDataItem added = channels.CanAddChild() ? channels.AddNewChild() : CDataItem();
        if (added.IsEmpty()) {
            TellError(QStringLiteral("the profile has no room for another channel (%1 of %2)")
                          .arg(ChannelCount(root))
                          .arg(Child(root, "limit")
                                   .GetAttributeValue(QStringLiteral("maxChannels"))
                                   .toInt()));
            return kExitRefused;
        }
        std::printf(
            "channel %d: %s\n", ChannelCount(root),
            added.GetAttributeValue(QStringLiteral("name")).toString().toUtf8().constData());
        return kExitOk;
    });
}
