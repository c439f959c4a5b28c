#pragma once

#include <QList>
#include <QString>

#include "platform/user_prompt.h"

// Stands in for the person at the screen: remembers every message it was shown and answers
// questions with a fixed answer.
class CRecordingPrompt : public IUserPrompt {
public:
    explicit CRecordingPrompt(PromptAnswer answer = PromptAnswer::Ok) : m_answer(answer) {}

    PromptAnswer Ask(int messageId, const QString& text, PromptStyle style) override {
        ids.append(messageId);
        texts.append(text);
        styles.append(style);
        return m_answer;
    }

    // The answer to every later question.
    void SetAnswer(PromptAnswer answer) { m_answer = answer; }

    QList<int> ids;
    QStringList texts;
    QList<PromptStyle> styles;

private:
    PromptAnswer m_answer;
};
