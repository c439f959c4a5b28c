#include <random>
#include <string>
#include <vector>

#include <QString>
#include <QStringList>

#include "platform/script/lexer.h"
#include "platform/script/parser.h"

#include <gtest/gtest.h>

namespace vbs {
namespace {

// --- a compact printer for trees: "(+ 1 (* 2 3))" ------------------------------------------------

QString PrintExpr(const Expr& expr);
QString PrintBlock(const Block& block);

// Integer plain, Long with '&', Double with '#', as VB writes their type suffixes.
QString PrintLiteral(const CVariant& value) {
    if (value.IsEmpty()) {
        return QStringLiteral("Empty");
    }
    if (value.IsNull()) {
        return QStringLiteral("Null");
    }
    if (value.IsNothing()) {
        return QStringLiteral("Nothing");
    }
    if (value.IsBool()) {
        return value.AsBool() ? QStringLiteral("True") : QStringLiteral("False");
    }
    if (value.IsString()) {
        return u'"' + value.AsString() + u'"';
    }
    switch (value.Type()) {
        case VarType::Integer:
            return QString::number(value.AsInteger());
        case VarType::Long:
            return QString::number(value.AsLong()) + u'&';
        case VarType::Double:
            return QString::number(value.AsDouble(), 'g', 17) + u'#';
        default:
            return QStringLiteral("?");
    }
}

QString BinaryName(BinaryOp op) {
    switch (op) {
        case BinaryOp::Power:
            return QStringLiteral("^");
        case BinaryOp::Multiply:
            return QStringLiteral("*");
        case BinaryOp::Divide:
            return QStringLiteral("/");
        case BinaryOp::IntDivide:
            return QStringLiteral("\\");
        case BinaryOp::Modulo:
            return QStringLiteral("mod");
        case BinaryOp::Add:
            return QStringLiteral("+");
        case BinaryOp::Subtract:
            return QStringLiteral("-");
        case BinaryOp::Concat:
            return QStringLiteral("&");
        case BinaryOp::Equal:
            return QStringLiteral("=");
        case BinaryOp::NotEqual:
            return QStringLiteral("<>");
        case BinaryOp::Less:
            return QStringLiteral("<");
        case BinaryOp::Greater:
            return QStringLiteral(">");
        case BinaryOp::LessEqual:
            return QStringLiteral("<=");
        case BinaryOp::GreaterEqual:
            return QStringLiteral(">=");
        case BinaryOp::Is:
            return QStringLiteral("is");
        case BinaryOp::And:
            return QStringLiteral("and");
        case BinaryOp::Or:
            return QStringLiteral("or");
        case BinaryOp::Xor:
            return QStringLiteral("xor");
        case BinaryOp::Eqv:
            return QStringLiteral("eqv");
        case BinaryOp::Imp:
            return QStringLiteral("imp");
    }
    return QStringLiteral("?");
}

QString PrintList(const std::vector<ExprPtr>& exprs) {
    QString out;
    for (const ExprPtr& expr : exprs) {
        out += u' ' + PrintExpr(*expr);
    }
    return out;
}

QString PrintExpr(const Expr& expr) {
    if (const auto* e = std::get_if<LiteralExpr>(&expr.node)) {
        return PrintLiteral(e->value);
    }
    if (const auto* e = std::get_if<NameExpr>(&expr.node)) {
        return e->name;
    }
    if (const auto* e = std::get_if<MemberExpr>(&expr.node)) {
        return QStringLiteral("(. %1 %2)").arg(PrintExpr(*e->object), e->member);
    }
    if (const auto* e = std::get_if<CallExpr>(&expr.node)) {
        return QStringLiteral("(call %1%2)").arg(PrintExpr(*e->target), PrintList(e->args));
    }
    if (const auto* e = std::get_if<ParenExpr>(&expr.node)) {
        return QStringLiteral("(paren %1)").arg(PrintExpr(*e->inner));
    }
    if (const auto* e = std::get_if<UnaryExpr>(&expr.node)) {
        const QString op = e->op == UnaryOp::Not      ? QStringLiteral("not")
                           : e->op == UnaryOp::Negate ? QStringLiteral("neg")
                                                      : QStringLiteral("plus");
        return QStringLiteral("(%1 %2)").arg(op, PrintExpr(*e->operand));
    }
    const auto& e = std::get<BinaryExpr>(expr.node);
    return QStringLiteral("(%1 %2 %3)")
        .arg(BinaryName(e.op), PrintExpr(*e.left), PrintExpr(*e.right));
}

QString PrintStmt(const Stmt& stmt) {
    if (const auto* s = std::get_if<DimStmt>(&stmt.node)) {
        QString out = QStringLiteral("(dim");
        for (const DimStmt::Var& var : s->vars) {
            out += var.isArray ? QStringLiteral(" (%1%2)").arg(var.name, PrintList(var.bounds))
                               : u' ' + var.name;
        }
        return out + u')';
    }
    if (const auto* s = std::get_if<ReDimStmt>(&stmt.node)) {
        QString out = s->preserve ? QStringLiteral("(redim preserve") : QStringLiteral("(redim");
        for (const ReDimStmt::Var& var : s->vars) {
            out += QStringLiteral(" (%1%2)").arg(var.name, PrintList(var.bounds));
        }
        return out + u')';
    }
    if (const auto* s = std::get_if<ConstStmt>(&stmt.node)) {
        QString out = QStringLiteral("(const");
        for (const ConstStmt::Item& item : s->items) {
            out += QStringLiteral(" (%1 %2)").arg(item.name, PrintExpr(*item.value));
        }
        return out + u')';
    }
    if (const auto* s = std::get_if<AssignStmt>(&stmt.node)) {
        return QStringLiteral("(%1 %2 %3)")
            .arg(s->isSet ? QStringLiteral("set") : QStringLiteral("let"), PrintExpr(*s->target),
                 PrintExpr(*s->value));
    }
    if (const auto* s = std::get_if<CallStmt>(&stmt.node)) {
        return QStringLiteral("(%1 %2%3)")
            .arg(s->explicitCall ? QStringLiteral("Call") : QStringLiteral("callstmt"),
                 PrintExpr(*s->target), PrintList(s->args));
    }
    if (const auto* s = std::get_if<IfStmt>(&stmt.node)) {
        QString out = QStringLiteral("(if");
        for (std::size_t i = 0; i < s->branches.size(); ++i) {
            out += QStringLiteral(" %1%2 %3")
                       .arg(i == 0 ? QString() : QStringLiteral("elseif "),
                            PrintExpr(*s->branches[i].condition), PrintBlock(s->branches[i].body));
        }
        if (s->hasElse) {
            out += QStringLiteral(" else ") + PrintBlock(s->elseBody);
        }
        return out + u')';
    }
    if (const auto* s = std::get_if<SelectStmt>(&stmt.node)) {
        QString out = QStringLiteral("(select ") + PrintExpr(*s->subject);
        for (const SelectStmt::Case& branch : s->cases) {
            out += QStringLiteral(" (case%1 %2)")
                       .arg(PrintList(branch.values), PrintBlock(branch.body));
        }
        if (s->hasElse) {
            out += QStringLiteral(" (else %1)").arg(PrintBlock(s->elseBody));
        }
        return out + u')';
    }
    if (const auto* s = std::get_if<ForStmt>(&stmt.node)) {
        return QStringLiteral("(for %1 %2 %3%4 %5)")
            .arg(s->variable, PrintExpr(*s->from), PrintExpr(*s->to),
                 s->step ? QStringLiteral(" step ") + PrintExpr(*s->step) : QString(),
                 PrintBlock(s->body));
    }
    if (const auto* s = std::get_if<ForEachStmt>(&stmt.node)) {
        return QStringLiteral("(foreach %1 %2 %3)")
            .arg(s->variable, PrintExpr(*s->collection), PrintBlock(s->body));
    }
    if (const auto* s = std::get_if<DoStmt>(&stmt.node)) {
        static const char* const kKinds[] = {"do", "do-while", "do-until", "loop-while",
                                             "loop-until"};
        const QString kind = QString::fromLatin1(kKinds[static_cast<int>(s->kind)]);
        return s->condition ? QStringLiteral("(%1 %2 %3)")
                                  .arg(kind, PrintExpr(*s->condition), PrintBlock(s->body))
                            : QStringLiteral("(%1 %2)").arg(kind, PrintBlock(s->body));
    }
    if (const auto* s = std::get_if<ExitStmt>(&stmt.node)) {
        static const char* const kWhat[] = {"sub", "function", "for", "do"};
        return QStringLiteral("(exit %1)")
            .arg(QString::fromLatin1(kWhat[static_cast<int>(s->what)]));
    }
    const auto& s = std::get<OnErrorStmt>(stmt.node);
    return s.resumeNext ? QStringLiteral("(on-error resume-next)")
                        : QStringLiteral("(on-error goto-0)");
}

QString PrintBlock(const Block& block) {
    QStringList parts;
    for (const StmtPtr& stmt : block) {
        parts << PrintStmt(*stmt);
    }
    return u'[' + parts.join(u' ') + u']';
}

QString PrintProgram(const Program& program) {
    QStringList parts;
    if (program.optionExplicit) {
        parts << QStringLiteral("option-explicit");
    }
    for (const ProcDecl& proc : program.procedures) {
        QStringList params;
        for (const Param& param : proc.params) {
            params << (param.byVal ? QStringLiteral("ByVal ") : QString()) + param.name +
                          (param.isArray ? QStringLiteral("()") : QString());
        }
        parts << QStringLiteral("(%1 %2 (%3) %4)")
                     .arg(proc.isFunction ? QStringLiteral("function") : QStringLiteral("sub"),
                          proc.name, params.join(u' '), PrintBlock(proc.body));
    }
    for (const StmtPtr& stmt : program.body) {
        parts << PrintStmt(*stmt);
    }
    return parts.join(u' ');
}

std::string ErrorsOf(const SParseResult& result) {
    QStringList lines;
    for (const SScriptDiagnostic& error : result.errors) {
        lines << QStringLiteral("%1:%2: %3").arg(error.line).arg(error.column).arg(error.message);
    }
    return lines.join(u'\n').toStdString();
}

// The tree of a script that must parse, or its errors as the failure message.
std::string Tree(const QString& script) {
    const SParseResult result = Parse(script, QStringLiteral("test.vbs"));
    if (!result.program) {
        return "errors:\n" + ErrorsOf(result);
    }
    return PrintProgram(*result.program).toStdString();
}

struct SRow {
    const char* source;
    const char* expected;
};

void PrintTo(const SRow& row, std::ostream* out) {
    *out << row.source;
}

// --- expressions ------------------------------------------------------------------------------

class ExpressionTree : public testing::TestWithParam<SRow> {};

TEST_P(ExpressionTree, ParsesWithVBScriptPrecedence) {
    const std::string expected = std::string("(let x ") + GetParam().expected + ")";
    EXPECT_EQ(Tree(QStringLiteral("x = ") + QString::fromUtf8(GetParam().source)), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Precedence, ExpressionTree,
    testing::Values(
        SRow{"1 + 2 * 3", "(+ 1 (* 2 3))"}, SRow{"1 - 2 - 3", "(- (- 1 2) 3)"},
        SRow{"-2 ^ 2", "(neg (^ 2 2))"}, SRow{"2 ^ -1", "(^ 2 (neg 1))"},
        SRow{"2 ^ 3 ^ 2", "(^ (^ 2 3) 2)"}, SRow{"-a * b", "(* (neg a) b)"},
        SRow{"a - -b", "(- a (neg b))"}, SRow{"+a", "(plus a)"}, SRow{"Not a = b", "(not (= a b))"},
        SRow{"Not a And b", "(and (not a) b)"}, SRow{"a And Not b Or c", "(or (and a (not b)) c)"},
        SRow{"Not Not a", "(not (not a))"}, SRow{"a & b + c", "(& a (+ b c))"},
        SRow{"a Mod b * c", "(mod a (* b c))"}, SRow{"a \\ b * c", "(\\ a (* b c))"},
        SRow{"a \\ b Mod c", "(mod (\\ a b) c)"}, SRow{"a + b Mod c", "(+ a (mod b c))"},
        SRow{"a And b Or c", "(or (and a b) c)"},
        SRow{"a Or b Xor c Eqv d Imp e", "(imp (eqv (xor (or a b) c) d) e)"},
        SRow{"x Is Nothing", "(is x Nothing)"}, SRow{"1 < 2 = True", "(= (< 1 2) True)"},
        SRow{"a <> b And c >= d", "(and (<> a b) (>= c d))"}, SRow{"a <= b & c", "(<= a (& b c))"},
        SRow{"a > b", "(> a b)"}, SRow{"a / b", "(/ a b)"},
        SRow{"(1 + 2) * 3", "(* (paren (+ 1 2)) 3)"}, SRow{"a MOD b AND c", "(and (mod a b) c)"}));

INSTANTIATE_TEST_SUITE_P(Postfix, ExpressionTree,
                         testing::Values(SRow{"obj.m(1, (x))", "(call (. obj m) 1 (paren x))"},
                                         SRow{"a.b(1).c", "(. (call (. a b) 1) c)"},
                                         SRow{"a(1)(2)", "(call (call a 1) 2)"},
                                         SRow{"f()", "(call f)"}, SRow{"f (1)", "(call f 1)"},
                                         SRow{"x.Next + n.Select", "(+ (. x Next) (. n Select))"},
                                         SRow{"Err.Number", "(. Err Number)"},
                                         SRow{"Node.Text", "(. Node Text)"},
                                         SRow{"f(g(1), -h)", "(call f (call g 1) (neg h))"},
                                         SRow{"f((a) + 1)", "(call f (+ (paren a) 1))"},
                                         SRow{"step + error", "(+ step error)"}));

INSTANTIATE_TEST_SUITE_P(
    Literals, ExpressionTree,
    testing::Values(SRow{"True Or False", "(or True False)"}, SRow{"Nothing", "Nothing"},
                    SRow{"Empty", "Empty"}, SRow{"Null", "Null"},
                    SRow{"\"say \"\"hi\"\"\"", "\"say \"hi\"\""}, SRow{"\"\"", "\"\""},
                    SRow{"32767", "32767"}, SRow{"32768", "32768&"},
                    SRow{"2147483647", "2147483647&"}, SRow{"2147483648", "2147483648#"},
                    SRow{"&H1F", "31"}, SRow{"&h7fff", "32767"}, SRow{"&H8000", "-32768"},
                    SRow{"&HFFFF", "-1"}, SRow{"&H10000", "65536&"}, SRow{"&HFFFFFFFF", "-1&"},
                    SRow{"&HFF&", "255&"}, SRow{"&HFFFF&", "65535&"}, SRow{"&O17", "15"},
                    SRow{"&o177777", "-1"}, SRow{"&O37777777777", "-1&"}, SRow{"1.5", "1.5#"},
                    SRow{".5", "0.5#"}, SRow{"1e3", "1000#"}, SRow{"1.5E-3", "0.0015#"},
                    SRow{"007", "7"}, SRow{"a & &H10", "(& a 16)"}, SRow{"a & h10", "(& a h10)"}));

// --- statements -------------------------------------------------------------------------------

class StatementTree : public testing::TestWithParam<SRow> {};

TEST_P(StatementTree, BuildsTheTree) {
    EXPECT_EQ(Tree(QString::fromUtf8(GetParam().source)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Declarations, StatementTree,
    testing::Values(SRow{"Option Explicit\nDim a, b(3), c(), d(2, 4)",
                         "option-explicit (dim a (b 3) (c) (d 2 4))"},
                    SRow{"' header\n\nOption Explicit", "option-explicit"},
                    SRow{"ReDim a(n)\nReDim Preserve a(n + 1), b(x, y)",
                         "(redim (a n)) (redim preserve (a (+ n 1)) (b x y))"},
                    SRow{"Const a = 1, b = \"x\"", "(const (a 1) (b \"x\"))"},
                    SRow{"Private Const K = -1\nPublic Dim p\nPrivate q, r(2)",
                         "(const (K (neg 1))) (dim p) (dim q (r 2))"},
                    SRow{"Private Sub S\nEnd Sub\nPublic Function F()\nEnd Function",
                         "(sub S () []) (function F () [])"},
                    SRow{"Function F(ByVal a, ByRef b, c())\n  F = a + b\nEnd Function",
                         "(function F (ByVal a b c()) [(let F (+ a b))])"},
                    SRow{"x = 1\nSub Later(a)\n  Exit Sub\nEnd Sub\ny = 2",
                         "(sub Later (a) [(exit sub)]) (let x 1) (let y 2)"}));

INSTANTIATE_TEST_SUITE_P(
    AssignmentsAndCalls, StatementTree,
    testing::Values(
        SRow{"x = a = b", "(let x (= a b))"}, SRow{"a(i) = e", "(let (call a i) e)"},
        SRow{"obj.p = e", "(let (. obj p) e)"}, SRow{"obj.m(i) = e", "(let (call (. obj m) i) e)"},
        SRow{"Set x = Nothing", "(set x Nothing)"},
        SRow{"Let x = 1\nlet = 2", "(let x 1) (let let 2)"},
        SRow{"Set o.Item(1) = f()", "(set (call (. o Item) 1) (call f))"},
        SRow{"Foo", "(callstmt Foo)"}, SRow{"Foo a, b", "(callstmt Foo a b)"},
        SRow{"Foo -1", "(callstmt Foo (neg 1))"},
        SRow{"obj.Method a", "(callstmt (. obj Method) a)"},
        SRow{"Call Foo(a, b)", "(Call Foo a b)"}, SRow{"Call Foo(a)", "(Call Foo a)"},
        // An argument left out is passed as Empty.
        SRow{"Err.Raise 5, , \"text\"", "(callstmt (. Err Raise) 5 Empty \"text\")"},
        SRow{"x = f(a, , b)", "(let x (call f a Empty b))"}, SRow{"Call Foo", "(Call Foo)"},
        SRow{"Call obj.M(a)", "(Call (. obj M) a)"},
        SRow{"Call Foo((a), b)", "(Call Foo (paren a) b)"},
        SRow{"Foo (a)", "(callstmt Foo (paren a))"}, SRow{"Foo(a)", "(callstmt Foo (paren a))"},
        SRow{"Foo()", "(callstmt Foo)"}, SRow{"Foo (a), b", "(callstmt Foo (paren a) b)"},
        SRow{"Foo (a) + 1, b", "(callstmt Foo (+ (paren a) 1) b)"},
        SRow{"obj.M (a)", "(callstmt (. obj M) (paren a))"},
        SRow{"a.b(1).c (2), 3", "(callstmt (. (call (. a b) 1) c) (paren 2) 3)"},
        SRow{"f(1).Go", "(callstmt (. (call f 1) Go))"},
        SRow{"On Error Resume Next\non error goto 0", "(on-error resume-next) (on-error goto-0)"}));

INSTANTIATE_TEST_SUITE_P(
    Lines, StatementTree,
    testing::Values(SRow{"x = 1 : y = 2", "(let x 1) (let y 2)"},
                    SRow{"x = 1 + _\n    2", "(let x (+ 1 2))"},
                    SRow{"Foo a, _  \r\n b", "(callstmt Foo a b)"},
                    SRow{"x = 1 ' note: y = 2\r\ny = 3", "(let x 1) (let y 3)"},
                    SRow{"Rem all of this: x = 1\nx = 2 : REM and this", "(let x 2)"},
                    SRow{"x = \"it's\" ' not a comment start", "(let x \"it's\")"},
                    SRow{"Remark = 1", "(let Remark 1)"},
                    SRow{"\xEF\xBB\xBFx = 1\r\r\n", "(let x 1)"}));

INSTANTIATE_TEST_SUITE_P(
    If, StatementTree,
    testing::Values(SRow{"If c Then x = 1 Else y = 2", "(if c [(let x 1)] else [(let y 2)])"},
                    SRow{"If c Then x = 1 : Foo a Else y = 2 : Bar",
                         "(if c [(let x 1) (callstmt Foo a)] else [(let y 2) (callstmt Bar)])"},
                    SRow{"If a Then If b Then x Else y",
                         "(if a [(if b [(callstmt x)] else [(callstmt y)])])"},
                    SRow{"If a Then\n  x = 1\nElseIf b Then\n  x = 2\nElse\n  x = 3\nEnd If",
                         "(if a [(let x 1)] elseif b [(let x 2)] else [(let x 3)])"},
                    SRow{"if a then\nx\nelse if b then\ny\nend if\nEND IF",
                         "(if a [(callstmt x)] else [(if b [(callstmt y)])])"},
                    SRow{"If a Then\nEnd If", "(if a [])"},
                    SRow{"If a Then : x = 1 : End If", "(if a [(let x 1)])"}));

INSTANTIATE_TEST_SUITE_P(
    Loops, StatementTree,
    testing::Values(
        SRow{"Select Case x\n' cases\nCase 1, 2 : y = 1\n  z = 2\nCase \"a\"\nCase Else\n  y = "
             "0\nEnd Select",
             "(select x (case 1 2 [(let y 1) (let z 2)]) (case \"a\" []) (else [(let y 0)]))"},
        SRow{"For i = 1 To n Step -2\n  s = s + i\nNext",
             "(for i 1 n step (neg 2) [(let s (+ s i))])"},
        SRow{"For i = 0 To 9 : Foo i : Next i", "(for i 0 9 [(callstmt Foo i)])"},
        SRow{"For Each node In doc.ChildNodes\n  If node.Text = \"\" Then Exit For\nNext",
             "(foreach node (. doc ChildNodes) [(if (= (. node Text) \"\") [(exit for)])])"},
        SRow{"Do\n  Exit Do\nLoop", "(do [(exit do)])"},
        SRow{"Do While a < 3\nLoop", "(do-while (< a 3) [])"},
        SRow{"Do Until a\nLoop", "(do-until a [])"}, SRow{"Do\nLoop While a", "(loop-while a [])"},
        SRow{"Do\nLoop Until a Or b", "(loop-until (or a b) [])"},
        SRow{"While x\n  x = x - 1\nWend", "(do-while x [(let x (- x 1))])"},
        SRow{"Function F()\n  For i = 1 To 2\n    Do\n      Exit Function\n    Loop\n  Next\nEnd "
             "Function",
             "(function F () [(for i 1 2 [(do [(exit function)])])])"}));

TEST(ScriptParser, PositionsPointAtTheStartOfEachNode) {
    const SParseResult result = Parse(
        QStringLiteral("Dim a\n  Set obj.p = 1 + f(x)\n\tCall Foo(a)"), QStringLiteral("t"), 10);
    ASSERT_TRUE(result.program) << ErrorsOf(result);
    const Block& body = result.program->body;
    ASSERT_EQ(body.size(), 3U);
    auto at = [](SPos pos) { return std::pair(pos.line, pos.column); };
    EXPECT_EQ(at(body[0]->pos), std::pair(10, 1));
    EXPECT_EQ(at(std::get<DimStmt>(body[0]->node).vars[0].pos), std::pair(10, 5));
    EXPECT_EQ(at(body[1]->pos), std::pair(11, 7));
    const auto& assign = std::get<AssignStmt>(body[1]->node);
    EXPECT_EQ(at(assign.target->pos), std::pair(11, 7));
    EXPECT_EQ(at(assign.value->pos), std::pair(11, 15));
    const auto& sum = std::get<BinaryExpr>(assign.value->node);
    EXPECT_EQ(at(sum.right->pos), std::pair(11, 19));
    EXPECT_EQ(at(std::get<CallExpr>(sum.right->node).args[0]->pos), std::pair(11, 21));
    EXPECT_EQ(at(body[2]->pos), std::pair(12, 7));
}

// --- errors -----------------------------------------------------------------------------------

class SyntaxErrors : public testing::TestWithParam<SRow> {};

TEST_P(SyntaxErrors, ReportsEachWithItsPlace) {
    const SParseResult result =
        Parse(QString::fromUtf8(GetParam().source), QStringLiteral("t.vbs"));
    EXPECT_EQ(ErrorsOf(result), GetParam().expected);
    EXPECT_EQ(result.program, nullptr);
    for (const SScriptDiagnostic& error : result.errors) {
        EXPECT_EQ(error.number, err::kSyntaxError);
        EXPECT_EQ(error.file, QStringLiteral("t.vbs"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lexical, SyntaxErrors,
    testing::Values(SRow{"x = \"abc", "1:5: unterminated string"},
                    SRow{"x = \"abc\ny = 1 $",
                         "1:5: unterminated string\n2:7: invalid character '$'"},
                    SRow{"x = #1/1/2000#", "1:5: date literals (#...#) are not supported"},
                    SRow{"[my var] = 1", "1:1: bracketed names ([...]) are not supported"},
                    SRow{"x = 1 _ + 2", "1:7: a line continuation '_' must end its line"},
                    SRow{"x = 1 + _ ' no comment here\n2",
                         "1:9: a line continuation '_' must end its line\n2:1: unexpected '2'"},
                    SRow{"x = &H1G", "1:5: invalid hex number '&H1G'"},
                    SRow{"x = &O8", "1:5: invalid octal number '&O8'"},
                    SRow{"x = &H100000000", "1:5: hex number '&H100000000' is too large"},
                    SRow{"x = 1e999", "1:5: number '1e999' is too large"},
                    SRow{"x = \x01", "1:5: invalid character U+0001"},
                    SRow{"x = $%!? + y $", "1:5: invalid character '$'"},
                    SRow{"x = 123456789012345678901234567890123456789e999",
                         "1:5: number '12345678901234567890123456789012...' is too large"}));

INSTANTIATE_TEST_SUITE_P(
    Statements, SyntaxErrors,
    testing::Values(
        SRow{"If a\n  x = 1\nEnd If", "1:5: expected 'Then' after the If condition"},
        SRow{"If a = Then\nEnd If", "1:8: expected an expression"},
        SRow{"If a = Then x = 1\ny = 2", "1:8: expected an expression"},
        SRow{"x = (1 + 2", "1:11: expected ')' to close '(' at line 1"},
        SRow{"x = f(1,\n2)", "1:9: expected an expression\n2:1: unexpected '2'"},
        SRow{"Case1 = 1\nSelect Case x\nCase 1, , 2\nEnd Select", "3:9: expected an expression"},
        SRow{"x = 1 2", "1:7: expected end of statement, found '2'"},
        SRow{"x = ", "1:5: expected an expression"},
        SRow{"x = Then", "1:5: expected an expression"}, SRow{"Else", "1:1: unexpected 'Else'"},
        SRow{"end if", "1:1: unexpected 'end if'"},
        SRow{"End", "1:1: expected 'If', 'Select', 'Sub' or 'Function' after 'End'"},
        SRow{"End Class", "1:1: unexpected 'End Class'"},
        SRow{"Foo(a, b)",
             "1:4: cannot use parentheses around several arguments of a call "
             "statement; drop them or write 'Call' first"},
        SRow{"Call 1", "1:6: expected a procedure name after 'Call'"},
        SRow{"Set x", "1:6: expected '=' after the Set target"},
        SRow{"x.", "1:3: expected a member name after '.'"},
        SRow{"Dim a(n)", "1:7: expected a whole number as the array bound"},
        SRow{"Dim 1", "1:5: expected a variable name"},
        SRow{"Dim a(1,)", "1:9: expected a whole number as the array bound"},
        SRow{"ReDim a", "1:8: expected '(' and the new bounds after 'a'"},
        SRow{"ReDim a()", "1:7: 'ReDim a' needs at least one bound"},
        SRow{"Const a", "1:8: expected '=' after the constant name"},
        SRow{"x = 1\nOption Explicit",
             "2:1: 'Option Explicit' must come before any other statement"},
        SRow{"Option Base 1", "1:8: expected 'Explicit' after 'Option'"},
        SRow{"For i = 1 To\nNext", "1:13: expected an expression"},
        SRow{"For i 1 To 2\nNext", "1:7: expected '=' after the loop variable"},
        SRow{"For i = 1 Step 2\nNext", "1:11: expected 'To' after the start value"},
        SRow{"For Each x Of y\nNext", "1:12: expected 'In' after the loop variable"},
        SRow{"For i = 1 To 2\nNext j", "2:6: 'Next j' does not match 'For i' at line 1"},
        SRow{"Do While a\nLoop Until b",
             "2:6: a Do loop takes a condition after 'Do' or after "
             "'Loop', not both"},
        SRow{"Select x\nEnd Select", "1:8: expected 'Case' after 'Select'"},
        SRow{"Select Case x\n  y = 1\nCase 1\nEnd Select",
             "2:3: expected 'Case' or 'End Select', found 'y'"},
        SRow{"Select Case x\nCase Else\nCase 1\nEnd Select",
             "3:1: 'Case' cannot follow 'Case Else'"},
        SRow{"Exit For", "1:1: 'Exit For' outside a 'For' loop"},
        SRow{"If c Then Exit Sub", "1:11: 'Exit Sub' outside a 'Sub'"},
        SRow{"While a\nExit Do\nWend", "2:1: 'Exit Do' outside a 'Do' loop"},
        SRow{"Function F\nExit Sub\nEnd Function", "2:1: 'Exit Sub' outside a 'Sub'"},
        SRow{"Exit Now", "1:6: expected 'Sub', 'Function', 'For' or 'Do' after 'Exit'"},
        SRow{"On Error GoTo Handler",
             "1:15: only 'On Error GoTo 0' is supported (there are no labels)"},
        SRow{"On Error Resume", "1:16: expected 'Next' after 'On Error Resume'"},
        SRow{"Sub\nEnd Sub", "1:4: expected a name after 'Sub'"},
        SRow{"Sub S(a,)\nEnd Sub", "1:9: expected a parameter name"},
        SRow{"Sub S(a\nEnd Sub", "1:8: expected ')' to close '(' at line 1"},
        SRow{"If a Then\n  Sub S\n  End Sub\nEnd If",
             "2:3: 'Sub' cannot be declared inside a block"},
        SRow{"Sub A\n  Function B\n  End Function\nEnd Sub",
             "2:3: 'Function' cannot be declared inside another procedure"},
        SRow{"If a Then For i = 1 To 2 : x : Next",
             "1:11: 'For' cannot be used in a single-line If; put the If on several lines ending "
             "with 'End If'"},
        SRow{"For i = 1 To 2 : If a Then Exit For : Next",
             "1:39: 'Next' cannot be used in a single-line If"},
        SRow{"If a Then\nx\nElse\ny\nElse\nEnd If",
             "5:1: unexpected 'Else' (this If already has one)"},
        SRow{"If a Then\nElse\nElseIf b Then\nEnd If", "3:1: 'ElseIf' cannot follow 'Else'"}));

INSTANTIATE_TEST_SUITE_P(
    Unsupported, SyntaxErrors,
    testing::Values(SRow{"Class C\nEnd Class",
                         "1:1: 'Class' is not supported (there are no classes)\n"
                         "2:1: unexpected 'End Class'"},
                    SRow{"With x\n.a = 1\nEnd With",
                         "1:1: 'With' is not supported\n2:1: unexpected '.'\n"
                         "3:1: unexpected 'End With'"},
                    SRow{"Set x = New RegExp",
                         "1:9: 'New' is not supported (there are no classes)"},
                    SRow{"Property Get P\nEnd Property",
                         "1:1: 'Property' is not supported (there are no classes)\n"
                         "2:1: unexpected 'End Property'"},
                    SRow{"GoTo x",
                         "1:1: 'GoTo' is not supported (only 'On Error Resume Next' and "
                         "'On Error GoTo 0')"},
                    SRow{"Stop", "1:1: 'Stop' is not supported"}));

INSTANTIATE_TEST_SUITE_P(
    UnclosedBlocks, SyntaxErrors,
    testing::Values(
        SRow{"x = 1\n\nIf a Then\n  y = 2\n", "5:1: 'End If' expected (to close 'If' at line 3)"},
        SRow{"For i = 1 To 2\n  Do\n  Next", "3:3: 'Loop' expected (to close 'Do' at line 2)"},
        SRow{"Function F\n  If a Then\n    x = 1\nEnd Function",
             "4:1: 'End If' expected (to close 'If' at line 2)"},
        SRow{"Sub S\n  While a\n",
             "3:1: 'Wend' expected (to close 'While' at line 2)\n"
             "3:1: 'End Sub' expected (to close 'Sub' at line 1)"},
        SRow{"If a Then\n  For i = 1 To 2\nElse\nEnd If",
             "3:1: 'Next' expected (to close 'For' at line 2)"},
        SRow{"Select Case a\nCase 1\n  If b Then\nEnd Select",
             "4:1: 'End If' expected (to close 'If' at line 3)"},
        SRow{"For i = 1 To 2\nx = 1\nWend\nNext", "3:1: unexpected 'Wend'"},
        SRow{"Function F\n  x = 1\nEnd Sub\n",
             "3:1: unexpected 'End Sub'\n"
             "4:1: 'End Function' expected (to close 'Function' at line 1)"}));

// Each bad line is reported once, and parsing goes on after it.
INSTANTIATE_TEST_SUITE_P(
    SeveralErrors, SyntaxErrors,
    testing::Values(
        SRow{"x = (1\ny = 2 +\nz = 3\nw = 4 4",
             "1:7: expected ')' to close '(' at line 1\n"
             "2:8: expected an expression\n"
             "4:7: expected end of statement, found '4'"},
        SRow{"If a Then\n  x = $\n  y = )\nEnd If\nNext",
             "2:7: invalid character '$'\n3:7: expected an expression\n5:1: unexpected 'Next'"},
        SRow{"Sub A(\n  x = 1 +\nEnd Sub\nFunction B\n  Sub C\n  End Sub\nEnd Function\nx = 1 :: y",
             "1:7: expected a parameter name\n2:10: expected an expression\n"
             "5:3: 'Sub' cannot be declared inside another procedure"},
        SRow{"If a Then x = 1 Else Else", "1:22: expected end of statement, found 'Else'"}));

TEST(ScriptParser, DiagnosticsCountLinesFromTheGivenFirstLine) {
    const SParseResult result = Parse(QStringLiteral("x = 1\ny = )"), QStringLiteral("a.vbs"), 41);
    ASSERT_EQ(result.errors.size(), 1U);
    EXPECT_EQ(result.errors[0].ToString(), QStringLiteral("a.vbs:42:5: expected an expression"));
}

TEST(ScriptParser, StopsAfterFiftyErrors) {
    QString script;
    for (int i = 0; i < 200; ++i) {
        script += QStringLiteral("x = )\n");
    }
    const SParseResult result = Parse(script, QStringLiteral("t"));
    EXPECT_EQ(result.errors.size(), 50U);
    EXPECT_EQ(result.errors.back().line, 50);
}

// --- hostile input ----------------------------------------------------------------------------

struct SDeepRow {
    const char* name;
    QString (*make)(int depth);
    const char* message;
};

void PrintTo(const SDeepRow& row, std::ostream* out) {
    *out << row.name;
}

class DeepNesting : public testing::TestWithParam<SDeepRow> {};

TEST_P(DeepNesting, GivesOneErrorWhenDeepAndParsesWhenModerate) {
    const SParseResult deep = Parse(GetParam().make(10000), QStringLiteral("t"));
    ASSERT_EQ(deep.errors.size(), 1U) << ErrorsOf(deep);
    EXPECT_EQ(deep.errors[0].message.toStdString(), GetParam().message);
    EXPECT_EQ(deep.program, nullptr);

    const SParseResult moderate = Parse(GetParam().make(100), QStringLiteral("t"));
    EXPECT_TRUE(moderate.program) << ErrorsOf(moderate);
}

INSTANTIATE_TEST_SUITE_P(
    Hostile, DeepNesting,
    testing::Values(
        SDeepRow{"Parentheses",
                 [](int n) {
                     return QStringLiteral("x = ") + QString(n, u'(') + u'1' + QString(n, u')');
                 },
                 "expression nested too deeply"},
        SDeepRow{"Calls",
                 [](int n) {
                     return QStringLiteral("x = ") + QStringLiteral("f(").repeated(n) + u'1' +
                            QString(n, u')');
                 },
                 "expression nested too deeply"},
        SDeepRow{
            "Negations",
            [](int n) { return QStringLiteral("x = ") + QStringLiteral("- ").repeated(n) + u'1'; },
            "expression nested too deeply"},
        SDeepRow{"Nots",
                 [](int n) {
                     return QStringLiteral("x = ") + QStringLiteral("Not ").repeated(n) + u'1';
                 },
                 "expression nested too deeply"},
        SDeepRow{"OperatorChain",
                 [](int n) { return QStringLiteral("x = 1") + QStringLiteral(" + 1").repeated(n); },
                 "expression too complex"},
        SDeepRow{"MemberChain",
                 [](int n) { return QStringLiteral("x = a") + QStringLiteral(".b").repeated(n); },
                 "expression too complex"},
        SDeepRow{"BlockIfs",
                 [](int n) {
                     return QStringLiteral("If a Then\n").repeated(n) +
                            QStringLiteral("End If\n").repeated(n);
                 },
                 "blocks nested too deeply"},
        SDeepRow{"SingleLineIfs",
                 [](int n) { return QStringLiteral("If a Then ").repeated(n) + u'x'; },
                 "blocks nested too deeply"},
        SDeepRow{"MixedLoops",
                 [](int n) {
                     return QStringLiteral("Do\nFor i = 1 To 2\nWhile a\n").repeated(n / 3) +
                            QStringLiteral("Wend\nNext\nLoop\n").repeated(n / 3);
                 },
                 "blocks nested too deeply"}));

TEST(ScriptParser, RandomTextNeverCrashes) {
    // Fragments that reach many rules, mixed with arbitrary characters.
    const QStringList fragments = {
        QStringLiteral("If "),    QStringLiteral(" Then"),  QStringLiteral("Else "),
        QStringLiteral("End If"), QStringLiteral("For "),   QStringLiteral("Each "),
        QStringLiteral("Next"),   QStringLiteral("Do "),    QStringLiteral("Loop"),
        QStringLiteral("While "), QStringLiteral("Wend"),   QStringLiteral("Select Case "),
        QStringLiteral("Case "),  QStringLiteral("Sub "),   QStringLiteral("Function "),
        QStringLiteral("End "),   QStringLiteral("Call "),  QStringLiteral("Set "),
        QStringLiteral("Dim "),   QStringLiteral("ReDim "), QStringLiteral("x"),
        QStringLiteral("("),      QStringLiteral(")"),      QStringLiteral(","),
        QStringLiteral("."),      QStringLiteral("="),      QStringLiteral(" + "),
        QStringLiteral("Not "),   QStringLiteral(":"),      QStringLiteral("\n"),
        QStringLiteral(" _\n"),   QStringLiteral("\""),     QStringLiteral("'"),
        QStringLiteral("&H"),     QStringLiteral("1"),      QStringLiteral("Rem "),
        QStringLiteral("Exit ")};
    std::mt19937 random(20240611);
    for (int round = 0; round < 3000; ++round) {
        QString script;
        const int length = static_cast<int>(random() % 60);
        for (int i = 0; i < length; ++i) {
            if (random() % 4 == 0) {
                script += QChar(static_cast<char16_t>(random() % 0x3000));
            } else {
                script += fragments[static_cast<qsizetype>(random() % fragments.size())];
            }
        }
        const SParseResult result = Parse(script, QStringLiteral("t"));
        ASSERT_EQ(result.program == nullptr, !result.errors.empty()) << script.toStdString();
        ASSERT_LE(result.errors.size(), 50U);
    }
}

// How fast it parses is measured in the benchmark; here, that a long script parses whole.
TEST(ScriptParser, ParsesALongScriptWhole) {
    const QString chunk = QStringLiteral(
        "' a comment line\n"
        "For i = 1 To UBound(list) Step 2\n"
        "    If list(i).Text = \"abc\" & i Then total = total + i * 2 Else Foo (i), \"x\"\n"
        "Next\n");
    const int count = (1 << 17) / static_cast<int>(chunk.size());
    const SParseResult result = Parse(chunk.repeated(count), QStringLiteral("t"));
    ASSERT_TRUE(result.program) << ErrorsOf(result);
    EXPECT_EQ(result.program->body.size(), static_cast<std::size_t>(count));
}

}  // namespace
}  // namespace vbs
