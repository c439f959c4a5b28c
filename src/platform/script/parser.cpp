#include "platform/script/parser.h"

#include <algorithm>
#include <new>
#include <optional>
#include <utility>

#include <QSet>

#include "platform/script/lexer.h"

namespace vbs {

namespace {

constexpr std::size_t kMaxErrors = 50;
// Parsing recursion: nested parentheses, unary operators, calls in arguments.
constexpr int kMaxExprDepth = 200;
// The height of one expression tree, long operator chains included: whoever walks the tree
// recursively (the interpreter, the destructors) must not run out of stack.
constexpr int kMaxExprHeight = 400;
constexpr int kMaxBlockDepth = 200;

enum class EBlock { If, Select, For, Do, While, Sub, Function };

// The words that end a block, seen at the start of a statement.
enum class ETerm {
    None,
    ElseIf,
    Else,
    EndIf,
    Case,
    EndSelect,
    Next,
    Loop,
    Wend,
    EndSub,
    EndFunction,
    EndOther,  // "End" alone or followed by a word that ends no block we know
    EndOfText,
};

struct SOpenBlock {
    EBlock kind;
    int line;
};

bool Closes(ETerm term, EBlock block) {
    switch (term) {
        case ETerm::ElseIf:
        case ETerm::Else:
        case ETerm::EndIf:
            return block == EBlock::If;
        case ETerm::Case:
        case ETerm::EndSelect:
            return block == EBlock::Select;
        case ETerm::Next:
            return block == EBlock::For;
        case ETerm::Loop:
            return block == EBlock::Do;
        case ETerm::Wend:
            return block == EBlock::While;
        case ETerm::EndSub:
            return block == EBlock::Sub;
        case ETerm::EndFunction:
            return block == EBlock::Function;
        default:
            return false;
    }
}

// What closes a block and what opened it, as a diagnostic names them.
std::pair<QString, QString> BlockWords(EBlock block) {
    switch (block) {
        case EBlock::If:
            return {QStringLiteral("End If"), QStringLiteral("If")};
        case EBlock::Select:
            return {QStringLiteral("End Select"), QStringLiteral("Select")};
        case EBlock::For:
            return {QStringLiteral("Next"), QStringLiteral("For")};
        case EBlock::Do:
            return {QStringLiteral("Loop"), QStringLiteral("Do")};
        case EBlock::While:
            return {QStringLiteral("Wend"), QStringLiteral("While")};
        case EBlock::Sub:
            return {QStringLiteral("End Sub"), QStringLiteral("Sub")};
        case EBlock::Function:
            return {QStringLiteral("End Function"), QStringLiteral("Function")};
    }
    return {};
}

struct SBinaryOperator {
    BinaryOp op;
    int precedence;  // higher binds tighter
};

constexpr int kComparisonPrecedence = 7;  // also the operand of Not, which binds looser

std::optional<SBinaryOperator> BinaryOperatorOf(const SToken& token) {
    switch (token.kind) {
        case TokenKind::Star:
            return SBinaryOperator{BinaryOp::Multiply, 12};
        case TokenKind::Slash:
            return SBinaryOperator{BinaryOp::Divide, 12};
        case TokenKind::Backslash:
            return SBinaryOperator{BinaryOp::IntDivide, 11};
        case TokenKind::Plus:
            return SBinaryOperator{BinaryOp::Add, 9};
        case TokenKind::Minus:
            return SBinaryOperator{BinaryOp::Subtract, 9};
        case TokenKind::Ampersand:
            return SBinaryOperator{BinaryOp::Concat, 8};
        case TokenKind::Equal:
            return SBinaryOperator{BinaryOp::Equal, kComparisonPrecedence};
        case TokenKind::NotEqual:
            return SBinaryOperator{BinaryOp::NotEqual, kComparisonPrecedence};
        case TokenKind::Less:
            return SBinaryOperator{BinaryOp::Less, kComparisonPrecedence};
        case TokenKind::Greater:
            return SBinaryOperator{BinaryOp::Greater, kComparisonPrecedence};
        case TokenKind::LessEqual:
            return SBinaryOperator{BinaryOp::LessEqual, kComparisonPrecedence};
        case TokenKind::GreaterEqual:
            return SBinaryOperator{BinaryOp::GreaterEqual, kComparisonPrecedence};
        case TokenKind::Keyword:
            break;
        default:
            return std::nullopt;
    }
    switch (token.keyword) {
        case Keyword::Mod:
            return SBinaryOperator{BinaryOp::Modulo, 10};
        case Keyword::Is:
            return SBinaryOperator{BinaryOp::Is, kComparisonPrecedence};
        case Keyword::And:
            return SBinaryOperator{BinaryOp::And, 5};
        case Keyword::Or:
            return SBinaryOperator{BinaryOp::Or, 4};
        case Keyword::Xor:
            return SBinaryOperator{BinaryOp::Xor, 3};
        case Keyword::Eqv:
            return SBinaryOperator{BinaryOp::Eqv, 2};
        case Keyword::Imp:
            return SBinaryOperator{BinaryOp::Imp, 1};
        default:
            return std::nullopt;
    }
}

bool IsIntegerLiteralText(QStringView text) {
    return text.startsWith(u'&') ||
           std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

class CParser {
public:
    CParser(const QString& text, const QString& fileName, int firstLine)
        : m_lexer(text, firstLine), m_file(fileName) {}

    SParseResult Run();

private:
    struct SMark {
        CLexer lexer;
        SToken token;
        std::optional<SToken> peeked;
    };

    // Counts one level of nesting for as long as it lives.
    class CNesting {
    public:
        explicit CNesting(int& depth) : m_depth(depth) { ++m_depth; }
        ~CNesting() { --m_depth; }
        CNesting(const CNesting&) = delete;
        CNesting& operator=(const CNesting&) = delete;

    private:
        int& m_depth;
    };

    // --- tokens ---
    void Advance();
    const SToken& Peek();
    SMark Mark() const { return SMark{m_lexer, m_token, m_peeked}; }
    void Reset(SMark mark);
    bool Is(TokenKind kind) const { return m_token.kind == kind; }
    bool IsKeyword(Keyword keyword) const {
        return m_token.keyword == keyword &&
               (m_token.kind == TokenKind::Keyword || m_token.kind == TokenKind::Name);
    }
    bool AcceptKeyword(Keyword keyword);
    QString TextOf(const SToken& token) const { return m_lexer.TextOf(token).toString(); }
    QString Describe(const SToken& token) const { return DescribeToken(m_lexer, token); }
    bool AtStatementEnd() const;
    void SkipSeparators();
    void SkipToStatementEnd();
    void SkipToLineEnd();

    // --- diagnostics ---
    void Error(SPos pos, const QString& message);
    void CheckRedefinitions();
    void ErrorAtCurrent(const QString& message);
    void TooDeep(const QString& message);
    void Stop();
    std::size_t ErrorCount() const { return m_errors.size(); }

    // --- expressions ---
    template <typename Node>
    ExprPtr MakeExpr(SPos pos, Node node, int height);
    ExprPtr ParseExpr();
    ExprPtr ParseBinary(int minPrecedence);
    ExprPtr ParseOperand();
    ExprPtr ParsePower();
    ExprPtr ParsePowerOperand();
    ExprPtr ParsePrimary();
    ExprPtr ParseChain(std::optional<SMark>* lastParen);
    bool ParseParenArgs(std::vector<ExprPtr>& args, int* height, bool omitted = true);
    bool ParseBareArgs(std::vector<ExprPtr>& args, bool omitted = true);
    ExprPtr OmittedArgument() const;
    bool ExpectClose(const SToken& open);

    // --- statements ---
    void ParseBlock(Block& out);
    bool FinishStatement(std::size_t errorsBefore);
    ETerm Terminator();
    QString DescribeTerminator();
    void ReportStrayTerminator(ETerm term);
    bool ClosesOpenBlock(ETerm term) const;
    bool InsideOpen(EBlock kind) const;
    void ReportMissingEnd(const SOpenBlock& open);
    bool EndHeader();
    StmtPtr ParseStatement();
    StmtPtr ParseOption();
    StmtPtr ParseDim(SPos pos);
    StmtPtr ParseReDim();
    StmtPtr ParseConst(SPos pos);
    StmtPtr ParseDeclaration();
    enum class EAssign { Either, Let, Set };
    StmtPtr ParseAssignOrCall(EAssign kind);
    StmtPtr ParseCall();
    StmtPtr ParseIf();
    ExprPtr ParseCondition(const QString& what);
    bool RecoverIfHeader();
    void ParseInlineStatements(Block& out);
    StmtPtr ParseSelect();
    StmtPtr ParseFor();
    StmtPtr ParseDo();
    StmtPtr ParseWhile();
    StmtPtr ParseExit();
    StmtPtr ParseOnError();
    void ParseProcedure();
    bool ParseParams(std::vector<Param>& params);
    StmtPtr Unsupported(const QString& what);

    CLexer m_lexer;
    SToken m_token;
    std::optional<SToken> m_peeked;
    QString m_file;
    std::vector<SScriptDiagnostic> m_errors;
    bool m_stopped = false;
    std::unique_ptr<Program> m_program;
    std::vector<SOpenBlock> m_blocks;
    int m_exprDepth = 0;
    int m_lastHeight = 0;  // the height of the expression the last Parse...() returned
    int m_nesting = 0;     // compound statements, single-line Ifs included
    int m_inlineIf = 0;    // > 0 while parsing the statements of a single-line If
    bool m_sawStatement = false;
};

template <typename Node>
StmtPtr MakeStmt(SPos pos, Node node) {
    auto stmt = std::make_unique<Stmt>();
    stmt->pos = pos;
    stmt->node = std::move(node);
    return stmt;
}

// --- tokens -----------------------------------------------------------------------------------

void CParser::Advance() {
    if (m_stopped) {
        return;
    }
    if (m_peeked) {
        m_token = std::move(*m_peeked);
        m_peeked.reset();
    } else {
        m_token = m_lexer.Next();
    }
}

const SToken& CParser::Peek() {
    if (m_stopped) {
        return m_token;
    }
    if (!m_peeked) {
        m_peeked = m_lexer.Next();
    }
    return *m_peeked;
}

void CParser::Reset(SMark mark) {
    m_lexer = std::move(mark.lexer);
    m_token = std::move(mark.token);
    m_peeked = std::move(mark.peeked);
}

bool CParser::AcceptKeyword(Keyword keyword) {
    if (!IsKeyword(keyword)) {
        return false;
    }
    Advance();
    return true;
}

bool CParser::AtStatementEnd() const {
    return Is(TokenKind::Newline) || Is(TokenKind::Colon) || Is(TokenKind::EndOfText) ||
           (m_inlineIf > 0 && IsKeyword(Keyword::Else));
}

void CParser::SkipSeparators() {
    while (Is(TokenKind::Newline) || Is(TokenKind::Colon)) {
        Advance();
    }
}

void CParser::SkipToStatementEnd() {
    while (!AtStatementEnd()) {
        Advance();
    }
}

void CParser::SkipToLineEnd() {
    while (!Is(TokenKind::Newline) && !Is(TokenKind::EndOfText)) {
        Advance();
    }
}

// --- diagnostics ------------------------------------------------------------------------------

void CParser::Error(SPos pos, const QString& message) {
    if (m_stopped) {
        return;
    }
    m_errors.push_back(SScriptDiagnostic{m_file, pos.line, pos.column, err::kSyntaxError, message});
    if (m_errors.size() >= kMaxErrors) {
        Stop();
    }
}

// A character the lexer refused explains the error better than what the parser expected there.
void CParser::ErrorAtCurrent(const QString& message) {
    if (Is(TokenKind::Error)) {
        Error(m_token.pos, m_token.value.AsString());
    } else {
        Error(m_token.pos, message);
    }
}

void CParser::TooDeep(const QString& message) {
    Error(m_token.pos, message);
    Stop();
}

// Everything after this reads as the end of the text, so that every open rule unwinds quietly.
void CParser::Stop() {
    m_stopped = true;
    m_peeked.reset();
    SToken end;
    end.kind = TokenKind::EndOfText;
    end.pos = m_token.pos;
    m_token = std::move(end);
}

// --- expressions ------------------------------------------------------------------------------

template <typename Node>
ExprPtr CParser::MakeExpr(SPos pos, Node node, int height) {
    if (height > kMaxExprHeight) {
        TooDeep(QStringLiteral("expression too complex"));
        return nullptr;
    }
    auto expr = std::make_unique<Expr>();
    expr->pos = pos;
    expr->node = std::move(node);
    m_lastHeight = height;
    return expr;
}

// Expr -> Binary(lowest)
ExprPtr CParser::ParseExpr() {
    CNesting nesting(m_exprDepth);
    if (m_exprDepth > kMaxExprDepth) {
        TooDeep(QStringLiteral("expression nested too deeply"));
        return nullptr;
    }
    return ParseBinary(1);
}

// Binary(p) -> Operand { op Binary(precedence(op) + 1) }   for every op with precedence >= p
ExprPtr CParser::ParseBinary(int minPrecedence) {
    ExprPtr left = ParseOperand();
    if (!left) {
        return nullptr;
    }
    int height = m_lastHeight;
    for (;;) {
        const std::optional<SBinaryOperator> op = BinaryOperatorOf(m_token);
        if (!op || op->precedence < minPrecedence) {
            break;
        }
        Advance();
        ExprPtr right = ParseBinary(op->precedence + 1);
        if (!right) {
            return nullptr;
        }
        const SPos pos = left->pos;
        left = MakeExpr(pos, BinaryExpr{op->op, std::move(left), std::move(right)},
                        std::max(height, m_lastHeight) + 1);
        if (!left) {
            return nullptr;
        }
        height = m_lastHeight;
    }
    m_lastHeight = height;
    return left;
}

// Operand -> Not Binary(comparison) | ('-' | '+') Operand | Power
// Not binds looser than comparison ("Not a = b" is "Not (a = b)"), negation looser than '^'
// ("-2 ^ 2" is -4).
ExprPtr CParser::ParseOperand() {
    const SPos pos = m_token.pos;
    std::optional<UnaryOp> op;
    if (IsKeyword(Keyword::Not)) {
        op = UnaryOp::Not;
    } else if (Is(TokenKind::Minus)) {
        op = UnaryOp::Negate;
    } else if (Is(TokenKind::Plus)) {
        op = UnaryOp::Plus;
    }
    if (!op) {
        return ParsePower();
    }
    CNesting nesting(m_exprDepth);
    if (m_exprDepth > kMaxExprDepth) {
        TooDeep(QStringLiteral("expression nested too deeply"));
        return nullptr;
    }
    Advance();
    ExprPtr operand = *op == UnaryOp::Not ? ParseBinary(kComparisonPrecedence) : ParseOperand();
    if (!operand) {
        return nullptr;
    }
    return MakeExpr(pos, UnaryExpr{*op, std::move(operand)}, m_lastHeight + 1);
}

// Power -> Primary { '^' PowerOperand }
ExprPtr CParser::ParsePower() {
    ExprPtr left = ParsePrimary();
    if (!left) {
        return nullptr;
    }
    while (Is(TokenKind::Caret)) {
        const int height = m_lastHeight;
        Advance();
        ExprPtr right = ParsePowerOperand();
        if (!right) {
            return nullptr;
        }
        const SPos pos = left->pos;
        left = MakeExpr(pos, BinaryExpr{BinaryOp::Power, std::move(left), std::move(right)},
                        std::max(height, m_lastHeight) + 1);
        if (!left) {
            return nullptr;
        }
    }
    return left;
}

// PowerOperand -> ('-' | '+') PowerOperand | Primary       ("2 ^ -1")
ExprPtr CParser::ParsePowerOperand() {
    if (!Is(TokenKind::Minus) && !Is(TokenKind::Plus)) {
        return ParsePrimary();
    }
    CNesting nesting(m_exprDepth);
    if (m_exprDepth > kMaxExprDepth) {
        TooDeep(QStringLiteral("expression nested too deeply"));
        return nullptr;
    }
    const SPos pos = m_token.pos;
    const UnaryOp op = Is(TokenKind::Minus) ? UnaryOp::Negate : UnaryOp::Plus;
    Advance();
    ExprPtr operand = ParsePowerOperand();
    if (!operand) {
        return nullptr;
    }
    return MakeExpr(pos, UnaryExpr{op, std::move(operand)}, m_lastHeight + 1);
}

// Primary -> Number | String | True | False | Nothing | Empty | Null | Chain | '(' Expr ')'
ExprPtr CParser::ParsePrimary() {
    const SPos pos = m_token.pos;
    switch (m_token.kind) {
        case TokenKind::Number:
        case TokenKind::String: {
            CVariant value = m_token.value;
            Advance();
            return MakeExpr(pos, LiteralExpr{std::move(value)}, 1);
        }
        case TokenKind::Name:
            return ParseChain(nullptr);
        case TokenKind::LeftParen: {
            const SToken open = m_token;
            Advance();
            ExprPtr inner = ParseExpr();
            if (!inner || !ExpectClose(open)) {
                return nullptr;
            }
            return MakeExpr(pos, ParenExpr{std::move(inner)}, m_lastHeight + 1);
        }
        case TokenKind::Keyword:
            break;
        default:
            ErrorAtCurrent(QStringLiteral("expected an expression"));
            return nullptr;
    }
    CVariant value;
    switch (m_token.keyword) {
        case Keyword::True:
            value = CVariant(true);
            break;
        case Keyword::False:
            value = CVariant(false);
            break;
        case Keyword::Nothing:
            value = CVariant::Nothing();
            break;
        case Keyword::Empty:
            break;
        case Keyword::Null:
            value = CVariant::Null();
            break;
        case Keyword::New:
            ErrorAtCurrent(QStringLiteral("'%1' is not supported (there are no classes)")
                               .arg(TextOf(m_token)));
            return nullptr;
        default:
            ErrorAtCurrent(QStringLiteral("expected an expression"));
            return nullptr;
    }
    Advance();
    return MakeExpr(pos, LiteralExpr{std::move(value)}, 1);
}

// Chain -> Name { '.' Word | '(' [Expr {',' Expr}] ')' }
// Any word may follow a dot (x.Next, n.Select). `lastParen`, when given, receives the place of
// the last '(' so that a call statement can read "Foo (a) + 1, b" again as arguments.
ExprPtr CParser::ParseChain(std::optional<SMark>* lastParen) {
    const SPos pos = m_token.pos;
    ExprPtr expr = MakeExpr(pos, NameExpr{TextOf(m_token)}, 1);
    Advance();
    while (expr) {
        if (Is(TokenKind::Dot)) {
            Advance();
            if (!Is(TokenKind::Name) && !Is(TokenKind::Keyword)) {
                ErrorAtCurrent(QStringLiteral("expected a member name after '.'"));
                return nullptr;
            }
            QString member = TextOf(m_token);
            Advance();
            expr = MakeExpr(pos, MemberExpr{std::move(expr), std::move(member)}, m_lastHeight + 1);
        } else if (Is(TokenKind::LeftParen)) {
            if (lastParen) {
                *lastParen = Mark();
            }
            int height = m_lastHeight;
            CallExpr call{std::move(expr), {}};
            if (!ParseParenArgs(call.args, &height)) {
                return nullptr;
            }
            expr = MakeExpr(pos, std::move(call), height + 1);
        } else {
            break;
        }
    }
    return expr;
}

ExprPtr CParser::OmittedArgument() const {
    auto expr = std::make_unique<Expr>();
    expr->pos = m_token.pos;
    expr->node = LiteralExpr{CVariant()};
    return expr;
}

// Args -> '(' [Arg {',' Arg}] ')'; Arg -> Expr | (nothing: an omitted argument, passed as
// Empty, as in Err.Raise 5, , "text"). `height` comes in as the callee's and leaves as the
// tallest of it and the arguments. Bounds (`omitted` false) cannot be left out.
bool CParser::ParseParenArgs(std::vector<ExprPtr>& args, int* height, bool omitted) {
    const SToken open = m_token;
    Advance();
    if (Is(TokenKind::RightParen)) {
        Advance();
        return true;
    }
    for (;;) {
        if (omitted && (Is(TokenKind::Comma) || (!args.empty() && Is(TokenKind::RightParen)))) {
            args.push_back(OmittedArgument());
            if (!Is(TokenKind::Comma)) {
                break;
            }
            Advance();
            continue;
        }
        ExprPtr arg = ParseExpr();
        if (!arg) {
            return false;
        }
        *height = std::max(*height, m_lastHeight);
        args.push_back(std::move(arg));
        if (!Is(TokenKind::Comma)) {
            break;
        }
        Advance();
    }
    return ExpectClose(open);
}

// BareArgs -> Arg {',' Arg}; Case lists (`omitted` false) cannot leave a value out.
bool CParser::ParseBareArgs(std::vector<ExprPtr>& args, bool omitted) {
    for (;;) {
        if (omitted && !args.empty() && (Is(TokenKind::Comma) || AtStatementEnd())) {
            args.push_back(OmittedArgument());
            if (!Is(TokenKind::Comma)) {
                return true;
            }
            Advance();
            continue;
        }
        ExprPtr arg = ParseExpr();
        if (!arg) {
            return false;
        }
        args.push_back(std::move(arg));
        if (!Is(TokenKind::Comma)) {
            return true;
        }
        Advance();
    }
}

bool CParser::ExpectClose(const SToken& open) {
    if (Is(TokenKind::RightParen)) {
        Advance();
        return true;
    }
    ErrorAtCurrent(QStringLiteral("expected ')' to close '(' at line %1").arg(open.pos.line));
    return false;
}

// --- blocks -----------------------------------------------------------------------------------

ETerm CParser::Terminator() {
    if (Is(TokenKind::EndOfText)) {
        return ETerm::EndOfText;
    }
    if (!Is(TokenKind::Keyword)) {
        return ETerm::None;
    }
    switch (m_token.keyword) {
        case Keyword::ElseIf:
            return ETerm::ElseIf;
        case Keyword::Else:
            return ETerm::Else;
        case Keyword::Case:
            return ETerm::Case;
        case Keyword::Next:
            return ETerm::Next;
        case Keyword::Loop:
            return ETerm::Loop;
        case Keyword::Wend:
            return ETerm::Wend;
        case Keyword::End:
            break;
        default:
            return ETerm::None;
    }
    const SToken& next = Peek();
    if (next.kind != TokenKind::Keyword) {
        return ETerm::EndOther;
    }
    switch (next.keyword) {
        case Keyword::If:
            return ETerm::EndIf;
        case Keyword::Select:
            return ETerm::EndSelect;
        case Keyword::Sub:
            return ETerm::EndSub;
        case Keyword::Function:
            return ETerm::EndFunction;
        default:
            return ETerm::EndOther;
    }
}

// "End If" and its kin are two tokens; a diagnostic quotes both as written.
QString CParser::DescribeTerminator() {
    if (Is(TokenKind::Keyword) && m_token.keyword == Keyword::End) {
        const SToken& next = Peek();
        if (next.kind == TokenKind::Keyword || next.kind == TokenKind::Name) {
            return u'\'' + TextOf(m_token) + u' ' + TextOf(next) + u'\'';
        }
    }
    return Describe(m_token);
}

// A block end that no open block wants: report it and go on after it.
void CParser::ReportStrayTerminator(ETerm term) {
    if (term == ETerm::EndOther) {
        const SToken& next = Peek();
        if (next.kind == TokenKind::Keyword || next.kind == TokenKind::Name) {
            ErrorAtCurrent(QStringLiteral("unexpected %1").arg(DescribeTerminator()));
        } else {
            ErrorAtCurrent(QStringLiteral("expected 'If', 'Select', 'Sub' or 'Function' after '%1'")
                               .arg(TextOf(m_token)));
        }
    } else {
        ErrorAtCurrent(QStringLiteral("unexpected %1").arg(DescribeTerminator()));
    }
    Advance();
    SkipToStatementEnd();
}

bool CParser::ClosesOpenBlock(ETerm term) const {
    return std::any_of(m_blocks.begin(), m_blocks.end(),
                       [term](const SOpenBlock& open) { return Closes(term, open.kind); });
}

bool CParser::InsideOpen(EBlock kind) const {
    return std::any_of(m_blocks.begin(), m_blocks.end(),
                       [kind](const SOpenBlock& open) { return open.kind == kind; });
}

void CParser::ReportMissingEnd(const SOpenBlock& open) {
    const auto [closer, opener] = BlockWords(open.kind);
    ErrorAtCurrent(QStringLiteral("'%1' expected (to close '%2' at line %3)")
                       .arg(closer, opener)
                       .arg(open.line));
}

// Block -> { Stmt (NEWLINE | ':') }, up to a word that ends this block or an enclosing one. A
// block end that matches no open block is reported and skipped, so that one stray "Next" does
// not close every block around it.
void CParser::ParseBlock(Block& out) {
    const int inlineIf = std::exchange(m_inlineIf, 0);
    for (;;) {
        SkipSeparators();
        const ETerm term = Terminator();
        if (term == ETerm::EndOfText || (term != ETerm::None && ClosesOpenBlock(term))) {
            break;
        }
        if (term != ETerm::None) {
            ReportStrayTerminator(term);
            continue;
        }
        const std::size_t errorsBefore = ErrorCount();
        StmtPtr stmt = ParseStatement();
        if (stmt) {
            out.push_back(std::move(stmt));
        }
        FinishStatement(errorsBefore);
    }
    m_inlineIf = inlineIf;
}

// After a statement comes its end; anything else is reported and skipped. When the statement
// already reported why it stopped short, a block end where it stopped stays: it may still close
// an open block ("If a Then Exit For : Next" leaves the Next to its For).
// Returns whether the statement ended cleanly.
bool CParser::FinishStatement(std::size_t errorsBefore) {
    if (AtStatementEnd()) {
        return true;
    }
    if (ErrorCount() == errorsBefore) {
        ErrorAtCurrent(
            QStringLiteral("expected end of statement, found %1").arg(Describe(m_token)));
        SkipToStatementEnd();
        return false;
    }
    const ETerm term = Terminator();
    if (term == ETerm::None || term == ETerm::EndOther) {
        SkipToStatementEnd();
    }
    return false;
}

// The end of a block statement's first line. False (reported) when something else follows.
bool CParser::EndHeader() {
    if (AtStatementEnd()) {
        return true;
    }
    ErrorAtCurrent(QStringLiteral("expected end of statement, found %1").arg(Describe(m_token)));
    return false;
}

// --- statements -------------------------------------------------------------------------------

StmtPtr CParser::ParseStatement() {
    if (!IsKeyword(Keyword::Option)) {
        m_sawStatement = true;
    }
    if (Is(TokenKind::Name)) {
        if (IsKeyword(Keyword::Property)) {
            const SToken& next = Peek();
            if (next.keyword == Keyword::Get || next.keyword == Keyword::Let ||
                next.keyword == Keyword::Set) {
                return Unsupported(QStringLiteral("there are no classes"));
            }
        }
        // "Let x = 1" would otherwise read as a call of Let with the argument (x = 1).
        if (IsKeyword(Keyword::Let) && Peek().kind == TokenKind::Name) {
            Advance();
            return ParseAssignOrCall(EAssign::Let);
        }
        return ParseAssignOrCall(EAssign::Either);
    }
    if (!Is(TokenKind::Keyword)) {
        ErrorAtCurrent(QStringLiteral("unexpected %1").arg(Describe(m_token)));
        return nullptr;
    }
    const bool blockStatement = IsKeyword(Keyword::Select) || IsKeyword(Keyword::For) ||
                                IsKeyword(Keyword::Do) || IsKeyword(Keyword::While);
    if (blockStatement && m_inlineIf > 0) {
        ErrorAtCurrent(QStringLiteral("'%1' cannot be used in a single-line If; put the If on "
                                      "several lines ending with 'End If'")
                           .arg(TextOf(m_token)));
    }
    switch (m_token.keyword) {
        case Keyword::Option:
            return ParseOption();
        case Keyword::Dim:
            return ParseDim(m_token.pos);
        case Keyword::ReDim:
            return ParseReDim();
        case Keyword::Const:
            return ParseConst(m_token.pos);
        case Keyword::Private:
        case Keyword::Public:
            return ParseDeclaration();
        case Keyword::Set:
            Advance();
            return ParseAssignOrCall(EAssign::Set);
        case Keyword::Call:
            return ParseCall();
        case Keyword::If:
            return ParseIf();
        case Keyword::Select:
            return ParseSelect();
        case Keyword::For:
            return ParseFor();
        case Keyword::Do:
            return ParseDo();
        case Keyword::While:
            return ParseWhile();
        case Keyword::Sub:
        case Keyword::Function:
            ParseProcedure();
            return nullptr;
        case Keyword::Exit:
            return ParseExit();
        case Keyword::On:
            return ParseOnError();
        case Keyword::Class:
            return Unsupported(QStringLiteral("there are no classes"));
        case Keyword::With:
        case Keyword::Stop:
            return Unsupported({});
        case Keyword::GoTo:
        case Keyword::Resume:
            return Unsupported(QStringLiteral("only 'On Error Resume Next' and 'On Error GoTo 0'"));
        default:
            ErrorAtCurrent(QStringLiteral("unexpected %1").arg(Describe(m_token)));
            return nullptr;
    }
}

StmtPtr CParser::Unsupported(const QString& why) {
    QString message = QStringLiteral("'%1' is not supported").arg(TextOf(m_token));
    if (!why.isEmpty()) {
        message += QStringLiteral(" (%1)").arg(why);
    }
    ErrorAtCurrent(message);
    SkipToStatementEnd();
    return nullptr;
}

// OptionStmt -> Option Explicit
StmtPtr CParser::ParseOption() {
    const SToken option = m_token;
    Advance();
    if (!IsKeyword(Keyword::Explicit)) {
        ErrorAtCurrent(QStringLiteral("expected 'Explicit' after '%1'").arg(TextOf(option)));
        return nullptr;
    }
    Advance();
    if (m_sawStatement) {
        Error(option.pos, QStringLiteral("'Option Explicit' must come before any other statement"));
        return nullptr;
    }
    m_program->optionExplicit = true;
    return nullptr;
}

// DimStmt -> Dim DimVar {',' DimVar}
// DimVar -> Name ['(' [Integer {',' Integer}] ')']
// Also "Private a, b" and "Public a, b", which start at the name.
StmtPtr CParser::ParseDim(SPos pos) {
    if (IsKeyword(Keyword::Dim)) {
        Advance();
    }
    DimStmt dim;
    for (;;) {
        if (!Is(TokenKind::Name)) {
            ErrorAtCurrent(QStringLiteral("expected a variable name"));
            return nullptr;
        }
        DimStmt::Var var;
        var.pos = m_token.pos;
        var.name = TextOf(m_token);
        Advance();
        if (Is(TokenKind::LeftParen)) {
            const SToken open = m_token;
            var.isArray = true;
            Advance();
            for (bool more = !Is(TokenKind::RightParen); more;) {
                if (!Is(TokenKind::Number) || !IsIntegerLiteralText(m_lexer.TextOf(m_token))) {
                    ErrorAtCurrent(QStringLiteral("expected a whole number as the array bound"));
                    return nullptr;
                }
                var.bounds.push_back(MakeExpr(m_token.pos, LiteralExpr{m_token.value}, 1));
                Advance();
                more = Is(TokenKind::Comma);
                if (more) {
                    Advance();
                }
            }
            if (!ExpectClose(open)) {
                return nullptr;
            }
        }
        dim.vars.push_back(std::move(var));
        if (!Is(TokenKind::Comma)) {
            break;
        }
        Advance();
    }
    return MakeStmt(pos, std::move(dim));
}

// ReDimStmt -> ReDim [Preserve] Name '(' Expr {',' Expr} ')' {',' Name '(' ... ')'}
StmtPtr CParser::ParseReDim() {
    const SPos pos = m_token.pos;
    Advance();
    ReDimStmt redim;
    redim.preserve = AcceptKeyword(Keyword::Preserve);
    for (;;) {
        if (!Is(TokenKind::Name)) {
            ErrorAtCurrent(QStringLiteral("expected an array name"));
            return nullptr;
        }
        ReDimStmt::Var var;
        var.pos = m_token.pos;
        var.name = TextOf(m_token);
        Advance();
        if (!Is(TokenKind::LeftParen)) {
            ErrorAtCurrent(
                QStringLiteral("expected '(' and the new bounds after '%1'").arg(var.name));
            return nullptr;
        }
        int height = 0;
        if (!ParseParenArgs(var.bounds, &height, false)) {
            return nullptr;
        }
        if (var.bounds.empty()) {
            Error(var.pos, QStringLiteral("'ReDim %1' needs at least one bound").arg(var.name));
            return nullptr;
        }
        redim.vars.push_back(std::move(var));
        if (!Is(TokenKind::Comma)) {
            break;
        }
        Advance();
    }
    return MakeStmt(pos, std::move(redim));
}

// ConstStmt -> Const Name '=' Expr {',' Name '=' Expr}
StmtPtr CParser::ParseConst(SPos pos) {
    Advance();
    ConstStmt stmt;
    for (;;) {
        if (!Is(TokenKind::Name)) {
            ErrorAtCurrent(QStringLiteral("expected a constant name"));
            return nullptr;
        }
        ConstStmt::Item item;
        item.pos = m_token.pos;
        item.name = TextOf(m_token);
        Advance();
        if (!Is(TokenKind::Equal)) {
            ErrorAtCurrent(QStringLiteral("expected '=' after the constant name"));
            return nullptr;
        }
        Advance();
        item.value = ParseExpr();
        if (!item.value) {
            return nullptr;
        }
        stmt.items.push_back(std::move(item));
        if (!Is(TokenKind::Comma)) {
            break;
        }
        Advance();
    }
    return MakeStmt(pos, std::move(stmt));
}

// Declaration -> (Private | Public) (Dim ... | Const ... | Sub ... | Function ... | DimVar ...)
// The scope word changes nothing in a single script.
StmtPtr CParser::ParseDeclaration() {
    const SToken scope = m_token;
    Advance();
    if (IsKeyword(Keyword::Dim)) {
        return ParseDim(scope.pos);
    }
    if (IsKeyword(Keyword::Const)) {
        return ParseConst(scope.pos);
    }
    if (IsKeyword(Keyword::Sub) || IsKeyword(Keyword::Function)) {
        ParseProcedure();
        return nullptr;
    }
    if (IsKeyword(Keyword::Property) || IsKeyword(Keyword::Default)) {
        return Unsupported(QStringLiteral("there are no classes"));
    }
    if (Is(TokenKind::Name)) {
        return ParseDim(scope.pos);
    }
    ErrorAtCurrent(QStringLiteral("expected 'Dim', 'Const', 'Sub', 'Function' or a variable name "
                                  "after '%1'")
                       .arg(TextOf(scope)));
    return nullptr;
}

// AssignStmt -> [Set | Let] Chain '=' Expr
// CallStmt -> Chain [BareArgs]
// A chain that ends in "(...)" at the end of the statement was a call with its arguments in
// parentheses: "Foo(a)" and "Foo (a)" both pass (a), a parenthesised (ByVal) argument. When more
// follows ("Foo (a) + 1, b"), the parentheses began the first argument; the arguments are read
// again from there.
StmtPtr CParser::ParseAssignOrCall(EAssign kind) {
    const bool isSet = kind == EAssign::Set;
    if (!Is(TokenKind::Name)) {
        ErrorAtCurrent(isSet ? QStringLiteral("expected a variable after 'Set'")
                             : QStringLiteral("unexpected %1").arg(Describe(m_token)));
        return nullptr;
    }
    const SPos pos = m_token.pos;
    std::optional<SMark> lastParen;
    ExprPtr target = ParseChain(&lastParen);
    if (!target) {
        return nullptr;
    }
    if (Is(TokenKind::Equal)) {
        Advance();
        AssignStmt assign{std::move(target), ParseExpr(), isSet};
        if (!assign.value) {
            return nullptr;
        }
        return MakeStmt(pos, std::move(assign));
    }
    if (kind != EAssign::Either) {
        ErrorAtCurrent(QStringLiteral("expected '=' after the %1 target")
                           .arg(isSet ? QStringLiteral("Set") : QStringLiteral("Let")));
        return nullptr;
    }
    CallStmt call;
    auto* paren = std::get_if<CallExpr>(&target->node);
    if (!paren) {
        call.target = std::move(target);
        if (!AtStatementEnd() && !ParseBareArgs(call.args)) {
            return nullptr;
        }
        return MakeStmt(pos, std::move(call));
    }
    if (paren->args.size() > 1) {
        Error(lastParen->token.pos,
              QStringLiteral("cannot use parentheses around several arguments of a call "
                             "statement; drop them or write 'Call' first"));
        return nullptr;
    }
    call.target = std::move(paren->target);
    if (AtStatementEnd()) {
        if (!paren->args.empty()) {
            auto inner = std::move(paren->args.front());
            call.args.push_back(
                MakeExpr(lastParen->token.pos, ParenExpr{std::move(inner)}, m_lastHeight + 1));
        }
        return MakeStmt(pos, std::move(call));
    }
    if (paren->args.empty()) {
        ErrorAtCurrent(
            QStringLiteral("expected end of statement, found %1").arg(Describe(m_token)));
        return nullptr;
    }
    Reset(std::move(*lastParen));
    if (!ParseBareArgs(call.args)) {
        return nullptr;
    }
    return MakeStmt(pos, std::move(call));
}

// CallStmt -> Call Chain
StmtPtr CParser::ParseCall() {
    const SToken callWord = m_token;
    Advance();
    if (!Is(TokenKind::Name)) {
        ErrorAtCurrent(
            QStringLiteral("expected a procedure name after '%1'").arg(TextOf(callWord)));
        return nullptr;
    }
    const SPos pos = m_token.pos;
    ExprPtr target = ParseChain(nullptr);
    if (!target) {
        return nullptr;
    }
    CallStmt call;
    call.explicitCall = true;
    if (auto* paren = std::get_if<CallExpr>(&target->node)) {
        call.target = std::move(paren->target);
        call.args = std::move(paren->args);
    } else {
        call.target = std::move(target);
    }
    return MakeStmt(pos, std::move(call));
}

// IfStmt -> If Expr Then NEWLINE Block {ElseIf Expr Then Block} [Else Block] End If
//         | If Expr Then InlineStmts [Else InlineStmts]           (all on one line)
StmtPtr CParser::ParseIf() {
    CNesting nesting(m_nesting);
    if (m_nesting > kMaxBlockDepth) {
        TooDeep(QStringLiteral("blocks nested too deeply"));
        return nullptr;
    }
    const SToken ifWord = m_token;
    Advance();
    bool ok = true;
    IfStmt stmt;
    IfStmt::Branch first;
    first.pos = ifWord.pos;
    first.condition = ParseCondition(QStringLiteral("If"));
    bool blockForm = AtStatementEnd() && !IsKeyword(Keyword::Else);
    if (!first.condition) {
        ok = false;
        blockForm = RecoverIfHeader();
    }
    if (!blockForm) {
        if (!ok) {
            return nullptr;
        }
        ParseInlineStatements(first.body);
        stmt.branches.push_back(std::move(first));
        if (AcceptKeyword(Keyword::Else)) {
            stmt.hasElse = true;
            ParseInlineStatements(stmt.elseBody);
        }
        return MakeStmt(ifWord.pos, std::move(stmt));
    }
    if (m_inlineIf > 0) {
        Error(ifWord.pos, QStringLiteral("a single-line If cannot hold an If block; put the "
                                         "outer If on several lines too"));
        ok = false;
    }
    const SOpenBlock open{EBlock::If, ifWord.pos.line};
    m_blocks.push_back(open);
    ParseBlock(first.body);
    stmt.branches.push_back(std::move(first));
    for (;;) {
        const ETerm term = Terminator();
        if (term == ETerm::ElseIf) {
            if (stmt.hasElse) {
                ErrorAtCurrent(QStringLiteral("'%1' cannot follow 'Else'").arg(TextOf(m_token)));
                ok = false;
            }
            IfStmt::Branch branch;
            branch.pos = m_token.pos;
            Advance();
            branch.condition = ParseCondition(QStringLiteral("ElseIf"));
            if (!branch.condition) {
                ok = false;
                SkipToLineEnd();
            }
            ParseBlock(branch.body);
            stmt.branches.push_back(std::move(branch));
        } else if (term == ETerm::Else) {
            if (stmt.hasElse) {
                ErrorAtCurrent(QStringLiteral("unexpected %1 (this If already has one)")
                                   .arg(Describe(m_token)));
                ok = false;
            }
            stmt.hasElse = true;
            Advance();
            ParseBlock(stmt.elseBody);
        } else if (term == ETerm::EndIf) {
            Advance();
            Advance();
            break;
        } else {
            ReportMissingEnd(open);
            ok = false;
            break;
        }
    }
    m_blocks.pop_back();
    return ok ? MakeStmt(ifWord.pos, std::move(stmt)) : nullptr;
}

// Condition -> Expr Then
ExprPtr CParser::ParseCondition(const QString& what) {
    ExprPtr condition = ParseExpr();
    if (!condition) {
        return nullptr;
    }
    if (!IsKeyword(Keyword::Then)) {
        ErrorAtCurrent(QStringLiteral("expected 'Then' after the %1 condition").arg(what));
        return nullptr;
    }
    Advance();
    return condition;
}

// After an error in "If ... Then", skips the line and tells whether it was a block If: one
// whose Then ends the line (or that has no Then at all, the likelier slip on a block).
bool CParser::RecoverIfHeader() {
    bool blockForm = true;
    while (!Is(TokenKind::Newline) && !Is(TokenKind::EndOfText)) {
        if (IsKeyword(Keyword::Then)) {
            Advance();
            blockForm = Is(TokenKind::Newline) || Is(TokenKind::EndOfText) || Is(TokenKind::Colon);
            continue;
        }
        Advance();
    }
    return blockForm;
}

// InlineStmts -> [Stmt] {':' [Stmt]}          up to the end of the line or a matching Else
void CParser::ParseInlineStatements(Block& out) {
    ++m_inlineIf;
    for (;;) {
        if (Is(TokenKind::Colon)) {
            Advance();
            continue;
        }
        if (Is(TokenKind::Newline) || Is(TokenKind::EndOfText) || IsKeyword(Keyword::Else)) {
            break;
        }
        const ETerm term = Terminator();
        if (term == ETerm::EndOther) {
            ReportStrayTerminator(term);
            continue;
        }
        if (term != ETerm::None) {
            // Left in place: it most likely closes a block around this If.
            ErrorAtCurrent(
                QStringLiteral("%1 cannot be used in a single-line If").arg(DescribeTerminator()));
            break;
        }
        const std::size_t errorsBefore = ErrorCount();
        StmtPtr stmt = ParseStatement();
        if (stmt) {
            out.push_back(std::move(stmt));
        }
        if (!FinishStatement(errorsBefore) && !AtStatementEnd()) {
            break;
        }
    }
    --m_inlineIf;
}

// SelectStmt -> Select Case Expr NEWLINE {Case (Else | Expr {',' Expr}) Block} End Select
StmtPtr CParser::ParseSelect() {
    CNesting nesting(m_nesting);
    if (m_nesting > kMaxBlockDepth) {
        TooDeep(QStringLiteral("blocks nested too deeply"));
        return nullptr;
    }
    const SToken selectWord = m_token;
    Advance();
    bool ok = true;
    SelectStmt stmt;
    if (!IsKeyword(Keyword::Case)) {
        ErrorAtCurrent(QStringLiteral("expected 'Case' after '%1'").arg(TextOf(selectWord)));
        ok = false;
    } else {
        Advance();
        stmt.subject = ParseExpr();
        ok = stmt.subject && EndHeader();
    }
    if (!ok) {
        SkipToStatementEnd();
    }
    const SOpenBlock open{EBlock::Select, selectWord.pos.line};
    m_blocks.push_back(open);
    for (;;) {
        SkipSeparators();
        const ETerm term = Terminator();
        if (term == ETerm::Case) {
            const SToken caseWord = m_token;
            Advance();
            if (IsKeyword(Keyword::Else)) {
                if (stmt.hasElse) {
                    Error(caseWord.pos, QStringLiteral("this Select already has a 'Case Else'"));
                    ok = false;
                }
                Advance();
                stmt.hasElse = true;
                ParseBlock(stmt.elseBody);
                continue;
            }
            if (stmt.hasElse) {
                Error(caseWord.pos,
                      QStringLiteral("'%1' cannot follow 'Case Else'").arg(TextOf(caseWord)));
                ok = false;
            }
            SelectStmt::Case branch;
            branch.pos = caseWord.pos;
            if (!ParseBareArgs(branch.values, false) || !EndHeader()) {
                ok = false;
                SkipToStatementEnd();
            }
            ParseBlock(branch.body);
            stmt.cases.push_back(std::move(branch));
        } else if (term == ETerm::EndSelect) {
            Advance();
            Advance();
            break;
        } else if (term == ETerm::None) {
            ErrorAtCurrent(
                QStringLiteral("expected 'Case' or 'End Select', found %1").arg(Describe(m_token)));
            ok = false;
            Advance();
            SkipToStatementEnd();
        } else if (term != ETerm::EndOfText && !ClosesOpenBlock(term)) {
            ReportStrayTerminator(term);
            ok = false;
        } else {
            ReportMissingEnd(open);
            ok = false;
            break;
        }
    }
    m_blocks.pop_back();
    return ok ? MakeStmt(selectWord.pos, std::move(stmt)) : nullptr;
}

// ForStmt -> For Name '=' Expr To Expr [Step Expr] NEWLINE Block Next [Name]
// ForEachStmt -> For Each Name In Expr NEWLINE Block Next [Name]
StmtPtr CParser::ParseFor() {
    CNesting nesting(m_nesting);
    if (m_nesting > kMaxBlockDepth) {
        TooDeep(QStringLiteral("blocks nested too deeply"));
        return nullptr;
    }
    const SToken forWord = m_token;
    Advance();
    const bool each = AcceptKeyword(Keyword::Each);
    ForStmt stmt;
    ForEachStmt eachStmt;
    QString variable;
    bool ok = Is(TokenKind::Name);
    if (ok) {
        variable = TextOf(m_token);
        Advance();
    } else {
        ErrorAtCurrent(
            QStringLiteral("expected the loop variable after '%1'").arg(TextOf(forWord)));
    }
    if (ok && each) {
        ok = IsKeyword(Keyword::In);
        if (!ok) {
            ErrorAtCurrent(QStringLiteral("expected 'In' after the loop variable"));
        } else {
            Advance();
            eachStmt.collection = ParseExpr();
            ok = eachStmt.collection != nullptr;
        }
    } else if (ok) {
        ok = Is(TokenKind::Equal);
        if (!ok) {
            ErrorAtCurrent(QStringLiteral("expected '=' after the loop variable"));
        } else {
            Advance();
            stmt.from = ParseExpr();
            ok = stmt.from != nullptr;
        }
        if (ok && !IsKeyword(Keyword::To)) {
            ErrorAtCurrent(QStringLiteral("expected 'To' after the start value"));
            ok = false;
        }
        if (ok) {
            Advance();
            stmt.to = ParseExpr();
            ok = stmt.to != nullptr;
        }
        if (ok && AcceptKeyword(Keyword::Step)) {
            stmt.step = ParseExpr();
            ok = stmt.step != nullptr;
        }
    }
    ok = ok && EndHeader();
    if (!ok) {
        SkipToStatementEnd();
    }
    const SOpenBlock open{EBlock::For, forWord.pos.line};
    m_blocks.push_back(open);
    ParseBlock(each ? eachStmt.body : stmt.body);
    m_blocks.pop_back();
    if (Terminator() != ETerm::Next) {
        ReportMissingEnd(open);
        return nullptr;
    }
    Advance();
    if (Is(TokenKind::Name)) {
        if (ok && m_lexer.TextOf(m_token).compare(variable, Qt::CaseInsensitive) != 0) {
            ErrorAtCurrent(QStringLiteral("'Next %1' does not match 'For %2' at line %3")
                               .arg(TextOf(m_token), variable)
                               .arg(forWord.pos.line));
            ok = false;
        }
        Advance();
    }
    if (!ok) {
        return nullptr;
    }
    if (each) {
        eachStmt.variable = std::move(variable);
        return MakeStmt(forWord.pos, std::move(eachStmt));
    }
    stmt.variable = std::move(variable);
    return MakeStmt(forWord.pos, std::move(stmt));
}

// DoStmt -> Do [(While | Until) Expr] NEWLINE Block Loop [(While | Until) Expr]
StmtPtr CParser::ParseDo() {
    CNesting nesting(m_nesting);
    if (m_nesting > kMaxBlockDepth) {
        TooDeep(QStringLiteral("blocks nested too deeply"));
        return nullptr;
    }
    const SToken doWord = m_token;
    Advance();
    DoStmt stmt;
    bool ok = true;
    if (IsKeyword(Keyword::While) || IsKeyword(Keyword::Until)) {
        stmt.kind = IsKeyword(Keyword::While) ? DoStmt::Kind::PreWhile : DoStmt::Kind::PreUntil;
        Advance();
        stmt.condition = ParseExpr();
        ok = stmt.condition != nullptr;
    }
    ok = ok && EndHeader();
    if (!ok) {
        SkipToStatementEnd();
    }
    const SOpenBlock open{EBlock::Do, doWord.pos.line};
    m_blocks.push_back(open);
    ParseBlock(stmt.body);
    m_blocks.pop_back();
    if (Terminator() != ETerm::Loop) {
        ReportMissingEnd(open);
        return nullptr;
    }
    Advance();
    if (IsKeyword(Keyword::While) || IsKeyword(Keyword::Until)) {
        if (stmt.kind != DoStmt::Kind::Forever) {
            ErrorAtCurrent(
                QStringLiteral("a Do loop takes a condition after 'Do' or after "
                               "'Loop', not both"));
            return nullptr;
        }
        stmt.kind = IsKeyword(Keyword::While) ? DoStmt::Kind::PostWhile : DoStmt::Kind::PostUntil;
        Advance();
        stmt.condition = ParseExpr();
        if (!stmt.condition) {
            return nullptr;
        }
    }
    return ok ? MakeStmt(doWord.pos, std::move(stmt)) : nullptr;
}

// WhileStmt -> While Expr NEWLINE Block Wend
StmtPtr CParser::ParseWhile() {
    CNesting nesting(m_nesting);
    if (m_nesting > kMaxBlockDepth) {
        TooDeep(QStringLiteral("blocks nested too deeply"));
        return nullptr;
    }
    const SToken whileWord = m_token;
    Advance();
    DoStmt stmt;
    stmt.kind = DoStmt::Kind::PreWhile;
    stmt.condition = ParseExpr();
    const bool ok = stmt.condition && EndHeader();
    if (!ok) {
        SkipToStatementEnd();
    }
    const SOpenBlock open{EBlock::While, whileWord.pos.line};
    m_blocks.push_back(open);
    ParseBlock(stmt.body);
    m_blocks.pop_back();
    if (Terminator() != ETerm::Wend) {
        ReportMissingEnd(open);
        return nullptr;
    }
    Advance();
    return ok ? MakeStmt(whileWord.pos, std::move(stmt)) : nullptr;
}

// ExitStmt -> Exit (Sub | Function | For | Do)
StmtPtr CParser::ParseExit() {
    const SToken exitWord = m_token;
    Advance();
    ExitStmt stmt{};
    EBlock inside = EBlock::Sub;
    QString loopName;
    if (IsKeyword(Keyword::Sub)) {
        stmt.what = ExitStmt::What::Sub;
        inside = EBlock::Sub;
    } else if (IsKeyword(Keyword::Function)) {
        stmt.what = ExitStmt::What::Function;
        inside = EBlock::Function;
    } else if (IsKeyword(Keyword::For)) {
        stmt.what = ExitStmt::What::For;
        inside = EBlock::For;
        loopName = QStringLiteral(" loop");
    } else if (IsKeyword(Keyword::Do)) {
        stmt.what = ExitStmt::What::Do;
        inside = EBlock::Do;
        loopName = QStringLiteral(" loop");
    } else if (IsKeyword(Keyword::Property)) {
        return Unsupported(QStringLiteral("there are no classes"));
    } else {
        ErrorAtCurrent(QStringLiteral("expected 'Sub', 'Function', 'For' or 'Do' after '%1'")
                           .arg(TextOf(exitWord)));
        return nullptr;
    }
    const SToken what = m_token;
    Advance();
    if (!InsideOpen(inside)) {
        Error(exitWord.pos,
              QStringLiteral("'%1 %2' outside a '%3'%4")
                  .arg(TextOf(exitWord), TextOf(what), BlockWords(inside).second, loopName));
        return nullptr;
    }
    return MakeStmt(exitWord.pos, stmt);
}

// OnErrorStmt -> On Error (Resume Next | GoTo 0)
StmtPtr CParser::ParseOnError() {
    const SPos pos = m_token.pos;
    Advance();
    if (!IsKeyword(Keyword::Error)) {
        ErrorAtCurrent(QStringLiteral("expected 'Error' after 'On'"));
        return nullptr;
    }
    Advance();
    OnErrorStmt stmt;
    if (AcceptKeyword(Keyword::Resume)) {
        if (!AcceptKeyword(Keyword::Next)) {
            ErrorAtCurrent(QStringLiteral("expected 'Next' after 'On Error Resume'"));
            return nullptr;
        }
        stmt.resumeNext = true;
        return MakeStmt(pos, stmt);
    }
    if (AcceptKeyword(Keyword::GoTo)) {
        if (!Is(TokenKind::Number) || m_lexer.TextOf(m_token) != u"0") {
            ErrorAtCurrent(
                QStringLiteral("only 'On Error GoTo 0' is supported (there are no "
                               "labels)"));
            return nullptr;
        }
        Advance();
        return MakeStmt(pos, stmt);
    }
    ErrorAtCurrent(QStringLiteral("expected 'Resume Next' or 'GoTo 0' after 'On Error'"));
    return nullptr;
}

// ProcDecl -> (Sub | Function) Name ['(' [Param {',' Param}] ')'] NEWLINE Block
//             End (Sub | Function)
void CParser::ParseProcedure() {
    CNesting nesting(m_nesting);
    if (m_nesting > kMaxBlockDepth) {
        TooDeep(QStringLiteral("blocks nested too deeply"));
        return;
    }
    const SToken word = m_token;
    ProcDecl proc;
    proc.pos = word.pos;
    proc.isFunction = IsKeyword(Keyword::Function);
    bool ok = true;
    if (!m_blocks.empty() || m_inlineIf > 0) {
        const bool inProcedure = InsideOpen(EBlock::Sub) || InsideOpen(EBlock::Function);
        Error(word.pos, QStringLiteral("'%1' cannot be declared inside %2")
                            .arg(TextOf(word), inProcedure ? QStringLiteral("another procedure")
                                                           : QStringLiteral("a block")));
        ok = false;
    }
    Advance();
    if (Is(TokenKind::Name)) {
        proc.name = TextOf(m_token);
        Advance();
        ok = ParseParams(proc.params) && EndHeader() && ok;
    } else {
        ErrorAtCurrent(QStringLiteral("expected a name after '%1'").arg(TextOf(word)));
        ok = false;
    }
    if (!ok) {
        SkipToStatementEnd();
    }
    const SOpenBlock open{proc.isFunction ? EBlock::Function : EBlock::Sub, word.pos.line};
    m_blocks.push_back(open);
    ParseBlock(proc.body);
    m_blocks.pop_back();
    if (Terminator() != (proc.isFunction ? ETerm::EndFunction : ETerm::EndSub)) {
        ReportMissingEnd(open);
        return;
    }
    Advance();
    Advance();
    if (ok) {
        m_program->procedures.push_back(std::move(proc));
    }
}

// Params -> ['(' [Param {',' Param}] ')']
// Param -> [ByVal | ByRef] Name ['(' ')']
bool CParser::ParseParams(std::vector<Param>& params) {
    if (!Is(TokenKind::LeftParen)) {
        return true;
    }
    const SToken open = m_token;
    Advance();
    if (Is(TokenKind::RightParen)) {
        Advance();
        return true;
    }
    for (;;) {
        Param param;
        if (AcceptKeyword(Keyword::ByVal)) {
            param.byVal = true;
        } else {
            AcceptKeyword(Keyword::ByRef);
        }
        if (!Is(TokenKind::Name)) {
            ErrorAtCurrent(QStringLiteral("expected a parameter name"));
            return false;
        }
        param.pos = m_token.pos;
        param.name = TextOf(m_token);
        Advance();
        if (Is(TokenKind::LeftParen)) {
            const SToken arrayOpen = m_token;
            Advance();
            if (!ExpectClose(arrayOpen)) {
                return false;
            }
            param.isArray = true;
        }
        params.push_back(std::move(param));
        if (!Is(TokenKind::Comma)) {
            break;
        }
        Advance();
    }
    return ExpectClose(open);
}

// A name may be declared once per scope: the script's global statements with its procedures,
// and each procedure with its parameters. Dim and Const count wherever they stand in the scope.
void CParser::CheckRedefinitions() {
    using Names = QSet<QString>;
    const auto declare = [this](Names& names, const QString& name, SPos pos) {
        const QString key = name.toLower();
        if (names.contains(key)) {
            Error(pos, QStringLiteral("Name redefined: '%1'").arg(name));
        } else {
            names.insert(key);
        }
    };
    const auto walk = [&declare](const auto& self, Names& names, const Block& block) -> void {
        for (const StmtPtr& stmt : block) {
            if (const auto* dim = std::get_if<DimStmt>(&stmt->node)) {
                for (const DimStmt::Var& var : dim->vars) {
                    declare(names, var.name, var.pos);
                }
            } else if (const auto* constant = std::get_if<ConstStmt>(&stmt->node)) {
                for (const ConstStmt::Item& item : constant->items) {
                    declare(names, item.name, item.pos);
                }
            } else if (const auto* branch = std::get_if<IfStmt>(&stmt->node)) {
                for (const IfStmt::Branch& b : branch->branches) {
                    self(self, names, b.body);
                }
                self(self, names, branch->elseBody);
            } else if (const auto* select = std::get_if<SelectStmt>(&stmt->node)) {
                for (const SelectStmt::Case& c : select->cases) {
                    self(self, names, c.body);
                }
                self(self, names, select->elseBody);
            } else if (const auto* loop = std::get_if<ForStmt>(&stmt->node)) {
                self(self, names, loop->body);
            } else if (const auto* each = std::get_if<ForEachStmt>(&stmt->node)) {
                self(self, names, each->body);
            } else if (const auto* doLoop = std::get_if<DoStmt>(&stmt->node)) {
                self(self, names, doLoop->body);
            }
        }
    };
    Names global;
    walk(walk, global, m_program->body);
    for (const ProcDecl& procedure : m_program->procedures) {
        declare(global, procedure.name, procedure.pos);
        Names local;
        for (const Param& param : procedure.params) {
            declare(local, param.name, param.pos);
        }
        walk(walk, local, procedure.body);
    }
}

SParseResult CParser::Run() {
    SParseResult result;
    try {
        m_program = std::make_unique<Program>();
        Advance();
        ParseBlock(m_program->body);
        CheckRedefinitions();
    } catch (const std::bad_alloc&) {
        m_errors.push_back(SScriptDiagnostic{m_file, m_token.pos.line, m_token.pos.column,
                                             err::kSyntaxError,
                                             QStringLiteral("out of memory while parsing")});
    }
    std::stable_sort(m_errors.begin(), m_errors.end(),
                     [](const SScriptDiagnostic& a, const SScriptDiagnostic& b) {
                         return std::pair(a.line, a.column) < std::pair(b.line, b.column);
                     });
    result.errors = std::move(m_errors);
    if (result.errors.empty()) {
        result.program = std::move(m_program);
    }
    return result;
}

}  // namespace

SParseResult Parse(const QString& text, const QString& fileName, int firstLine) {
    return CParser(text, fileName, firstLine).Run();
}

}  // namespace vbs
