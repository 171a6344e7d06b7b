// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "tests/support/ModelReferee.h"

#include "platform/TextBox.h"
#include "platform/WindowFocus.h"
#include "race/frmRumida.h"
#include "tests/model/Player.h"
#include "tests/support/PairDigits.h"
#include "windows/SideWindows.h"
#include "windows/frmHelp.h"
#include "windows/frmVersion.h"
#include "windows/frmZelko.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <cstdio>
#include <sstream>

namespace referee {

std::string quoted(const std::u16string &s)
{
    return randomplay::quoted(s);
}

std::string windowAccount(const frmRumida &window)
{
    const auto name = [](const QWidget *w) { return w ? w->objectName().toStdString() : std::string("none"); };
    const WindowFocus *tracker = WindowFocus::of(&window);
    std::ostringstream out;
    out << "money " << window.money() << ", focus " << name(tracker ? tracker->current() : nullptr)
        << ", Qt focus " << name(QApplication::focusWidget()) << ", active " << name(QApplication::activeWindow())
        << ", popup " << name(QApplication::activePopupWidget()) << ", menu bar "
        << (window.menuBar()->activeAction() ? "holds the keyboard" : "off") << "\n   ";
    for (const frmRumida::Pair &pair : window.pairs()) {
        out << " " << pair.chk->objectName().toStdString() << (pair.chk->isChecked() ? "[x]" : "[ ]")
            << (pair.txt->isEnabled() ? "" : "(off)") << quoted(pair.txt->text().toStdU16String());
    }
    const auto enabled = [&window](const char *button) {
        return window.findChild<QWidget *>(QLatin1String(button))->isEnabled();
    };
    out << "\n    cmdEndBet " << enabled("cmdEndBet") << " cmdStart " << enabled("cmdStart") << " cmdNext "
        << enabled("cmdNext");
    return out.str();
}

std::string modelAccount(const refmodel::MainWindowModel &model)
{
    std::ostringstream out;
    out << "money " << model.money << ", focus " << refmodel::controlName(model.focus) << ", active "
        << model.active << ", dropdown " << refmodel::menuName(model.dropdown) << ", menu mode " << model.menuMode
        << "\n   ";
    for (int p = 0; p < 6; ++p) {
        const refmodel::PairState &pair = model.pairs[std::size_t(p)];
        out << " chk" << PairDigits[p] << (pair.ticked ? "[x]" : "[ ]") << (pair.textEnabled ? "" : "(off)")
            << quoted(pair.text);
    }
    out << "\n    cmdEndBet " << model.endBetEnabled << " cmdStart " << model.startEnabled << " cmdNext "
        << model.nextEnabled;
    return out.str();
}

MessageService::Answer serviceAnswer(refmodel::Answer a)
{
    switch (a) {
    case refmodel::Answer::Ok: return MessageService::Answer::Ok;
    case refmodel::Answer::Cancel: return MessageService::Answer::Cancel;
    case refmodel::Answer::Yes: return MessageService::Answer::Yes;
    case refmodel::Answer::No: return MessageService::Answer::No;
    }
    return MessageService::Answer::Cancel;
}

namespace {

std::string str(const std::u16string &s)
{
    return referee::quoted(s);
}
std::string str(const std::string &s)
{
    return s;
}
std::string str(bool b)
{
    return b ? "true" : "false";
}
std::string str(std::int64_t v)
{
    return std::to_string(v);
}
std::string str(int v)
{
    return std::to_string(v);
}
std::string str(float v)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.9g", double(v));
    return buffer;
}

std::string questionText(const QString &title, const QString &text, int buttons, int icon, int def)
{
    std::ostringstream out;
    out << title.toStdString() << "/" << text.toStdString() << "/" << (buttons ? "YesNo" : "OkCancel") << "/"
        << (icon ? "Critical" : "Question") << "/" << def;
    return out.str();
}

// The menus' hold on the keyboard as the window shows it.
std::string menuBarState(const frmRumida &window)
{
    if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget()))
        return "dropdown " + menu->objectName().toStdString();
    return window.menuBar()->activeAction() ? "menu mode" : "off";
}
std::string modelMenuBarState(const refmodel::MainWindowModel &model)
{
    if (model.dropdown != refmodel::Menu::None)
        return std::string("dropdown ") + refmodel::menuName(model.dropdown);
    return model.menuMode ? "menu mode" : "off";
}

template <class T> T *child(const frmRumida &window, const QString &name)
{
    return window.findChild<T *>(name);
}

QString label(const frmRumida &window, const char *name)
{
    const auto *l = child<QLabel>(window, QLatin1String(name));
    return l ? l->text() : QStringLiteral("<no label>");
}

} // namespace

