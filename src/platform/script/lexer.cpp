#include "platform/script/lexer.h"

#include <array>
#include <cmath>
#include <cstdint>

#include <QLatin1StringView>

namespace vbs {

namespace {

struct SKeywordEntry {
    QLatin1StringView word;
    Keyword keyword;
    bool reserved;
};

constexpr std::array kKeywords{
    SKeywordEntry{QLatin1StringView("and"), Keyword::And, true},
    SKeywordEntry{QLatin1StringView("byref"), Keyword::ByRef, true},
    SKeywordEntry{QLatin1StringView("byval"), Keyword::ByVal, true},
    SKeywordEntry{QLatin1StringView("call"), Keyword::Call, true},
    SKeywordEntry{QLatin1StringView("case"), Keyword::Case, true},
    SKeywordEntry{QLatin1StringView("class"), Keyword::Class, true},
    SKeywordEntry{QLatin1StringView("const"), Keyword::Const, true},
    SKeywordEntry{QLatin1StringView("dim"), Keyword::Dim, true},
    SKeywordEntry{QLatin1StringView("do"), Keyword::Do, true},
    SKeywordEntry{QLatin1StringView("each"), Keyword::Each, true},
    SKeywordEntry{QLatin1StringView("else"), Keyword::Else, true},
    SKeywordEntry{QLatin1StringView("elseif"), Keyword::ElseIf, true},
    SKeywordEntry{QLatin1StringView("empty"), Keyword::Empty, true},
    SKeywordEntry{QLatin1StringView("end"), Keyword::End, true},
    SKeywordEntry{QLatin1StringView("eqv"), Keyword::Eqv, true},
    SKeywordEntry{QLatin1StringView("exit"), Keyword::Exit, true},
    SKeywordEntry{QLatin1StringView("false"), Keyword::False, true},
    SKeywordEntry{QLatin1StringView("for"), Keyword::For, true},
    SKeywordEntry{QLatin1StringView("function"), Keyword::Function, true},
    SKeywordEntry{QLatin1StringView("goto"), Keyword::GoTo, true},
    SKeywordEntry{QLatin1StringView("if"), Keyword::If, true},
    SKeywordEntry{QLatin1StringView("imp"), Keyword::Imp, true},
    SKeywordEntry{QLatin1StringView("in"), Keyword::In, true},
    SKeywordEntry{QLatin1StringView("is"), Keyword::Is, true},
    SKeywordEntry{QLatin1StringView("loop"), Keyword::Loop, true},
    SKeywordEntry{QLatin1StringView("mod"), Keyword::Mod, true},
    SKeywordEntry{QLatin1StringView("new"), Keyword::New, true},
    SKeywordEntry{QLatin1StringView("next"), Keyword::Next, true},
    SKeywordEntry{QLatin1StringView("not"), Keyword::Not, true},
    SKeywordEntry{QLatin1StringView("nothing"), Keyword::Nothing, true},
    SKeywordEntry{QLatin1StringView("null"), Keyword::Null, true},
    SKeywordEntry{QLatin1StringView("on"), Keyword::On, true},
    SKeywordEntry{QLatin1StringView("option"), Keyword::Option, true},
    SKeywordEntry{QLatin1StringView("or"), Keyword::Or, true},
    SKeywordEntry{QLatin1StringView("preserve"), Keyword::Preserve, true},
    SKeywordEntry{QLatin1StringView("private"), Keyword::Private, true},
    SKeywordEntry{QLatin1StringView("public"), Keyword::Public, true},
    SKeywordEntry{QLatin1StringView("redim"), Keyword::ReDim, true},
    SKeywordEntry{QLatin1StringView("rem"), Keyword::Rem, true},
    SKeywordEntry{QLatin1StringView("resume"), Keyword::Resume, true},
    SKeywordEntry{QLatin1StringView("select"), Keyword::Select, true},
    SKeywordEntry{QLatin1StringView("set"), Keyword::Set, true},
    SKeywordEntry{QLatin1StringView("stop"), Keyword::Stop, true},
    SKeywordEntry{QLatin1StringView("sub"), Keyword::Sub, true},
    SKeywordEntry{QLatin1StringView("then"), Keyword::Then, true},
    SKeywordEntry{QLatin1StringView("to"), Keyword::To, true},
    SKeywordEntry{QLatin1StringView("true"), Keyword::True, true},
    SKeywordEntry{QLatin1StringView("until"), Keyword::Until, true},
    SKeywordEntry{QLatin1StringView("wend"), Keyword::Wend, true},
    SKeywordEntry{QLatin1StringView("while"), Keyword::While, true},
    SKeywordEntry{QLatin1StringView("with"), Keyword::With, true},
    SKeywordEntry{QLatin1StringView("xor"), Keyword::Xor, true},
    SKeywordEntry{QLatin1StringView("default"), Keyword::Default, false},
    SKeywordEntry{QLatin1StringView("error"), Keyword::Error, false},
    SKeywordEntry{QLatin1StringView("explicit"), Keyword::Explicit, false},
    SKeywordEntry{QLatin1StringView("get"), Keyword::Get, false},
    SKeywordEntry{QLatin1StringView("let"), Keyword::Let, false},
    SKeywordEntry{QLatin1StringView("property"), Keyword::Property, false},
    SKeywordEntry{QLatin1StringView("step"), Keyword::Step, false},
};

const SKeywordEntry* FindKeyword(QStringView word) {
    for (const SKeywordEntry& entry : kKeywords) {
        if (entry.word.size() == word.size() &&
            word.compare(entry.word, Qt::CaseInsensitive) == 0) {
            return &entry;
        }
    }
    return nullptr;
}

bool IsAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool IsLineBreak(QChar c) {
    return c == u'\n' || c == u'\r';
}

bool IsBlank(QChar c) {
    return !IsLineBreak(c) && (c.isSpace() || c == u'\uFEFF');
}

bool IsWordStart(QChar c) {
    return c.isLetter();
}

bool IsWordPart(QChar c) {
    return c.isLetterOrNumber() || c == u'_';
}

bool IsAsciiAlnum(QChar c) {
    return IsAsciiDigit(c) || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

constexpr qsizetype kLongestQuote = 32;

QString Quote(QStringView text) {
    if (text.size() > kLongestQuote) {
        return u'\'' + text.left(kLongestQuote).toString() + QStringLiteral("...'");
    }
    return u'\'' + text.toString() + u'\'';
}

// A character that starts no token; a run of them makes one error.
bool IsStray(QChar c) {
    return !c.isLetterOrNumber() && !c.isSpace() && !c.isSurrogate() && c != u'\uFEFF' &&
           !QStringView(u"\"'&:(),.+-*/\\^=<>_#[").contains(c);
}

QString QuoteCharacter(const QString& text, qsizetype index, qsizetype* length) {
    const QChar c = text.at(index);
    *length = 1;
    char32_t code = c.unicode();
    if (c.isHighSurrogate() && index + 1 < text.size() && text.at(index + 1).isLowSurrogate()) {
        code = QChar::surrogateToUcs4(c, text.at(index + 1));
        *length = 2;
    }
    if (!c.isSurrogate() && c.isPrint()) {
        return u'\'' + QString(c) + u'\'';
    }
    return QStringLiteral("U+%1").arg(static_cast<uint>(code), 4, 16, QChar(u'0')).toUpper();
}

}  // namespace

CLexer::CLexer(QString text, int firstLine) : m_text(std::move(text)), m_line(firstLine) {
    if (!m_text.isEmpty() && m_text.at(0) == u'\uFEFF') {
        m_index = 1;
        m_lineStart = 1;
    }
}

QStringView CLexer::TextOf(const SToken& token) const {
    return QStringView(m_text).mid(token.offset, token.length);
}

bool CLexer::AtLineEnd(qsizetype index) const {
    return index >= m_text.size() || IsLineBreak(m_text.at(index));
}

SPos CLexer::PosAt(qsizetype index) const {
    return SPos{m_line, static_cast<int>(index - m_lineStart) + 1};
}

void CLexer::SkipBlankAndContinuations() {
    for (;;) {
        if (m_index < m_text.size() && IsBlank(m_text.at(m_index))) {
            ++m_index;
            continue;
        }
        if (At(m_index) != u'_') {
            return;
        }
        qsizetype end = m_index + 1;
        while (end < m_text.size() && IsBlank(m_text.at(end))) {
            ++end;
        }
        if (!AtLineEnd(end)) {
            return;  // a stray '_', reported by Next()
        }
        if (end < m_text.size()) {
            end += (m_text.at(end) == u'\r' && At(end + 1) == u'\n') ? 2 : 1;
            ++m_line;
            m_lineStart = end;
        }
        m_index = end;
    }
}

void CLexer::SkipComment() {
    while (!AtLineEnd(m_index)) {
        ++m_index;
    }
}

SToken CLexer::Make(TokenKind kind, qsizetype start, qsizetype end) {
    SToken token;
    token.kind = kind;
    token.pos = PosAt(start);
    token.offset = start;
    token.length = end - start;
    m_index = end;
    m_previous = kind;
    return token;
}

SToken CLexer::MakeError(qsizetype start, qsizetype end, const QString& message) {
    SToken token = Make(TokenKind::Error, start, end);
    token.value = CVariant(message);
    return token;
}

SToken CLexer::Next() {
    for (;;) {
        SkipBlankAndContinuations();
        if (m_index >= m_text.size()) {
            return Make(TokenKind::EndOfText, m_text.size(), m_text.size());
        }
        const qsizetype start = m_index;
        const QChar c = m_text.at(start);
        if (c == u'\'') {
            SkipComment();
            continue;
        }
        if (IsLineBreak(c)) {
            return LexNewline();
        }
        if (IsWordStart(c)) {
            SToken word = LexWord();
            if (word.keyword == Keyword::Rem && word.kind == TokenKind::Keyword &&
                (m_previous == TokenKind::Newline || m_previous == TokenKind::Colon)) {
                SkipComment();
                continue;
            }
            m_previous = word.kind;
            return word;
        }
        if (IsAsciiDigit(c) || (c == u'.' && IsAsciiDigit(At(start + 1)))) {
            return LexNumber();
        }
        switch (c.unicode()) {
            case u'"':
                return LexString();
            case u'&': {
                const QChar radix = At(start + 1).toUpper();
                if ((radix == u'H' || radix == u'O') && IsAsciiAlnum(At(start + 2))) {
                    return LexRadixNumber();
                }
                return Make(TokenKind::Ampersand, start, start + 1);
            }
            case u':':
                return Make(TokenKind::Colon, start, start + 1);
            case u'(':
                return Make(TokenKind::LeftParen, start, start + 1);
            case u')':
                return Make(TokenKind::RightParen, start, start + 1);
            case u',':
                return Make(TokenKind::Comma, start, start + 1);
            case u'.':
                return Make(TokenKind::Dot, start, start + 1);
            case u'+':
                return Make(TokenKind::Plus, start, start + 1);
            case u'-':
                return Make(TokenKind::Minus, start, start + 1);
            case u'*':
                return Make(TokenKind::Star, start, start + 1);
            case u'/':
                return Make(TokenKind::Slash, start, start + 1);
            case u'\\':
                return Make(TokenKind::Backslash, start, start + 1);
            case u'^':
                return Make(TokenKind::Caret, start, start + 1);
            case u'=':
                return Make(TokenKind::Equal, start, start + 1);
            case u'<':
                if (At(start + 1) == u'>') {
                    return Make(TokenKind::NotEqual, start, start + 2);
                }
                if (At(start + 1) == u'=') {
                    return Make(TokenKind::LessEqual, start, start + 2);
                }
                return Make(TokenKind::Less, start, start + 1);
            case u'>':
                if (At(start + 1) == u'=') {
                    return Make(TokenKind::GreaterEqual, start, start + 2);
                }
                return Make(TokenKind::Greater, start, start + 1);
            case u'_':
                return MakeError(start, start + 1,
                                 QStringLiteral("a line continuation '_' must end its line"));
            case u'#':
                return MakeError(start, start + 1,
                                 QStringLiteral("date literals (#...#) are not supported"));
            case u'[':
                return MakeError(start, start + 1,
                                 QStringLiteral("bracketed names ([...]) are not supported"));
            default:
                break;
        }
        qsizetype length = 1;
        const QString quoted = QuoteCharacter(m_text, start, &length);
        qsizetype end = start + length;
        while (end < m_text.size() && IsStray(m_text.at(end))) {
            ++end;
        }
        return MakeError(start, end, QStringLiteral("invalid character ") + quoted);
    }
}

SToken CLexer::LexNewline() {
    const qsizetype start = m_index;
    const qsizetype end =
        (m_text.at(start) == u'\r' && At(start + 1) == u'\n') ? start + 2 : start + 1;
    SToken token = Make(TokenKind::Newline, start, end);
    ++m_line;
    m_lineStart = end;
    return token;
}

SToken CLexer::LexWord() {
    const qsizetype start = m_index;
    qsizetype end = start + 1;
    while (end < m_text.size() && IsWordPart(m_text.at(end))) {
        ++end;
    }
    const SKeywordEntry* entry = FindKeyword(QStringView(m_text).mid(start, end - start));
    const bool reserved = entry && entry->reserved;
    const TokenKind previous = m_previous;
    SToken token = Make(reserved ? TokenKind::Keyword : TokenKind::Name, start, end);
    token.keyword = entry ? entry->keyword : Keyword::None;
    m_previous = previous;  // Next() decides first whether the word was a Rem comment
    return token;
}

SToken CLexer::LexNumber() {
    const qsizetype start = m_index;
    qsizetype end = start;
    while (IsAsciiDigit(At(end))) {
        ++end;
    }
    bool isFloat = false;
    if (At(end) == u'.' && IsAsciiDigit(At(end + 1))) {
        isFloat = true;
        end += 1;
        while (IsAsciiDigit(At(end))) {
            ++end;
        }
    }
    if (At(end) == u'e' || At(end) == u'E') {
        qsizetype digits = end + 1;
        if (At(digits) == u'+' || At(digits) == u'-') {
            ++digits;
        }
        if (IsAsciiDigit(At(digits))) {
            isFloat = true;
            end = digits;
            while (IsAsciiDigit(At(end))) {
                ++end;
            }
        }
    }
    const QStringView text = QStringView(m_text).mid(start, end - start);
    if (!isFloat) {
        qsizetype first = 0;
        while (first + 1 < text.size() && text.at(first) == u'0') {
            ++first;
        }
        // 18 digits always fit 64 bits; longer ones are Double anyway.
        if (text.size() - first <= 18) {
            std::int64_t value = 0;
            for (QChar digit : text.mid(first)) {
                value = value * 10 + (digit.unicode() - u'0');
            }
            SToken token = Make(TokenKind::Number, start, end);
            token.value = CVariant::Number(value);
            return token;
        }
    }
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value)) {
        return MakeError(start, end, QStringLiteral("number %1 is too large").arg(Quote(text)));
    }
    SToken token = Make(TokenKind::Number, start, end);
    token.value = CVariant::Double(value);
    return token;
}

