#pragma once

// The profile file (".vk4") and the reader through which every text file of the installation is
// read: profiles, templates, settings documents, the schema and the rule script.
//
// A profile file is FF FE followed by the profile text in UTF-16LE with every 16-bit unit
// scrambled: the low byte is XORed with kMask, except that a unit equal to kMask is written as it
// is, so that no unit ever becomes zero. Unscrambling is the same operation.
//
// The reader also takes plain files: UTF-16LE with FF FE whose text begins with "<?xml" or
// "Option Explicit", and 8-bit files, plain or scrambled byte by byte.

#include <optional>

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace profile_file {

// Chosen so that scrambled ASCII lands in 0xA0..0xFF and never reads as text: a scrambled file
// cannot be mistaken for a plain one by its first characters.
inline constexpr char16_t kMask = 0x00A5;

// Files read in chunks of these sizes (UTF-16 and 8-bit); each chunk's text ends at its first zero
// unit or byte, as if read into a zeroed buffer one unit longer.
inline constexpr qsizetype kWideChunkBytes = 2046;
inline constexpr qsizetype kNarrowChunkBytes = 1023;

// No file of ours comes near this; a larger one is refused rather than read into memory.
inline constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;

// The text of a file's bytes by the reader's rules. 8-bit text is UTF-8 when the bytes are valid
// UTF-8 (a leading byte-order mark is dropped), otherwise the ANSI code page.
QString Decode(QByteArrayView bytes);

// The file's text; nothing when the file cannot be opened or read, or is larger than
// kMaxFileBytes. An empty file gives the empty text.
std::optional<QString> Read(const QString& path);

// The bytes of a profile file holding `text`: FF FE and the scrambled units.
QByteArray Encode(const QString& text);

// True when the text (of a first chunk) begins like a plain file: "<?xml" or "Option Explicit",
// without regard to case.
bool LooksPlain(QStringView text);

}  // namespace profile_file
