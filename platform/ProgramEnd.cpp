// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "platform/ProgramEnd.h"

#include <QCoreApplication>

#ifdef Q_OS_WASM
#include "platform/Browser.h"
#endif

void endProgram(int status)
{
    QCoreApplication::exit(status);
#ifdef Q_OS_WASM
    Browser::announceEnd(status);
#endif
}
