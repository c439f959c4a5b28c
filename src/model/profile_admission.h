#pragma once

// Whether a profile or template file may be opened in this CPS at all: readable, free of the
// licence-free MURS frequencies, valid against the schema, of a region this installation
// programs, and of a codeplug version it understands.

#include <QString>

class CConfiguration;
class CSettingsDocuments;
class IUserPrompt;

inline constexpr int kMsgInvalidFrequency = 284;
inline constexpr int kMsgRegionNotSupported = 310;
inline constexpr int kMsgUseOtherEdition = 503;
inline constexpr int kMsgCodeplugIncompatible = 342;

// The codeplug version rule, for profiles and for radios alike: a development codeplug (phase "D")
// is taken whatever its number says; any other only when this installation's codeplug version is
// at least its own.
bool IsCodeplugVersionAdmitted(QChar phase, qint32 version, const CSettingsDocuments& settings);

// True when the file at `path` is admitted. Every refusal has shown its message, except a file
// that cannot be opened, which fails silently (the caller reports the file error).
bool CheckProfileAdmission(const QString& path, const CConfiguration& config, IUserPrompt& prompt,
                           const CSettingsDocuments& settings);
