#include "platform/script/errors.h"

namespace vbs {

QString ErrorDescription(int number) {
    switch (number) {
        case err::kInvalidCall:
            return QStringLiteral("Invalid procedure call or argument");
        case err::kOverflow:
            return QStringLiteral("Overflow");
        case err::kOutOfMemory:
            return QStringLiteral("Out of memory");
        case err::kSubscriptOutOfRange:
            return QStringLiteral("Subscript out of range");
        case err::kArrayFixed:
            return QStringLiteral("This array is fixed or temporarily locked");
        case err::kDivisionByZero:
            return QStringLiteral("Division by zero");
        case err::kTypeMismatch:
            return QStringLiteral("Type mismatch");
        case err::kOutOfStack:
            return QStringLiteral("Out of stack space");
        case err::kInternalError:
            return QStringLiteral("Internal error");
        case err::kObjectNotSet:
            return QStringLiteral("Object variable not set");
        case err::kInvalidNull:
            return QStringLiteral("Invalid use of Null");
        case err::kObjectRequired:
            return QStringLiteral("Object required");
        case err::kNoSuchMember:
            return QStringLiteral("Object doesn't support this property or method");
        case err::kWrongArgCount:
            return QStringLiteral("Wrong number of arguments or invalid property assignment");
        case err::kNotACollection:
            return QStringLiteral("Object not a collection");
        case err::kUndefinedVariable:
            return QStringLiteral("Variable is undefined");
        case err::kIllegalAssignment:
            return QStringLiteral("Illegal assignment");
        case err::kNameRedefined:
            return QStringLiteral("Name redefined");
        case err::kSyntaxError:
            return QStringLiteral("Syntax error");
        case err::kStepBudgetExceeded:
            return QStringLiteral("The script ran too long and was stopped");
        default:
            return {};
    }
}

QString SScriptDiagnostic::ToString() const {
    QString where = file.isEmpty() ? QStringLiteral("<script>") : file;
    if (line > 0) {
        where += u':' + QString::number(line);
        if (column > 0) {
            where += u':' + QString::number(column);
        }
    }
    return where + QStringLiteral(": ") + message;
}

}  // namespace vbs
