#include "platform/user_prompt.h"

#include "platform/string_table.h"

PromptAnswer IUserPrompt::Show(int messageId, PromptStyle style) {
    return Ask(messageId, CStringTable::Instance().Text(messageId), style);
}
