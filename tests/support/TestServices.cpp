// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "tests/support/TestServices.h"

#include <gtest/gtest.h>

MessageService::Answer ScriptedMessages::ask(QWidget *, const QString &text, const QString &title,
                                             Buttons buttons, Icon icon, int defaultButton)
{
    const Question q{text, title, buttons, icon, defaultButton};
    asked.append(q);
    if (onAsk)
        onAsk(q);
    if (answers_.empty()) {
        unexpected = true;
        ADD_FAILURE() << "unexpected message box: " << title.toStdString() << " / "
                      << text.toStdString();
        return buttons == Buttons::OkCancel ? Answer::Cancel : Answer::No;
    }
    const Answer a = answers_.front();
    answers_.pop_front();
    return a;
}
