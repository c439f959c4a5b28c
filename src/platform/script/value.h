#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <variant>
#include <vector>

#include <QString>

#include "platform/script/object.h"

namespace vbs {

// VarType() numbers of the subtypes the engine has.
enum class VarType : int {
    Empty = 0,
    Null = 1,
    Integer = 2,
    Long = 3,
    Double = 5,
    String = 8,
    Object = 9,
    Boolean = 11,
    Variant = 12,
    Byte = 17,
    Array = 8192,  // VarType of an array is Array | Variant (8204)
};

class CArray;
using ArrayPtr = std::shared_ptr<CArray>;

// The Variant: every value a script holds. An Object variant with no object is Nothing.
// Copying a CVariant shares an array; VBScript arrays are values, so whoever stores a value
// (assignment, ByVal argument) calls Copy().
class CVariant {
public:
    struct SNull {
        bool operator==(const SNull&) const = default;
    };

    CVariant() = default;  // Empty
    CVariant(bool value) : m_value(value) {}
    CVariant(QString value) : m_value(std::move(value)) {}
    CVariant(ObjectPtr object) : m_value(std::move(object)) {}
    CVariant(ArrayPtr array) : m_value(std::move(array)) {}

    static CVariant Null() { return FromStorage(SNull{}); }
    static CVariant Nothing() { return CVariant(ObjectPtr{}); }
    static CVariant Byte(std::uint8_t value) { return FromStorage(value); }
    static CVariant Integer(std::int16_t value) { return FromStorage(value); }
    static CVariant Long(std::int32_t value) { return FromStorage(value); }
    static CVariant Double(double value) { return FromStorage(value); }
    // The narrowest of Integer, Long and Double that holds `value`.
    static CVariant Number(std::int64_t value) {
        if (value >= INT16_MIN && value <= INT16_MAX) {
            return Integer(static_cast<std::int16_t>(value));
        }
        if (value >= INT32_MIN && value <= INT32_MAX) {
            return Long(static_cast<std::int32_t>(value));
        }
        return Double(static_cast<double>(value));
    }
    static CVariant String(QString value) { return CVariant(std::move(value)); }

    VarType Type() const;  // Array for arrays, Object for objects and Nothing
    bool IsEmpty() const { return std::holds_alternative<std::monostate>(m_value); }
    bool IsNull() const { return std::holds_alternative<SNull>(m_value); }
    bool IsString() const { return std::holds_alternative<QString>(m_value); }
    bool IsBool() const { return std::holds_alternative<bool>(m_value); }
    bool IsObject() const { return std::holds_alternative<ObjectPtr>(m_value); }  // Nothing too
    bool IsNothing() const { return IsObject() && !AsObject(); }
    bool IsArray() const { return std::holds_alternative<ArrayPtr>(m_value); }
    // Byte, Integer, Long or Double (not Boolean, not a numeric string).
    bool IsNumber() const;

    // Direct access; the variant must hold that subtype.
    bool AsBool() const { return std::get<bool>(m_value); }
    std::uint8_t AsByte() const { return std::get<std::uint8_t>(m_value); }
    std::int16_t AsInteger() const { return std::get<std::int16_t>(m_value); }
    std::int32_t AsLong() const { return std::get<std::int32_t>(m_value); }
    double AsDouble() const { return std::get<double>(m_value); }
    const QString& AsString() const { return std::get<QString>(m_value); }
    const ObjectPtr& AsObject() const { return std::get<ObjectPtr>(m_value); }
    const ArrayPtr& AsArray() const { return std::get<ArrayPtr>(m_value); }

    // VBScript's conversions. They throw CScriptError: Null gives kInvalidNull, a string that is
    // no number or an object or array gives kTypeMismatch, a number out of range kOverflow.
    double ToDouble() const;
    std::int32_t ToLong() const;     // rounds half to even, as CLng
    std::int16_t ToInteger() const;  // rounds half to even, as CInt
    std::uint8_t ToByte() const;
    bool ToBool() const;       // numbers: non-zero; strings: "True"/"False" or a number
    QString ToString() const;  // as CStr: True -> "True", 1.5 -> "1.5", Empty -> ""
    // The value as a number variant (Empty -> Integer 0, Boolean -> Integer -1/0, numeric
    // string -> Double), for arithmetic.
    CVariant ToNumeric() const;

    // A copy that owns its own array elements (nested arrays too).
    CVariant Copy() const;

