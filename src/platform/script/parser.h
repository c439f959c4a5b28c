#pragma once

#include <memory>
#include <vector>

#include <QString>

#include "platform/script/ast.h"
#include "platform/script/errors.h"

namespace vbs {

struct SParseResult {
    std::unique_ptr<Program> program;       // null when there were errors
    std::vector<SScriptDiagnostic> errors;  // every error found, in text order (at most 50)
};

// Parses a whole script text. `fileName` goes into the diagnostics; `firstLine` is the line
// number of the text's first line. Never throws; never recurses without bound, whatever the
// text (a nesting limit reports an error instead).
SParseResult Parse(const QString& text, const QString& fileName, int firstLine = 1);

}  // namespace vbs