std::optional<Mismatch> compare(
    const frmRumida &window, const SideWindows &sides, const Record &record, const refmodel::MainWindowModel &model)
{
    std::optional<Mismatch> found;
    auto check = [&found](const std::string &field, const auto &windowValue, const auto &modelValue) {
        if (!found && !(windowValue == modelValue))
            found = Mismatch{0, field, str(windowValue), str(modelValue)};
    };
    if (!model.trouble.empty())
        return Mismatch{0, "model", "", model.trouble};

    check("ending", window.isEnding(), model.ending);
    // The questions this action asked.
    std::string windowAsked, modelAsked;
    for (const auto &q : record.asked) {
        windowAsked += questionText(q.title, q.text, q.buttons == MessageService::Buttons::YesNo,
                           q.icon == MessageService::Icon::Critical, q.defaultButton)
            + "; ";
    }
    for (const auto &q : model.asked) {
        modelAsked += questionText(QString::fromStdU16String(q.title), QString::fromStdU16String(q.text),
                          q.buttons == refmodel::Buttons::YesNo, q.icon == refmodel::Icon::Critical, q.defaultButton)
            + "; ";
    }
    if (!found && windowAsked != modelAsked)
        found = Mismatch{0, "questions asked", windowAsked, modelAsked};

    check("money", window.money(), model.money);
    check("lblCurrent", label(window, "lblCurrent").toStdU16String(), model.lblCurrent);
    check("lblWinner", label(window, "lblWinner").toStdU16String(), model.lblWinner);
    check("lblHaitou", label(window, "lblHaitou").toStdU16String(), model.lblHaitou);
    for (int p = 0; p < 6; ++p) {
        const std::string nn = PairDigits[p];
        const auto &mp = model.pairs[std::size_t(p)];
        const auto &wp = window.pairs()[std::size_t(p)];
        check("chk" + nn + " ticked", wp.chk->isChecked(), mp.ticked);
        check("chk" + nn + " enabled", wp.chk->isEnabled(), mp.checkEnabled);
        const auto *box = child<QLineEdit>(window, QStringLiteral("txt") + QLatin1String(nn.c_str()));
        check("txt" + nn + " enabled", box->isEnabled(), mp.textEnabled);
        check("txt" + nn + " text", box->text().toStdU16String(), mp.text);
        check("bet" + nn, int(window.purse().stake(wp.code)), int(mp.bet));
        check("odds" + nn, window.purse().odds(wp.code), mp.odds);
        check("lbl" + nn, label(window, ("lbl" + nn).c_str()).toStdU16String(), mp.oddsLabel);
    }
    auto enabled = [&window](const char *name) { return child<QWidget>(window, QLatin1String(name))->isEnabled(); };
    check("cmdEndBet enabled", enabled("cmdEndBet"), model.endBetEnabled);
    check("cmdStart enabled", enabled("cmdStart"), model.startEnabled);
    check("cmdNext enabled", enabled("cmdNext"), model.nextEnabled);
    check("mnuFile enabled", enabled("mnuFile"), model.fileMenuEnabled);
    check("mnuH enabled", enabled("mnuH"), model.helpMenuEnabled);
    check("mnuOmake enabled", enabled("mnuOmake"), model.bonusMenuEnabled);
    const char *horses[] = {"imgAka", "imgCha", "imgKi", "imgShiro"};
    for (int h = 0; h < 4; ++h) {
        check(std::string(horses[h]) + " Left",
            child<QWidget>(window, QLatin1String(horses[h]))->property("Left").toFloat(),
            model.horses[std::size_t(h)]);
    }
    if (!window.isEnding()) {
        const WindowFocus *tracker = WindowFocus::of(&window);
        QWidget *own = tracker ? tracker->current() : nullptr;
        check("own focus", own ? own->objectName().toStdU16String() : u"<none>",
            refmodel::ascii(refmodel::controlName(model.focus)));
        check("main window active", QApplication::activeWindow() == &window, model.active);
        check("menu bar", menuBarState(window), modelMenuBarState(model));
        // Where the keys go: whenever the window is active and no menu
        // holds the keyboard, Qt's focus is the window's own.
        if (model.active && !model.menuMode && model.dropdown == refmodel::Menu::None) {
            QWidget *f = QApplication::focusWidget();
            std::u16string name = u"<not in the main window>";
            if (f && window.isAncestorOf(f)) {
                name = f->objectName().isEmpty()
                    ? u"<" + QString::fromLatin1(f->metaObject()->className()).toStdU16String() + u">"
                    : f->objectName().toStdU16String();
            }
            check("focus", name, refmodel::ascii(refmodel::controlName(model.focus)));
        }
    } else {
        check("visible", window.isVisible(), false);
    }
    if (record.activeAfterBox)
        check("main window active after its message box", *record.activeAfterBox, true);
    check("context menus and drops", record.picks, model.picks);
    check("beeps", record.beeps, model.beeps);
    check("draws", record.draws, model.draws);
    check("reseeds", record.reseeds, model.reseeds);

    auto shown = [](const QWidget *w) { return w != nullptr && w->isVisible(); };
    check("frmZelko open", shown(sides.gallery()), model.side.galleryOpen);
    if (sides.gallery() && model.side.galleryOpen) {
        check("frmZelko lblNumber",
            sides.gallery()->findChild<QLabel *>(QStringLiteral("lblNumber"))->text().toStdU16String(),
            refmodel::ascii(std::to_string(model.side.picture)));
    }
    check("frmHelp open", shown(sides.help()), model.side.helpOpen);
    check("frmVersion open", shown(sides.version()), model.side.versionOpen);
    return found;
}

} // namespace referee
