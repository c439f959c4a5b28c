#pragma once

#include <optional>
#include <span>

#include <QStringView>

#include "platform/script/value.h"

namespace vbs {

// A built-in function. Arguments arrive evaluated, ByVal. Throws CScriptError.
using BuiltinFn = CVariant (*)(std::span<const CVariant> args);

struct SBuiltin {
    const char* name;
    int minArgs;
    int maxArgs;
    BuiltinFn fn;
};

// The built-in function of that name (any case), or nullptr.
const SBuiltin* FindBuiltin(QStringView name);

// The built-in constants (vbCrLf, vbTab, vbTextCompare, vbString, ...), any case.
std::optional<CVariant> FindBuiltinConstant(QStringView name);

}  // namespace vbs
