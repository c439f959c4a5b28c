#include "platform/script/builtins.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string>

#include "platform/script/errors.h"

namespace vbs {

namespace {

// Matches the cap on arrays: a result this long is a runaway script, not data.
constexpr qsizetype kMaxStringLength = 16 * 1024 * 1024;

using Args = std::span<const CVariant>;

[[noreturn]] void Raise(int number) {
    throw CScriptError(number);
}

bool Has(Args args, std::size_t index) {
    return args.size() > index;
}

void CheckLength(qsizetype length) {
    if (length > kMaxStringLength) {
        Raise(err::kOutOfMemory);
    }
}

// A length or count argument: a number that may not be negative.
std::int32_t Count(const CVariant& v) {
    const std::int32_t n = v.ToLong();
    if (n < 0) {
        Raise(err::kInvalidCall);
    }
    return n;
}

// A 1-based position argument.
std::int32_t Start(const CVariant& v) {
    const std::int32_t n = v.ToLong();
    if (n < 1) {
        Raise(err::kInvalidCall);
    }
    return n;
}

// vbBinaryCompare (0) or vbTextCompare (1).
Qt::CaseSensitivity CompareMode(Args args, std::size_t index) {
    if (!Has(args, index)) {
        return Qt::CaseSensitive;
    }
    switch (args[index].ToLong()) {
        case 0:
            return Qt::CaseSensitive;
        case 1:
            return Qt::CaseInsensitive;
        default:
            Raise(err::kInvalidCall);
    }
}

// Windows-1252 at 0x80..0x9F, where it differs from Latin-1; the holes map to themselves.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QChar FromCodePage(int code) {
    if (code >= 0x80 && code <= 0x9F) {
        return QChar(kCp1252High[static_cast<std::size_t>(code - 0x80)]);
    }
    return QChar(static_cast<char16_t>(code));
}

// The code-page byte of a character; '?' for characters the code page lacks, as Windows does.
int ToCodePage(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
        return u;
    }
    for (std::size_t i = 0; i < kCp1252High.size(); ++i) {
        if (kCp1252High[i] == u) {
            return static_cast<int>(0x80 + i);
        }
    }
    return '?';
}

// Round(): half to even on the value as CStr shows it (15 digits), so that 2.345 is a true half.
double RoundDecimals(double value, std::int32_t decimals) {
    if (decimals == 0 || !std::isfinite(value) || value == 0.0) {
        return RoundHalfEven(value);
    }
    char buffer[64];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    const std::string text(buffer, written.ptr);
    const bool negative = text[0] == '-';
    const std::size_t ePos = text.find('e');
    std::string digits;
    for (std::size_t k = negative ? 1 : 0; k < ePos; ++k) {
        if (text[k] != '.') {
            digits += text[k];
        }
    }
    const std::int64_t exponent = std::stoi(text.substr(ePos + 1));
    const std::int64_t keep = exponent + 1 + decimals;
    if (keep >= static_cast<std::int64_t>(digits.size())) {
        return value;
    }
    if (keep < 0) {
        return 0.0;
    }
    std::string kept = digits.substr(0, static_cast<std::size_t>(keep));
    const std::string rest = digits.substr(static_cast<std::size_t>(keep));
    bool up = rest[0] > '5';
    if (rest[0] == '5') {
        const bool exactHalf = rest.find_first_not_of('0', 1) == std::string::npos;
        const bool lastOdd = !kept.empty() && (kept.back() - '0') % 2 == 1;
        up = !exactHalf || lastOdd;
    }
    if (kept.empty()) {
        kept = "0";
    }
    if (up) {
        std::size_t k = kept.size();
        while (k > 0 && kept[k - 1] == '9') {
            kept[--k] = '0';
        }
        if (k == 0) {
            kept.insert(kept.begin(), '1');
        } else {
            ++kept[k - 1];
        }
    }
    const std::string scaled = (negative ? "-" : "") + kept + "e-" + std::to_string(decimals);
    double result = 0.0;
    std::from_chars(scaled.data(), scaled.data() + scaled.size(), result);
    return result;
}

// Int and Fix: the subtype stays, a Double loses its fraction.
CVariant WholePart(const CVariant& v, double (*cut)(double)) {
    if (v.IsNull()) {
        return CVariant::Null();
    }
    const CVariant n = v.ToNumeric();
    return n.Type() == VarType::Double ? CVariant::Double(cut(n.AsDouble())) : n;
}

