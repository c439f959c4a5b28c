#include <memory>
#include <string>
#include <vector>

#include "platform/script/builtins.h"
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

CVariant Arr(std::vector<CVariant> items) {
    return CVariant(CArray::FromItems(std::move(items)));
}
CVariant EmptyArr() {
    return CVariant(std::make_shared<CArray>(std::vector<std::int32_t>{-1}));
}
CVariant Grid(std::int32_t rows, std::int32_t columns) {
    return CVariant(std::make_shared<CArray>(std::vector<std::int32_t>{rows, columns}));
}

class CFakeObject : public IScriptObject {
public:
    QString TypeName() const override { return QStringLiteral("FakeObject"); }
    CVariant Invoke(const QString&, std::span<const CVariant>, InvokeKind) override {
        throw CScriptError(err::kNoSuchMember);
    }
};

CVariant Obj() {
    return CVariant(ObjectPtr(std::make_shared<CFakeObject>()));
}

struct RowName {
    template <typename Row>
    std::string operator()(const ::testing::TestParamInfo<Row>& param) const {
        return param.param.name;
    }
};

// Calls a built-in as the interpreter does: by name, with an argument count it accepts.
CVariant Call(const char* name, const std::vector<CVariant>& args) {
    const SBuiltin* builtin = FindBuiltin(QString::fromLatin1(name));
    if (builtin == nullptr) {
        ADD_FAILURE() << "no built-in " << name;
        return {};
    }
    const int count = static_cast<int>(args.size());
    if (count < builtin->minArgs || count > builtin->maxArgs) {
        ADD_FAILURE() << name << " does not take " << count << " arguments";
        return {};
    }
    return builtin->fn(args);
}

struct SCallRow {
    const char* name;
    const char* function;
    std::vector<CVariant> args;
    SExpect expected;
};

void PrintTo(const SCallRow& row, std::ostream* os) {
    *os << row.name;
}

class BuiltinCallTest : public ::testing::TestWithParam<SCallRow> {};

