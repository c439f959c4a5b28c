#pragma once

// Squelch code numbers (a channel's "rx_code" and "tx_code") and the texts they are shown with.
// One component for the channel page, the customized code pages, the reports and veskctl, so
// that a code reads the same wherever it appears.

#include <optional>

#include <QString>
#include <QStringList>

class CDataItem;

namespace squelch {

inline constexpr int kNoCode = 0;
inline constexpr int kFirstTone = 1;
inline constexpr int kLastTone = 38;
inline constexpr int kFirstCode = 39;
inline constexpr int kLastCode = 121;
inline constexpr int kTone693 = 122;
inline constexpr int kCode645 = 123;
inline constexpr int kFirstCustomTone = 124;
inline constexpr int kLastCustomTone = 129;
inline constexpr int kFirstInverted = 130;
inline constexpr int kInverted645 = 213;
inline constexpr int kFirstCustomCode = 214;
inline constexpr int kLastCustomCode = 220;
// Inverted code n inverts plain code n - 91.
inline constexpr int kInvertedOffset = 91;

// The text of the fixed squelch table for numbers 0 to 123 ("Disabled", "67.0 Hz", "VRC 023",
// "69.30 Hz", "VRC 645"), with "." replaced by `decimalSeparator` and "VRC" and "Hz" taken from the
// string table. Empty for other numbers.
QString ToneText(int number, const QString& decimalSeparator);

// A customized tone as its page and the code lists show it: tenths of a hertz as "%.1f" with "."
// replaced by `decimalSeparator` ("100.0" for 1000), without a unit.
QString CustomToneText(int tenths, const QString& decimalSeparator);
// A customized digital code as three octal digits ("023" for 19).
QString CustomCodeText(int value);

// The code list item of a number, as the channel page shows it ("1 - 67.0 Hz", "124 - Customized
// KT (100.0 Hz)", "130 - Inverted VRC 39", "214 - Customized VRC (023)"). `setting` is the
// profile's "setting" element, for the customized values; a customized value it does not hold is
// shown as 0. Raises the model's exception only when `setting` cannot be read at all.
QString CodeItemText(int number, const CDataItem& setting, const QString& decimalSeparator);

// The items of a model's code list: numbers 0 to `maxCodes`, the position being the number.
QStringList CodeListTexts(int maxCodes, const CDataItem& setting, const QString& decimalSeparator);

// The number an item text names: the digits before " - ", or 0 for the "no code" text. Nothing
// when the text names no number. Only the number counts: what follows it is for the reader.
std::optional<int> NumberOfItemText(const QString& text);

}  // namespace squelch
