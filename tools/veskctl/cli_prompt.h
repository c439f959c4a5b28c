#pragma once

#include <QString>

#include "platform/user_prompt.h"

// The core's messages on a command line: told on stderr, and questions answered by --yes, by the
// person at the terminal, or, in a pipeline where nobody can answer, with No, so that an
// unattended run never makes a change it was not told to make.
class CCliPrompt : public IUserPrompt {
public:
    explicit CCliPrompt(bool assumeYes) : m_assumeYes(assumeYes) {}

    PromptAnswer Ask(int messageId, const QString& text, PromptStyle style) override;

    // The last message told or asked, for verbs that report how they ended; 0 and empty when
    // none was.
    int LastMessageId() const { return m_lastId; }
    const QString& LastMessageText() const { return m_lastText; }

private:
    bool m_assumeYes;
    int m_lastId = 0;
    QString m_lastText;
};