TEST_P(BuiltinCallTest, ReturnsOrRaises) {
    const SCallRow& row = GetParam();
    EXPECT_TRUE(Yields([&] { return Call(row.function, row.args); }, row.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Strings, BuiltinCallTest,
    ::testing::ValuesIn(std::vector<SCallRow>{
        {"LenOfText", "Len", {S("abc")}, L(3)},
        {"LenOfNull", "Len", {N()}, N()},
        {"LenOfEmpty", "Len", {E()}, L(0)},
        {"LenOfNumberIsItsText", "Len", {I(-123)}, L(4)},
        {"LenOfDouble", "Len", {D(1.5)}, L(3)},
        {"LenOfBoolean", "Len", {B(true)}, L(4)},
        {"LenOfNothing", "Len", {CVariant::Nothing()}, Err(err::kTypeMismatch)},
        {"Left", "Left", {S("abcdef"), I(2)}, S("ab")},
        {"LeftBeyondEnd", "Left", {S("abc"), I(10)}, S("abc")},
        {"LeftZero", "Left", {S("abc"), I(0)}, S("")},
        {"LeftNegative", "Left", {S("abc"), I(-1)}, Err(err::kInvalidCall)},
        {"LeftOfNull", "Left", {N(), I(1)}, N()},
        {"LeftNullLength", "Left", {S("abc"), N()}, Err(err::kInvalidNull)},
        {"LeftOfNumber", "Left", {I(12345), I(2)}, S("12")},
        {"LeftHugeLength", "Left", {S("abc"), D(1e10)}, Err(err::kOverflow)},
        {"Right", "Right", {S("abcdef"), I(2)}, S("ef")},
        {"RightBeyondStart", "Right", {S("abc"), I(5)}, S("abc")},
        {"RightNegative", "Right", {S("abc"), I(-1)}, Err(err::kInvalidCall)},
        {"RightOfNull", "Right", {N(), I(1)}, N()},
        {"MidWithLength", "Mid", {S("abcdef"), I(2), I(3)}, S("bcd")},
        {"MidToEnd", "Mid", {S("abcdef"), I(3)}, S("cdef")},
        {"MidStartPastEnd", "Mid", {S("abc"), I(5)}, S("")},
        {"MidStartJustPastEnd", "Mid", {S("abc"), I(4), I(1)}, S("")},
        {"MidLengthPastEnd", "Mid", {S("abc"), I(2), I(100)}, S("bc")},
        {"MidStartZero", "Mid", {S("abc"), I(0)}, Err(err::kInvalidCall)},
        {"MidNegativeLength", "Mid", {S("abc"), I(1), I(-1)}, Err(err::kInvalidCall)},
        {"MidOfNull", "Mid", {N(), I(1)}, N()},
        {"InStrFound", "InStr", {S("abcabc"), S("c")}, L(3)},
        {"InStrFromStart", "InStr", {I(4), S("abcabc"), S("c")}, L(6)},
        {"InStrNotFound", "InStr", {S("abc"), S("x")}, L(0)},
        {"InStrBinaryCase", "InStr", {S("ABC"), S("b")}, L(0)},
        {"InStrTextCase", "InStr", {I(1), S("ABC"), S("b"), I(1)}, L(2)},
        {"InStrEmptyNeedle", "InStr", {S("abc"), S("")}, L(1)},
        {"InStrEmptyNeedleAtStart", "InStr", {I(2), S("abc"), S("")}, L(2)},
        {"InStrEmptyHaystack", "InStr", {S(""), S("a")}, L(0)},
        {"InStrNullHaystack", "InStr", {N(), S("a")}, N()},
        {"InStrNullNeedle", "InStr", {S("a"), N()}, N()},
        {"InStrStartZero", "InStr", {I(0), S("abc"), S("a")}, Err(err::kInvalidCall)},
        {"InStrStartPastEnd", "InStr", {I(5), S("abc"), S("a")}, L(0)},
        {"InStrBadCompare", "InStr", {I(1), S("abc"), S("a"), I(2)}, Err(err::kInvalidCall)},
        {"InStrNullStart", "InStr", {N(), S("abc"), S("a")}, Err(err::kInvalidNull)},
        {"InStrRevFromEnd", "InStrRev", {S("abcabc"), S("c")}, L(6)},
        {"InStrRevBeforeStart", "InStrRev", {S("abcabc"), S("c"), I(5)}, L(3)},
        {"InStrRevMatchMustEndByStart", "InStrRev", {S("abcabc"), S("bc"), I(2)}, L(0)},
        {"InStrRevMatchEndingAtStart", "InStrRev", {S("abcabc"), S("bc"), I(3)}, L(2)},
        {"InStrRevNotFound", "InStrRev", {S("abc"), S("x")}, L(0)},
        {"InStrRevTextCase", "InStrRev", {S("ABC"), S("b"), I(-1), I(1)}, L(2)},
        {"InStrRevEmptyNeedle", "InStrRev", {S("abc"), S("")}, L(3)},
        {"InStrRevStartZero", "InStrRev", {S("abc"), S("a"), I(0)}, Err(err::kInvalidCall)},
        {"InStrRevStartPastEnd", "InStrRev", {S("abc"), S("a"), I(4)}, L(0)},
        {"InStrRevNull", "InStrRev", {N(), S("a")}, N()},
        {"UCase", "UCase", {S("aBc1")}, S("ABC1")},
        {"UCaseNull", "UCase", {N()}, N()},
        {"UCaseOfNumber", "UCase", {I(1)}, S("1")},
        {"LCase", "LCase", {S("aBc")}, S("abc")},
        {"LCaseNull", "LCase", {N()}, N()},
        {"Trim", "Trim", {S("  a b  ")}, S("a b")},
        {"TrimKeepsTabs", "Trim", {S("\ta\t")}, S("\ta\t")},
        {"TrimNull", "Trim", {N()}, N()},
        {"LTrim", "LTrim", {S("  a  ")}, S("a  ")},
        {"RTrim", "RTrim", {S("  a  ")}, S("  a")},
        {"RTrimAllSpaces", "RTrim", {S("   ")}, S("")},
        {"ReplaceAll", "Replace", {S("aXbXc"), S("X"), S("-")}, S("a-b-c")},
        {"ReplaceBinaryCase", "Replace", {S("aXbXc"), S("x"), S("-")}, S("aXbXc")},
        {"ReplaceTextCase", "Replace", {S("aXbXc"), S("x"), S("-"), I(1), I(-1), I(1)}, S("a-b-c")},
        {"ReplaceFromStartDropsPrefix", "Replace", {S("aXbXc"), S("X"), S("-"), I(3)}, S("b-c")},
        {"ReplaceCount", "Replace", {S("aXbXc"), S("X"), S("-"), I(1), I(1)}, S("a-bXc")},
        {"ReplaceCountZero", "Replace", {S("abc"), S("b"), S("x"), I(1), I(0)}, S("abc")},
        {"ReplaceEmptyFind", "Replace", {S("abc"), S(""), S("-")}, S("abc")},
        {"ReplaceWithNothing", "Replace", {S("abc"), S("b"), S("")}, S("ac")},
        {"ReplaceGrowing", "Replace", {S("aaa"), S("a"), S("aa")}, S("aaaaaa")},
        {"ReplaceStartPastEnd", "Replace", {S("abc"), S("b"), S("x"), I(4)}, S("")},
        {"ReplaceStartZero", "Replace", {S("abc"), S("b"), S("x"), I(0)}, Err(err::kInvalidCall)},
        {"ReplaceBadCount",
         "Replace",
         {S("abc"), S("b"), S("x"), I(1), I(-2)},
         Err(err::kInvalidCall)},
        {"ReplaceNullExpression", "Replace", {N(), S("a"), S("b")}, Err(err::kInvalidNull)},
        {"ReplaceNullFind", "Replace", {S("a"), N(), S("b")}, Err(err::kInvalidNull)},
        {"SpaceThree", "Space", {I(3)}, S("   ")},
        {"SpaceZero", "Space", {I(0)}, S("")},
        {"SpaceNegative", "Space", {I(-1)}, Err(err::kInvalidCall)},
        {"SpaceNull", "Space", {N()}, Err(err::kInvalidNull)},
        {"StringOfFirstCharacter", "String", {I(3), S("ab")}, S("aaa")},
        {"StringOfCode", "String", {I(2), I(65)}, S("AA")},
        {"StringOfWideCodeWraps", "String", {I(2), I(321)}, S("AA")},
        {"StringOfCodePageCode", "String", {I(1), I(128)}, S("\u20AC")},
        {"StringZero", "String", {I(0), S("x")}, S("")},
        {"StringNegative", "String", {I(-1), S("x")}, Err(err::kInvalidCall)},
        {"StringEmptyCharacter", "String", {I(3), S("")}, Err(err::kInvalidCall)},
        {"StringNullCount", "String", {N(), S("x")}, N()},
        {"StringNullCharacter", "String", {I(1), N()}, N()},
        {"StrCompLess", "StrComp", {S("a"), S("b")}, I(-1)},
        {"StrCompGreater", "StrComp", {S("b"), S("a")}, I(1)},
        {"StrCompBinaryCase", "StrComp", {S("a"), S("A")}, I(1)},
        {"StrCompTextCase", "StrComp", {S("a"), S("A"), I(1)}, I(0)},
        {"StrCompNumberAsText", "StrComp", {I(1), S("1")}, I(0)},
        {"StrCompTenBeforeNine", "StrComp", {S("10"), S("9")}, I(-1)},
        {"StrCompNull", "StrComp", {N(), S("a")}, N()},
        {"StrCompBadCompare", "StrComp", {S("a"), S("b"), I(2)}, Err(err::kInvalidCall)},
        {"AscFirst", "Asc", {S("ABC")}, I(65)},
        {"AscOfCodePageCharacter", "Asc", {S("\u20AC")}, I(128)},
        {"AscOfLatin1", "Asc", {S("\u00E9")}, I(233)},
        {"AscOfForeignCharacter", "Asc", {S("\u0100")}, I(63)},
        {"AscOfNumber", "Asc", {I(1)}, I(49)},
        {"AscEmpty", "Asc", {S("")}, Err(err::kInvalidCall)},
        {"AscNull", "Asc", {N()}, Err(err::kInvalidNull)},
        {"AscW", "AscW", {S("A")}, I(65)},
        {"AscWEuro", "AscW", {S("\u20AC")}, I(8364)},
        {"AscWHighIsNegative", "AscW", {S("\uFFFF")}, I(-1)},
        {"AscWEmpty", "AscW", {S("")}, Err(err::kInvalidCall)},
        {"Chr", "Chr", {I(65)}, S("A")},
        {"ChrCodePage", "Chr", {I(128)}, S("\u20AC")},
        {"ChrCodePageQuote", "Chr", {I(147)}, S("\u201C")},
        {"ChrLatin1", "Chr", {I(233)}, S("\u00E9")},
        {"ChrZero", "Chr", {I(0)}, S(QString(QChar(u'\0')))},
        {"ChrRoundsDouble", "Chr", {D(65.4)}, S("A")},
        {"ChrTooLarge", "Chr", {I(256)}, Err(err::kInvalidCall)},
        {"ChrNegative", "Chr", {I(-1)}, Err(err::kInvalidCall)},
        {"ChrNull", "Chr", {N()}, Err(err::kInvalidNull)},
        {"ChrW", "ChrW", {I(8364)}, S("\u20AC")},
        {"ChrWNegativeWraps", "ChrW", {I(-1)}, S("\uFFFF")},
        {"ChrWTooLarge", "ChrW", {L(65536)}, Err(err::kInvalidCall)},
        {"ChrWTooSmall", "ChrW", {L(-32769)}, Err(err::kInvalidCall)},
    }),
    RowName());

INSTANTIATE_TEST_SUITE_P(Conversions, BuiltinCallTest,
                         ::testing::ValuesIn(std::vector<SCallRow>{
                             {"CStrDouble", "CStr", {D(1.5)}, S("1.5")},
                             {"CStrTrue", "CStr", {B(true)}, S("True")},
                             {"CStrEmpty", "CStr", {E()}, S("")},
                             {"CStrNull", "CStr", {N()}, Err(err::kInvalidNull)},
                             {"CIntHalfString", "CInt", {S("3.5")}, I(4)},
                             {"CIntHalfDown", "CInt", {D(2.5)}, I(2)},
                             {"CIntNegativeHalf", "CInt", {D(-2.5)}, I(-2)},
                             {"CIntOverflow", "CInt", {D(32767.6)}, Err(err::kOverflow)},
                             {"CIntText", "CInt", {S("x")}, Err(err::kTypeMismatch)},
                             {"CIntTrue", "CInt", {B(true)}, I(-1)},
                             {"CIntNull", "CInt", {N()}, Err(err::kInvalidNull)},
                             {"CLngMaximum", "CLng", {D(2147483647.0)}, L(2147483647)},
                             {"CLngOverflow", "CLng", {S("2147483648")}, Err(err::kOverflow)},
                             {"CLngHalf", "CLng", {S(" 4.5 ")}, L(4)},
                             {"CDblExponent", "CDbl", {S("1e3")}, D(1000)},
                             {"CDblInteger", "CDbl", {I(5)}, D(5)},
                             {"CDblEmpty", "CDbl", {E()}, D(0)},
                             {"CDblEmptyString", "CDbl", {S("")}, Err(err::kTypeMismatch)},
                             {"CBoolWord", "CBool", {S("true")}, B(true)},
                             {"CBoolZero", "CBool", {I(0)}, B(false)},
                             {"CBoolFraction", "CBool", {D(0.5)}, B(true)},
                             {"CBoolText", "CBool", {S("x")}, Err(err::kTypeMismatch)},
                             {"CBoolNull", "CBool", {N()}, Err(err::kInvalidNull)},
                             {"CByteMaximum", "CByte", {I(255)}, By(255)},
                             {"CByteTooLarge", "CByte", {I(256)}, Err(err::kOverflow)},
                             {"CByteNegative", "CByte", {I(-1)}, Err(err::kOverflow)},
                             {"CByteString", "CByte", {S("12")}, By(12)},
                             {"CByteRounds", "CByte", {D(1.5)}, By(2)},
                         }),
                         RowName());

INSTANTIATE_TEST_SUITE_P(
    Math, BuiltinCallTest,
    ::testing::ValuesIn(std::vector<SCallRow>{
        {"IntFloorsNegative", "Int", {D(-1.5)}, D(-2)},
        {"IntFloorsPositive", "Int", {D(1.5)}, D(1)},
        {"IntKeepsInteger", "Int", {I(5)}, I(5)},
        {"IntKeepsLong", "Int", {L(70000)}, L(70000)},
        {"IntOfString", "Int", {S("2.7")}, D(2)},
        {"IntOfTrue", "Int", {B(true)}, I(-1)},
        {"IntOfEmpty", "Int", {E()}, I(0)},
        {"IntOfNull", "Int", {N()}, N()},
        {"IntOfText", "Int", {S("x")}, Err(err::kTypeMismatch)},
        {"FixTowardZero", "Fix", {D(-1.5)}, D(-1)},
        {"FixPositive", "Fix", {D(1.5)}, D(1)},
        {"FixKeepsByte", "Fix", {By(3)}, By(3)},
        {"FixNull", "Fix", {N()}, N()},
        {"AbsInteger", "Abs", {I(-5)}, I(5)},
        {"AbsIntegerMinimumWidens", "Abs", {I(-32768)}, L(32768)},
        {"AbsDouble", "Abs", {D(-1.5)}, D(1.5)},
        {"AbsPositiveUnchanged", "Abs", {L(7)}, L(7)},
        {"AbsNull", "Abs", {N()}, N()},
        {"AbsEmpty", "Abs", {E()}, I(0)},
        {"AbsString", "Abs", {S("-3")}, D(3)},
        {"AbsTrue", "Abs", {B(true)}, I(1)},
        {"SgnNegative", "Sgn", {D(-0.5)}, I(-1)},
        {"SgnZero", "Sgn", {I(0)}, I(0)},
        {"SgnPositive", "Sgn", {L(7)}, I(1)},
        {"SgnNull", "Sgn", {N()}, Err(err::kInvalidNull)},
        {"SgnText", "Sgn", {S("x")}, Err(err::kTypeMismatch)},
        {"RoundHalfDownToEven", "Round", {D(2.5)}, D(2)},
        {"RoundHalfUpToEven", "Round", {D(3.5)}, D(4)},
        {"RoundNegativeHalf", "Round", {D(-2.5)}, D(-2)},
        {"RoundDecimalHalfToEven", "Round", {D(2.345), I(2)}, D(2.34)},
        {"RoundDecimalUp", "Round", {D(2.346), I(2)}, D(2.35)},
        {"RoundDecimalOddHalf", "Round", {D(0.135), I(2)}, D(0.14)},
        {"RoundDecimalEvenHalf", "Round", {D(0.125), I(2)}, D(0.12)},
        {"RoundDecimals", "Round", {D(1234.5678), I(2)}, D(1234.57)},
        {"RoundNegativeDecimals", "Round", {D(-1234.5678), I(2)}, D(-1234.57)},
        {"RoundCarries", "Round", {D(99.995), I(2)}, D(100)},
        {"RoundTinyToZero", "Round", {D(1e-20), I(2)}, D(0)},
        {"RoundManyDecimalsUnchanged", "Round", {D(123.456), I(20)}, D(123.456)},
        {"RoundKeepsInteger", "Round", {I(7)}, I(7)},
        {"RoundString", "Round", {S("2.5")}, D(2)},
        {"RoundNegativeDecimalCount", "Round", {D(1.5), I(-1)}, Err(err::kInvalidCall)},
        {"RoundNull", "Round", {N()}, N()},
        {"HexByte", "Hex", {I(255)}, S("FF")},
        {"HexNegativeInteger", "Hex", {I(-1)}, S("FFFF")},
        {"HexIntegerMinimum", "Hex", {I(-32768)}, S("8000")},
        {"HexNegativeLong", "Hex", {L(-1)}, S("FFFFFFFF")},
        {"HexNegativeDoubleIsLong", "Hex", {D(-1)}, S("FFFFFFFF")},
        {"HexRoundsDouble", "Hex", {D(15.5)}, S("10")},
        {"HexLong", "Hex", {L(65536)}, S("10000")},
        {"HexTrue", "Hex", {B(true)}, S("FFFF")},
        {"HexEmpty", "Hex", {E()}, S("0")},
        {"HexNull", "Hex", {N()}, N()},
        {"HexTooLarge", "Hex", {D(1e10)}, Err(err::kOverflow)},
        {"HexText", "Hex", {S("x")}, Err(err::kTypeMismatch)},
        {"OctEight", "Oct", {I(8)}, S("10")},
        {"OctNegativeInteger", "Oct", {I(-1)}, S("177777")},
        {"OctNegativeLong", "Oct", {L(-1)}, S("37777777777")},
        {"OctNull", "Oct", {N()}, N()},
    }),
    RowName());

INSTANTIATE_TEST_SUITE_P(
    Inspection, BuiltinCallTest,
    ::testing::ValuesIn(std::vector<SCallRow>{
        {"IsNumericInteger", "IsNumeric", {I(1)}, B(true)},
        {"IsNumericNumericString", "IsNumeric", {S(" 1e3 ")}, B(true)},
        {"IsNumericHexString", "IsNumeric", {S("&H1F")}, B(true)},
        {"IsNumericText", "IsNumeric", {S("abc")}, B(false)},
        {"IsNumericEmptyString", "IsNumeric", {S("")}, B(false)},
        {"IsNumericOverflowingString", "IsNumeric", {S("1e400")}, B(false)},
        {"IsNumericEmpty", "IsNumeric", {E()}, B(true)},
        {"IsNumericNull", "IsNumeric", {N()}, B(false)},
        {"IsNumericBoolean", "IsNumeric", {B(false)}, B(true)},
        {"IsNumericNothing", "IsNumeric", {CVariant::Nothing()}, B(false)},
        {"IsNumericArray", "IsNumeric", {Arr({I(1)})}, B(false)},
        {"IsEmptyEmpty", "IsEmpty", {E()}, B(true)},
        {"IsEmptyEmptyString", "IsEmpty", {S("")}, B(false)},
        {"IsEmptyNull", "IsEmpty", {N()}, B(false)},
        {"IsNullNull", "IsNull", {N()}, B(true)},
        {"IsNullEmpty", "IsNull", {E()}, B(false)},
        {"IsObjectNothing", "IsObject", {CVariant::Nothing()}, B(true)},
        {"IsObjectObject", "IsObject", {Obj()}, B(true)},
        {"IsObjectNumber", "IsObject", {I(1)}, B(false)},
        {"IsArrayArray", "IsArray", {EmptyArr()}, B(true)},
        {"IsArrayString", "IsArray", {S("a")}, B(false)},
        {"TypeNameInteger", "TypeName", {I(1)}, S("Integer")},
        {"TypeNameArray", "TypeName", {Arr({})}, S("Variant()")},
        {"TypeNameNothing", "TypeName", {CVariant::Nothing()}, S("Nothing")},
        {"TypeNameObject", "TypeName", {Obj()}, S("FakeObject")},
        {"TypeNameNull", "TypeName", {N()}, S("Null")},
        {"VarTypeArray", "VarType", {Arr({})}, I(8204)},
        {"VarTypeString", "VarType", {S("")}, I(8)},
        {"VarTypeEmpty", "VarType", {E()}, I(0)},
        {"VarTypeNull", "VarType", {N()}, I(1)},
        {"VarTypeNothing", "VarType", {CVariant::Nothing()}, I(9)},
        {"VarTypeByte", "VarType", {By(1)}, I(17)},
        {"VarTypeBoolean", "VarType", {B(true)}, I(11)},
        {"VarTypeDouble", "VarType", {D(1)}, I(5)},
        {"VarTypeLong", "VarType", {L(1)}, I(3)},
        {"UBoundFirstDimension", "UBound", {Grid(2, 5)}, L(2)},
        {"UBoundSecondDimension", "UBound", {Grid(2, 5), I(2)}, L(5)},
        {"UBoundDimensionTooHigh", "UBound", {Grid(2, 5), I(3)}, Err(err::kSubscriptOutOfRange)},
        {"UBoundDimensionZero", "UBound", {Grid(2, 5), I(0)}, Err(err::kSubscriptOutOfRange)},
        {"UBoundOfEmptyArray", "UBound", {EmptyArr()}, L(-1)},
        {"UBoundOfUnallocated",
         "UBound",
         {CVariant(std::make_shared<CArray>(std::vector<std::int32_t>{}))},
         Err(err::kSubscriptOutOfRange)},
        {"UBoundOfString", "UBound", {S("x")}, Err(err::kTypeMismatch)},
        {"UBoundOfNull", "UBound", {N()}, Err(err::kTypeMismatch)},
        {"LBoundSecondDimension", "LBound", {Grid(2, 5), I(2)}, L(0)},
        {"LBoundDimensionTooHigh", "LBound", {Grid(2, 5), I(3)}, Err(err::kSubscriptOutOfRange)},
        {"LBoundOfNumber", "LBound", {I(1)}, Err(err::kTypeMismatch)},
        {"ArrayOfNothing", "Array", {}, EmptyArr()},
        {"ArrayOfValues", "Array", {I(1), S("a"), N()}, Arr({I(1), S("a"), N()})},
    }),
    RowName());

INSTANTIATE_TEST_SUITE_P(
    SplitAndJoin, BuiltinCallTest,
    ::testing::ValuesIn(std::vector<SCallRow>{
        {"SplitOnComma", "Split", {S("a,b,c"), S(",")}, Arr({S("a"), S("b"), S("c")})},
        {"SplitOnSpaceByDefault", "Split", {S("a b")}, Arr({S("a"), S("b")})},
        {"SplitEmptyString", "Split", {S("")}, EmptyArr()},
        {"SplitLimit", "Split", {S("a,b,c"), S(","), I(2)}, Arr({S("a"), S("b,c")})},
        {"SplitLimitZero", "Split", {S("a,b"), S(","), I(0)}, EmptyArr()},
        {"SplitTextCase",
         "Split",
         {S("aXbxc"), S("x"), I(-1), I(1)},
         Arr({S("a"), S("b"), S("c")})},
        {"SplitBinaryCase", "Split", {S("aXbxc"), S("x")}, Arr({S("aXb"), S("c")})},
        {"SplitEmptyDelimiter", "Split", {S("abc"), S("")}, Arr({S("abc")})},
        {"SplitKeepsEmptyParts", "Split", {S(",a,"), S(",")}, Arr({S(""), S("a"), S("")})},
        {"SplitLongDelimiter", "Split", {S("a<>b"), S("<>")}, Arr({S("a"), S("b")})},
        {"SplitBadLimit", "Split", {S("a"), S(","), I(-2)}, Err(err::kInvalidCall)},
        {"SplitNull", "Split", {N()}, N()},
        {"JoinWithDelimiter", "Join", {Arr({S("a"), S("b")}), S("-")}, S("a-b")},
        {"JoinNumbersWithSpace", "Join", {Arr({I(1), D(2.5)})}, S("1 2.5")},
        {"JoinEmptyArray", "Join", {EmptyArr()}, S("")},
        {"JoinEmptyDelimiter", "Join", {Arr({S("a"), S("b")}), S("")}, S("ab")},
        {"JoinOfString", "Join", {S("abc")}, Err(err::kTypeMismatch)},
        {"JoinOfGrid", "Join", {Grid(1, 1)}, Err(err::kInvalidCall)},
        {"JoinWithNullItem", "Join", {Arr({N()})}, Err(err::kInvalidNull)},
    }),
    RowName());

// Requests for absurd sizes are refused before anything is allocated.
INSTANTIATE_TEST_SUITE_P(
    HugeSizes, BuiltinCallTest,
    ::testing::ValuesIn(std::vector<SCallRow>{
        {"SpaceTwoBillion", "Space", {L(2000000000)}, Err(err::kOutOfMemory)},
        {"SpaceJustOverLimit", "Space", {L(16 * 1024 * 1024 + 1)}, Err(err::kOutOfMemory)},
        {"StringBillion", "String", {D(1e9), S("x")}, Err(err::kOutOfMemory)},
        {"StringBeyondLong", "String", {D(1e12), S("x")}, Err(err::kOverflow)},
        {"ReplaceGrowsTooLarge",
         "Replace",
         {S(QString(4 * 1024 * 1024, u'a')), S("a"), S("aaaaa")},
         Err(err::kOutOfMemory)},
        {"JoinTooLarge",
         "Join",
         {Arr({S(QString(9 * 1024 * 1024, u'a')), S(QString(9 * 1024 * 1024, u'a'))})},
         Err(err::kOutOfMemory)},
    }),
    RowName());

TEST(BuiltinLookupTest, FindsNamesInAnyCase) {
    for (const char* name : {"ucase", "UCASE", "UCase", "uCaSe"}) {
        const SBuiltin* builtin = FindBuiltin(QString::fromLatin1(name));
        ASSERT_NE(builtin, nullptr) << name;
        EXPECT_STREQ(builtin->name, "UCase");
    }
    for (const char* name : {"", "UCas", "UCaseX", "Err", "Eval"}) {
        EXPECT_EQ(FindBuiltin(QString::fromLatin1(name)), nullptr) << name;
    }
}

// Every function must answer any argument count it accepts, with any kind of value, by
// returning or by raising a script error: never a crash or another exception.
TEST(BuiltinRobustnessTest, EveryArgumentCountAndKindIsHandled) {
    const std::vector<CVariant> probes = {
        E(),   N(),  S("x"),  I(1),    Arr({S("a")}),       S("-1.5"), S(""),
        I(-1), L(3), D(1e10), B(true), CVariant::Nothing(), Obj(),
    };
    // Long argument lists try the first few kinds only, to keep the combinations few.
    constexpr std::size_t kKindsForLongLists = 6;
    constexpr int kLongList = 5;
    const char* names[] = {
        "Abs",      "Array",   "Asc",     "AscW",    "CBool",     "CByte",    "CDbl",    "Chr",
        "ChrW",     "CInt",    "CLng",    "CStr",    "Fix",       "Hex",      "InStr",   "InStrRev",
        "Int",      "IsArray", "IsEmpty", "IsNull",  "IsNumeric", "IsObject", "Join",    "LBound",
        "LCase",    "Left",    "Len",     "LTrim",   "Mid",       "Oct",      "Replace", "Right",
        "Round",    "RTrim",   "Sgn",     "Space",   "Split",     "StrComp",  "String",  "Trim",
        "TypeName", "UBound",  "UCase",   "VarType",
    };
    constexpr int kMostArgumentsTried = 6;
    for (const char* name : names) {
        const SBuiltin* builtin = FindBuiltin(QString::fromLatin1(name));
        ASSERT_NE(builtin, nullptr) << name;
        ASSERT_LE(builtin->minArgs, builtin->maxArgs) << name;
        const int most = std::min(builtin->maxArgs, kMostArgumentsTried);
        for (int count = builtin->minArgs; count <= most; ++count) {
            const std::size_t kinds = count >= kLongList ? kKindsForLongLists : probes.size();
            std::vector<std::size_t> pick(static_cast<std::size_t>(count), 0);
            int calls = 0;
            int errors = 0;
            while (true) {
                std::vector<CVariant> args;
                for (const std::size_t p : pick) {
                    args.push_back(probes[p]);
                }
                ++calls;
                try {
                    builtin->fn(args);
                } catch (const CScriptError&) {
                    ++errors;
                } catch (const std::exception& e) {
                    ADD_FAILURE() << name << " threw " << e.what();
                }
                std::size_t k = 0;
                while (k < pick.size() && ++pick[k] == kinds) {
                    pick[k++] = 0;
                }
                if (k == pick.size()) {
                    break;
                }
            }
            // Some combination must succeed: a function that always raises is broken.
            EXPECT_LT(errors, calls) << name << " with " << count << " arguments";
        }
    }
}

TEST(SplitJoinTest, JoinUndoesSplit) {
    const std::vector<std::pair<const char*, const char*>> rows = {
        {"a,b,c", ","}, {",,", ","}, {"one two  three", " "},    {"a<>b<>", "<>"},
        {"abc", "x"},   {"x", "x"},  {"\xC3\xA9t\xC3\xA9", "t"},
    };
    for (const auto& [text, delimiter] : rows) {
        const CVariant parts = Call("Split", {S(text), S(delimiter)});
        const CVariant joined = Call("Join", {parts, S(delimiter)});
        EXPECT_EQ(joined.AsString(), QString::fromUtf8(text)) << text;
    }
}

struct SConstantRow {
    const char* name;
    CVariant value;
};

void PrintTo(const SConstantRow& row, std::ostream* os) {
    *os << row.name;
}

class BuiltinConstantTest : public ::testing::TestWithParam<SConstantRow> {};

TEST_P(BuiltinConstantTest, HasItsValueInAnyCase) {
    const QString name = QString::fromLatin1(GetParam().name);
    for (const QString& spelling : {name, name.toUpper(), name.toLower()}) {
        const std::optional<CVariant> value = FindBuiltinConstant(spelling);
        ASSERT_TRUE(value.has_value()) << spelling.toStdString();
        EXPECT_TRUE(testing_support::SameVariant(*value, GetParam().value))
            << spelling.toStdString() << " is " << Describe(*value);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, BuiltinConstantTest,
                         ::testing::ValuesIn(std::vector<SConstantRow>{
                             {"vbCr", S("\r")},
                             {"vbLf", S("\n")},
                             {"vbCrLf", S("\r\n")},
                             {"vbNewLine", S("\r\n")},
                             {"vbTab", S("\t")},
                             {"vbNullString", S("")},
                             {"vbNullChar", S(QString(QChar(u'\0')))},
                             {"vbBinaryCompare", L(0)},
                             {"vbTextCompare", L(1)},
                             {"vbUseDefault", L(-2)},
                             {"vbTrue", L(-1)},
                             {"vbFalse", L(0)},
                             {"vbEmpty", L(0)},
                             {"vbNull", L(1)},
                             {"vbInteger", L(2)},
                             {"vbLong", L(3)},
                             {"vbSingle", L(4)},
                             {"vbDouble", L(5)},
                             {"vbString", L(8)},
                             {"vbObject", L(9)},
                             {"vbBoolean", L(11)},
                             {"vbVariant", L(12)},
                             {"vbByte", L(17)},
                             {"vbArray", L(8192)},
                             {"vbObjectError", L(-2147221504)},
                         }),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(BuiltinConstantLookupTest, UnknownNamesAreNotConstants) {
    for (const char* name : {"", "vb", "vbCrLfX", "vbFoo", "True", "Nothing"}) {
        EXPECT_FALSE(FindBuiltinConstant(QString::fromLatin1(name)).has_value()) << name;
    }
}

}  // namespace
}  // namespace vbs
