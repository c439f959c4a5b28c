// veskctl encode: profile text turned back into a profile file, so a hand edit can be sent on.

#include <optional>

#include "cli_prompt.h"
#include "model/profile_document.h"
#include "model/profile_file.h"
#include "platform/files/atomic_file.h"
#include "platform/vesk_cps_exception.h"
#include "verbs.h"

int RunEncode(const QStringList& args) {
    SProfileArgs parsed;
    if (!ParseProfileArgs(args, kOptOutput, parsed) || parsed.operands.size() != 1 ||
        parsed.output.isEmpty()) {
        return TellUsage("veskctl encode FILE.xml -o OUT.vk4");
    }
    const QString& path = parsed.operands.first();
    const std::optional<QString> text = profile_file::Read(path);
    if (!text) {
        TellError(QStringLiteral("cannot read %1").arg(path));
        return kExitRefused;
    }
    CCliPrompt prompt(false);
    QByteArray recovered;
    try {
        recovered = CProfileDocument::RecoverXML(*text);
    } catch (const CVeskCPSException& error) {
        ShowModelException(prompt, error);
        return kExitRefused;
    }
    QString error;
    if (!WriteFileAtomically(parsed.output, profile_file::Encode(QString::fromUtf8(recovered)),
                             &error)) {
        TellError(QStringLiteral("cannot write %1: %2").arg(parsed.output, error));
        return kExitRefused;
    }
    return kExitOk;
}
