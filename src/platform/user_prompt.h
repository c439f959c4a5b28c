#pragma once

#include <QString>

// How a message is put to the user. The core never shows anything itself: where it must tell or
// ask, it names a message number and a style, and the front end (message boxes in the desktop
// program, stderr and flags in veskctl) decides how.
enum class PromptStyle { Error, Warning, Information, YesNo, YesNoCancel, OkCancel };
enum class PromptAnswer { Ok, Cancel, Yes, No };

// A message that is not from the string table, such as the operating system's reason why a
// file could not be written.
inline constexpr int kSystemMessage = 0;

class IUserPrompt {
public:
    virtual ~IUserPrompt() = default;

    // `text` is already in the user's language and formatted; `messageId` says which message it
    // is, for front ends that answer by number (tests, scripted command-line runs).
    virtual PromptAnswer Ask(int messageId, const QString& text, PromptStyle style) = 0;

    // The message's own text from the string table.
    PromptAnswer Show(int messageId, PromptStyle style = PromptStyle::Error);
};
