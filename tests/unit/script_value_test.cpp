#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

#include "platform/script/errors.h"
#include "platform/script/value.h"
#include "script_variant_expect.h"

#include <gtest/gtest.h>

namespace vbs {
namespace {

using testing_support::SExpect;
using testing_support::Yields;

using testing_support::B;
using testing_support::By;
using testing_support::D;
using testing_support::E;
using testing_support::I;
using testing_support::L;
using testing_support::N;
using testing_support::S;

SExpect Err(int number) {
    return SExpect::Error(number);
}

// Test names from the rows' own names.
struct RowName {
    template <typename Row>
    std::string operator()(const ::testing::TestParamInfo<Row>& param) const {
        return param.param.name;
    }
};

CVariant Arr(std::vector<CVariant> items) {
    return CVariant(CArray::FromItems(std::move(items)));
}

// An object whose identity can be shared by several wrappers, as DOM nodes do.
class CFakeObject : public IScriptObject {
public:
    explicit CFakeObject(const void* identity = nullptr) : m_identity(identity) {}
    QString TypeName() const override { return QStringLiteral("FakeObject"); }
    CVariant Invoke(const QString&, std::span<const CVariant>, InvokeKind) override {
        throw CScriptError(err::kNoSuchMember);
    }
    const void* Identity() const override { return m_identity ? m_identity : this; }

private:
    const void* m_identity;
};

CVariant Obj(const void* identity = nullptr) {
    return CVariant(ObjectPtr(std::make_shared<CFakeObject>(identity)));
}

// ---- Binary operators --------------------------------------------------------------------------

using BinaryOp = CVariant (*)(const CVariant&, const CVariant&);

struct SBinaryRow {
    const char* name;
    BinaryOp op;
    CVariant a;
    CVariant b;
    SExpect expected;
};

void PrintTo(const SBinaryRow& row, std::ostream* os) {
    *os << row.name;
}

class BinaryOperatorTest : public ::testing::TestWithParam<SBinaryRow> {};

TEST_P(BinaryOperatorTest, GivesValueAndSubtype) {
    const SBinaryRow& row = GetParam();
    EXPECT_TRUE(Yields([&] { return row.op(row.a, row.b); }, row.expected))
        << Describe(row.a) << " op " << Describe(row.b);
}

const double kThird = 1.0 / 3.0;

INSTANTIATE_TEST_SUITE_P(
    Arithmetic, BinaryOperatorTest,
    ::testing::ValuesIn(std::vector<SBinaryRow>{
        {"IntPlusInt", ops::Add, I(1), I(2), I(3)},
        {"IntPlusIntOverflowsToLong", ops::Add, I(32767), I(1), L(32768)},
        {"NegativeIntOverflowsToLong", ops::Add, I(-32768), I(-1), L(-32769)},
        {"LongPlusLongOverflowsToDouble", ops::Add, L(2147483647), L(1), D(2147483648.0)},
        {"BytePlusByteStaysByte", ops::Add, By(200), By(55), By(255)},
        {"BytePlusByteOverflowsToInteger", ops::Add, By(200), By(56), I(256)},
        {"BytePlusIntIsInteger", ops::Add, By(1), I(1), I(2)},
        {"BoolPlusBoolIsInteger", ops::Add, B(true), B(true), I(-2)},
        {"BoolPlusByteIsInteger", ops::Add, B(true), By(1), I(0)},
        {"EmptyPlusEmptyIsInteger", ops::Add, E(), E(), I(0)},
        {"EmptyTakesTheByteType", ops::Add, E(), By(5), By(5)},
        {"EmptyTakesTheLongType", ops::Add, L(5), E(), L(5)},
        {"NullPlusNumberIsNull", ops::Add, N(), I(1), N()},
        {"NumberPlusNullIsNull", ops::Add, I(1), N(), N()},
        {"NullPlusStringIsNull", ops::Add, N(), S("a"), N()},
        {"NumericStringPlusIntIsDouble", ops::Add, S("1"), I(1), D(2)},
        {"IntPlusBlankPaddedString", ops::Add, I(1), S(" 2 "), D(3)},
        {"StringPlusStringJoins", ops::Add, S("1"), S("1"), S("11")},
        {"StringPlusEmptyIsString", ops::Add, S("a"), E(), S("a")},
        {"EmptyPlusStringIsString", ops::Add, E(), S("a"), S("a")},
        {"TextPlusNumberMismatches", ops::Add, S("abc"), I(1), Err(err::kTypeMismatch)},
        {"DoublePlusInt", ops::Add, D(0.5), I(1), D(1.5)},
        {"LongPlusDouble", ops::Add, L(100000), D(0.25), D(100000.25)},
        {"DoubleOverflowRaises", ops::Add, D(1e308), D(1e308), Err(err::kOverflow)},
        {"NothingPlusNumberMismatches", ops::Add, CVariant::Nothing(), I(1),
         Err(err::kTypeMismatch)},
        {"ArrayPlusNumberMismatches", ops::Add, Arr({I(1)}), I(1), Err(err::kTypeMismatch)},
        {"ByteMinusByteGoesNegativeAsInteger", ops::Subtract, By(1), By(2), I(-1)},
        {"ByteMinusByteToZeroStaysByte", ops::Subtract, By(5), By(5), By(0)},
        {"IntMinusIntOverflowsToLong", ops::Subtract, I(-32768), I(1), L(-32769)},
        {"LongMinusLongOverflowsToDouble", ops::Subtract, L(INT32_MIN), L(1), D(-2147483649.0)},
        {"StringMinusStringIsDouble", ops::Subtract, S("5"), S("2"), D(3)},
        {"EmptyMinusInt", ops::Subtract, E(), I(1), I(-1)},
        {"NullMinusInt", ops::Subtract, N(), I(1), N()},
        {"IntTimesIntOverflowsToLong", ops::Multiply, I(200), I(200), L(40000)},
        {"LongTimesLongOverflowsToDouble", ops::Multiply, L(65536), L(65536), D(4294967296.0)},
        {"ByteTimesByteOverflowsToInteger", ops::Multiply, By(16), By(16), I(256)},
        {"DoubleTimesInt", ops::Multiply, D(1.5), I(2), D(3)},
        {"BoolTimesInt", ops::Multiply, B(true), I(5), I(-5)},
        {"IntOverIntIsDouble", ops::Divide, I(1), I(2), D(0.5)},
        {"ExactQuotientIsStillDouble", ops::Divide, I(6), I(3), D(2)},
        {"StringsDivide", ops::Divide, S("9"), S("3"), D(3)},
        {"DivideByZero", ops::Divide, I(1), I(0), Err(err::kDivisionByZero)},
        {"DivideByEmpty", ops::Divide, D(1), E(), Err(err::kDivisionByZero)},
        {"ZeroOverZeroOverflows", ops::Divide, I(0), I(0), Err(err::kOverflow)},
        {"NullOverZeroIsNull", ops::Divide, N(), I(0), N()},
        {"IntDivide", ops::IntDivide, I(7), I(2), I(3)},
        {"IntDivideTruncatesNegative", ops::IntDivide, I(-7), I(2), I(-3)},
        {"IntDivideRoundsDividendFirst", ops::IntDivide, D(5.5), I(2), L(3)},
        {"IntDivideRoundsHalfToEven", ops::IntDivide, D(2.5), I(1), L(2)},
        {"IntDivideByZero", ops::IntDivide, I(7), I(0), Err(err::kDivisionByZero)},
        {"IntDivideByDivisorRoundedToZero", ops::IntDivide, D(7), D(0.4),
         Err(err::kDivisionByZero)},
        {"IntDivideLongs", ops::IntDivide, L(100000), I(3), L(33333)},
        {"IntDivideBytes", ops::IntDivide, By(9), By(2), By(4)},
        {"IntDivideOverflowsToLong", ops::IntDivide, I(-32768), I(-1), L(32768)},
        {"IntDivideString", ops::IntDivide, S("7"), I(2), L(3)},
        {"IntDivideNull", ops::IntDivide, N(), I(2), N()},
        {"IntDivideHugeDoubleOverflows", ops::IntDivide, D(3e9), I(2), Err(err::kOverflow)},
        {"ModSignOfNegativeDividend", ops::Modulo, I(-7), I(3), I(-1)},
        {"ModSignOfPositiveDividend", ops::Modulo, I(7), I(-3), I(1)},
        {"ModRoundsOperandsFirst", ops::Modulo, D(5.5), I(4), L(2)},
        {"ModRoundsNegativeOperands", ops::Modulo, D(-5.5), I(4), L(-2)},
        {"ModByZero", ops::Modulo, I(5), I(0), Err(err::kDivisionByZero)},
        {"ModByDivisorRoundedToZero", ops::Modulo, D(5), D(0.4), Err(err::kDivisionByZero)},
        {"ModOfLongMinimum", ops::Modulo, L(INT32_MIN), L(-1), L(0)},
        {"ModNull", ops::Modulo, I(5), N(), N()},
        {"PowerIsDouble", ops::Power, I(2), I(10), D(1024)},
        {"PowerNegativeExponent", ops::Power, I(2), I(-1), D(0.5)},
        {"ZeroToNegativePower", ops::Power, I(0), I(-1), Err(err::kInvalidCall)},
        {"RootOfNegative", ops::Power, I(-8), D(kThird), Err(err::kInvalidCall)},
        {"PowerOverflows", ops::Power, D(10), I(400), Err(err::kOverflow)},
        {"PowerNull", ops::Power, N(), I(2), N()},
    }),
    RowName());

INSTANTIATE_TEST_SUITE_P(
    Concatenation, BinaryOperatorTest,
    ::testing::ValuesIn(std::vector<SBinaryRow>{
        {"NumbersJoinAsText", ops::Concat, I(1), I(2), S("12")},
        {"NullIsEmptyText", ops::Concat, N(), S("x"), S("x")},
        {"NullOnTheRight", ops::Concat, S("x"), N(), S("x")},
        {"NullAndNullIsNull", ops::Concat, N(), N(), N()},
        {"EmptyIsEmptyText", ops::Concat, E(), S("x"), S("x")},
        {"BooleanAsWord", ops::Concat, B(true), S(""), S("True")},
        {"DoubleAsCStr", ops::Concat, D(0.1), S("!"), S("0.1!")},
        {"NothingMismatches", ops::Concat, CVariant::Nothing(), S("x"), Err(err::kTypeMismatch)},
        {"ArrayMismatches", ops::Concat, Arr({}), S("x"), Err(err::kTypeMismatch)},
    }),
    RowName());

INSTANTIATE_TEST_SUITE_P(Logical, BinaryOperatorTest,
                         ::testing::ValuesIn(std::vector<SBinaryRow>{
                             {"TrueAndFalse", ops::And, B(true), B(false), B(false)},
                             {"TrueAndTrue", ops::And, B(true), B(true), B(true)},
                             {"IntAndIntIsBitwise", ops::And, I(12), I(10), I(8)},
                             {"IntSignExtendsToLong", ops::And, I(-1), L(65535), L(65535)},
                             {"ByteAndByteStaysByte", ops::And, By(12), By(10), By(8)},
                             {"BoolAndIntIsInteger", ops::And, B(true), I(5), I(5)},
                             {"DoubleRoundsBeforeAnd", ops::And, D(2.5), I(3), L(2)},
                             {"NullAndFalseIsFalse", ops::And, N(), B(false), B(false)},
                             {"FalseAndNullIsFalse", ops::And, B(false), N(), B(false)},
                             {"NullAndTrueIsNull", ops::And, N(), B(true), N()},
                             {"NullAndZeroIsZero", ops::And, N(), I(0), I(0)},
                             {"NullAndOneIsNull", ops::And, N(), I(1), N()},
                             {"NullAndNullIsNull", ops::And, N(), N(), N()},
                             {"TextAndMismatches", ops::And, S("x"), B(true),
                              Err(err::kTypeMismatch)},
                             {"IntOrInt", ops::Or, I(12), I(3), I(15)},
                             {"TrueOrFalse", ops::Or, B(true), B(false), B(true)},
                             {"NullOrTrueIsTrue", ops::Or, N(), B(true), B(true)},
                             {"TrueOrNullIsTrue", ops::Or, B(true), N(), B(true)},
                             {"NullOrFalseIsNull", ops::Or, N(), B(false), N()},
                             {"NullOrAllBitsIsAllBits", ops::Or, N(), I(-1), I(-1)},
                             {"NullOrSomeBitsIsNull", ops::Or, N(), I(2), N()},
                             {"IntXorInt", ops::Xor, I(12), I(10), I(6)},
                             {"TrueXorTrue", ops::Xor, B(true), B(true), B(false)},
                             {"NullXorTrue", ops::Xor, N(), B(true), N()},
                             {"TrueEqvFalse", ops::Eqv, B(true), B(false), B(false)},
                             {"FalseEqvFalse", ops::Eqv, B(false), B(false), B(true)},
                             {"IntEqvInt", ops::Eqv, I(12), I(10), I(-7)},
                             {"NullEqvTrue", ops::Eqv, N(), B(true), N()},
                             {"TrueImpFalse", ops::Imp, B(true), B(false), B(false)},
                             {"FalseImpFalse", ops::Imp, B(false), B(false), B(true)},
                             {"FalseImpNullIsTrue", ops::Imp, B(false), N(), B(true)},
                             {"TrueImpNullIsNull", ops::Imp, B(true), N(), N()},
                             {"NullImpTrueIsTrue", ops::Imp, N(), B(true), B(true)},
                             {"NullImpFalseIsNull", ops::Imp, N(), B(false), N()},
                             {"IntImpInt", ops::Imp, I(12), I(10), I(-5)},
                             {"StringWordsAreBooleans", ops::And, S("True"), S("false"), B(false)},
                         }),
                         RowName());

// ---- Unary operators ---------------------------------------------------------------------------

using UnaryOp = CVariant (*)(const CVariant&);

struct SUnaryRow {
    const char* name;
    UnaryOp op;
    CVariant a;
    SExpect expected;
};

void PrintTo(const SUnaryRow& row, std::ostream* os) {
    *os << row.name;
}

class UnaryOperatorTest : public ::testing::TestWithParam<SUnaryRow> {};

TEST_P(UnaryOperatorTest, GivesValueAndSubtype) {
    const SUnaryRow& row = GetParam();
    EXPECT_TRUE(Yields([&] { return row.op(row.a); }, row.expected)) << Describe(row.a);
}

INSTANTIATE_TEST_SUITE_P(Rows, UnaryOperatorTest,
                         ::testing::ValuesIn(std::vector<SUnaryRow>{
                             {"NegateInt", ops::Negate, I(5), I(-5)},
                             {"NegateIntMinimumWidens", ops::Negate, I(-32768), L(32768)},
                             {"NegateLongMinimumWidens", ops::Negate, L(INT32_MIN),
                              D(2147483648.0)},
                             {"NegateByteIsInteger", ops::Negate, By(5), I(-5)},
                             {"NegateTrue", ops::Negate, B(true), I(1)},
                             {"NegateEmpty", ops::Negate, E(), I(0)},
                             {"NegateNull", ops::Negate, N(), N()},
                             {"NegateString", ops::Negate, S("3"), D(-3)},
                             {"NegateText", ops::Negate, S("x"), Err(err::kTypeMismatch)},
                             {"NegateDouble", ops::Negate, D(1.5), D(-1.5)},
                             {"NotZero", ops::Not, I(0), I(-1)},
                             {"NotTrue", ops::Not, B(true), B(false)},
                             {"NotFalse", ops::Not, B(false), B(true)},
                             {"NotByte", ops::Not, By(0), By(255)},
                             {"NotLong", ops::Not, L(0), L(-1)},
                             {"NotDoubleRoundsToLong", ops::Not, D(1.4), L(-2)},
                             {"NotEmpty", ops::Not, E(), I(-1)},
                             {"NotNull", ops::Not, N(), N()},
                             {"NotText", ops::Not, S("abc"), Err(err::kTypeMismatch)},
                             {"NotNothing", ops::Not, CVariant::Nothing(), Err(err::kTypeMismatch)},
                         }),
                         RowName());

// ---- Comparisons -------------------------------------------------------------------------------

struct SCompareRow {
    const char* name;
    CVariant a;
    CVariant b;
    bool text;
    std::optional<int> expected;  // nullopt: Null
    int error = 0;
};

void PrintTo(const SCompareRow& row, std::ostream* os) {
    *os << row.name;
}

class CompareValuesTest : public ::testing::TestWithParam<SCompareRow> {};

TEST_P(CompareValuesTest, OrdersAsVBScript) {
    const SCompareRow& row = GetParam();
    try {
        const std::optional<int> actual = ops::CompareValues(row.a, row.b, row.text);
        EXPECT_EQ(row.error, 0) << "no error raised";
        EXPECT_EQ(actual, row.expected);
        // The reverse order must give the reverse answer.
        const std::optional<int> reverse = ops::CompareValues(row.b, row.a, row.text);
        ASSERT_EQ(reverse.has_value(), actual.has_value());
        if (actual) {
            EXPECT_EQ(*reverse, -*actual);
        }
    } catch (const CScriptError& e) {
        EXPECT_EQ(e.Number(), row.error);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, CompareValuesTest,
                         ::testing::ValuesIn(std::vector<SCompareRow>{
                             {"IntEqualsDouble", I(1), D(1.0), false, 0},
                             {"IntBelowLong", I(2), L(10), false, -1},
                             {"ByteEqualsInteger", By(255), I(255), false, 0},
                             {"DoubleFractions", D(0.5), D(0.25), false, 1},
                             {"StringsCompareByCharacter", S("10"), S("9"), false, -1},
                             {"LowerCaseAfterUpperCase", S("a"), S("B"), false, 1},
                             {"BinaryCaseMatters", S("a"), S("A"), false, 1},
                             {"TextCaseIgnored", S("a"), S("A"), true, 0},
                             {"TextStillOrders", S("apple"), S("BANANA"), true, -1},
                             {"PrefixIsLess", S("ab"), S("abc"), false, -1},
                             {"NumberBelowString", I(5), S("5"), false, -1},
                             {"StringAboveNumber", S("1"), I(100), false, 1},
                             {"BooleanBelowString", B(true), S("True"), false, -1},
                             {"EmptyIsEmptyString", E(), S(""), false, 0},
                             {"EmptyBelowText", E(), S("a"), false, -1},
                             {"EmptyIsZero", E(), I(0), false, 0},
                             {"EmptyAboveNegative", E(), I(-1), false, 1},
                             {"EmptyEqualsEmpty", E(), E(), false, 0},
                             {"TrueIsMinusOne", B(true), I(-1), false, 0},
                             {"FalseIsZero", B(false), D(0), false, 0},
                             {"TrueBelowFalse", B(true), B(false), false, -1},
                             {"NullWithNumber", N(), I(1), false, std::nullopt},
                             {"NullWithNull", N(), N(), false, std::nullopt},
                             {"NullWithString", S("a"), N(), false, std::nullopt},
                             {"NothingMismatches", CVariant::Nothing(), I(1), false, 0,
                              err::kTypeMismatch},
                             {"ObjectMismatches", Obj(), S("x"), false, 0, err::kTypeMismatch},
                             {"ArrayMismatches", Arr({}), Arr({}), false, 0, err::kTypeMismatch},
                         }),
                         RowName());

struct SComparisonRow {
    const char* name;
    ops::Comparison op;
    CVariant a;
    CVariant b;
    SExpect expected;
};

void PrintTo(const SComparisonRow& row, std::ostream* os) {
    *os << row.name;
}

class ComparisonOperatorTest : public ::testing::TestWithParam<SComparisonRow> {};

TEST_P(ComparisonOperatorTest, GivesBooleanOrNull) {
    const SComparisonRow& row = GetParam();
    EXPECT_TRUE(Yields([&] { return ops::Compare(row.op, row.a, row.b); }, row.expected));
}

using ops::Comparison;

INSTANTIATE_TEST_SUITE_P(Rows, ComparisonOperatorTest,
                         ::testing::ValuesIn(std::vector<SComparisonRow>{
                             {"TenBelowNineAsText", Comparison::Less, S("10"), S("9"), B(true)},
                             {"TenAboveNineAsNumbers", Comparison::Greater, I(10), I(9), B(true)},
                             {"EqualFalse", Comparison::Equal, I(1), I(2), B(false)},
                             {"NotEqualTrue", Comparison::NotEqual, I(1), I(2), B(true)},
                             {"LessEqualOnEqual", Comparison::LessEqual, D(2), L(2), B(true)},
                             {"GreaterEqualOnLess", Comparison::GreaterEqual, I(1), I(2), B(false)},
                             {"EmptyEqualsEmptyString", Comparison::Equal, E(), S(""), B(true)},
                             {"EmptyEqualsZero", Comparison::Equal, E(), I(0), B(true)},
                             {"NullEqualsNullIsNull", Comparison::Equal, N(), N(), N()},
                             {"NullNotEqualIsNull", Comparison::NotEqual, N(), I(1), N()},
                             {"BinaryIsCaseSensitive", Comparison::Equal, S("a"), S("A"), B(false)},
                             {"ObjectMismatches", Comparison::Equal, Obj(), Obj(),
                              Err(err::kTypeMismatch)},
                         }),
                         RowName());

TEST(IsOperatorTest, ComparesIdentities) {
    const CVariant first = Obj();
    const CVariant copyOfFirst = first;
    int node = 0;
    const CVariant wrapperA = Obj(&node);
    const CVariant wrapperB = Obj(&node);
    const CVariant other = Obj();
    const CVariant nothing = CVariant::Nothing();

    EXPECT_TRUE(ops::Is(first, copyOfFirst));
    EXPECT_TRUE(ops::Is(wrapperA, wrapperB));
    EXPECT_FALSE(ops::Is(first, other));
    EXPECT_TRUE(ops::Is(nothing, CVariant::Nothing()));
    EXPECT_FALSE(ops::Is(first, nothing));
    EXPECT_FALSE(ops::Is(nothing, first));
}

TEST(IsOperatorTest, RequiresObjects) {
    const std::vector<std::pair<CVariant, CVariant>> pairs = {
        {I(1), CVariant::Nothing()}, {CVariant::Nothing(), E()}, {Obj(), N()}, {S("x"), Obj()},
        {Arr({}), Arr({})},
    };
    for (const auto& [a, b] : pairs) {
        try {
            ops::Is(a, b);
            ADD_FAILURE() << Describe(a) << " Is " << Describe(b) << " raised nothing";
        } catch (const CScriptError& e) {
            EXPECT_EQ(e.Number(), err::kObjectRequired) << Describe(a) << " Is " << Describe(b);
        }
    }
}

// ---- Conversions -------------------------------------------------------------------------------

enum class Conversion { Double, Long, Integer, Byte, Bool, String, Numeric };

struct SConversionRow {
    const char* name;
    Conversion to;
    CVariant input;
    SExpect expected;
};

void PrintTo(const SConversionRow& row, std::ostream* os) {
    *os << row.name;
}

CVariant Convert(Conversion to, const CVariant& v) {
    switch (to) {
        case Conversion::Double:
            return D(v.ToDouble());
        case Conversion::Long:
            return L(v.ToLong());
        case Conversion::Integer:
            return I(v.ToInteger());
        case Conversion::Byte:
            return By(v.ToByte());
        case Conversion::Bool:
            return B(v.ToBool());
        case Conversion::String:
            return CVariant(v.ToString());
        case Conversion::Numeric:
            return v.ToNumeric();
    }
    return {};
}

class ConversionTest : public ::testing::TestWithParam<SConversionRow> {};

TEST_P(ConversionTest, ConvertsOrRaises) {
    const SConversionRow& row = GetParam();
    EXPECT_TRUE(Yields([&] { return Convert(row.to, row.input); }, row.expected))
        << Describe(row.input);
}

using C = Conversion;

INSTANTIATE_TEST_SUITE_P(
    Rows, ConversionTest,
    ::testing::ValuesIn(std::vector<SConversionRow>{
        {"StringOfTrue", C::String, B(true), S("True")},
        {"StringOfFalse", C::String, B(false), S("False")},
        {"StringOfEmpty", C::String, E(), S("")},
        {"StringOfNull", C::String, N(), Err(err::kInvalidNull)},
        {"StringOfNothing", C::String, CVariant::Nothing(), Err(err::kTypeMismatch)},
        {"StringOfObject", C::String, Obj(), Err(err::kTypeMismatch)},
        {"StringOfArray", C::String, Arr({S("a")}), Err(err::kTypeMismatch)},
        {"StringOfNegativeInteger", C::String, I(-5), S("-5")},
        {"StringOfByte", C::String, By(255), S("255")},
        {"StringOfLong", C::String, L(-2147483647 - 1), S("-2147483648")},
        {"StringOfSum", C::String, D(0.1 + 0.2), S("0.3")},
        {"StringOfText", C::String, S("x"), S("x")},
        {"DoubleOfPaddedNegative", C::Double, S("  -5 "), D(-5)},
        {"DoubleOfHex", C::Double, S("&H10"), D(16)},
        {"DoubleOfExponent", C::Double, S("1e3"), D(1000)},
        {"DoubleOfEmptyString", C::Double, S(""), Err(err::kTypeMismatch)},
        {"DoubleOfText", C::Double, S("abc"), Err(err::kTypeMismatch)},
        {"DoubleOfHugeText", C::Double, S("1e400"), Err(err::kOverflow)},
        {"DoubleOfEmpty", C::Double, E(), D(0)},
        {"DoubleOfTrue", C::Double, B(true), D(-1)},
        {"DoubleOfNull", C::Double, N(), Err(err::kInvalidNull)},
        {"DoubleOfNothing", C::Double, CVariant::Nothing(), Err(err::kTypeMismatch)},
        {"LongRoundsHalfDown", C::Long, D(2.5), L(2)},
        {"LongRoundsHalfUp", C::Long, D(3.5), L(4)},
        {"LongRoundsNegativeHalf", C::Long, D(-2.5), L(-2)},
        {"LongOfHalfString", C::Long, S("3.5"), L(4)},
        {"LongAtMaximum", C::Long, D(2147483647.4), L(2147483647)},
        {"LongOverflow", C::Long, D(2147483648.0), Err(err::kOverflow)},
        {"LongAtMinimumAfterRounding", C::Long, D(-2147483648.5), L(-2147483647 - 1)},
        {"LongOfNaNlikeText", C::Long, S("abc"), Err(err::kTypeMismatch)},
        {"IntegerOfHalfString", C::Integer, S("3.5"), I(4)},
        {"IntegerRoundsIntoOverflow", C::Integer, D(32767.5), Err(err::kOverflow)},
        {"IntegerAtMinimum", C::Integer, D(-32768.5), I(-32768)},
        {"IntegerOfLargeLong", C::Integer, L(40000), Err(err::kOverflow)},
        {"IntegerOfTrue", C::Integer, B(true), I(-1)},
        {"ByteAtMaximum", C::Byte, I(255), By(255)},
        {"ByteAboveRange", C::Byte, I(256), Err(err::kOverflow)},
        {"ByteBelowRange", C::Byte, I(-1), Err(err::kOverflow)},
        {"ByteRoundsHalfToEven", C::Byte, D(254.5), By(254)},
        {"ByteOfSmallNegative", C::Byte, D(-0.4), By(0)},
        {"BoolOfTrueWord", C::Bool, S("True"), B(true)},
        {"BoolOfLowerFalse", C::Bool, S("false"), B(false)},
        {"BoolOfUpperTrue", C::Bool, S("TRUE"), B(true)},
        {"BoolOfZeroString", C::Bool, S("0"), B(false)},
        {"BoolOfMinusOneString", C::Bool, S("-1"), B(true)},
        {"BoolOfOtherWord", C::Bool, S("yes"), Err(err::kTypeMismatch)},
        {"BoolOfEmpty", C::Bool, E(), B(false)},
        {"BoolOfNull", C::Bool, N(), Err(err::kInvalidNull)},
        {"BoolOfFraction", C::Bool, D(0.1), B(true)},
        {"BoolOfZero", C::Bool, I(0), B(false)},
        {"BoolOfNothing", C::Bool, CVariant::Nothing(), Err(err::kTypeMismatch)},
        {"NumericOfEmpty", C::Numeric, E(), I(0)},
        {"NumericOfTrue", C::Numeric, B(true), I(-1)},
        {"NumericOfString", C::Numeric, S("2"), D(2)},
        {"NumericKeepsByte", C::Numeric, By(3), By(3)},
        {"NumericKeepsLong", C::Numeric, L(70000), L(70000)},
        {"NumericOfText", C::Numeric, S("x"), Err(err::kTypeMismatch)},
        {"NumericOfNull", C::Numeric, N(), Err(err::kInvalidNull)},
    }),
    RowName());

// ---- Numbers as text ---------------------------------------------------------------------------

struct SFormatRow {
    double value;
    const char* text;
};

class FormatDoubleTest : public ::testing::TestWithParam<SFormatRow> {};

TEST_P(FormatDoubleTest, WritesAsCStr) {
    EXPECT_EQ(FormatDouble(GetParam().value).toStdString(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FormatDoubleTest,
    ::testing::Values(SFormatRow{0.1 + 0.2, "0.3"}, SFormatRow{1.0 / 3.0, "0.333333333333333"},
                      SFormatRow{2.0 / 3.0, "0.666666666666667"}, SFormatRow{1e20, "1E+20"},
                      SFormatRow{1.5e-7, "1.5E-07"}, SFormatRow{-0.0, "0"}, SFormatRow{0.0, "0"},
                      SFormatRow{100.0, "100"}, SFormatRow{-2.5, "-2.5"},
                      SFormatRow{1234567.891, "1234567.891"},
                      SFormatRow{123456789012345.0, "123456789012345"}, SFormatRow{1e15, "1E+15"},
                      SFormatRow{1234567890123456789.0, "1.23456789012346E+18"},
                      SFormatRow{0.0001, "0.0001"}, SFormatRow{0.00001, "1E-05"},
                      SFormatRow{-1e-300, "-1E-300"}, SFormatRow{999999999999999.9, "1E+15"},
                      SFormatRow{2147483648.0, "2147483648"}));

struct SParseRow {
    const char* text;
    std::optional<double> value;
};

class ParseNumberTest : public ::testing::TestWithParam<SParseRow> {};

TEST_P(ParseNumberTest, AcceptsOrRejects) {
    const std::optional<double> actual = ParseNumber(QString::fromUtf8(GetParam().text));
    ASSERT_EQ(actual.has_value(), GetParam().value.has_value()) << GetParam().text;
    if (actual) {
        EXPECT_DOUBLE_EQ(*actual, *GetParam().value) << GetParam().text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Accepted, ParseNumberTest,
    ::testing::Values(SParseRow{"12", 12}, SParseRow{"  12  ", 12}, SParseRow{"\t7", 7},
                      SParseRow{"  -5 ", -5}, SParseRow{"+3", 3}, SParseRow{".5", 0.5},
                      SParseRow{"1.", 1}, SParseRow{"1e3", 1000}, SParseRow{"1.5E-3", 0.0015},
                      SParseRow{"2e+2", 200}, SParseRow{"1D2", 100}, SParseRow{"&H10", 16},
                      SParseRow{"&h1f", 31}, SParseRow{"&HFFFF", -1}, SParseRow{"&H10000", 65536},
                      SParseRow{"&HFFFFFFFF", -1}, SParseRow{"&O17", 15}, SParseRow{"&17", 15},
                      SParseRow{"007", 7}));

INSTANTIATE_TEST_SUITE_P(
    Rejected, ParseNumberTest,
    ::testing::Values(SParseRow{"", std::nullopt}, SParseRow{"   ", std::nullopt},
                      SParseRow{"abc", std::nullopt}, SParseRow{"1e", std::nullopt},
                      SParseRow{"1e+", std::nullopt}, SParseRow{"1 2", std::nullopt},
                      SParseRow{"-", std::nullopt}, SParseRow{".", std::nullopt},
                      SParseRow{"--1", std::nullopt}, SParseRow{"0x10", std::nullopt},
                      SParseRow{"&", std::nullopt}, SParseRow{"&H", std::nullopt},
                      SParseRow{"&HG", std::nullopt}, SParseRow{"&O8", std::nullopt},
                      SParseRow{"&H100000000", std::nullopt}, SParseRow{"12abc", std::nullopt},
                      SParseRow{"1.2.3", std::nullopt}));

struct SRoundRow {
    double value;
    double rounded;
};

class RoundHalfEvenTest : public ::testing::TestWithParam<SRoundRow> {};

TEST_P(RoundHalfEvenTest, RoundsTiesToEven) {
    EXPECT_EQ(RoundHalfEven(GetParam().value), GetParam().rounded) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(Rows, RoundHalfEvenTest,
                         ::testing::Values(SRoundRow{0.5, 0}, SRoundRow{1.5, 2}, SRoundRow{2.5, 2},
                                           SRoundRow{3.5, 4}, SRoundRow{-0.5, 0},
                                           SRoundRow{-1.5, -2}, SRoundRow{-2.5, -2},
                                           SRoundRow{2.4999, 2}, SRoundRow{2.5000001, 3},
                                           SRoundRow{-2.6, -3}, SRoundRow{7.0, 7},
                                           SRoundRow{1e300, 1e300}));

// ---- Type names --------------------------------------------------------------------------------

struct STypeRow {
    CVariant value;
    VarType type;
    const char* typeName;
};

void PrintTo(const STypeRow& row, std::ostream* os) {
    *os << row.typeName;
}

class TypeTest : public ::testing::TestWithParam<STypeRow> {};

TEST_P(TypeTest, NamesTheSubtype) {
    EXPECT_EQ(GetParam().value.Type(), GetParam().type);
    EXPECT_EQ(GetParam().value.TypeName().toStdString(), GetParam().typeName);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TypeTest,
    ::testing::Values(
        STypeRow{E(), VarType::Empty, "Empty"}, STypeRow{N(), VarType::Null, "Null"},
        STypeRow{B(true), VarType::Boolean, "Boolean"}, STypeRow{By(1), VarType::Byte, "Byte"},
        STypeRow{I(1), VarType::Integer, "Integer"}, STypeRow{L(1), VarType::Long, "Long"},
        STypeRow{D(1), VarType::Double, "Double"}, STypeRow{S("1"), VarType::String, "String"},
        STypeRow{CVariant::Nothing(), VarType::Object, "Nothing"},
        STypeRow{Obj(), VarType::Object, "FakeObject"},
        STypeRow{Arr({}), VarType::Array, "Variant()"}));

TEST(VariantTest, IsNumberOnlyForNumericSubtypes) {
    const std::vector<std::pair<CVariant, bool>> rows = {
        {By(1), true},    {I(1), true},    {L(1), true}, {D(1), true},
        {B(true), false}, {S("1"), false}, {E(), false}, {N(), false},
    };
    for (const auto& [value, isNumber] : rows) {
        EXPECT_EQ(value.IsNumber(), isNumber) << Describe(value);
    }
}

TEST(VariantTest, NumberPicksTheNarrowestType) {
    EXPECT_TRUE(testing_support::SameVariant(CVariant::Number(32767), I(32767)));
    EXPECT_TRUE(testing_support::SameVariant(CVariant::Number(32768), L(32768)));
    EXPECT_TRUE(testing_support::SameVariant(CVariant::Number(1LL << 31), D(2147483648.0)));
}

// ---- Strings and arrays that would be too large ------------------------------------------------

TEST(SizeLimitTest, JoiningHugeStringsRaisesOutOfMemory) {
    const CVariant big(QString(10 * 1024 * 1024, u'a'));
    EXPECT_TRUE(Yields([&] { return ops::Concat(big, big); }, Err(err::kOutOfMemory)));
    EXPECT_TRUE(Yields([&] { return ops::Add(big, big); }, Err(err::kOutOfMemory)));
    const CVariant half(QString(4 * 1024 * 1024, u'a'));
    EXPECT_EQ(ops::Concat(half, half).AsString().size(), 8 * 1024 * 1024);
}

struct SBoundsRow {
    const char* name;
    std::vector<std::int32_t> bounds;
    std::size_t size;
    int error;
};

void PrintTo(const SBoundsRow& row, std::ostream* os) {
    *os << row.name;
}

class ArrayBoundsTest : public ::testing::TestWithParam<SBoundsRow> {};

TEST_P(ArrayBoundsTest, AllocatesOrRefuses) {
    const SBoundsRow& row = GetParam();
    try {
        const CArray array(row.bounds);
        EXPECT_EQ(row.error, 0) << "no error raised";
        EXPECT_EQ(array.Size(), row.size);
        EXPECT_EQ(array.Dimensions(), static_cast<int>(row.bounds.size()));
    } catch (const CScriptError& e) {
        EXPECT_EQ(e.Number(), row.error);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, ArrayBoundsTest,
                         ::testing::ValuesIn(std::vector<SBoundsRow>{
                             {"TwoByThree", {1, 2}, 6, 0},
                             {"OneElement", {0}, 1, 0},
                             {"EmptyDimension", {-1}, 0, 0},
                             {"EmptyLastDimension", {2, -1}, 0, 0},
                             {"Unallocated", {}, 0, 0},
                             {"BelowMinusOne", {-2}, 0, err::kSubscriptOutOfRange},
                             {"HugeSingle", {2000000000}, 0, err::kOutOfMemory},
                             {"HugeProduct", {5000, 5000}, 0, err::kOutOfMemory},
                             {"JustOverLimit", {4096, 4095}, 0, err::kOutOfMemory},
                             {"AtLimit", {4095, 4095}, 4096u * 4096u, 0},
                             {"TooManyDimensions", std::vector<std::int32_t>(61, 0), 0,
                              err::kSubscriptOutOfRange},
                             {"SixtyDimensions", std::vector<std::int32_t>(60, 0), 1, 0},
                         }),
                         RowName());

TEST(ArrayTest, FirstIndexVariesFastest) {
    CArray array({1, 2});
    for (std::int32_t j = 0; j <= 2; ++j) {
        for (std::int32_t i = 0; i <= 1; ++i) {
            const std::int32_t at[] = {i, j};
            array.At(at) = I(10 * i + j);
        }
    }
    const std::vector<int> walk = {0, 10, 1, 11, 2, 12};
    ASSERT_EQ(array.Items().size(), walk.size());
    for (std::size_t k = 0; k < walk.size(); ++k) {
        EXPECT_EQ(array.Items()[k].AsInteger(), walk[k]) << k;
    }
}

TEST(ArrayTest, AtChecksEveryIndex) {
    CArray array({1, 2});
    const std::vector<std::vector<std::int32_t>> bad = {
        {2, 0}, {-1, 0}, {0, 3}, {0, -1}, {0}, {0, 0, 0}, {},
    };
    for (const auto& indexes : bad) {
        EXPECT_TRUE(Yields([&] { return array.At(indexes); }, Err(err::kSubscriptOutOfRange)))
            << indexes.size() << " indexes";
    }
    CArray unallocated({});
    EXPECT_TRUE(Yields([&] { return unallocated.At({}); }, Err(err::kSubscriptOutOfRange)));
}

TEST(ArrayTest, UpperBoundPerDimension) {
    const CArray array({3, 0, 7});
    EXPECT_EQ(array.UpperBound(1), 3);
    EXPECT_EQ(array.UpperBound(2), 0);
    EXPECT_EQ(array.UpperBound(3), 7);
    for (const int bad : {0, 4, -1}) {
        EXPECT_TRUE(
            Yields([&] { return L(array.UpperBound(bad)); }, Err(err::kSubscriptOutOfRange)))
            << bad;
    }
}

TEST(ArrayTest, ResizePreserveKeepsElementsOfTheLastDimension) {
    CArray array({1, 1});
    for (std::size_t k = 0; k < array.Size(); ++k) {
        array.Items()[k] = I(static_cast<int>(k + 1));
    }
    array.Resize({1, 3}, true);
    EXPECT_TRUE(testing_support::SameVariant(CVariant(std::make_shared<CArray>(array)), [] {
        auto expected = std::make_shared<CArray>(std::vector<std::int32_t>{1, 3});
        for (std::size_t k = 0; k < 4; ++k) {
            expected->Items()[k] = I(static_cast<int>(k + 1));
        }
        return CVariant(expected);
    }()));
    array.Resize({1, 0}, true);
    ASSERT_EQ(array.Size(), 2u);
    EXPECT_EQ(array.Items()[1].AsInteger(), 2);
}

TEST(ArrayTest, ResizePreserveRefusesOtherDimensions) {
    CArray array({1, 1});
    array.Items()[0] = I(7);
    const std::vector<std::vector<std::int32_t>> bad = {{2, 1}, {1}, {1, 1, 1}};
    for (const auto& bounds : bad) {
        EXPECT_TRUE(Yields(
            [&] {
                array.Resize(bounds, true);
                return CVariant();
            },
            Err(err::kSubscriptOutOfRange)));
    }
    EXPECT_TRUE(Yields(
        [&] {
            array.Resize({1, 2000000000}, true);
            return CVariant();
        },
        Err(err::kOutOfMemory)));
    // A refused ReDim leaves the array as it was.
    EXPECT_EQ(array.UpperBound(2), 1);
    EXPECT_EQ(array.Items()[0].AsInteger(), 7);
}

TEST(ArrayTest, ResizeWithoutPreserveClears) {
    CArray array({2});
    array.Items()[0] = I(7);
    array.Resize({3, 1}, false);
    EXPECT_EQ(array.Dimensions(), 2);
    EXPECT_EQ(array.Size(), 8u);
    EXPECT_TRUE(array.Items()[0].IsEmpty());
}

TEST(ArrayTest, ResizePreserveOfUnallocatedArrayAllocates) {
    CArray array({});
    array.Resize({2}, true);
    EXPECT_EQ(array.UpperBound(1), 2);
    EXPECT_EQ(array.Size(), 3u);
}

TEST(ArrayTest, FromItemsIsOneDimensional) {
    const ArrayPtr none = CArray::FromItems({});
    EXPECT_EQ(none->Dimensions(), 1);
    EXPECT_EQ(none->UpperBound(1), -1);
    const ArrayPtr three = CArray::FromItems({I(1), S("b"), N()});
    EXPECT_EQ(three->UpperBound(1), 2);
    const std::int32_t at[] = {1};
    EXPECT_EQ(three->At(at).AsString(), QStringLiteral("b"));
}

TEST(ArrayTest, CopyOwnsNestedArraysWhilePlainCopyShares) {
    const CVariant inner = Arr({I(1)});
    const CVariant outer = Arr({inner, I(2)});
    const CVariant shared = outer;
    const CVariant owned = outer.Copy();

    const std::int32_t zero[] = {0};
    outer.AsArray()->At(zero).AsArray()->At(zero) = I(99);
    outer.AsArray()->Items()[1] = I(98);

    EXPECT_EQ(shared.AsArray()->Items()[1].AsInteger(), 98);
    EXPECT_EQ(owned.AsArray()->Items()[1].AsInteger(), 2);
    EXPECT_EQ(owned.AsArray()->Items()[0].AsArray()->Items()[0].AsInteger(), 1);
}

}  // namespace
}  // namespace vbs
