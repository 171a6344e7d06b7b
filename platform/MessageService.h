// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class QWidget;

// The desktop's modal message box, as a service the windows take by
// injection so tests can answer it.
class MessageService {
public:
    enum class Buttons { OkCancel, YesNo };
    enum class Icon { Question, Critical };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~MessageService() = default;

    // Asks and waits for the answer. defaultButton is 1 or 2, counted from the
    // left (OK or Yes is 1). The asking window is active again afterwards.
    virtual Answer ask(QWidget *owner, const QString &text, const QString &title, Buttons buttons,
                       Icon icon, int defaultButton) = 0;
};

// The real one: a QMessageBox owned by the asking window, with Japanese button
// texts. An OK/Cancel box answers Cancel to Escape and to its close box; a
// Yes/No box has no escape answer, as on the Windows desktop.
class QtMessageService final : public MessageService {
public:
    Answer ask(QWidget *owner, const QString &text, const QString &title, Buttons buttons, Icon icon,
               int defaultButton) override;
};
