// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "resources/Resources.h"

QString Resources::zelko(int n)
{
    return QStringLiteral(":/pictures/zelko%1.jpg").arg(n);
}
