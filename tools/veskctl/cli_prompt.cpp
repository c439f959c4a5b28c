#include "cli_prompt.h"

#include <cstdio>
#include <string>

#include <unistd.h>

namespace {

void Tell(const QString& text) {
    std::fprintf(stderr, "veskctl: %s\n", text.toUtf8().constData());
    std::fflush(stderr);
}

bool IsQuestion(PromptStyle style) {
    return style == PromptStyle::YesNo || style == PromptStyle::YesNoCancel ||
           style == PromptStyle::OkCancel;
}

// One line from the terminal; only an explicit yes counts, so that a stray Enter declines.
bool ReadYes() {
    std::fprintf(stderr, "[y/N] ");
    std::fflush(stderr);
    std::string line;
    for (int ch = std::fgetc(stdin); ch != EOF && ch != '\n'; ch = std::fgetc(stdin)) {
        line.push_back(static_cast<char>(ch));
    }
    const QString answer = QString::fromLocal8Bit(line.c_str()).trimmed().toLower();
    return answer == QLatin1String("y") || answer == QLatin1String("yes");
}

}  // namespace

PromptAnswer CCliPrompt::Ask(int messageId, const QString& text, PromptStyle style) {
    m_lastId = messageId;
    m_lastText = text;
    Tell(text);
    if (!IsQuestion(style)) {
        return PromptAnswer::Ok;
    }
    const PromptAnswer yes = style == PromptStyle::OkCancel ? PromptAnswer::Ok : PromptAnswer::Yes;
    const PromptAnswer no =
        style == PromptStyle::OkCancel ? PromptAnswer::Cancel : PromptAnswer::No;
    if (m_assumeYes) {
        return yes;
    }
    if (isatty(STDIN_FILENO) == 1) {
        return ReadYes() ? yes : no;
    }
    Tell(QStringLiteral("no terminal to answer on; --yes answers yes"));
    return no;
}
