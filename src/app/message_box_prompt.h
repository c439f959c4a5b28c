#pragma once

#include "platform/user_prompt.h"

class QWidget;

// Messages of the core shown as message boxes, titled with the application name.
class CMessageBoxPrompt : public IUserPrompt {
public:
    explicit CMessageBoxPrompt(QWidget* parent = nullptr) : m_parent(parent) {}

    PromptAnswer Ask(int messageId, const QString& text, PromptStyle style) override;
    void SetParent(QWidget* parent) { m_parent = parent; }

private:
    QWidget* m_parent;
};
