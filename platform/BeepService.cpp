// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "platform/BeepService.h"

#include <QApplication>

#ifdef Q_OS_WASM
#include "platform/Browser.h"
#endif

void QtBeep::beep()
{
#ifdef Q_OS_WASM
    // Qt has no sound in a web page: the page plays a short tone.
    Browser::beep();
#else
    QApplication::beep();
#endif
}
