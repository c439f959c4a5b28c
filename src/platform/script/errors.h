#pragma once

#include <exception>

#include <QString>

namespace vbs {

// Run-time error numbers, as scripts see them in Err.Number.
namespace err {
inline constexpr int kInvalidCall = 5;          // Invalid procedure call or argument
inline constexpr int kOverflow = 6;             // Overflow
inline constexpr int kOutOfMemory = 7;          // Out of memory
inline constexpr int kSubscriptOutOfRange = 9;  // Subscript out of range
inline constexpr int kArrayFixed = 10;          // This array is fixed or temporarily locked
inline constexpr int kDivisionByZero = 11;      // Division by zero
inline constexpr int kTypeMismatch = 13;        // Type mismatch
inline constexpr int kOutOfStack = 28;          // Out of stack space
inline constexpr int kInternalError = 51;       // Internal error
inline constexpr int kObjectNotSet = 91;        // Object variable not set
inline constexpr int kInvalidNull = 94;         // Invalid use of Null
inline constexpr int kObjectRequired = 424;     // Object required
inline constexpr int kNoSuchMember = 438;       // Object doesn't support this property or method
inline constexpr int kWrongArgCount =
    450;  // Wrong number of arguments or invalid property assignment
inline constexpr int kNotACollection = 451;        // Object not a collection
inline constexpr int kUndefinedVariable = 500;     // Variable is undefined
inline constexpr int kIllegalAssignment = 501;     // Illegal assignment
inline constexpr int kNameRedefined = 1041;        // Name redefined
inline constexpr int kSyntaxError = 1002;          // Syntax error
inline constexpr int kStepBudgetExceeded = 10001;  // ours: the script ran too long
}  // namespace err

// The standard description of a run-time error number ("Type mismatch"), empty for unknown ones.
QString ErrorDescription(int number);

// A run-time error raised while a script runs: by the interpreter, a built-in function, a host
// object or the script itself (Err.Raise). The interpreter adds the place.
class CScriptError : public std::exception {
public:
    explicit CScriptError(int number, QString description = {}, QString source = {})
        : m_number(number),
          m_description(description.isEmpty() ? ErrorDescription(number) : std::move(description)),
          m_source(std::move(source)) {}

    int Number() const noexcept { return m_number; }
    const QString& Description() const noexcept { return m_description; }
    const QString& Source() const noexcept { return m_source; }
    const char* what() const noexcept override { return "script run-time error"; }

    // Where the error happened: the innermost statement sets it, the outer ones keep it.
    void SetPlaceIfUnset(int line, int column) {
        if (m_line == 0) {
            m_line = line;
            m_column = column;
        }
    }
    int Line() const noexcept { return m_line; }
    int Column() const noexcept { return m_column; }

    // Errors that no "On Error Resume Next" may swallow: a script that ran out of its step budget
    // must stop, not carry on with the next statement of an endless loop.
    bool IsFatal() const noexcept { return m_number == err::kStepBudgetExceeded; }

private:
    int m_number;
    QString m_description;
    QString m_source;
    int m_line = 0;
    int m_column = 0;
};

// One compile or run-time error with its place, as the host hands it to its site.
struct SScriptDiagnostic {
    QString file;    // the name the script text was added under
    int line = 0;    // 1-based; 0 when unknown
    int column = 0;  // 1-based; 0 when unknown
    int number = 0;  // run-time error number, or kSyntaxError for compile errors
    QString message;

    // "DataProfile.vbs:12:5: expected 'Then' after the If condition"
    QString ToString() const;
};

}  // namespace vbs
