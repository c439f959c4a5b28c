#pragma once

// Splits a script text into tokens, one at a time, so that a long script never needs a token
// list in memory. The lexer is a small value: copying it saves a place to go back to.

#include <cstdint>

#include <QString>
#include <QStringView>

#include "platform/script/ast.h"
#include "platform/script/value.h"

namespace vbs {

enum class TokenKind : std::uint8_t {
    EndOfText,
    Newline,  // the end of a line that a " _" does not continue
    Colon,
    Name,     // an identifier, or a word that is a keyword only in some places (see SToken)
    Keyword,  // a reserved word
    Number,
    String,
    Error,  // a character or literal that is not part of the language; see SToken::value
    LeftParen,
    RightParen,
    Comma,
    Dot,
    Plus,
    Minus,
    Star,
    Slash,
    Backslash,
    Caret,
    Ampersand,
    Equal,
    NotEqual,
    Less,
    Greater,
    LessEqual,
    GreaterEqual,
};

// Reserved words, and the words that only mean something in one place (Step after For,
// Error after On, ...) and otherwise stay usable as names.
enum class Keyword : std::uint8_t {
    None,
    // reserved
    And,
    ByRef,
    ByVal,
    Call,
    Case,
    Class,
    Const,
    Dim,
    Do,
    Each,
    Else,
    ElseIf,
    Empty,
    End,
    Eqv,
    Exit,
    False,
    For,
    Function,
    GoTo,
    If,
    Imp,
    In,
    Is,
    Loop,
    Mod,
    New,
    Next,
    Not,
    Nothing,
    Null,
    On,
    Option,
    Or,
    Preserve,
    Private,
    Public,
    ReDim,
    Rem,
    Resume,
    Select,
    Set,
    Stop,
    Sub,
    Then,
    To,
    True,
    Until,
    Wend,
    While,
    With,
    Xor,
    // contextual: the token is a Name
    Default,
    Error,
    Explicit,
    Get,
    Let,
    Property,
    Step,
};

struct SToken {
    TokenKind kind = TokenKind::EndOfText;
    // For a Keyword token its word; for a Name token the contextual keyword it spells, if any.
    Keyword keyword = Keyword::None;
    SPos pos;
    qsizetype offset = 0;  // where the token's text lies in the script text
    qsizetype length = 0;
    // Number: an Integer, Long or Double; String: the text without quotes, "" unescaped;
    // Error: the message ("unterminated string").
    CVariant value;
};

class CLexer {
public:
    // `firstLine` is the line number of the text's first line.
    explicit CLexer(QString text, int firstLine = 1);

    // The next token; after the end, EndOfText again and again. Comments, blank space and line
    // continuations produce none.
    SToken Next();

    // The token as written in the text.
    QStringView TextOf(const SToken& token) const;

private:
    QChar At(qsizetype index) const {
        return index < m_text.size() ? m_text.at(index) : QChar(u'\0');
    }
    bool AtLineEnd(qsizetype index) const;
    SPos PosAt(qsizetype index) const;
    void SkipBlankAndContinuations();
    void SkipComment();
    SToken Make(TokenKind kind, qsizetype start, qsizetype end);
    SToken MakeError(qsizetype start, qsizetype end, const QString& message);
    SToken LexNewline();
    SToken LexWord();
    SToken LexNumber();
    SToken LexRadixNumber();
    SToken LexString();

    QString m_text;
    qsizetype m_index = 0;
    qsizetype m_lineStart = 0;
    int m_line = 1;
    TokenKind m_previous = TokenKind::Newline;  // Rem starts a comment only where a statement may
};

// How a diagnostic quotes a token: its text as written, shortened when long; "end of line" and
// "end of script" for those.
QString DescribeToken(const CLexer& lexer, const SToken& token);

}  // namespace vbs
