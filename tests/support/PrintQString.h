#pragma once

// GoogleTest failure messages show Qt strings as their text, not their bytes.

#include <QString>
#include <ostream>

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
