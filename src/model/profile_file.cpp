#include "model/profile_file.h"

#include <algorithm>
#include <array>

#include <QFile>
#include <QStringDecoder>

#include "platform/codepage/ansi_codepage.h"

namespace profile_file {
namespace {

constexpr char16_t kLowByteMask = kMask & 0xFF;

char16_t Scrambled(char16_t unit) {
    return unit == kMask ? unit : char16_t(unit ^ kLowByteMask);
}

// One chunk of a UTF-16 file, as units; a trailing odd byte is the low byte of a last unit.
QString WideChunk(QByteArrayView bytes) {
    QString units((bytes.size() + 1) / 2, Qt::Uninitialized);
    QChar* out = units.data();
    for (qsizetype i = 0; i < units.size(); ++i) {
        const auto low = static_cast<unsigned char>(bytes[2 * i]);
        const auto high =
            2 * i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[2 * i + 1]) : 0;
        out[i] = QChar(char16_t(low | (high << 8)));
    }
    return units;
}

QString UpToZero(QString text) {
    const qsizetype zero = text.indexOf(QChar(0));
    if (zero >= 0) {
        text.truncate(zero);
    }
    return text;
}

QString DecodeWide(QByteArrayView body) {
    QString text;
    text.reserve(body.size() / 2);
    bool plain = false;
    for (qsizetype offset = 0; offset < body.size(); offset += kWideChunkBytes) {
        QString chunk = UpToZero(WideChunk(body.sliced(offset, qMin(kWideChunkBytes,
                                                                        body.size() - offset))));
        if (offset == 0) {
            plain = LooksPlain(chunk);
        }
        if (!plain) {
            for (QChar& ch : chunk) {
                ch = QChar(Scrambled(ch.unicode()));
            }
        }
        text += chunk;
    }
    return text;
}

// Our own files are UTF-8; a dealer's 8-bit file from elsewhere is in the ANSI code page. Text
// in the code page with characters above 0x7F is practically never valid UTF-8.
QString DecodeNarrowText(QByteArrayView bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) {
        if (text.startsWith(QChar(0xFEFF))) {
            text.remove(0, 1);
        }
        return text;
    }
    return ansi::Decode(bytes);
}

QString DecodeNarrow(QByteArrayView bytes) {
    QByteArray text;
    text.reserve(bytes.size());
    bool plain = false;
    for (qsizetype offset = 0; offset < bytes.size(); offset += kNarrowChunkBytes) {
        QByteArray chunk =
            bytes.sliced(offset, qMin(kNarrowChunkBytes, bytes.size() - offset)).toByteArray();
        const qsizetype zero = chunk.indexOf('\0');
        if (zero >= 0) {
            chunk.truncate(zero);
        }
        if (offset == 0) {
            plain = LooksPlain(DecodeNarrowText(chunk)) ||
                    // A byte-order mark ahead of the text does not make it scrambled.
                    (chunk.startsWith("\xEF\xBB\xBF") &&
                     LooksPlain(DecodeNarrowText(QByteArrayView(chunk).sliced(3))));
        }
        if (!plain) {
            for (char& byte : chunk) {
                byte = static_cast<char>(byte ^ kLowByteMask);
            }
            // A scrambled zero byte ends the chunk's text like a plain one.
            const qsizetype end = chunk.indexOf('\0');
            if (end >= 0) {
                chunk.truncate(end);
            }
        }
        text += chunk;
    }
    // Decoded as a whole, so that a character split between two chunks stays whole.
    return DecodeNarrowText(text);
}

}  // namespace

bool LooksPlain(QStringView text) {
    return text.startsWith(u"<?xml", Qt::CaseInsensitive) ||
           text.startsWith(u"Option Explicit", Qt::CaseInsensitive);
}

QString Decode(QByteArrayView bytes) {
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        return DecodeWide(bytes.sliced(2));
    }
    return DecodeNarrow(bytes);
}

std::optional<QString> Read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    // Read as the bytes come rather than into a buffer of the limit's size, which every small
    // file would pay for; a FIFO or device reports size 0, so the size is only a hint. Reading
    // one byte past the limit tells a file that is too large.
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(std::min(file.size(), kMaxFileBytes) + 1));
    std::array<char, 16 * 1024> step;
    for (;;) {
        const qint64 room = kMaxFileBytes + 1 - bytes.size();
        const qint64 got =
            file.read(step.data(), std::min<qint64>(static_cast<qint64>(step.size()), room));
        if (got <= 0) {
            break;
        }
        bytes.append(step.data(), static_cast<qsizetype>(got));
        if (got == room) {
            break;
        }
    }
    if (bytes.size() > kMaxFileBytes || file.error() != QFileDevice::NoError) {
        return std::nullopt;
    }
    return Decode(bytes);
}

QByteArray Encode(const QString& text) {
    QByteArray bytes;
    bytes.reserve(2 + 2 * text.size());
    bytes.append('\xFF').append('\xFE');
    for (const QChar ch : text) {
        const char16_t unit = Scrambled(ch.unicode());
        bytes.append(static_cast<char>(unit & 0xFF)).append(static_cast<char>(unit >> 8));
    }
    return bytes;
}

}  // namespace profile_file
