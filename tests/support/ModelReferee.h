// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

#include "tests/model/ReferenceModel.h"
#include "tests/support/TestServices.h"

#include <QList>
#include <optional>
#include <string>
#include <utility>

class frmRumida;
class SideWindows;

// The reference model as referee of the real main window: after a player's
// action, every field the window shows is compared with the model's account,
// and the first difference is reported. Both random players (offscreen and on
// a real desktop) use it.
namespace referee {

// The first field on which the window and the model disagree after an action.
struct Mismatch {
    std::size_t index = 0; // of the action after which the two disagreed
    std::string field;
    std::string window;
    std::string model;
};

// What the program did during the action besides what its windows show.
struct Record {
    QList<ScriptedMessages::Question> asked; // the questions the action asked
    int beeps = 0;                           // since the window was opened
    int draws = 0;
    int reseeds = 0;
    std::string picks; // context-menu items picked or refused, drops taken or refused
    // Whether the window was active again once its message box was answered.
    std::optional<bool> activeAfterBox;

    // The record of an action: the questions asked since the first `from`,
    // the tones, the generator's counts and the picks.
    static Record of(const QList<ScriptedMessages::Question> &questions, qsizetype from, int beeps,
                     const ScriptedDraws &random, std::string picks)
    {
        Record r;
        r.asked = questions.mid(from);
        r.beeps = beeps;
        r.draws = random.draws;
        r.reseeds = random.reseeds;
        r.picks = std::move(picks);
        return r;
    }
};

// Every field the window (and its side windows) shows, against the model.
// The window's menus are compared as the application shows them: an open
// dropdown, the menu bar holding the keyboard, or neither. Whenever the
// window is active and no menu holds the keyboard, Qt's focus widget must be
// the window's own focus, or the player would have nowhere to type.
std::optional<Mismatch> compare(const frmRumida &window, const SideWindows &sides, const Record &record,
                                const refmodel::MainWindowModel &model);

// The model's answer to a question as the message service gives it.
MessageService::Answer serviceAnswer(refmodel::Answer a);

// A text as the reports print it: quoted, long ones cut.
std::string quoted(const std::u16string &s);

// What the window and the model hold, as a failure report prints them: the
// money, the focus, the activation and the menus, each pair's tick, enabled
// state and text, the buttons.
std::string windowAccount(const frmRumida &window);
std::string modelAccount(const refmodel::MainWindowModel &model);

} // namespace referee
