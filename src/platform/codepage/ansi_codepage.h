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

// The number of the system's 8-bit code page for a user-interface language. This system has no
// code page of its own: it is the one the language's texts need, Windows-1250 for Polish,
// Windows-1251 for Russian, Windows-1252 for every other language.
int SystemCodePageFor(const QString& language);

}  // namespace ansi