// Hex and Oct: negative Integers show 16 bits, negative Longs 32.
CVariant InRadix(const CVariant& v, int radix) {
    if (v.IsNull()) {
        return CVariant::Null();
    }
    const CVariant n = v.ToNumeric();
    std::uint32_t bits = 0;
    switch (n.Type()) {
        case VarType::Byte:
            bits = n.AsByte();
            break;
        case VarType::Integer:
            bits = static_cast<std::uint16_t>(n.AsInteger());
            break;
        default:
            bits = static_cast<std::uint32_t>(n.ToLong());
            break;
    }
    return QString::number(bits, radix).toUpper();
}

QString Repeat(std::int32_t count, QChar c) {
    CheckLength(count);
    return QString(count, c);
}

CVariant Len(Args a) {
    if (a[0].IsNull()) {
        return CVariant::Null();
    }
    return CVariant::Long(static_cast<std::int32_t>(a[0].ToString().size()));
}

CVariant Left(Args a) {
    const std::int32_t n = Count(a[1]);
    if (a[0].IsNull()) {
        return CVariant::Null();
    }
    return a[0].ToString().left(n);
}

CVariant Right(Args a) {
    const std::int32_t n = Count(a[1]);
    if (a[0].IsNull()) {
        return CVariant::Null();
    }
    return a[0].ToString().right(n);
}

CVariant Mid(Args a) {
    const std::int32_t start = Start(a[1]);
    const std::int32_t length = Has(a, 2) ? Count(a[2]) : -1;
    if (a[0].IsNull()) {
        return CVariant::Null();
    }
    const QString s = a[0].ToString();
    if (start > s.size()) {
        return QString();
    }
    return s.mid(start - 1, length);
}

CVariant InStr(Args a) {
    const bool withStart = a.size() >= 3;
    const std::int32_t start = withStart ? Start(a[0]) : 1;
    const CVariant& haystack = a[withStart ? 1 : 0];
    const CVariant& needle = a[withStart ? 2 : 1];
    const Qt::CaseSensitivity mode = CompareMode(a, 3);
    if (haystack.IsNull() || needle.IsNull()) {
        return CVariant::Null();
    }
    const QString s = haystack.ToString();
    const QString find = needle.ToString();
    if (s.isEmpty() || start > s.size()) {
        return CVariant::Long(0);
    }
    if (find.isEmpty()) {
        return CVariant::Long(start);
    }
    return CVariant::Long(static_cast<std::int32_t>(s.indexOf(find, start - 1, mode) + 1));
}

CVariant InStrRev(Args a) {
    std::int32_t start = Has(a, 2) ? a[2].ToLong() : -1;
    if (start == 0 || start < -1) {
        Raise(err::kInvalidCall);
    }
    const Qt::CaseSensitivity mode = CompareMode(a, 3);
    if (a[0].IsNull() || a[1].IsNull()) {
        return CVariant::Null();
    }
    const QString s = a[0].ToString();
    const QString find = a[1].ToString();
    if (s.isEmpty()) {
        return CVariant::Long(0);
    }
    if (start == -1) {
        start = static_cast<std::int32_t>(s.size());
    }
    if (start > s.size()) {
        return CVariant::Long(0);
    }
    if (find.isEmpty()) {
        return CVariant::Long(start);
    }
    const qsizetype from = start - find.size();
    if (from < 0) {
        return CVariant::Long(0);
    }
    return CVariant::Long(static_cast<std::int32_t>(s.lastIndexOf(find, from, mode) + 1));
}

CVariant UCase(Args a) {
    return a[0].IsNull() ? CVariant::Null() : CVariant(a[0].ToString().toUpper());
}

CVariant LCase(Args a) {
    return a[0].IsNull() ? CVariant::Null() : CVariant(a[0].ToString().toLower());
}

// VBScript trims spaces only, not tabs or line ends.
QString TrimSpaces(const QString& s, bool front, bool back) {
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (front && begin < end && s[begin] == u' ') {
        ++begin;
    }
    while (back && end > begin && s[end - 1] == u' ') {
        --end;
    }
    return s.mid(begin, end - begin);
}

CVariant Trim(Args a) {
    return a[0].IsNull() ? CVariant::Null() : CVariant(TrimSpaces(a[0].ToString(), true, true));
}

CVariant LTrim(Args a) {
    return a[0].IsNull() ? CVariant::Null() : CVariant(TrimSpaces(a[0].ToString(), true, false));
}

CVariant RTrim(Args a) {
    return a[0].IsNull() ? CVariant::Null() : CVariant(TrimSpaces(a[0].ToString(), false, true));
}

