#pragma once

// The single-byte code page of text that leaves or enters the program as 8-bit bytes: 8-bit
// profile and settings files, and the text fields of a radio's codeplug. It is Windows-1252,
// which is ISO-8859-1 except for the printable characters in 0x80..0x9F.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace ansi {

// Every byte has a character; the five bytes Windows-1252 leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) become the control characters of the same value, so nothing read is ever lost.
QString Decode(QByteArrayView bytes);

// The byte of each character; a character the code page lacks becomes '?', and `lossless`
// (when given) is set to false.
QByteArray Encode(QStringView text, bool* lossless = nullptr);

}  // namespace ansi