// &H1F, &O17, with an optional '&' that makes the value a Long. Without it a value that fits 16
// bits is an Integer, so &HFFFF is -1 as in VBScript.
SToken CLexer::LexRadixNumber() {
    const qsizetype start = m_index;
    const bool hex = At(start + 1).toUpper() == u'H';
    qsizetype end = start + 2;
    while (IsAsciiAlnum(At(end))) {
        ++end;
    }
    const qsizetype digitsEnd = end;
    const bool forceLong = At(end) == u'&';
    if (forceLong) {
        ++end;
    }
    const QString written = Quote(QStringView(m_text).mid(start, end - start));
    const QString kind = hex ? QStringLiteral("hex") : QStringLiteral("octal");
    std::uint64_t value = 0;
    for (qsizetype i = start + 2; i < digitsEnd; ++i) {
        const QChar c = m_text.at(i).toUpper();
        const int digit = IsAsciiDigit(c) ? c.unicode() - u'0' : c.unicode() - u'A' + 10;
        if (digit >= (hex ? 16 : 8)) {
            return MakeError(start, end, QStringLiteral("invalid %1 number %2").arg(kind, written));
        }
        value = value * (hex ? 16U : 8U) + static_cast<std::uint64_t>(digit);
        if (value > 0xFFFFFFFFULL) {
            return MakeError(start, end,
                             QStringLiteral("%1 number %2 is too large").arg(kind, written));
        }
    }
    SToken token = Make(TokenKind::Number, start, end);
    if (!forceLong && value <= 0xFFFFULL) {
        token.value =
            CVariant::Integer(static_cast<std::int16_t>(static_cast<std::uint16_t>(value)));
    } else {
        token.value = CVariant::Long(static_cast<std::int32_t>(static_cast<std::uint32_t>(value)));
    }
    return token;
}

SToken CLexer::LexString() {
    const qsizetype start = m_index;
    QString value;
    qsizetype i = start + 1;
    for (;;) {
        if (AtLineEnd(i)) {
            return MakeError(start, i, QStringLiteral("unterminated string"));
        }
        const QChar c = m_text.at(i);
        if (c == u'"') {
            if (At(i + 1) != u'"') {
                break;
            }
            ++i;
        }
        value += c;
        ++i;
    }
    SToken token = Make(TokenKind::String, start, i + 1);
    token.value = CVariant(std::move(value));
    return token;
}

QString DescribeToken(const CLexer& lexer, const SToken& token) {
    switch (token.kind) {
        case TokenKind::EndOfText:
            return QStringLiteral("end of script");
        case TokenKind::Newline:
            return QStringLiteral("end of line");
        default:
            break;
    }
    return Quote(lexer.TextOf(token));
}

}  // namespace vbs
