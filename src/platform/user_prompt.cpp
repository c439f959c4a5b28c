#include "platform/user_prompt.h"

#include "resources/string_table.h"

PromptAnswer IUserPrompt::Show(int messageId, PromptStyle style) {
    return Ask(messageId, CStringTable::Instance().Text(messageId), style);
}
