#include "platform/script/value.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "platform/script/errors.h"

namespace vbs {

namespace {

// Beyond this a script is runaway rather than useful; refusing keeps one bad line from taking
// the whole process down with it.
constexpr std::size_t kMaxArrayElements = 16u * 1024u * 1024u;
constexpr qsizetype kMaxStringLength = 16 * 1024 * 1024;

[[noreturn]] void Raise(int number) {
    throw CScriptError(number);
}

QString CheckedJoin(const QString& a, const QString& b) {
    if (a.size() + b.size() > kMaxStringLength) {
        Raise(err::kOutOfMemory);
    }
    return a + b;
}

// Operands of arithmetic, ordered from narrowest to widest; Empty takes the other side's type.
enum class Rank { Empty, Byte, Integer, Long, Double };

struct SNum {
    Rank rank = Rank::Empty;
    std::int64_t i = 0;  // valid unless rank is Double
    double d = 0.0;      // valid when rank is Double
    bool isBool = false;
};

double AsDoubleOf(const SNum& n) {
    return n.rank == Rank::Double ? n.d : static_cast<double>(n.i);
}

double ParseOrRaise(const QString& text) {
    const std::optional<double> parsed = ParseNumber(text);
    if (!parsed) {
        Raise(err::kTypeMismatch);
    }
    if (!std::isfinite(*parsed)) {
        Raise(err::kOverflow);
    }
    return *parsed;
}

// The number an arithmetic operand stands for; the caller has dealt with Null.
SNum Decode(const CVariant& v) {
    switch (v.Type()) {
        case VarType::Empty:
            return {Rank::Empty, 0, 0.0, false};
        case VarType::Boolean:
            return {Rank::Integer, v.AsBool() ? -1 : 0, 0.0, true};
        case VarType::Byte:
            return {Rank::Byte, v.AsByte(), 0.0, false};
        case VarType::Integer:
            return {Rank::Integer, v.AsInteger(), 0.0, false};
        case VarType::Long:
            return {Rank::Long, v.AsLong(), 0.0, false};
        case VarType::Double:
            return {Rank::Double, 0, v.AsDouble(), false};
        case VarType::String:
            return {Rank::Double, 0, ParseOrRaise(v.AsString()), false};
        case VarType::Null:
            Raise(err::kInvalidNull);
        default:
            Raise(err::kTypeMismatch);
    }
}

CVariant FromDouble(double value) {
    if (!std::isfinite(value)) {
        Raise(err::kOverflow);
    }
    return CVariant::Double(value);
}

// The narrowest type at least as wide as `rank` that holds `value`; overflow widens.
CVariant FitInteger(std::int64_t value, Rank rank) {
    if (rank <= Rank::Byte && rank != Rank::Empty && value >= 0 && value <= 255) {
        return CVariant::Byte(static_cast<std::uint8_t>(value));
    }
    if (rank <= Rank::Integer && value >= INT16_MIN && value <= INT16_MAX) {
        return CVariant::Integer(static_cast<std::int16_t>(value));
    }
    if (rank <= Rank::Long && value >= INT32_MIN && value <= INT32_MAX) {
        return CVariant::Long(static_cast<std::int32_t>(value));
    }
    return CVariant::Double(static_cast<double>(value));
}

Rank ResultRank(Rank a, Rank b) {
    const Rank r = std::max(a, b);
    return r == Rank::Empty ? Rank::Integer : r;
}

template <typename IntOp, typename DoubleOp>
CVariant Arithmetic(const CVariant& a, const CVariant& b, IntOp intOp, DoubleOp doubleOp) {
    if (a.IsNull() || b.IsNull()) {
        return CVariant::Null();
    }
    const SNum x = Decode(a);
    const SNum y = Decode(b);
    const Rank rank = ResultRank(x.rank, y.rank);
    if (rank == Rank::Double) {
        return FromDouble(doubleOp(AsDoubleOf(x), AsDoubleOf(y)));
    }
    return FitInteger(intOp(x.i, y.i), rank);
}

std::int64_t RoundToLong(double value) {
    const double r = RoundHalfEven(value);
    if (!(r >= INT32_MIN && r <= INT32_MAX)) {
        Raise(err::kOverflow);
    }
    return static_cast<std::int64_t>(r);
}

// Operands of \ and Mod: integers, Doubles rounded to Long first.
SNum DecodeWhole(const CVariant& v) {
    SNum n = Decode(v);
    if (n.rank == Rank::Double) {
        n.i = RoundToLong(n.d);
        n.rank = Rank::Long;
    }
    return n;
}

template <typename Op>
CVariant WholeArithmetic(const CVariant& a, const CVariant& b, Op op) {
    if (a.IsNull() || b.IsNull()) {
        return CVariant::Null();
    }
    const SNum x = DecodeWhole(a);
    const SNum y = DecodeWhole(b);
    if (y.i == 0) {
        Raise(err::kDivisionByZero);
    }
    return FitInteger(op(x.i, y.i), ResultRank(x.rank, y.rank));
}

// Operands of the logical operators: a Boolean stays one, everything else is an integer.
SNum DecodeLogical(const CVariant& v) {
    if (v.IsString()) {
        const QString trimmed = v.AsString().trimmed();
        if (trimmed.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) {
            return {Rank::Integer, -1, 0.0, true};
        }
        if (trimmed.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) {
            return {Rank::Integer, 0, 0.0, true};
        }
        return {Rank::Long, RoundToLong(ParseOrRaise(v.AsString())), 0.0, false};
    }
    return DecodeWhole(v);
}

std::int64_t AllOnes(Rank rank) {
    return rank == Rank::Byte ? 0xFF : -1;
}

CVariant LogicalResult(std::int64_t bits, const SNum& x, const SNum& y) {
    if (x.isBool && y.isBool) {
        return CVariant(bits != 0);
    }
    const Rank rank = ResultRank(x.rank, y.rank);
    switch (rank) {
        case Rank::Byte:
            return CVariant::Byte(static_cast<std::uint8_t>(bits & 0xFF));
        case Rank::Integer:
            return CVariant::Integer(static_cast<std::int16_t>(bits));
        default:
            return CVariant::Long(static_cast<std::int32_t>(bits));
    }
}

// The value of `n` alone, in its own type, for the cases where Null meets a deciding operand.
CVariant Alone(const SNum& n) {
    return LogicalResult(n.i, n, n);
}

bool IsAllOnes(const SNum& n) {
    return n.rank == Rank::Byte ? n.i == 0xFF : n.i == -1;
}

template <typename Op>
CVariant Logical(const CVariant& a, const CVariant& b, Op op) {
    const SNum x = DecodeLogical(a);
    const SNum y = DecodeLogical(b);
    return LogicalResult(op(x.i, y.i), x, y);
}

// Comparisons order every number before every string.
enum class Kind { Number, String };

}  // namespace

// ---- CVariant ----------------------------------------------------------------------------------

VarType CVariant::Type() const {
    switch (m_value.index()) {
        case 0:
            return VarType::Empty;
        case 1:
            return VarType::Null;
        case 2:
            return VarType::Boolean;
        case 3:
            return VarType::Byte;
        case 4:
            return VarType::Integer;
        case 5:
            return VarType::Long;
        case 6:
            return VarType::Double;
        case 7:
            return VarType::String;
        case 8:
            return VarType::Object;
        default:
            return VarType::Array;
    }
}

bool CVariant::IsNumber() const {
    switch (Type()) {
        case VarType::Byte:
        case VarType::Integer:
        case VarType::Long:
        case VarType::Double:
            return true;
        default:
            return false;
    }
}

double CVariant::ToDouble() const {
    return AsDoubleOf(Decode(*this));
}

std::int32_t CVariant::ToLong() const {
    const SNum n = Decode(*this);
    if (n.rank != Rank::Double) {
        return static_cast<std::int32_t>(n.i);
    }
    return static_cast<std::int32_t>(RoundToLong(n.d));
}

std::int16_t CVariant::ToInteger() const {
    const SNum n = Decode(*this);
    const double r = n.rank == Rank::Double ? RoundHalfEven(n.d) : static_cast<double>(n.i);
    if (!(r >= INT16_MIN && r <= INT16_MAX)) {
        Raise(err::kOverflow);
    }
    return static_cast<std::int16_t>(r);
}

std::uint8_t CVariant::ToByte() const {
    const SNum n = Decode(*this);
    const double r = n.rank == Rank::Double ? RoundHalfEven(n.d) : static_cast<double>(n.i);
    if (!(r >= 0 && r <= 255)) {
        Raise(err::kOverflow);
    }
    return static_cast<std::uint8_t>(r);
}

bool CVariant::ToBool() const {
    if (IsBool()) {
        return AsBool();
    }
    if (IsString()) {
        const QString trimmed = AsString().trimmed();
        if (trimmed.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) {
            return true;
        }
        if (trimmed.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) {
            return false;
        }
    }
    return AsDoubleOf(Decode(*this)) != 0.0;
}

QString CVariant::ToString() const {
    switch (Type()) {
        case VarType::Empty:
            return {};
        case VarType::Null:
            Raise(err::kInvalidNull);
        case VarType::Boolean:
            return AsBool() ? QStringLiteral("True") : QStringLiteral("False");
        case VarType::Byte:
            return QString::number(AsByte());
        case VarType::Integer:
            return QString::number(AsInteger());
        case VarType::Long:
            return QString::number(AsLong());
        case VarType::Double:
            return FormatDouble(AsDouble());
        case VarType::String:
            return AsString();
        default:
            Raise(err::kTypeMismatch);
    }
}

CVariant CVariant::ToNumeric() const {
    const SNum n = Decode(*this);
    switch (n.rank) {
        case Rank::Empty:
            return Integer(0);
        case Rank::Double:
            return Double(n.d);
        default:
            return IsBool() ? Integer(static_cast<std::int16_t>(n.i)) : *this;
    }
}

CVariant CVariant::Copy() const {
    if (IsArray() && AsArray()) {
        return CVariant(AsArray()->DeepCopy());
    }
    return *this;
}

QString CVariant::TypeName() const {
    switch (Type()) {
        case VarType::Empty:
            return QStringLiteral("Empty");
        case VarType::Null:
            return QStringLiteral("Null");
        case VarType::Boolean:
            return QStringLiteral("Boolean");
        case VarType::Byte:
            return QStringLiteral("Byte");
        case VarType::Integer:
            return QStringLiteral("Integer");
        case VarType::Long:
            return QStringLiteral("Long");
        case VarType::Double:
            return QStringLiteral("Double");
        case VarType::String:
            return QStringLiteral("String");
        case VarType::Object:
            return AsObject() ? AsObject()->TypeName() : QStringLiteral("Nothing");
        default:
            return QStringLiteral("Variant()");
    }
}

// ---- CArray ------------------------------------------------------------------------------------

namespace {

constexpr std::size_t kMaxDimensions = 60;

// The element count of those bounds, refusing what no script should need.
std::size_t ElementCount(const std::vector<std::int32_t>& upperBounds) {
    if (upperBounds.size() > kMaxDimensions) {
        Raise(err::kSubscriptOutOfRange);
    }
    if (upperBounds.empty()) {
        return 0;
    }
    bool anyEmpty = false;
    for (const std::int32_t bound : upperBounds) {
        if (bound < -1) {
            Raise(err::kSubscriptOutOfRange);
        }
        anyEmpty = anyEmpty || bound == -1;
    }
    if (anyEmpty) {
        return 0;
    }
    std::size_t count = 1;
    for (const std::int32_t bound : upperBounds) {
        const auto extent = static_cast<std::size_t>(bound) + 1;
        if (extent > kMaxArrayElements || count * extent > kMaxArrayElements) {
            Raise(err::kOutOfMemory);
        }
        count *= extent;
    }
    return count;
}

}  // namespace

CArray::CArray(std::vector<std::int32_t> upperBounds) {
    m_items.resize(ElementCount(upperBounds));
    m_upper = std::move(upperBounds);
}

ArrayPtr CArray::FromItems(std::vector<CVariant> items) {
    if (items.size() > kMaxArrayElements) {
        Raise(err::kOutOfMemory);
    }
    auto array = std::make_shared<CArray>(
        std::vector<std::int32_t>{static_cast<std::int32_t>(items.size()) - 1});
    array->m_items = std::move(items);
    return array;
}

std::int32_t CArray::UpperBound(int dimension) const {
    if (dimension < 1 || dimension > Dimensions()) {
        Raise(err::kSubscriptOutOfRange);
    }
    return m_upper[static_cast<std::size_t>(dimension - 1)];
}

CVariant& CArray::At(std::span<const std::int32_t> indexes) {
    if (indexes.size() != m_upper.size() || m_upper.empty()) {
        Raise(err::kSubscriptOutOfRange);
    }
    std::size_t offset = 0;
    for (std::size_t d = m_upper.size(); d-- > 0;) {
        if (indexes[d] < 0 || indexes[d] > m_upper[d]) {
            Raise(err::kSubscriptOutOfRange);
        }
        offset = offset * (static_cast<std::size_t>(m_upper[d]) + 1) +
                 static_cast<std::size_t>(indexes[d]);
    }
    return m_items[offset];
}

void CArray::Resize(std::vector<std::int32_t> upperBounds, bool preserve) {
    const std::size_t count = ElementCount(upperBounds);
    if (preserve && !m_upper.empty()) {
        if (upperBounds.size() != m_upper.size() ||
            !std::equal(m_upper.begin(), m_upper.end() - 1, upperBounds.begin())) {
            Raise(err::kSubscriptOutOfRange);
        }
        // The last index varies slowest, so the kept elements are a prefix.
        m_items.resize(count);
    } else {
        std::vector<CVariant> fresh(count);
        m_items.swap(fresh);
    }
    m_upper = std::move(upperBounds);
}

ArrayPtr CArray::DeepCopy() const {
    auto copy = std::make_shared<CArray>(*this);
    for (CVariant& item : copy->m_items) {
        item = item.Copy();
    }
    return copy;
}

// ---- Operators ---------------------------------------------------------------------------------

namespace ops {

CVariant Add(const CVariant& a, const CVariant& b) {
    if (a.IsString() && (b.IsString() || b.IsEmpty())) {
        return CheckedJoin(a.AsString(), b.IsString() ? b.AsString() : QString());
    }
    if (a.IsEmpty() && b.IsString()) {
        return b;
    }
    return Arithmetic(
        a, b, [](std::int64_t x, std::int64_t y) { return x + y; },
        [](double x, double y) { return x + y; });
}

CVariant Subtract(const CVariant& a, const CVariant& b) {
    return Arithmetic(
        a, b, [](std::int64_t x, std::int64_t y) { return x - y; },
        [](double x, double y) { return x - y; });
}

CVariant Multiply(const CVariant& a, const CVariant& b) {
    return Arithmetic(
        a, b, [](std::int64_t x, std::int64_t y) { return x * y; },
        [](double x, double y) { return x * y; });
}

CVariant Divide(const CVariant& a, const CVariant& b) {
    if (a.IsNull() || b.IsNull()) {
        return CVariant::Null();
    }
    const double x = AsDoubleOf(Decode(a));
    const double y = AsDoubleOf(Decode(b));
    if (y == 0.0) {
        // 0/0 has no value at all, which VBScript reports as an overflow.
        Raise(x == 0.0 ? err::kOverflow : err::kDivisionByZero);
    }
    return FromDouble(x / y);
}

CVariant IntDivide(const CVariant& a, const CVariant& b) {
    return WholeArithmetic(a, b, [](std::int64_t x, std::int64_t y) { return x / y; });
}

CVariant Modulo(const CVariant& a, const CVariant& b) {
    return WholeArithmetic(a, b, [](std::int64_t x, std::int64_t y) { return x % y; });
}

CVariant Power(const CVariant& a, const CVariant& b) {
    if (a.IsNull() || b.IsNull()) {
        return CVariant::Null();
    }
    const double x = AsDoubleOf(Decode(a));
    const double y = AsDoubleOf(Decode(b));
    const double result = std::pow(x, y);
    if (std::isnan(result) || (x == 0.0 && y < 0.0)) {
        Raise(err::kInvalidCall);
    }
    return FromDouble(result);
}

CVariant Concat(const CVariant& a, const CVariant& b) {
    if (a.IsNull() && b.IsNull()) {
        return CVariant::Null();
    }
    const QString left = a.IsNull() ? QString() : a.ToString();
    const QString right = b.IsNull() ? QString() : b.ToString();
    return CheckedJoin(left, right);
}

CVariant Negate(const CVariant& a) {
    if (a.IsNull()) {
        return CVariant::Null();
    }
    const SNum n = Decode(a);
    if (n.rank == Rank::Double) {
        return CVariant::Double(-n.d);
    }
    // Negating a Byte can leave its range, so it is an Integer operation.
    return FitInteger(-n.i, std::max(n.rank, Rank::Integer));
}

CVariant Not(const CVariant& a) {
    if (a.IsNull()) {
        return CVariant::Null();
    }
    const SNum n = DecodeLogical(a);
    return LogicalResult(~n.i, n, n);
}

CVariant And(const CVariant& a, const CVariant& b) {
    if (a.IsNull() && b.IsNull()) {
        return CVariant::Null();
    }
    if (a.IsNull() || b.IsNull()) {
        // A false side decides the result whatever the unknown one is.
        const SNum known = DecodeLogical(a.IsNull() ? b : a);
        return known.i == 0 ? Alone(known) : CVariant::Null();
    }
    return Logical(a, b, [](std::int64_t x, std::int64_t y) { return x & y; });
}

CVariant Or(const CVariant& a, const CVariant& b) {
    if (a.IsNull() && b.IsNull()) {
        return CVariant::Null();
    }
    if (a.IsNull() || b.IsNull()) {
        const SNum known = DecodeLogical(a.IsNull() ? b : a);
        return IsAllOnes(known) ? Alone(known) : CVariant::Null();
    }
    return Logical(a, b, [](std::int64_t x, std::int64_t y) { return x | y; });
}

CVariant Xor(const CVariant& a, const CVariant& b) {
    if (a.IsNull() || b.IsNull()) {
        if (!a.IsNull()) {
            DecodeLogical(a);
        }
        if (!b.IsNull()) {
            DecodeLogical(b);
        }
        return CVariant::Null();
    }
    return Logical(a, b, [](std::int64_t x, std::int64_t y) { return x ^ y; });
}

CVariant Eqv(const CVariant& a, const CVariant& b) {
    if (a.IsNull() || b.IsNull()) {
        if (!a.IsNull()) {
            DecodeLogical(a);
        }
        if (!b.IsNull()) {
            DecodeLogical(b);
        }
        return CVariant::Null();
    }
    return Logical(a, b, [](std::int64_t x, std::int64_t y) { return ~(x ^ y); });
}

CVariant Imp(const CVariant& a, const CVariant& b) {
    if (a.IsNull() && b.IsNull()) {
        return CVariant::Null();
    }
    if (a.IsNull()) {
        // Anything implies a true conclusion.
        const SNum y = DecodeLogical(b);
        return IsAllOnes(y) ? Alone(y) : CVariant::Null();
    }
    if (b.IsNull()) {
        // A false premise implies anything.
        const SNum x = DecodeLogical(a);
        if (x.i != 0) {
            return CVariant::Null();
        }
        SNum ones = x;
        ones.i = AllOnes(x.rank);
        return Alone(ones);
    }
    return Logical(a, b, [](std::int64_t x, std::int64_t y) { return ~x | y; });
}

std::optional<int> CompareValues(const CVariant& a, const CVariant& b, bool textCompare) {
    if (a.IsNull() || b.IsNull()) {
        return std::nullopt;
    }
    const auto kindOf = [](const CVariant& v) {
        switch (v.Type()) {
            case VarType::String:
                return Kind::String;
            case VarType::Object:
            case VarType::Array:
                Raise(err::kTypeMismatch);
            default:
                return Kind::Number;
        }
    };
    Kind ka = kindOf(a);
    Kind kb = kindOf(b);
    // Empty meets a string as "" and a number as 0.
    if (a.IsEmpty() && kb == Kind::String) {
        ka = Kind::String;
    }
    if (b.IsEmpty() && ka == Kind::String) {
        kb = Kind::String;
    }
    if (ka == Kind::String && kb == Kind::String) {
        const QString left = a.IsEmpty() ? QString() : a.AsString();
        const QString right = b.IsEmpty() ? QString() : b.AsString();
        const int c =
            QString::compare(left, right, textCompare ? Qt::CaseInsensitive : Qt::CaseSensitive);
        return (c > 0) - (c < 0);
    }
    if (ka != kb) {
        return ka == Kind::Number ? -1 : 1;
    }
    const double x = a.ToDouble();
    const double y = b.ToDouble();
    return (x > y) - (x < y);
}

CVariant Compare(Comparison op, const CVariant& a, const CVariant& b) {
    const std::optional<int> c = CompareValues(a, b);
    if (!c) {
        return CVariant::Null();
    }
    switch (op) {
        case Comparison::Equal:
            return CVariant(*c == 0);
        case Comparison::NotEqual:
            return CVariant(*c != 0);
        case Comparison::Less:
            return CVariant(*c < 0);
        case Comparison::Greater:
            return CVariant(*c > 0);
        case Comparison::LessEqual:
            return CVariant(*c <= 0);
        case Comparison::GreaterEqual:
            return CVariant(*c >= 0);
    }
    return CVariant(false);
}

bool Is(const CVariant& a, const CVariant& b) {
    if (!a.IsObject() || !b.IsObject()) {
        Raise(err::kObjectRequired);
    }
    if (!a.AsObject() || !b.AsObject()) {
        return !a.AsObject() && !b.AsObject();
    }
    return a.AsObject()->Identity() == b.AsObject()->Identity();
}

}  // namespace ops

// ---- Numbers and text --------------------------------------------------------------------------

namespace {

bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

// "&H"/"&O" digits as VBScript reads them: up to 16 bits is an Integer, up to 32 a Long, so
// "&HFFFF" is -1.
std::optional<double> ParseRadix(QStringView digits, int radix) {
    if (digits.isEmpty()) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (const QChar c : digits) {
        const int digit = c.isDigit() ? c.digitValue()
                          : (c.toLower() >= u'a' && c.toLower() <= u'f')
                              ? c.toLower().unicode() - u'a' + 10
                              : 99;
        if (digit >= radix) {
            return std::nullopt;
        }
        value = value * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(digit);
        if (value > 0xFFFFFFFFu) {
            return std::nullopt;
        }
    }
    if (value <= 0xFFFF) {
        return static_cast<double>(static_cast<std::int16_t>(value));
    }
    return static_cast<double>(static_cast<std::int32_t>(value));
}

}  // namespace

std::optional<double> ParseNumber(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && IsBlank(text[end - 1])) {
        --end;
    }
    const QStringView s = text.mid(begin, end - begin);
    if (s.size() >= 2 && s[0] == u'&') {
        const QChar marker = s[1].toUpper();
        if (marker == u'H') {
            return ParseRadix(s.mid(2), 16);
        }
        if (marker == u'O') {
            return ParseRadix(s.mid(2), 8);
        }
        return ParseRadix(s.mid(1), 8);
    }