CVariant Replace(Args a) {
    const std::int32_t start = Has(a, 3) ? Start(a[3]) : 1;
    const std::int32_t count = Has(a, 4) ? a[4].ToLong() : -1;
    if (count < -1) {
        Raise(err::kInvalidCall);
    }
    const Qt::CaseSensitivity mode = CompareMode(a, 5);
    // Unlike most string functions, Replace refuses Null rather than passing it on.
    const QString whole = a[0].ToString();
    const QString find = a[1].ToString();
    const QString with = a[2].ToString();
    if (start > whole.size()) {
        return QString();
    }
    // VBScript drops what lies before `start`.
    const QString s = whole.mid(start - 1);
    if (find.isEmpty() || count == 0) {
        return s;
    }
    QString out;
    qsizetype pos = 0;
    for (std::int32_t done = 0; count == -1 || done < count; ++done) {
        const qsizetype hit = s.indexOf(find, pos, mode);
        if (hit < 0) {
            break;
        }
        CheckLength(out.size() + (hit - pos) + with.size());
        out += QStringView(s).mid(pos, hit - pos);
        out += with;
        pos = hit + find.size();
    }
    CheckLength(out.size() + (s.size() - pos));
    out += QStringView(s).mid(pos);
    return out;
}

CVariant Split(Args a) {
    const QString delimiter = Has(a, 1) ? a[1].ToString() : QStringLiteral(" ");
    const std::int32_t limit = Has(a, 2) ? a[2].ToLong() : -1;
    if (limit < -1) {
        Raise(err::kInvalidCall);
    }
    const Qt::CaseSensitivity mode = CompareMode(a, 3);
    if (a[0].IsNull()) {
        return CVariant::Null();
    }
    const QString s = a[0].ToString();
    if (s.isEmpty() || limit == 0) {
        return CVariant(std::make_shared<CArray>(std::vector<std::int32_t>{-1}));
    }
    std::vector<CVariant> parts;
    qsizetype pos = 0;
    if (!delimiter.isEmpty()) {
        while (limit == -1 || static_cast<std::int64_t>(parts.size()) + 1 < limit) {
            const qsizetype hit = s.indexOf(delimiter, pos, mode);
            if (hit < 0) {
                break;
            }
            parts.emplace_back(s.mid(pos, hit - pos));
            pos = hit + delimiter.size();
        }
    }
    parts.emplace_back(s.mid(pos));
    return CVariant(CArray::FromItems(std::move(parts)));
}

CVariant Join(Args a) {
    if (!a[0].IsArray() || !a[0].AsArray()) {
        Raise(err::kTypeMismatch);
    }
    const CArray& array = *a[0].AsArray();
    if (array.Dimensions() != 1) {
        Raise(err::kInvalidCall);
    }
    const QString delimiter = Has(a, 1) ? a[1].ToString() : QStringLiteral(" ");
    QString out;
    bool first = true;
    for (const CVariant& item : array.Items()) {
        const QString text = item.ToString();
        const qsizetype separator = first ? 0 : delimiter.size();
        CheckLength(out.size() + separator + text.size());
        if (!first) {
            out += delimiter;
        }
        out += text;
        first = false;
    }
    return out;
}

CVariant Space(Args a) {
    return Repeat(Count(a[0]), u' ');
}

CVariant String(Args a) {
    if (a[0].IsNull() || a[1].IsNull()) {
        return CVariant::Null();
    }
    const std::int32_t count = Count(a[0]);
    QChar c;
    if (a[1].IsString()) {
        if (a[1].AsString().isEmpty()) {
            Raise(err::kInvalidCall);
        }
        c = a[1].AsString()[0];
    } else {
        // A code beyond one byte wraps, as the function has always done.
        const std::int32_t code = a[1].ToLong();
        c = FromCodePage(((code % 256) + 256) % 256);
    }
    return Repeat(count, c);
}

CVariant StrComp(Args a) {
    const Qt::CaseSensitivity mode = CompareMode(a, 2);
    if (a[0].IsNull() || a[1].IsNull()) {
        return CVariant::Null();
    }
    const int c = QString::compare(a[0].ToString(), a[1].ToString(), mode);
    return CVariant::Integer(static_cast<std::int16_t>((c > 0) - (c < 0)));
}

QChar FirstChar(const CVariant& v) {
    const QString s = v.ToString();
    if (s.isEmpty()) {
        Raise(err::kInvalidCall);
    }
    return s[0];
}

