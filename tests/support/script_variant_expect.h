#pragma once

// Expectations on script values for table-driven tests: a row states the value and subtype it
// wants, or the run-time error number, and a failure shows both sides readably.

#include <cmath>
#include <functional>
#include <ostream>
#include <string>

#include <QString>

#include "platform/script/errors.h"
#include "platform/script/value.h"

#include <gtest/gtest.h>

namespace vbs {

inline std::string Describe(const CVariant& v) {
    switch (v.Type()) {
        case VarType::Empty:
            return "Empty";
        case VarType::Null:
            return "Null";
        case VarType::Boolean:
            return v.AsBool() ? "Boolean True" : "Boolean False";
        case VarType::Byte:
            return "Byte " + std::to_string(v.AsByte());
        case VarType::Integer:
            return "Integer " + std::to_string(v.AsInteger());
        case VarType::Long:
            return "Long " + std::to_string(v.AsLong());
        case VarType::Double:
            return "Double " + FormatDouble(v.AsDouble()).toStdString();
        case VarType::String:
            return "String \"" + v.AsString().toStdString() + "\"";
        case VarType::Object:
            return v.AsObject() ? "Object " + v.AsObject()->TypeName().toStdString() : "Nothing";
        default: {
            if (!v.AsArray()) {
                return "Array(null)";
            }
            std::string out = "Array(";
            for (int d = 1; d <= v.AsArray()->Dimensions(); ++d) {
                out += (d > 1 ? "," : "") + std::to_string(v.AsArray()->UpperBound(d));
            }
            out += ")[";
            const auto& items = v.AsArray()->Items();
            for (std::size_t i = 0; i < items.size(); ++i) {
                out += (i > 0 ? ", " : "") + Describe(items[i]);
            }
            return out + "]";
        }
    }
}

inline void PrintTo(const CVariant& v, std::ostream* os) {
    *os << Describe(v);
}

namespace testing_support {

// Same subtype and same value; Doubles to 12 significant digits, arrays element by element.
inline bool SameVariant(const CVariant& a, const CVariant& b) {
    if (a.Type() != b.Type()) {
        return false;
    }
    switch (a.Type()) {
        case VarType::Empty:
        case VarType::Null:
            return true;
        case VarType::Boolean:
            return a.AsBool() == b.AsBool();
        case VarType::Byte:
            return a.AsByte() == b.AsByte();
        case VarType::Integer:
            return a.AsInteger() == b.AsInteger();
        case VarType::Long:
            return a.AsLong() == b.AsLong();
        case VarType::Double:
            return a.AsDouble() == b.AsDouble() ||
                   std::fabs(a.AsDouble() - b.AsDouble()) <=
                       1e-12 * std::max(std::fabs(a.AsDouble()), std::fabs(b.AsDouble()));
        case VarType::String:
            return a.AsString() == b.AsString();
        case VarType::Object:
            return a.AsObject() == b.AsObject();
        default: {
            const ArrayPtr& x = a.AsArray();
            const ArrayPtr& y = b.AsArray();
            if (!x || !y) {
                return x == y;
            }
            if (x->Dimensions() != y->Dimensions() || x->Size() != y->Size()) {
                return false;
            }
            for (int d = 1; d <= x->Dimensions(); ++d) {
                if (x->UpperBound(d) != y->UpperBound(d)) {
                    return false;
                }
            }
            for (std::size_t i = 0; i < x->Size(); ++i) {
                if (!SameVariant(x->Items()[i], y->Items()[i])) {
                    return false;
                }
            }
            return true;
        }
    }
}

// What a row expects: a value, or the number of the error raised instead.
struct SExpect {
    SExpect(CVariant v) : value(std::move(v)) {}  // NOLINT: rows read better without a cast
    static SExpect Error(int number) {
        SExpect e{CVariant()};
        e.error = number;
        return e;
    }
    CVariant value;
    int error = 0;
};

inline void PrintTo(const SExpect& e, std::ostream* os) {
    if (e.error != 0) {
        *os << "error " << e.error;
    } else {
        *os << Describe(e.value);
    }
}

// Runs `f` and checks what it returned or raised against `expected`.
inline ::testing::AssertionResult Yields(const std::function<CVariant()>& f,
                                         const SExpect& expected) {
    try {
        const CVariant actual = f();
        if (expected.error != 0) {
            return ::testing::AssertionFailure()
                   << "expected error " << expected.error << ", got " << Describe(actual);
        }
        if (!SameVariant(actual, expected.value)) {
            return ::testing::AssertionFailure()
                   << "expected " << Describe(expected.value) << ", got " << Describe(actual);
        }
        return ::testing::AssertionSuccess();
    } catch (const CScriptError& e) {
        if (e.Number() == expected.error) {
            return ::testing::AssertionSuccess();
        }
        std::string want = expected.error != 0 ? "error " + std::to_string(expected.error)
                                               : Describe(expected.value);
        return ::testing::AssertionFailure() << "expected " << want << ", got error " << e.Number()
                                             << " (" << e.Description().toStdString() << ")";
    }
}

// Short constructors for table rows.
inline CVariant I(int v) {
    return CVariant::Integer(static_cast<std::int16_t>(v));
}
inline CVariant L(std::int64_t v) {
    return CVariant::Long(static_cast<std::int32_t>(v));
}
inline CVariant D(double v) {
    return CVariant::Double(v);
}
inline CVariant By(int v) {
    return CVariant::Byte(static_cast<std::uint8_t>(v));
}
inline CVariant S(const char* utf8) {
    return CVariant(QString::fromUtf8(utf8));
}
inline CVariant S(QString text) {
    return CVariant(std::move(text));
}
inline CVariant B(bool v) {
    return CVariant(v);
}
inline CVariant E() {
    return CVariant();
}
inline CVariant N() {
    return CVariant::Null();
}

}  // namespace testing_support
}  // namespace vbs
