#pragma once

// Whether an identified radio and the program (for a read) or the open profile (for a write) fit
// together, decided on the user-interface thread between identification and the transfer. Each
// check either lets the operation go on or stops it; a stop first hands the operation back
// (the caller's cleanup) and then tells the user why, so that the commands are enabled again
// even while the message is still on the screen.

#include <functional>
#include <optional>
#include <utility>

#include <QString>

class CProfileDocument;
class CRadioInfo;
class CRememberedPassword;
class CSettingsDocuments;
class CVirtualCP;
class IUserPrompt;

namespace radio_checks {

inline constexpr int kMsgModelNotSupported = 462;
inline constexpr int kMsgRegionNotSupported = 403;
inline constexpr int kMsgUseOtherEdition = 504;
inline constexpr int kMsgCodeplugIncompatible = 402;
inline constexpr int kMsgModelMismatch = 440;
inline constexpr int kMsgNotCloneCompatible = 396;
inline constexpr int kMsgBandNotSupported = 269;
inline constexpr int kMsgCodesNotSupported = 483;
inline constexpr int kMsgTierReduction = 319;
inline constexpr int kMsgWrongPassword = 279;
inline constexpr int kMsgLowerRadioCodeplug = 530;

// The password dialog's own text; it has no number of its own.
inline const QString kPasswordPromptText = QStringLiteral("Please enter the password:");

// Asks the user for the radio's password.
//
// Contract: AskPassword returns the entered text, or nullopt for Cancel. After a wrong answer the
// checks show 279 and ask again, for as long as the prompt answers; a prompt that cannot offer a
// different answer the next time (a command line with a fixed password, a script) must return
// nullopt instead of repeating itself, or the checks would ask forever. CFixedPasswordPrompt
// below keeps that contract.
class IPasswordPrompt {
public:
    virtual ~IPasswordPrompt() = default;
    virtual std::optional<QString> AskPassword(const QString& text) = 0;
};

// A password given in advance: answered once, then Cancel. Without a password it cancels at
// once, so a protected radio stops with a clean refusal rather than a question nobody answers.
class CFixedPasswordPrompt : public IPasswordPrompt {
public:
    explicit CFixedPasswordPrompt(std::optional<QString> password = std::nullopt)
        : m_password(std::move(password)) {}

    std::optional<QString> AskPassword(const QString& text) override;

    int TimesAsked() const { return m_timesAsked; }

private:
    std::optional<QString> m_password;
    int m_timesAsked = 0;
};

// What both checks need. `cleanup` hands the operation back (shared status slot 2 and the busy
// flag); it is called exactly once before the message of every stop, silent stops included, and
// never when the checks let the operation go on.
struct SCheckInputs {
    const CRadioInfo& radio;
    const CSettingsDocuments& settings;
    IUserPrompt& prompt;
    IPasswordPrompt& passwordPrompt;
    // The password the user has proven for the connected radio; updated when a new one is proven.
    // The radio operations own it (CRadioOperations::RememberedPassword), so that a password the
    // last write gave the radio counts as proven too.
    CRememberedPassword& rememberedPassword;
    std::function<void()> cleanup;
};

// Region, codeplug version and password for a read. True: open the progress dialog to read.
bool CheckRadioForRead(const SCheckInputs& inputs);

// Everything before a write. `profile` is the active profile, or null when no profile window is
// open (a silent stop). `image` is made new and filled from the profile, fitted to the radio
// (channel tier, code capacity, button slots) and given the radio's own model, firmware and code
// capacity. True: open the progress dialog to write `image`. After a stop the image may be
// partly filled; the profile may have had its transmit settings copied from its receive settings,
// as every conversion of a model without repeater feature does.
bool CheckRadioForWrite(const SCheckInputs& inputs, CProfileDocument* profile, CVirtualCP& image);

// The region code the radio reports: the decimal texts of its model's last two digit values.
QString RadioRegionCode(const CRadioInfo& radio);
// The radio's password, cut at its first zero byte.
QString RadioPassword(const CRadioInfo& radio);

}  // namespace radio_checks