CVariant Asc(Args a) {
    return CVariant::Integer(static_cast<std::int16_t>(ToCodePage(FirstChar(a[0]))));
}

CVariant AscW(Args a) {
    return CVariant::Integer(static_cast<std::int16_t>(FirstChar(a[0]).unicode()));
}

CVariant Chr(Args a) {
    const std::int32_t code = a[0].ToLong();
    if (code < 0 || code > 255) {
        Raise(err::kInvalidCall);
    }
    return QString(FromCodePage(code));
}

CVariant ChrW(Args a) {
    const std::int32_t code = a[0].ToLong();
    if (code < -32768 || code > 65535) {
        Raise(err::kInvalidCall);
    }
    return QString(QChar(static_cast<char16_t>(code & 0xFFFF)));
}

CVariant CStr(Args a) {
    return a[0].ToString();
}
CVariant CInt(Args a) {
    return CVariant::Integer(a[0].ToInteger());
}
CVariant CLng(Args a) {
    return CVariant::Long(a[0].ToLong());
}
CVariant CDbl(Args a) {
    return CVariant::Double(a[0].ToDouble());
}
CVariant CBool(Args a) {
    return CVariant(a[0].ToBool());
}
CVariant CByte(Args a) {
    return CVariant::Byte(a[0].ToByte());
}

CVariant Int(Args a) {
    return WholePart(a[0], [](double x) { return std::floor(x); });
}

CVariant Fix(Args a) {
    return WholePart(a[0], [](double x) { return std::trunc(x); });
}

CVariant Abs(Args a) {
    if (a[0].IsNull()) {
        return CVariant::Null();
    }
    const CVariant n = a[0].ToNumeric();
    return n.ToDouble() < 0 ? ops::Negate(n) : n;
}

CVariant Sgn(Args a) {
    const double x = a[0].ToNumeric().ToDouble();
    return CVariant::Integer(static_cast<std::int16_t>((x > 0) - (x < 0)));
}

CVariant Round(Args a) {
    const std::int32_t decimals = Has(a, 1) ? Count(a[1]) : 0;
    if (a[0].IsNull()) {
        return CVariant::Null();
    }
    const CVariant n = a[0].ToNumeric();
    if (n.Type() != VarType::Double) {
        return n;
    }
    return CVariant::Double(RoundDecimals(n.AsDouble(), decimals));
}

CVariant Hex(Args a) {
    return InRadix(a[0], 16);
}
CVariant Oct(Args a) {
    return InRadix(a[0], 8);
}

CVariant IsNumeric(Args a) {
    const CVariant& v = a[0];
    if (v.IsString()) {
        const std::optional<double> parsed = ParseNumber(v.AsString());
        return CVariant(parsed.has_value() && std::isfinite(*parsed));
    }
    return CVariant(v.IsEmpty() || v.IsBool() || v.IsNumber());
}

CVariant IsEmpty(Args a) {
    return CVariant(a[0].IsEmpty());
}
CVariant IsNull(Args a) {
    return CVariant(a[0].IsNull());
}
CVariant IsObject(Args a) {
    return CVariant(a[0].IsObject());
}
CVariant IsArray(Args a) {
    return CVariant(a[0].IsArray());
}
CVariant TypeName(Args a) {
    return a[0].TypeName();
}

CVariant VarType(Args a) {
    const int type = a[0].IsArray()
                         ? static_cast<int>(VarType::Array) | static_cast<int>(VarType::Variant)
                         : static_cast<int>(a[0].Type());
    return CVariant::Integer(static_cast<std::int16_t>(type));
}

// The upper bound of the requested dimension, checking the array and the dimension.
std::int32_t Bound(Args a) {
    if (!a[0].IsArray() || !a[0].AsArray()) {
        Raise(err::kTypeMismatch);
    }
    const std::int32_t dimension = Has(a, 1) ? a[1].ToLong() : 1;
    return a[0].AsArray()->UpperBound(dimension);
}

CVariant UBound(Args a) {
    return CVariant::Long(Bound(a));
}

CVariant LBound(Args a) {
    Bound(a);
    return CVariant::Long(0);
}

CVariant Array(Args a) {
    std::vector<CVariant> items;
    items.reserve(a.size());
    for (const CVariant& item : a) {
        items.push_back(item.Copy());
    }
    return CVariant(CArray::FromItems(std::move(items)));
}

constexpr int kAny = 1 << 30;