    qsizetype i = 0;
    std::string canonical;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
        if (s[i] == u'-') {
            canonical += '-';
        }
        ++i;
    }
    std::string whole;
    std::string fraction;
    while (i < s.size() && s[i] >= u'0' && s[i] <= u'9') {
        whole += static_cast<char>(s[i].unicode());
        ++i;
    }
    if (i < s.size() && s[i] == u'.') {
        ++i;
        while (i < s.size() && s[i] >= u'0' && s[i] <= u'9') {
            fraction += static_cast<char>(s[i].unicode());
            ++i;
        }
    }
    if (whole.empty() && fraction.empty()) {
        return std::nullopt;
    }
    std::string exponent;
    if (i < s.size() && (s[i] == u'e' || s[i] == u'E' || s[i] == u'd' || s[i] == u'D')) {
        ++i;
        if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
            exponent += static_cast<char>(s[i].unicode());
            ++i;
        }
        const std::size_t signLength = exponent.size();
        while (i < s.size() && s[i] >= u'0' && s[i] <= u'9') {
            exponent += static_cast<char>(s[i].unicode());
            ++i;
        }
        if (exponent.size() == signLength) {
            return std::nullopt;
        }
    }
    if (i != s.size()) {
        return std::nullopt;
    }
    canonical += whole.empty() ? "0" : whole;
    canonical += '.';
    canonical += fraction.empty() ? "0" : fraction;
    if (!exponent.empty()) {
        canonical += 'e';
        canonical += exponent;
    }
    double value = 0.0;
    const auto [ptr, ec] =
        std::from_chars(canonical.data(), canonical.data() + canonical.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Too small to hold is zero; too large is an overflow for the caller to report.
        const bool tiny = !exponent.empty() && exponent[0] == '-';
        const double magnitude = tiny ? 0.0 : std::numeric_limits<double>::infinity();
        return canonical[0] == '-' ? -magnitude : magnitude;
    }
    if (ec != std::errc() || ptr != canonical.data() + canonical.size()) {
        return std::nullopt;
    }
    return value;
}

