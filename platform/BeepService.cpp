// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "platform/BeepService.h"

#include <QApplication>

void QtBeep::beep()
{
    QApplication::beep();
}
