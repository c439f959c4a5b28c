#include "model/squelch_codes.h"

#include <algorithm>
#include <array>

#include "model/data_item.h"
#include "platform/string_table.h"

namespace squelch {

namespace {

constexpr int kTextNoCode = 435;
constexpr int kTextCustomizedKt = 471;
constexpr int kTextInvertedVrc = 480;
constexpr int kTextVrc = 479;
constexpr int kTextHz = 482;
constexpr int kTextCustomizedVrc = 525;

// Tenths of a hertz, numbers 1 to 38.
constexpr std::array<int, 38> kTones = {670,  719,  744,  770,  797,  825,  854,  885,  915,  948,
                                        974,  1000, 1035, 1072, 1109, 1148, 1188, 1230, 1273, 1318,
                                        1365, 1413, 1462, 1514, 1567, 1622, 1679, 1738, 1799, 1862,
                                        1928, 2035, 2107, 2181, 2257, 2336, 2418, 2503};

// Octal digits as written, numbers 39 to 121.
constexpr std::array<const char*, 83> kCodes = {
    "023", "025", "026", "031", "032", "043", "047", "051", "054", "065", "071", "072",
    "073", "074", "114", "115", "116", "125", "131", "132", "134", "143", "152", "155",
    "156", "162", "165", "172", "174", "205", "223", "226", "243", "244", "245", "251",
    "261", "263", "265", "271", "306", "311", "315", "331", "343", "346", "351", "364",
    "365", "371", "411", "412", "413", "423", "431", "432", "445", "464", "465", "466",
    "503", "506", "516", "532", "546", "565", "606", "612", "624", "627", "631", "632",
    "654", "662", "664", "703", "712", "723", "731", "732", "734", "743", "754"};

static_assert(kTones.size() == kLastTone - kFirstTone + 1);
static_assert(kCodes.size() == kLastCode - kFirstCode + 1);

QString T(int id) {
    return CStringTable::Instance().Text(id);
}

QString Hz(const QString& value, const QString& decimalSeparator) {
    return QString(value).replace(u'.', decimalSeparator) + u' ' + T(kTextHz);
}

int CustomValue(const CDataItem& setting, int number) {
    const QString name = QStringLiteral("KTcode%1").arg(number);
    if (setting.IsEmpty() || !setting.HasAttribute(name)) {
        return 0;
    }
    return setting.GetAttributeValue(name).toInt();
}

}  // namespace

QString ToneText(int number, const QString& decimalSeparator) {
    if (number == kNoCode) {
        return QStringLiteral("Disabled");
    }
    if (number >= kFirstTone && number <= kLastTone) {
        const int tenths = kTones[static_cast<std::size_t>(number - kFirstTone)];
        return Hz(QStringLiteral("%1.%2").arg(tenths / 10).arg(tenths % 10), decimalSeparator);
    }
    if (number >= kFirstCode && number <= kLastCode) {
        return T(kTextVrc) + u' ' +
               QString::fromLatin1(kCodes[static_cast<std::size_t>(number - kFirstCode)]);
    }
    if (number == kTone693) {
        return Hz(QStringLiteral("69.30"), decimalSeparator);
    }
    if (number == kCode645) {
        return T(kTextVrc) + QStringLiteral(" 645");
    }
    return {};
}

QString CustomToneText(int tenths, const QString& decimalSeparator) {
    return QString::asprintf("%.1f", tenths * 0.1).replace(u'.', decimalSeparator);
}

QString CustomCodeText(int value) {
    return QString::asprintf("%03o", static_cast<unsigned>(value));
}

QString CodeItemText(int number, const CDataItem& setting, const QString& decimalSeparator) {
    if (number == kNoCode) {
        return T(kTextNoCode);
    }
    if (number >= kFirstTone && number <= kCode645) {
        return QStringLiteral("%1 - %2").arg(number).arg(ToneText(number, decimalSeparator));
    }
    if (number >= kFirstCustomTone && number <= kLastCustomTone) {
        return QStringLiteral("%1 - %2 (%3 %4)")
            .arg(number)
            .arg(T(kTextCustomizedKt),
                 CustomToneText(CustomValue(setting, number), decimalSeparator), T(kTextHz));
    }
    if (number >= kFirstCustomCode && number <= kLastCustomCode) {
        return QStringLiteral("%1 - %2 (%3)")
            .arg(number)
            .arg(T(kTextCustomizedVrc))
            .arg(CustomCodeText(CustomValue(setting, number)));
    }
    // 130 to 212 and everything above 220: the inverted form of plain code number - 91; 213
    // inverts VRC 645, which is number 123 rather than 122.
    const int inverts = number == kInverted645 ? kCode645 : number - kInvertedOffset;
    return QStringLiteral("%1 - %2 %3").arg(number).arg(T(kTextInvertedVrc)).arg(inverts);
}

QStringList CodeListTexts(int maxCodes, const CDataItem& setting, const QString& decimalSeparator) {
    QStringList texts;
    texts.reserve(std::max(0, maxCodes + 1));
    for (int number = 0; number <= maxCodes; ++number) {
        texts << CodeItemText(number, setting, decimalSeparator);
    }
    return texts;
}

std::optional<int> NumberOfItemText(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed == T(kTextNoCode) || trimmed == CStringTable::EnglishText(kTextNoCode) ||
        trimmed == QStringLiteral("0")) {
        return kNoCode;
    }
    qsizetype digits = 0;
    while (digits < trimmed.size() && trimmed.at(digits).isDigit()) {
        ++digits;
    }
    if (digits == 0 || digits > 5) {
        return std::nullopt;
    }
    const QString rest = trimmed.mid(digits);
    if (!rest.isEmpty() && !rest.startsWith(QStringLiteral(" - "))) {
        return std::nullopt;
    }
    return trimmed.left(digits).toInt();
}

}  // namespace squelch