QString FormatDouble(double value) {
    if (value == 0.0) {
        return QStringLiteral("0");
    }
    if (std::isnan(value)) {
        return QStringLiteral("NaN");
    }
    if (std::isinf(value)) {
        return value > 0 ? QStringLiteral("Infinity") : QStringLiteral("-Infinity");
    }
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    const std::string text(buffer, result.ptr);
    const bool negative = text[0] == '-';
    const std::size_t mantissaStart = negative ? 1 : 0;
    const std::size_t ePos = text.find('e');
    std::string digits;
    for (std::size_t k = mantissaStart; k < ePos; ++k) {
        if (text[k] != '.') {
            digits += text[k];
        }
    }
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }
    const int exponent = std::stoi(text.substr(ePos + 1));

    std::string out = negative ? "-" : "";
    if (exponent < -4 || exponent >= 15) {
        out += digits[0];
        if (digits.size() > 1) {
            out += '.';
            out += digits.substr(1);
        }
        const int magnitude = std::abs(exponent);
        out += exponent < 0 ? "E-" : "E+";
        if (magnitude < 10) {
            out += '0';
        }
        out += std::to_string(magnitude);
    } else if (exponent < 0) {
        out += "0.";
        out += std::string(static_cast<std::size_t>(-exponent - 1), '0');
        out += digits;
    } else {
        const auto wholeDigits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= wholeDigits) {
            out += digits;
            out += std::string(wholeDigits - digits.size(), '0');
        } else {
            out += digits.substr(0, wholeDigits);
            out += '.';
            out += digits.substr(wholeDigits);
        }
    }
    return QString::fromLatin1(out.data(), static_cast<qsizetype>(out.size()));
}

double RoundHalfEven(double value) {
    if (!std::isfinite(value)) {
        return value;
    }
    const double floor = std::floor(value);
    const double diff = value - floor;
    if (diff > 0.5) {
        return floor + 1.0;
    }
    if (diff < 0.5) {
        return floor;
    }
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

CVariant DefaultValue(const CVariant& value) {
    if (!value.IsObject()) {
        return value;
    }
    if (!value.AsObject()) {
        throw CScriptError(err::kObjectNotSet);
    }
    CVariant inner = value.AsObject()->Invoke(QString(), {}, InvokeKind::Get);
    if (inner.IsObject()) {
        throw CScriptError(err::kTypeMismatch);
    }
    return inner;
}

// Defined here, where CVariant is complete: most objects are no collections.
std::optional<std::vector<CVariant>> IScriptObject::Items() {
    return std::nullopt;
}

}  // namespace vbs
