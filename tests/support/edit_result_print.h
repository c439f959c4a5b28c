#pragma once

#include <ostream>

#include "model/edit_result.h"

// Failures name the outcome, the message and the script's style instead of raw bytes.
inline void PrintTo(const CEditResult& result, std::ostream* out) {
    static const char* const kOutcomes[] = {"accepted", "refused", "needs confirmation"};
    *out << kOutcomes[static_cast<int>(result.Outcome())] << " (message " << result.MessageId()
         << ", style " << result.ScriptStyle() << ")";
}
