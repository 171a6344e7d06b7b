// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <cstdint>
#include <string>

// The input as text: UTF-8, as a player's paste reaches the box (invalid
// sequences become U+FFFD).
inline QString fuzzText(const std::uint8_t *data, std::size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
}

inline std::string printable(const QString &text)
{
    return text.left(200).toStdString();
}