    // TypeName(): "Empty", "Null", "Integer", "Long", "Double", "String", "Boolean", "Byte",
    // "Nothing", the object's own type name, "Variant()" for arrays.
    QString TypeName() const;

private:
    using Storage = std::variant<std::monostate, SNull, bool, std::uint8_t, std::int16_t,
                                 std::int32_t, double, QString, ObjectPtr, ArrayPtr>;
    template <typename T>
    static CVariant FromStorage(T value) {
        CVariant v;
        v.m_value = std::move(value);
        return v;
    }

    Storage m_value;
};

// An array with a zero lower bound in every dimension (VBScript has no other).
class CArray {
public:
    // Upper bounds per dimension; -1 makes a dimension empty. At most 60 dimensions.
    explicit CArray(std::vector<std::int32_t> upperBounds);
    // A one-dimensional array holding `items`.
    static ArrayPtr FromItems(std::vector<CVariant> items);

    int Dimensions() const { return static_cast<int>(m_upper.size()); }
    std::int32_t UpperBound(int dimension) const;  // dimension is 1-based; kSubscriptOutOfRange
    std::size_t Size() const { return m_items.size(); }

    // The element at `indexes` (one per dimension); kSubscriptOutOfRange otherwise.
    CVariant& At(std::span<const std::int32_t> indexes);
    // The elements with the first index varying fastest, the order For Each walks them in.
    std::vector<CVariant>& Items() { return m_items; }
    const std::vector<CVariant>& Items() const { return m_items; }

    // ReDim: new bounds. With `preserve` only the last dimension may change (else
    // kSubscriptOutOfRange) and the kept elements stay.
    void Resize(std::vector<std::int32_t> upperBounds, bool preserve);

    ArrayPtr DeepCopy() const;

private:
    std::vector<std::int32_t> m_upper;
    std::vector<CVariant> m_items;
};

// The operators, with VBScript's coercions: numeric results widen Integer -> Long -> Double on
// overflow, Null propagates, "+" joins two strings, comparisons of two strings are binary.
namespace ops {
CVariant Add(const CVariant& a, const CVariant& b);
CVariant Subtract(const CVariant& a, const CVariant& b);
CVariant Multiply(const CVariant& a, const CVariant& b);
CVariant Divide(const CVariant& a, const CVariant& b);     // always Double; 0 -> kDivisionByZero
CVariant IntDivide(const CVariant& a, const CVariant& b);  // operands rounded to integers first
CVariant Modulo(const CVariant& a, const CVariant& b);     // sign of the dividend
CVariant Power(const CVariant& a, const CVariant& b);
CVariant Concat(const CVariant& a, const CVariant& b);  // Null & Null is Null
CVariant Negate(const CVariant& a);
CVariant Not(const CVariant& a);  // bitwise on numbers, logical on Booleans
CVariant And(const CVariant& a, const CVariant& b);
CVariant Or(const CVariant& a, const CVariant& b);
CVariant Xor(const CVariant& a, const CVariant& b);
CVariant Eqv(const CVariant& a, const CVariant& b);
CVariant Imp(const CVariant& a, const CVariant& b);

enum class Comparison { Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual };
// True/False, or Null when either side is Null.
CVariant Compare(Comparison op, const CVariant& a, const CVariant& b);
// -1, 0 or 1 in VBScript's ordering; nullopt when either side is Null. `textCompare` compares
// strings without regard to case.
std::optional<int> CompareValues(const CVariant& a, const CVariant& b, bool textCompare = false);
// The "Is" operator: both must be objects (or Nothing).
bool Is(const CVariant& a, const CVariant& b);
}  // namespace ops

// The value an object stands for where a value is wanted: its default member (Err is Err.Number).
// Other values come back as they are. Nothing raises kObjectNotSet; an object without a default
// member raises what its Invoke raises (kNoSuchMember).
CVariant DefaultValue(const CVariant& value);

// A string as VBScript reads a number: blanks around it, a sign, decimals with ".", an
// exponent, "&H"/"&O" integers. nullopt when it is not a number.
std::optional<double> ParseNumber(QStringView text);
// A Double as CStr writes it: up to 15 significant digits, no trailing zeros, "E+nn" exponents
// beyond that range ("1E+20", "1.5E-07").
QString FormatDouble(double value);
// Round half to even, as CInt, CLng and Round do.
double RoundHalfEven(double value);

}  // namespace vbs
