#pragma once

// Runs a script file the way a script author tries rules out: with a WScript object whose Echo
// prints a line, optionally a Document (an XML file) as a global, and optionally one procedure
// called with arguments given as text. The command line and the script tests share it.

#include <functional>
#include <vector>

#include <QString>
#include <QStringList>

#include "platform/script/errors.h"
#include "platform/script/interpreter.h"

namespace vbs {

struct SScriptFileRun {
    QString scriptPath;
    QString xmlPath;   // empty: no Document
    QString callName;  // empty: no call
    // Arguments of the call, as text: "&VALUE" passes VALUE ByRef; "xpath:EXPR" the node EXPR
    // selects in the Document; "True"/"False" a Boolean; a whole number a Long (or Double when
    // too large); another number a Double; "nothing" Nothing; anything else a String.
    QStringList callArgs;
    SRunLimits limits;
};

struct SScriptFileResult {
    bool ok = false;
    std::vector<SScriptDiagnostic> errors;  // compile errors, or the run-time error
    QString failure;                        // a failure outside the script (file, XML, call)
};

// Runs it; every line the script echoes, then "result: ..." and "byref N: ..." after a call,
// go to `print`.
SScriptFileResult RunScriptFile(const SScriptFileRun& run,
                                const std::function<void(const QString&)>& print);

// A value as the command line shows it: strings quoted, Empty, Null, Nothing, True, numbers,
// objects by type name, arrays by their elements.
QString DescribeValue(const CVariant& value);

}  // namespace vbs
