// veskctl encode: profile text turned back into a profile file, so a hand edit can be sent on.

#include <optional>

#include <QSaveFile>

#include "cli_prompt.h"
#include "model/profile_document.h"
#include "model/profile_file.h"
#include "model/vesk_cps_exception.h"
#include "verbs.h"

namespace {

// The reader has already turned the file's bytes into characters; handed on as UTF-8, a
// declaration that still names the file's own encoding ("UTF-16") would make the parser decode
// them a second time.
bool WriteFile(const QString& path, const QByteArray& bytes) {
    // A failure half-way leaves whatever was at `path` as it was.
    QSaveFile file(path);
    // commit() would rename even a file whose buffered write failed; flush() reports it.
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush() ||
        !file.commit()) {
        TellError(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
        return false;
    }
    return true;
}

}  // namespace

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
    return WriteFile(parsed.output, profile_file::Encode(QString::fromUtf8(recovered)))
               ? kExitOk
               : kExitRefused;
}
