#include "platform/codepage/ansi_codepage.h"

#include <array>

namespace {

// Windows-1252 at 0x80..0x9F; zero marks the five undefined bytes, which map to themselves.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char16_t CharOf(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        const char16_t mapped = kHighControls[byte - 0x80];
        return mapped != 0 ? mapped : char16_t(byte);
    }
    return char16_t(byte);
}

}  // namespace

namespace ansi {

QString Decode(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        out[i] = QChar(CharOf(static_cast<unsigned char>(bytes[i])));
    }
    return text;
}

QByteArray Encode(QStringView text, bool* lossless) {
    QByteArray bytes;
    bytes.reserve(text.size());
    bool exact = true;
    for (const QChar ch : text) {
        const char16_t unit = ch.unicode();
        if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
            bytes.append(static_cast<char>(unit));
            continue;
        }
        char found = 0;
        bool matched = false;
        for (int i = 0; i < 32 && !matched; ++i) {
            if (CharOf(static_cast<unsigned char>(0x80 + i)) == unit) {
                found = static_cast<char>(0x80 + i);
                matched = true;
            }
        }
        if (!matched) {
            exact = false;
            found = '?';
        }
        bytes.append(found);
    }
    if (lossless) {
        *lossless = exact;
    }
    return bytes;
}

int SystemCodePageFor(const QString& language) {
    if (language == QLatin1String("Polish")) {
        return 1250;
    }
    if (language == QLatin1String("Russian")) {
        return 1251;
    }
    return 1252;
}

}  // namespace ansi
