#pragma once

#include <ostream>

#include <QString>

// Readable Qt strings in GoogleTest failure messages (found by argument-dependent lookup).
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
