// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>
#include <cmath>

// Window layouts are given in twips, 1/1440 inch: 15 twips make one pixel at
// 96 dpi. Qt works in device-independent pixels, which are exactly those
// 96-dpi pixels, so one conversion serves every screen.
namespace Twips {
constexpr double PerPixel = 15.0;

inline int toPixels(double twips)
{
    return static_cast<int>(std::lround(twips / PerPixel));
}

inline QRect rect(double left, double top, double width, double height)
{
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}
} // namespace Twips