constexpr SBuiltin kBuiltins[] = {
    {"Abs", 1, 1, Abs},           {"Array", 0, kAny, Array},    {"Asc", 1, 1, Asc},
    {"AscW", 1, 1, AscW},         {"CBool", 1, 1, CBool},       {"CByte", 1, 1, CByte},
    {"CDbl", 1, 1, CDbl},         {"Chr", 1, 1, Chr},           {"ChrW", 1, 1, ChrW},
    {"CInt", 1, 1, CInt},         {"CLng", 1, 1, CLng},         {"CStr", 1, 1, CStr},
    {"Fix", 1, 1, Fix},           {"Hex", 1, 1, Hex},           {"InStr", 2, 4, InStr},
    {"InStrRev", 2, 4, InStrRev}, {"Int", 1, 1, Int},           {"IsArray", 1, 1, IsArray},
    {"IsEmpty", 1, 1, IsEmpty},   {"IsNull", 1, 1, IsNull},     {"IsNumeric", 1, 1, IsNumeric},
    {"IsObject", 1, 1, IsObject}, {"Join", 1, 2, Join},         {"LBound", 1, 2, LBound},
    {"LCase", 1, 1, LCase},       {"Left", 2, 2, Left},         {"Len", 1, 1, Len},
    {"LTrim", 1, 1, LTrim},       {"Mid", 2, 3, Mid},           {"Oct", 1, 1, Oct},
    {"Replace", 3, 6, Replace},   {"Right", 2, 2, Right},       {"Round", 1, 2, Round},
    {"RTrim", 1, 1, RTrim},       {"Sgn", 1, 1, Sgn},           {"Space", 1, 1, Space},
    {"Split", 1, 4, Split},       {"StrComp", 2, 3, StrComp},   {"String", 2, 2, String},
    {"Trim", 1, 1, Trim},         {"TypeName", 1, 1, TypeName}, {"UBound", 1, 2, UBound},
    {"UCase", 1, 1, UCase},       {"VarType", 1, 1, VarType},
};

struct SConstant {
    const char* name;
    const char* text;  // the value when it is a string
    std::int32_t number;
};

constexpr SConstant kConstants[] = {
    {"vbCr", "\r", 0},
    {"vbLf", "\n", 0},
    {"vbCrLf", "\r\n", 0},
    {"vbNewLine", "\r\n", 0},
    {"vbTab", "\t", 0},
    {"vbFormFeed", "\f", 0},
    {"vbVerticalTab", "\v", 0},
    {"vbNullString", "", 0},
    {"vbNullChar", nullptr, 0},  // a string holding one NUL, which a C string cannot spell
    {"vbBinaryCompare", nullptr, 0},
    {"vbTextCompare", nullptr, 1},
    {"vbUseDefault", nullptr, -2},
    {"vbTrue", nullptr, -1},
    {"vbFalse", nullptr, 0},
    {"vbEmpty", nullptr, 0},
    {"vbNull", nullptr, 1},
    {"vbInteger", nullptr, 2},
    {"vbLong", nullptr, 3},
    {"vbSingle", nullptr, 4},
    {"vbDouble", nullptr, 5},
    {"vbCurrency", nullptr, 6},
    {"vbDate", nullptr, 7},
    {"vbString", nullptr, 8},
    {"vbObject", nullptr, 9},
    {"vbError", nullptr, 10},
    {"vbBoolean", nullptr, 11},
    {"vbVariant", nullptr, 12},
    {"vbDataObject", nullptr, 13},
    {"vbDecimal", nullptr, 14},
    {"vbByte", nullptr, 17},
    {"vbArray", nullptr, 8192},
    {"vbObjectError", nullptr, -2147221504},
};

}  // namespace

const SBuiltin* FindBuiltin(QStringView name) {
    for (const SBuiltin& builtin : kBuiltins) {
        if (name.compare(QLatin1StringView(builtin.name), Qt::CaseInsensitive) == 0) {
            return &builtin;
        }
    }
    return nullptr;
}

std::optional<CVariant> FindBuiltinConstant(QStringView name) {
    for (const SConstant& constant : kConstants) {
        if (name.compare(QLatin1StringView(constant.name), Qt::CaseInsensitive) != 0) {
            continue;
        }
        if (name.compare(QLatin1StringView("vbNullChar"), Qt::CaseInsensitive) == 0) {
            return CVariant(QString(QChar(u'\0')));
        }
        if (constant.text != nullptr) {
            return CVariant(QString::fromLatin1(constant.text));
        }
        return CVariant::Long(constant.number);
    }
    return std::nullopt;
}

}  // namespace vbs
