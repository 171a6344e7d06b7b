// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// Random play: the real main window, offscreen, and the reference model of
// tests/model are driven with the same random player actions and the same
// random draws, and must agree on everything the window shows after every
// action. A disagreement is shrunk to a short action list and printed with
// its seed; RUMIDA_SEED=<seed> replays that seed alone.
//
// Besides the game's own controls the player uses the desktop around the
// window: Alt (the menu bar takes the keyboard), a menu opened by its title
// and closed by Escape or a click elsewhere, the amount boxes' context menus,
// text dropped on a box, a side window or another program activated and the
// main window clicked or reactivated after it. The focus compared is the
// window's own (the control that holds it between the window's controls);
// Qt's focus widget must be that control too whenever the window is active
// and no menu holds the keyboard, or the player would be left with nowhere
// to type. The run ends with the number of actions of each kind.
#include "tests/model/ReferenceModel.h"
#include "tests/support/MainWindowFixture.h"
#include "windows/SideWindows.h"
#include "windows/frmHelp.h"
#include "windows/frmVersion.h"
#include "windows/frmZelko.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <random>
#include <sstream>

namespace {

using refmodel::Control;
using refmodel::Menu;
using ModelAnswer = refmodel::Answer;

// Seeds run by default, and the actions each seed plays.
constexpr std::uint64_t DefaultSeeds[] = {1, 2, 3, 4, 5, 6, 7, 8};
constexpr int ActionsPerSeed = 2600;
// A game is played on one window until the program is quit or this many
// actions have been played; then a fresh window starts the next game.
constexpr std::size_t ActionsPerGame = 300;
// Shrinking a failure stops after this long and prints the shortest list so far.
constexpr auto ShrinkBudget = std::chrono::seconds(120);

enum class Kind {
    Open, // builds the window; its draws are the first odds
    ClickCheck,
    ClickText,
    ClickButton,
    PressAway, // presses cmdEndBet and releases the mouse away from it
    Tab,
    Backtab,
    Space,
    Enter,
    Backspace,
    Type,
    Paste,
    StartOver,
    MenuEnd,
    CloseBox,
    OpenGallery,
    GalleryNext,
    GalleryBack,
    CloseGallery,
    OpenHelp,
    CloseHelp,
    OpenVersion,
    CloseVersion,
    // The desktop around the window.
    Alt,                   // taps Alt: the menu bar takes the keyboard or gives it back
    Escape,                // to the open dropdown, the menu bar, or the focused control
    OpenMenu,              // clicks a top menu's title
    ClickAway,             // clicks outside the open dropdown, on the result row
    ContextPaste,          // a box's context menu: Paste
    ContextUndo,           // a box's context menu: Undo, in a box the press enters
    ContextSelectAllDelete, // a box's context menu: Select All, then Delete
    Drop,                  // text dragged from another program onto a box
    ActivateSide,          // a side window activated (opened by its menu item first)
    SwitchAway,            // another program's window activated
    Reactivate,            // the main window activated again
    Count
};

constexpr std::size_t KindCount = std::size_t(Kind::Count);

const char *kindName(Kind k)
{
    static const char *const names[KindCount] = {
        "Open",         "ClickCheck",    "ClickText",   "ClickButton",  "PressAway",
        "Tab",          "Backtab",       "Space",       "Enter",        "Backspace",
        "Type",         "Paste",         "StartOver",   "MenuEnd",      "CloseBox",
        "OpenGallery",  "GalleryNext",   "GalleryBack", "CloseGallery", "OpenHelp",
        "CloseHelp",    "OpenVersion",   "CloseVersion", "Alt",         "Escape",
        "OpenMenu",     "ClickAway",     "ContextPaste", "ContextUndo", "ContextSelectAllDelete",
        "Drop",         "ActivateSide",  "SwitchAway",  "Reactivate"};
    return names[std::size_t(k)];
}

// What the random values scripted for an action are shaped for.
enum class Draws { None, Odds, Race };

struct Action {
    Kind kind = Kind::Open;
    int arg = 0;         // the pair (0..5), the button, or how a side window closes
    std::u16string text; // typed or pasted
    ModelAnswer yesNo = ModelAnswer::No;
    ModelAnswer okCancel = ModelAnswer::Cancel;
    Draws draws = Draws::None;
    std::uint64_t drawSeed = 0;
    bool realBoxes = false; // its questions come up as real message boxes
};

const Control Buttons[] = {Control::cmdEndBet, Control::cmdStart, Control::cmdNext};
const Menu TopMenus[] = {Menu::File, Menu::Bonus, Menu::Help};
const char *const SideNames[] = {"frmZelko", "frmHelp", "frmVersion"};

std::string utf8(const std::u16string &s)
{
    return QString::fromStdU16String(s).toStdString();
}

std::string quoted(const std::u16string &s)
{
    std::string out = "\"";
    const std::string text = utf8(s.size() > 60 ? s.substr(0, 60) : s);
    for (char c : text) {
        if (c == '\t')
            out += "\\t";
        else if (c == '\n')
            out += "\\n";
        else if (c == '"' || c == '\\')
            out += std::string("\\") + c;
        else
            out += c;
    }
    if (s.size() > 60)
        out += "...(" + std::to_string(s.size()) + " chars)";
    return out + "\"";
}

const char *answerName(ModelAnswer a)
{
    switch (a) {
    case ModelAnswer::Ok: return "Ok";
    case ModelAnswer::Cancel: return "Cancel";
    case ModelAnswer::Yes: return "Yes";
    case ModelAnswer::No: return "No";
    }
    return "?";
}

std::string describe(const Action &a)
{
    std::ostringstream out;
    const char *pair = PairDigits[a.arg % 6];
    switch (a.kind) {
    case Kind::Open: out << "open the window"; break;
    case Kind::ClickCheck: out << "click chk" << pair; break;
    case Kind::ClickText: out << "click txt" << pair; break;
    case Kind::ClickButton: out << "click " << refmodel::controlName(Buttons[a.arg % 3]); break;
    case Kind::PressAway: out << "press cmdEndBet, release away"; break;
    case Kind::Tab: out << "Tab"; break;
    case Kind::Backtab: out << "Shift+Tab"; break;
    case Kind::Space: out << "Space"; break;
    case Kind::Enter: out << "Enter"; break;
    case Kind::Backspace: out << "Backspace"; break;
    case Kind::Type: out << "type " << quoted(a.text); break;
    case Kind::Paste: out << "paste " << quoted(a.text); break;
    case Kind::StartOver: out << "menu mnuStartOver"; break;
    case Kind::MenuEnd: out << "menu mnuEnd"; break;
    case Kind::CloseBox: out << "close box of the main window"; break;
    case Kind::OpenGallery: out << "menu mnuZelko"; break;
    case Kind::GalleryNext: out << "gallery >"; break;
    case Kind::GalleryBack: out << "gallery <"; break;
    case Kind::CloseGallery: out << (a.arg ? "gallery close box" : "gallery 戻る"); break;
    case Kind::OpenHelp: out << "menu mnuHow"; break;
    case Kind::CloseHelp: out << (a.arg ? "help close box" : "help 戻る"); break;
    case Kind::OpenVersion: out << "menu mnuVer"; break;
    case Kind::CloseVersion: out << (a.arg ? "version close box" : "version 戻る"); break;
    case Kind::Alt: out << "Alt"; break;
    case Kind::Escape: out << "Escape"; break;
    case Kind::OpenMenu: out << "click the title of " << refmodel::menuName(TopMenus[a.arg % 3]); break;
    case Kind::ClickAway: out << "click away from the open menu"; break;
    case Kind::ContextPaste: out << "context menu of txt" << pair << ": Paste " << quoted(a.text); break;
    case Kind::ContextUndo: out << "context menu of txt" << pair << ": Undo"; break;
    case Kind::ContextSelectAllDelete: out << "context menu of txt" << pair << ": Select All, Delete"; break;
    case Kind::Drop: out << "drop " << quoted(a.text) << " on txt" << pair; break;
    case Kind::ActivateSide: out << "activate " << SideNames[a.arg % 3]; break;
    case Kind::SwitchAway: out << "activate another program's window"; break;
    case Kind::Reactivate: out << "activate the main window"; break;
    case Kind::Count: break;
    }
    switch (a.kind) {
    case Kind::ClickButton:
    case Kind::Space:
    case Kind::Enter:
    case Kind::StartOver:
    case Kind::MenuEnd:
    case Kind::CloseBox:
        out << " [answers " << answerName(a.yesNo) << "/" << answerName(a.okCancel)
            << (a.realBoxes ? " in real boxes" : "") << "]";
        break;
    default:
        break;
    }
    if (a.draws != Draws::None)
        out << " [" << (a.draws == Draws::Odds ? "odds" : "race") << " draws 0x" << std::hex << a.drawSeed << "]";
    return out.str();
}

// ---------------------------------------------------------------------------
// Random values the window and the model both consume

std::vector<float> makeDraws(Draws kind, std::uint64_t seed)
{
    std::mt19937_64 rng(seed);
    std::vector<float> values;
    if (kind == Draws::Odds) {
        // Odds of 1, 3.5 (payouts of exact halves), 8.2265625 and 5.7265625 (an
        // exact half in the eighth digit), and just under 11.
        const float special[] = {0.0f,  0.25f, 0.5f,        0.05f,      0.15f,
                                 0.999f, 0.72265625f, 0.47265625f, std::nextafter(1.0f, 0.0f)};
        for (int i = 0; i < 6; ++i) {
            if (rng() % 3 == 0)
                values.push_back(special[rng() % std::size(special)]);
            else
                values.push_back(float(rng() >> 40) / 16777216.0f);
        }
    } else if (kind == Draws::Race) {
        // A long stretch in which every horse keeps its own pace (one at the
        // top pace of 10 keeps the race short), then a random finish with
        // steps from `low` to 10: close finishes, ties and several horses
        // past the line at once.
        int pace[4];
        for (int &p : pace) {
            const auto k = rng() % 10;
            p = k < 5 ? 10 : k < 8 ? 9 : 8;
        }
        pace[rng() % 4] = 10;
        const int lows[] = {1, 5, 9, 10};
        const int low = lows[rng() % 4];
        const bool edges = rng() % 4 == 0;
        constexpr int Stretch = 600, Finish = 400; // a horse at pace 10 finishes within them
        values.reserve(4 * (Stretch + Finish));
        for (int step = 0; step < Stretch + Finish; ++step) {
            for (int h = 0; h < 4; ++h) {
                const int size = step < Stretch ? pace[h] : low + int(rng() % unsigned(11 - low));
                values.push_back(drawForStep(size, rng, edges));
            }
        }
    }
    return values;
}

// ---------------------------------------------------------------------------
// Random player input

std::u16string u16(const char *utf8Text)
{
    return QString::fromUtf8(utf8Text).toStdU16String();
}

// A text a player might type: amounts, signs, separators, full-width forms,
// currency signs, garbage, huge and negative amounts, and nothing.
std::u16string randomAmount(std::mt19937_64 &rng, const refmodel::MainWindowModel &model, bool forPaste)
{
    static const char *const whole[] = {
        "500", "1500", "1000", "10000", "1,000", "12,345", "2.5", "0.5", "1.5", "-2.5", "3.25",
        "-300", "+20", "－３５０", "１２３", "１，０００", "２．５", "￥500", "¥1,000", "\\200",
        "-￥1,500", "￥-15", "(￥1,500)", "(300)", "(-5)", "abc", "12abc", "1e3", "1E2", "1e", "e5",
        ".", "-", "..5", "1.2.3", " 7 5", "　８", ".5", "5.", "-.5", "1,", ",1", "1,,0",
        "3000000000", "2147483647", "2147483648", "-2147483648", "-2147483649", "2147483647.5",
        "-2147483648.5", "2147483646.5", "-2147483647.5", "1e10", "99999999999999999999", "1e400",
        "1e-400", "0", "-0", "00012", "0.4", "-0.4", "-0.5", "1,000,000,000,000,000,000,000,000",
        "1,234,567,890,123,456,789", "", "7", "99", "333"};
    static const char *const pieces[] = {"0", "1", "2", "5", "7", "9", ",", ".", "-", "+", "e",
                                         "E", " ", "　", "￥", "¥", "\\", "(", ")", "a", "０",
                                         "５", "．", "－", "＋", "，", "x", "00", "000"};
    const auto pick = rng() % 20;
    if (pick < 7)
        return u16(whole[rng() % std::size(whole)]);
    if (pick < 11)
        return refmodel::ascii(std::to_string(rng() % 20000));
    if (pick < 12) {
        // Everything, or a little more: a ruin after a lost race.
        const std::int64_t extra = rng() % 2 ? 0 : std::int64_t(rng() % 3000);
        return refmodel::ascii(std::to_string(model.money + extra));
    }
    if (pick < 13 && forPaste) {
        static const char *const pasted[] = {"\t4\u30000", "1\n2", " 12 ", "\t-\t7", "5\t,000",
                                             "1\n,000"};
        return u16(pasted[rng() % std::size(pasted)]);
    }
    if (pick < 14 && forPaste) {
        // Long texts: a huge amount, a long grouped number, long garbage.
        switch (rng() % 3) {
        case 0: return std::u16string(std::size_t(30 + rng() % 400), u'9');
        case 1: {
            std::u16string s = u"1";
            for (int k = int(rng() % 110); k > 0; --k)
                s += u",000";
            return s;
        }
        default: return std::u16string(std::size_t(50 + rng() % 300), u'x');
        }
    }
    std::u16string s;
    for (int k = 1 + int(rng() % 4); k > 0; --k)
        s += u16(pieces[rng() % std::size(pieces)]);
    return s;
}

ModelAnswer randomYesNo(std::mt19937_64 &rng)
{
    return rng() % 2 ? ModelAnswer::Yes : ModelAnswer::No;
}

ModelAnswer randomOkCancel(std::mt19937_64 &rng)
{
    // Ok ends the game: rarely, so that games run long.
    return rng() % 12 == 0 ? ModelAnswer::Ok : ModelAnswer::Cancel;
}

bool isAmountBox(Control c)
{
    return refmodel::pairOfText(c) >= 0;
}

using Model = refmodel::MainWindowModel;

int enabledBoxOtherThan(std::mt19937_64 &rng, const Model &model, Control other, bool withText)
{
    std::vector<int> boxes;
    for (int p = 0; p < 6; ++p) {
        const auto &pair = model.pairs[std::size_t(p)];
        if (pair.textEnabled && refmodel::textOf(p) != other && (!withText || !pair.text.empty()))
            boxes.push_back(p);
    }
    return boxes.empty() ? -1 : boxes[rng() % boxes.size()];
}

// A click on one of the window's enabled controls, the kind of click that
// takes the keyboard back from the menus or moves the focus of an inactive
// window.
void clickEnabled(Action &a, std::mt19937_64 &rng, const Model &model)
{
    std::vector<std::pair<Kind, int>> options;
    for (int p = 0; p < 6; ++p) {
        if (model.pairs[std::size_t(p)].checkEnabled)
            options.emplace_back(Kind::ClickCheck, p);
        if (model.pairs[std::size_t(p)].textEnabled)
            options.emplace_back(Kind::ClickText, p);
    }
    for (int b = 0; b < 3; ++b) {
        if (model.enabled(Buttons[b]))
            options.emplace_back(Kind::ClickButton, b);
    }
    if (model.endBetEnabled)
        options.emplace_back(Kind::PressAway, 0);
    // Some control is enabled in every phase between actions.
    const auto &[kind, arg] = options[rng() % options.size()];
    a.kind = kind;
    a.arg = arg;
}

// A click on any control of the window, enabled or not.
void clickAny(Action &a, std::mt19937_64 &rng)
{
    const unsigned r = unsigned(rng() % 100);
    a.kind = r < 35 ? Kind::ClickCheck : r < 70 ? Kind::ClickText : r < 85 ? Kind::ClickButton : Kind::PressAway;
    a.arg = int(rng() % (a.kind == Kind::ClickButton ? 3 : 6));
}

// A menu item picked with the mouse.
void menuItem(Action &a, std::mt19937_64 &rng)
{
    static const Kind items[] = {Kind::StartOver, Kind::StartOver, Kind::OpenGallery, Kind::OpenHelp,
                                 Kind::OpenVersion, Kind::MenuEnd};
    a.kind = items[rng() % std::size(items)];
}

// Text dropped on a box: on the box being typed in when its text is short
// enough for the drop to land at its end (where the model puts it), or on any
// other box, enabled or not.
void drop(Action &a, std::mt19937_64 &rng, const Model &model)
{
    a.kind = Kind::Drop;
    const int focused = refmodel::pairOfText(model.focus);
    const bool intoFocused = focused >= 0 && Model::dropLandsAtEnd(model.pairs[std::size_t(focused)].text);
    a.arg = intoFocused && rng() % 2 ? focused : int(rng() % 6);
    if (a.arg == focused && !intoFocused)
        a.arg = (a.arg + 1) % 6;
    a.text = randomAmount(rng, model, true);
    if (a.text.empty())
        a.text = u"5"; // a drag carries some text
}

// Another window activated: a side window or another program's.
void deactivation(Action &a, std::mt19937_64 &rng)
{
    a.kind = rng() % 3 ? Kind::ActivateSide : Kind::SwitchAway;
    a.arg = int(rng() % 3);
}

// The desktop around the window while the betting goes on.
void desktopAction(Action &a, std::mt19937_64 &rng, const Model &model)
{
    const bool typing = isAmountBox(model.focus);
    const unsigned r = unsigned(rng() % 100);
    if (r < 16) {
        a.kind = Kind::Alt;
    } else if (r < 26) {
        a.kind = Kind::OpenMenu;
        a.arg = int(rng() % 3);
    } else if (r < 28) {
        a.kind = Kind::Escape;
    } else if (r < 55) {
        // A context menu: of the box being typed in, or of another enabled
        // box, which the right press enters first.
        const unsigned item = unsigned(rng() % 100);
        const int other = enabledBoxOtherThan(rng, model, model.focus, item < 30);
        if (item < 30 && other >= 0) {
            a.kind = Kind::ContextUndo;
            a.arg = other;
            return;
        }
        a.kind = item < 70 ? Kind::ContextPaste : Kind::ContextSelectAllDelete;
        a.arg = typing && (other < 0 || rng() % 2) ? refmodel::pairOfText(model.focus) : other;
        if (a.arg < 0) {
            a.kind = Kind::Alt; // no box is enabled
            a.arg = 0;
        }
        if (a.kind == Kind::ContextPaste)
            a.text = randomAmount(rng, model, true);
    } else if (r < 70) {
        drop(a, rng, model);
    } else {
        deactivation(a, rng);
    }
}

void chooseKind(Action &a, std::mt19937_64 &rng, const Model &model)
{
    // An open dropdown: closed by Escape or a click elsewhere, or an item picked.
    if (model.dropdown != Menu::None) {
        const unsigned r = unsigned(rng() % 100);
        if (r < 45)
            a.kind = Kind::Escape;
        else if (r < 80)
            a.kind = Kind::ClickAway;
        else
            menuItem(a, rng);
        return;
    }
    // The menu bar holds the keyboard: keys go to the menus, so the player
    // clicks back into the window, taps Alt or Escape, opens a menu or picks
    // an item, or goes to another window.
    if (model.menuMode) {
        const unsigned r = unsigned(rng() % 100);
        if (r < 40) {
            clickEnabled(a, rng, model);
        } else if (r < 55) {
            a.kind = Kind::Alt;
        } else if (r < 72) {
            a.kind = Kind::Escape;
        } else if (r < 80) {
            menuItem(a, rng);
        } else if (r < 90) {
            a.kind = Kind::OpenMenu;
            a.arg = int(rng() % 3);
        } else if (r < 94) {
            drop(a, rng, model);
        } else {
            deactivation(a, rng);
        }
        return;
    }
    // Another window is active: the player clicks into the main window (the
    // desktop activates it), brings it back, drops text on it, or moves on
    // to yet another window.
    if (!model.active) {
        const unsigned r = unsigned(rng() % 100);
        if (r < 55) {
            if (rng() % 10 < 7)
                clickEnabled(a, rng, model);
            else
                clickAny(a, rng);
        } else if (r < 85) {
            a.kind = Kind::Reactivate;
        } else if (r < 95) {
            drop(a, rng, model);
        } else {
            deactivation(a, rng);
        }
        return;
    }
    const bool typing = isAmountBox(model.focus);
    if (unsigned(rng() % 100) < (typing ? 24u : 10u)) {
        desktopAction(a, rng, model);
        return;
    }
    const unsigned roll = unsigned(rng() % 100);
    if (typing && roll < 40) {
        a.kind = rng() % 4 == 0 ? Kind::Paste : Kind::Type;
        a.text = randomAmount(rng, model, a.kind == Kind::Paste);
        if (a.kind == Kind::Type) {
            // Typed keys insert printable characters only.
            std::u16string printable;
            for (char16_t c : a.text) {
                if (c != u'\t' && c != u'\n')
                    printable.push_back(c);
            }
            a.text = printable;
        }
        return;
    }
    if (typing && roll < 43) {
        a.kind = Kind::Backspace;
        return;
    }
    // Move the game on: close the betting, start the race, call the next one.
    const bool open = model.endBetEnabled;
    const unsigned forward = open ? 6u : 30u;
    if (roll >= 43 && roll < 43 + forward) {
        const Control target = model.endBetEnabled ? Control::cmdEndBet
                               : model.startEnabled ? Control::cmdStart
                                                    : Control::cmdNext;
        a.kind = Kind::ClickButton;
        a.arg = target == Control::cmdEndBet ? 0 : target == Control::cmdStart ? 1 : 2;
        if (model.focus == target && rng() % 2)
            a.kind = rng() % 2 ? Kind::Space : Kind::Enter;
        return;
    }
    const unsigned r = unsigned(rng() % 100);
    if (r < 30) {
        a.kind = Kind::ClickCheck;
        a.arg = int(rng() % 6);
    } else if (r < 42) {
        a.kind = Kind::ClickText;
        a.arg = int(rng() % 6);
    } else if (r < 48) {
        a.kind = Kind::ClickButton; // any button, enabled or not
        a.arg = int(rng() % 3);
    } else if (r < 52) {
        a.kind = Kind::PressAway;
    } else if (r < 60) {
        a.kind = Kind::Tab;
    } else if (r < 64) {
        a.kind = Kind::Backtab;
    } else if (r < 70) {
        a.kind = Kind::Space;
    } else if (r < 73) {
        a.kind = Kind::Enter;
    } else if (r < 78) {
        a.kind = Kind::Type; // into whatever has the focus
        a.text = u"5";
    } else if (r < 82) {
        a.kind = Kind::StartOver;
    } else if (r < 84) {
        a.kind = Kind::MenuEnd;
    } else if (r < 86) {
        a.kind = Kind::CloseBox;
    } else {
        static const Kind side[] = {Kind::OpenGallery, Kind::GalleryNext, Kind::GalleryBack,
                                    Kind::CloseGallery, Kind::OpenHelp,   Kind::CloseHelp,
                                    Kind::OpenVersion, Kind::CloseVersion};
        a.kind = side[rng() % std::size(side)];
        a.arg = int(rng() % 2);
    }
}

// The next action of a player in the state the model shows.
Action randomAction(std::mt19937_64 &rng, const Model &model)
{
    Action a;
    a.yesNo = randomYesNo(rng);
    a.okCancel = randomOkCancel(rng);
    chooseKind(a, rng, model);
    // Shape the draws for the handler the action will reach.
    Control reached = Control::None;
    if (a.kind == Kind::ClickButton)
        reached = Buttons[a.arg];
    else if (a.kind == Kind::Space || a.kind == Kind::Enter)
        reached = model.focus;
    if (reached == Control::cmdStart && model.startEnabled)
        a.draws = Draws::Race;
    else if (reached == Control::cmdNext && model.nextEnabled)
        a.draws = Draws::Odds;
    a.drawSeed = rng();
    a.realBoxes = rng() % 8 == 0;
    return a;
}

// Whether an action can be played in the state the model shows. While a
// menu holds the keyboard or another window is active, the player's keys go
// elsewhere: only the actions made for that state are played. The others,
// which only a shrunk action list can hold, are skipped on both sides.
bool fits(const Action &a, const Model &model)
{
    const bool menuPick = a.kind == Kind::StartOver || a.kind == Kind::MenuEnd || a.kind == Kind::OpenGallery
                          || a.kind == Kind::OpenHelp || a.kind == Kind::OpenVersion;
    const bool click = a.kind == Kind::ClickCheck || a.kind == Kind::ClickText || a.kind == Kind::ClickButton
                       || a.kind == Kind::PressAway;
    if (a.kind == Kind::Drop) {
        const int p = a.arg % 6;
        if (model.dropdown != Menu::None)
            return false;
        return model.focus != refmodel::textOf(p) || Model::dropLandsAtEnd(model.pairs[std::size_t(p)].text);
    }
    if (model.dropdown != Menu::None)
        return a.kind == Kind::Escape || a.kind == Kind::ClickAway || menuPick;
    if (model.menuMode) {
        return click || menuPick || a.kind == Kind::Alt || a.kind == Kind::Escape || a.kind == Kind::OpenMenu
               || a.kind == Kind::ActivateSide || a.kind == Kind::SwitchAway;
    }
    if (!model.active) {
        return click || a.kind == Kind::Reactivate || a.kind == Kind::ActivateSide
               || a.kind == Kind::SwitchAway;
    }
    const auto &pair = model.pairs[std::size_t(a.arg % 6)];
    switch (a.kind) {
    case Kind::ContextPaste:
    case Kind::ContextSelectAllDelete: return pair.textEnabled;
    case Kind::ContextUndo:
        return pair.textEnabled && !pair.text.empty() && model.focus != refmodel::textOf(a.arg % 6);
    case Kind::ClickAway:
    case Kind::Reactivate: return false;
    default: return true;
    }
}

MessageService::Answer serviceAnswer(ModelAnswer a)
{
    switch (a) {
    case ModelAnswer::Ok: return MessageService::Answer::Ok;
    case ModelAnswer::Cancel: return MessageService::Answer::Cancel;
    case ModelAnswer::Yes: return MessageService::Answer::Yes;
    case ModelAnswer::No: return MessageService::Answer::No;
    }
    return MessageService::Answer::Cancel;
}

// What the random play reached, so that a run that passes has played the
// interesting cases too.
struct Coverage {
    long races = 0;
    long noPair = 0;       // races that named no winning pair
    long payouts = 0;
    long ruins = 0;        // fresh starts offered
    long quitAsked = 0;
    long quitConfirmed = 0;
    long refused = 0;      // amounts refused with a beep
    long stakes = 0;       // amount boxes left
    long sideWindows = 0;  // side windows opened
    long realBoxes = 0;    // questions answered in real message boxes
    long leftFromMenus = 0;    // boxes left by a click while the menu bar had the keyboard
    long leftInactive = 0;     // boxes left by a click into the inactive window
    long backToTyping = 0;     // the window reactivated, or a menu left, with a box still focused
    long dropsTaken = 0, dropsRefused = 0;
    long contextPicks = 0;     // context-menu items picked (not refused)
    std::array<long, KindCount> played{}; // actions by kind

    void print(std::ostream &out) const
    {
        out << "  races " << races << " (no pair " << noPair << ", paid " << payouts << "), fresh starts offered "
            << ruins << ", quit asked " << quitAsked << " (confirmed " << quitConfirmed << "), stakes " << stakes
            << " (refused " << refused << "), side windows opened " << sideWindows << ", real message boxes "
            << realBoxes << "\n";
        out << "  boxes left from the menus " << leftFromMenus << ", from an inactive window " << leftInactive
            << "; typing resumed after the menus or another window " << backToTyping << "; drops taken "
            << dropsTaken << ", refused " << dropsRefused << "; context-menu items picked " << contextPicks
            << "\n";
        out << "  actions by kind:\n";
        for (std::size_t k = 1; k < KindCount; ++k)
            out << "    " << kindName(Kind(k)) << " " << played[k] << "\n";
    }
};

// The game's questions, each answered as the action says: from the script,
// or in a real message box that the player answers with the mouse or keys.
class PlayerMessages final : public MessageService {
public:
    explicit PlayerMessages(ScriptedMessages &scripted) : scripted_(scripted) {}

    bool realBoxes = false;
    ModelAnswer yesNo = ModelAnswer::No;
    ModelAnswer okCancel = ModelAnswer::Cancel;
    QList<ScriptedMessages::Question> asked;
    int realAsked = 0;

    Answer ask(QWidget *owner, const QString &text, const QString &title, Buttons buttons, Icon icon,
               int defaultButton) override
    {
        asked.append({text, title, buttons, icon, defaultButton});
        const Answer answer = serviceAnswer(buttons == Buttons::YesNo ? yesNo : okCancel);
        if (!realBoxes) {
            scripted_.answer(answer);
            return scripted_.ask(owner, text, title, buttons, icon, defaultButton);
        }
        ++realAsked;
        QTimer::singleShot(0, [answer] { answerBox(answer); });
        return real_.ask(owner, text, title, buttons, icon, defaultButton);
    }

private:
    // Cancel by Escape, Yes by Enter on the default button, the others by a click.
    static void answerBox(Answer answer)
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box) {
            ADD_FAILURE() << "no message box is up";
            return;
        }
        switch (answer) {
        case Answer::Cancel: QTest::keyClick(box, Qt::Key_Escape); break;
        case Answer::Yes: QTest::keyClick(box, Qt::Key_Return); break;
        case Answer::Ok: QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton); break;
        case Answer::No: QTest::mouseClick(box->button(QMessageBox::No), Qt::LeftButton); break;
        }
    }

    ScriptedMessages &scripted_;
    QtMessageService real_;
};

struct Mismatch {
    std::size_t index = 0; // of the action after which the two disagreed
    std::string field;
    std::string window;
    std::string model;
};

} // namespace

class ModelPlayTest : public MainWindowTest {
protected:
    std::unique_ptr<SideWindows> sides;
    PlayerMessages playerMessages{messages};
    refmodel::MainWindowModel model;
    qsizetype askedBefore = 0;
    std::optional<bool> activeAfterBox;

    // Another program's window, for the main window to lose activation to.
    std::unique_ptr<QWidget> elsewhere;
    // What the context-menu items and drops of the action did on the window.
    std::string picks;

    static bool isMenuPick(Kind k)
    {
        return k == Kind::StartOver || k == Kind::MenuEnd || k == Kind::OpenGallery || k == Kind::OpenHelp
               || k == Kind::OpenVersion;
    }
    Coverage coverage;

    // Whether the action shows a menu or a window.
    static bool showsWindows(Kind k)
    {
        return isMenuPick(k) || k == Kind::OpenMenu || k == Kind::ContextPaste || k == Kind::ContextUndo
               || k == Kind::ContextSelectAllDelete || k == Kind::ActivateSide || k == Kind::SwitchAway
               || k == Kind::Reactivate;
    }

    // Counts what an action just played reached, from the model's account.
    void tally(const Action &a, const refmodel::MainWindowModel &before)
    {
        ++coverage.played[std::size_t(a.kind)];
        const bool boxLeft = isAmountBox(before.focus) && model.focus != before.focus;
        coverage.leftFromMenus += boxLeft && (before.menuMode || before.dropdown != Menu::None);
        coverage.leftInactive += boxLeft && !before.active;
        const bool held = before.menuMode || before.dropdown != Menu::None || !before.active;
        coverage.backToTyping += held && isAmountBox(model.focus) && model.focus == before.focus && model.active
                                 && !model.menuMode && model.dropdown == Menu::None;
        for (std::size_t at = 0; (at = model.picks.find("drop ", at)) != std::string::npos; ++at) {
            coverage.dropsTaken += model.picks.compare(at, 10, "drop taken") == 0;
            coverage.dropsRefused += model.picks.compare(at, 12, "drop refused") == 0;
        }
        for (std::size_t at = 0; (at = model.picks.find(" picked", at)) != std::string::npos; ++at)
            ++coverage.contextPicks;
        if (model.reseeds - before.reseeds > 1 && model.horses != before.horses) {
            ++coverage.races;
            coverage.noPair += model.lblWinner.empty();
            coverage.payouts += !model.lblHaitou.empty();
        }
        for (const auto &q : model.asked) {
            coverage.ruins += q.title == u"破産！！";
            coverage.quitAsked += q.buttons == refmodel::Buttons::OkCancel;
        }
        coverage.quitConfirmed += model.ending;
        coverage.refused += model.beeps - before.beeps;
        coverage.stakes += isAmountBox(before.focus) && model.focus != before.focus;
        coverage.sideWindows += (model.side.galleryOpen && !before.side.galleryOpen)
                                + (model.side.helpOpen && !before.side.helpOpen)
                                + (model.side.versionOpen && !before.side.versionOpen);
    }

    void TearDown() override
    {
        sides.reset();
        elsewhere.reset();
        MainWindowTest::TearDown();
    }

    // Activates a top-level window and waits until it is the active one
    // (without QTest's 10 ms naps: offscreen, one pass of the event loop
    // usually does it).
    void activate(QWidget *w)
    {
        w->activateWindow();
        for (int i = 0; i < 20 && QApplication::activeWindow() != w; ++i)
            QCoreApplication::processEvents();
        if (QApplication::activeWindow() != w) {
            EXPECT_TRUE(QTest::qWaitFor([w] { return QApplication::activeWindow() == w; }))
                << w->objectName().toStdString() << " not activated";
        }
    }

    QWidget *sideWindow(int which) const
    {
        switch (which % 3) {
        case 0: return sides->gallery();
        case 1: return sides->help();
        default: return sides->version();
        }
    }

    void note(const char *what, bool picked)
    {
        picks += std::string(what) + (picked ? " picked; " : " refused; ");
    }

    // A fresh window with fresh services, and a fresh model.
    void start(const Action &openAction)
    {
        window.reset();
        sides.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        messages.asked.clear();
        messages.unexpected = false;
        playerMessages.asked.clear();
        playerMessages.realBoxes = false;
        picks.clear();
        beep.count = 0;
        random.clear();
        random.draws = 0;
        random.reseeds = 0;
        model = refmodel::MainWindowModel{};

        const std::vector<float> draws = makeDraws(Draws::Odds, openAction.drawSeed);
        random.script(draws);
        model.supply(draws);
        window = std::make_unique<frmRumida>(GameServices{playerMessages, beep, random, pacer});
        sides = std::make_unique<SideWindows>();
        QObject::connect(window.get(), &frmRumida::galleryRequested, sides.get(), &SideWindows::openGallery);
        QObject::connect(window.get(), &frmRumida::helpRequested, sides.get(), &SideWindows::openHelp);
        QObject::connect(window.get(), &frmRumida::versionRequested, sides.get(), &SideWindows::openVersion);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        model.open();
        random.clear();
        model.clearSupply();
    }

    // The player's action on the real window.
    void drive(const Action &a)
    {
        const char *pair = PairDigits[a.arg % 6];
        switch (a.kind) {
        case Kind::Open: break;
        case Kind::ClickCheck: clickCheck(pair); break;
        case Kind::ClickText:
            click(txt(pair));
            // A click into the focused box sets the caret where it lands: put
            // it back at the end, where the model types (the box may hold the
            // focus of a window that is not active, so the key goes to it).
            if (ownFocus() == txt(pair))
                QTest::keyClick(txt(pair), Qt::Key_End);
            break;
        case Kind::ClickButton: click(button(refmodel::controlName(Buttons[a.arg % 3]))); break;
        case Kind::PressAway: leaveBox(); break;
        case Kind::Tab: key(Qt::Key_Tab); break;
        case Kind::Backtab: key(Qt::Key_Backtab, Qt::ShiftModifier); break;
        case Kind::Space: key(Qt::Key_Space); break;
        case Kind::Enter: key(Qt::Key_Return); break;
        case Kind::Backspace: key(Qt::Key_Backspace); break;
        case Kind::Type: type(QString::fromStdU16String(a.text)); break;
        case Kind::Paste: paste(QString::fromStdU16String(a.text)); break;
        case Kind::StartOver: pick("mnuStartOver"); break;
        case Kind::MenuEnd: pick("mnuEnd"); break;
        case Kind::CloseBox: window->close(); break;
        case Kind::OpenGallery: pick("mnuZelko"); break;
        case Kind::OpenHelp: pick("mnuHow"); break;
        case Kind::OpenVersion: pick("mnuVer"); break;
        case Kind::GalleryNext:
        case Kind::GalleryBack:
            if (QWidget *gallery = sides->gallery()) {
                auto *b = gallery->findChild<QPushButton *>(
                    QLatin1String(a.kind == Kind::GalleryNext ? "cmdNextPic" : "cmdBackPic"));
                ASSERT_NE(b, nullptr);
                click(b);
            }
            break;
        case Kind::CloseGallery: closeSide(sides->gallery(), a.arg); break;
        case Kind::CloseHelp: closeSide(sides->help(), a.arg); break;
        case Kind::CloseVersion: closeSide(sides->version(), a.arg); break;
        case Kind::Alt: tapAlt(); break;
        case Kind::Escape:
            if (auto *popup = QApplication::activePopupWidget()) {
                QTest::keyClick(popup, Qt::Key_Escape);
                EXPECT_TRUE(QTest::qWaitFor([popup] { return !popup->isVisible(); }));
            } else {
                key(Qt::Key_Escape);
            }
            break;
        case Kind::OpenMenu:
            openMenu(refmodel::menuName(TopMenus[a.arg % 3]));
            // The offscreen platform activates every window it shows, the
            // dropdown too, where a desktop leaves the main window active. Let
            // that activation through while the dropdown is up, where Qt makes
            // nothing of it, not after it closes, where it would take the
            // activation from the main window.
            QCoreApplication::processEvents();
            break;
        case Kind::ClickAway:
            // On the result row, which takes no click.
            if (auto *popup = QApplication::activePopupWidget()) {
                const QWidget *row = find<QWidget>(QStringLiteral("lblWinner"));
                const QPoint at = popup->mapFromGlobal(row->mapToGlobal(row->rect().center()));
                EXPECT_FALSE(popup->rect().contains(at));
                QTest::mouseClick(popup, Qt::LeftButton, Qt::NoModifier, at);
                EXPECT_TRUE(QTest::qWaitFor([popup] { return !popup->isVisible(); }));
            }
            break;
        case Kind::ContextPaste:
            QApplication::clipboard()->setText(QString::fromStdU16String(a.text));
            note("Paste", contextMenuPick(txt(pair), QStringLiteral("Paste")));
            break;
        case Kind::ContextUndo: note("Undo", contextMenuPick(txt(pair), QStringLiteral("Undo"))); break;
        case Kind::ContextSelectAllDelete:
            note("Select All", contextMenuPick(txt(pair), QStringLiteral("Select All")));
            note("Delete", contextMenuPick(txt(pair), QStringLiteral("Delete")));
            break;
        case Kind::Drop: {
            // At the box's right end: the drop lands at the end of a text that
            // ends inside the box.
            QWidget *box = txt(pair);
            const bool taken = dropTextAt(box, QString::fromStdU16String(a.text), QPointF(box->width() - 2, box->height() / 2.0));
            picks += taken ? "drop taken; " : "drop refused; ";
            break;
        }
        case Kind::ActivateSide: {
            static const char *const items[] = {"mnuZelko", "mnuHow", "mnuVer"};
            QWidget *side = sideWindow(a.arg);
            if (!side || !side->isVisible()) {
                pick(items[a.arg % 3]);
                side = sideWindow(a.arg);
            }
            ASSERT_NE(side, nullptr);
            activate(side);
            break;
        }
        case Kind::SwitchAway:
            if (!elsewhere) {
                elsewhere = std::make_unique<QWidget>();
                elsewhere->setObjectName(QStringLiteral("anotherProgram"));
                elsewhere->resize(200, 100);
            }
            // Quitting the game closes every top-level window, this one too.
            elsewhere->show();
            activate(elsewhere.get());
            break;
        case Kind::Reactivate: activate(window.get()); break;
        case Kind::Count: break;
        }
    }

    void closeSide(QWidget *side, int byCloseBox)
    {
        if (!side)
            return;
        if (byCloseBox) {
            side->close();
        } else {
            auto *back = side->findChild<QPushButton *>(QStringLiteral("Command1"));
            ASSERT_NE(back, nullptr);
            click(back);
        }
    }

    // The same action on the model.
    void mirror(const Action &a)
    {
        const int p = a.arg % 6;
        switch (a.kind) {
        case Kind::Open: break;
        case Kind::ClickCheck: model.clickCheck(p); break;
        case Kind::ClickText: model.clickText(p); break;
        case Kind::ClickButton: model.clickButton(Buttons[a.arg % 3]); break;
        case Kind::PressAway: model.pressEndBetAway(); break;
        case Kind::Tab: model.tab(true); break;
        case Kind::Backtab: model.tab(false); break;
        case Kind::Space: model.space(); break;
        case Kind::Enter: model.enter(); break;
        case Kind::Backspace: model.backspace(); break;
        case Kind::Type:
        case Kind::Paste: model.insert(a.text); break;
        case Kind::StartOver: model.startOver(); break;
        case Kind::MenuEnd: model.pickEnd(); break;
        case Kind::CloseBox: model.closeWindow(); break;
        case Kind::OpenGallery: model.pickGallery(); break;
        case Kind::GalleryNext: model.galleryNext(); break;
        case Kind::GalleryBack: model.galleryBack(); break;
        case Kind::CloseGallery: model.closeGallery(); break;
        case Kind::OpenHelp: model.pickHelp(); break;
        case Kind::CloseHelp: model.closeHelp(); break;
        case Kind::OpenVersion: model.pickVersion(); break;
        case Kind::CloseVersion: model.closeVersion(); break;
        case Kind::Alt: model.tapAlt(); break;
        case Kind::Escape: model.escape(); break;
        case Kind::OpenMenu: model.openMenu(TopMenus[a.arg % 3]); break;
        case Kind::ClickAway: model.clickAwayFromMenu(); break;
        case Kind::ContextPaste: model.contextPaste(p, a.text); break;
        case Kind::ContextUndo: model.contextUndoEntering(p); break;
        case Kind::ContextSelectAllDelete: model.contextSelectAllDelete(p); break;
        case Kind::Drop: model.drop(p, a.text); break;
        case Kind::ActivateSide: model.activateSide(a.arg % 3); break;
        case Kind::SwitchAway: model.deactivate(); break;
        case Kind::Reactivate: model.reactivate(); break;
        case Kind::Count: break;
        }
    }

    // Plays one action on both; an answer of Ok may end the program, which
    // leaves the application's event loop, so that action runs inside one.
    void play(const Action &a)
    {
        picks.clear();
        model.picks.clear();
        askedBefore = playerMessages.asked.size();
        if (!fits(a, model))
            return;
        const int realBefore = playerMessages.realAsked;
        playerMessages.realBoxes = a.realBoxes;
        playerMessages.yesNo = a.yesNo;
        playerMessages.okCancel = a.okCancel;
        model.asked.clear();
        model.yesNoAnswer = a.yesNo;
        model.okCancelAnswer = a.okCancel;
        const std::vector<float> draws = makeDraws(a.draws, a.drawSeed);
        random.script(draws);
        model.supply(draws);

        if (a.okCancel == ModelAnswer::Ok) {
            QTimer::singleShot(0, window.get(), [this, &a] {
                drive(a);
                if (!window->isEnding())
                    QCoreApplication::exit(0);
            });
            QApplication::exec();
        } else {
            drive(a);
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        // Let the window system's pending activations through, so that the
        // next action starts from a settled desktop: offscreen, every window
        // shown is activated in turn, menus and message boxes included.
        if (showsWindows(a.kind) || playerMessages.realAsked != realBefore)
            QCoreApplication::processEvents();
        // The window that asked is active again once its message box is
        // answered (a menu pick reactivates the window itself).
        activeAfterBox.reset();
        if (playerMessages.realAsked != realBefore && !window->isEnding() && !isMenuPick(a.kind))
            activeAfterBox = QApplication::activeWindow() == window.get();
        mirror(a);
        // The desktop activates a window the player clicks into, and a
        // window comes back active from a menu; offscreen, nothing does.
        if (!window->isEnding() && model.active && QApplication::activeWindow() != window.get())
            activate(window.get());
        random.clear();
        model.clearSupply();
    }

    static std::string str(const std::u16string &s) { return quoted(s); }
    static std::string str(const std::string &s) { return s; }
    static std::string str(const QString &s) { return quoted(s.toStdU16String()); }
    static std::string str(bool b) { return b ? "true" : "false"; }
    static std::string str(std::int64_t v) { return std::to_string(v); }
    static std::string str(int v) { return std::to_string(v); }
    static std::string str(float v)
    {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.9g", double(v));
        return buffer;
    }

    static std::string questionText(const QString &title, const QString &text, int buttons, int icon, int def)
    {
        std::ostringstream out;
        out << title.toStdString() << "/" << text.toStdString() << "/" << (buttons ? "YesNo" : "OkCancel")
            << "/" << (icon ? "Critical" : "Question") << "/" << def;
        return out.str();
    }

    // The menus' hold on the keyboard as the window shows it.
    std::string menuBarState() const
    {
        if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget()))
            return "dropdown " + menu->objectName().toStdString();
        return window->menuBar()->activeAction() ? "menu mode" : "off";
    }
    std::string modelMenuBarState() const
    {
        if (model.dropdown != Menu::None)
            return std::string("dropdown ") + refmodel::menuName(model.dropdown);
        return model.menuMode ? "menu mode" : "off";
    }

    // Every field the window shows, against the model. The first difference.
    std::optional<Mismatch> compare()
    {
        std::optional<Mismatch> found;
        auto check = [&found](const std::string &field, const auto &windowValue, const auto &modelValue) {
            if (!found && !(windowValue == modelValue))
                found = Mismatch{0, field, str(windowValue), str(modelValue)};
        };
        if (!model.trouble.empty())
            return Mismatch{0, "model", "", model.trouble};

        check("ending", window->isEnding(), model.ending);
        // The questions this action asked.
        std::string windowAsked, modelAsked;
        for (qsizetype i = askedBefore; i < playerMessages.asked.size(); ++i) {
            const auto &q = playerMessages.asked[i];
            windowAsked += questionText(q.title, q.text, q.buttons == MessageService::Buttons::YesNo,
                                        q.icon == MessageService::Icon::Critical, q.defaultButton)
                           + "; ";
        }
        for (const auto &q : model.asked) {
            modelAsked += questionText(QString::fromStdU16String(q.title), QString::fromStdU16String(q.text),
                                       q.buttons == refmodel::Buttons::YesNo, q.icon == refmodel::Icon::Critical,
                                       q.defaultButton)
                          + "; ";
        }
        if (!found && windowAsked != modelAsked)
            found = Mismatch{0, "questions asked", windowAsked, modelAsked};

        check("money", window->money(), model.money);
        check("lblCurrent", label("lblCurrent").toStdU16String(), model.lblCurrent);
        check("lblWinner", label("lblWinner").toStdU16String(), model.lblWinner);
        check("lblHaitou", label("lblHaitou").toStdU16String(), model.lblHaitou);
        for (int p = 0; p < 6; ++p) {
            const std::string nn = PairDigits[p];
            const auto &mp = model.pairs[std::size_t(p)];
            const auto &wp = window->pairs()[std::size_t(p)];
            check("chk" + nn + " ticked", wp.chk->isChecked(), mp.ticked);
            check("chk" + nn + " enabled", wp.chk->isEnabled(), mp.checkEnabled);
            check("txt" + nn + " enabled", txt(nn.c_str())->isEnabled(), mp.textEnabled);
            check("txt" + nn + " text", txt(nn.c_str())->text().toStdU16String(), mp.text);
            check("bet" + nn, int(window->purse().stake(wp.code)), int(mp.bet));
            check("odds" + nn, window->purse().odds(wp.code), mp.odds);
            check("lbl" + nn, label(("lbl" + nn).c_str()).toStdU16String(), mp.oddsLabel);
        }
        check("cmdEndBet enabled", button("cmdEndBet")->isEnabled(), model.endBetEnabled);
        check("cmdStart enabled", button("cmdStart")->isEnabled(), model.startEnabled);
        check("cmdNext enabled", button("cmdNext")->isEnabled(), model.nextEnabled);
        check("mnuFile enabled", find<QMenu>(QStringLiteral("mnuFile"))->isEnabled(), model.fileMenuEnabled);
        check("mnuH enabled", find<QMenu>(QStringLiteral("mnuH"))->isEnabled(), model.helpMenuEnabled);
        check("mnuOmake enabled", find<QMenu>(QStringLiteral("mnuOmake"))->isEnabled(), model.bonusMenuEnabled);
        const char *horses[] = {"imgAka", "imgCha", "imgKi", "imgShiro"};
        for (int h = 0; h < 4; ++h) {
            check(std::string(horses[h]) + " Left",
                  find<QWidget>(QLatin1String(horses[h]))->property("Left").toFloat(),
                  model.horses[std::size_t(h)]);
        }
        if (!window->isEnding()) {
            QWidget *own = ownFocus();
            check("own focus", own ? own->objectName().toStdU16String() : u"<none>",
                  refmodel::ascii(refmodel::controlName(model.focus)));
            check("main window active", QApplication::activeWindow() == window.get(), model.active);
            check("menu bar", menuBarState(), modelMenuBarState());
            // Where the keys go: whenever the window is active and no menu
            // holds the keyboard, Qt's focus is the window's own.
            if (model.active && !model.menuMode && model.dropdown == Menu::None) {
                QWidget *f = focus();
                std::u16string name = u"<not in the main window>";
                if (f && window->isAncestorOf(f)) {
                    name = f->objectName().isEmpty() ? u"<" + QString::fromLatin1(f->metaObject()->className()).toStdU16String() + u">"
                                                     : f->objectName().toStdU16String();
                }
                check("focus", name, refmodel::ascii(refmodel::controlName(model.focus)));
            }
        } else {
            check("visible", window->isVisible(), false);
        }
        if (activeAfterBox)
            check("main window active after its message box", *activeAfterBox, true);
        check("context menus and drops", picks, model.picks);
        check("beeps", beep.count, model.beeps);
        check("draws", random.draws, model.draws);
        check("reseeds", random.reseeds, model.reseeds);

        auto shown = [](QWidget *w) { return w != nullptr && w->isVisible(); };
        check("frmZelko open", shown(sides->gallery()), model.side.galleryOpen);
        if (sides->gallery() && model.side.galleryOpen) {
            check("frmZelko lblNumber",
                  sides->gallery()->findChild<QLabel *>(QStringLiteral("lblNumber"))->text().toStdU16String(),
                  refmodel::ascii(std::to_string(model.side.picture)));
        }
        check("frmHelp open", shown(sides->help()), model.side.helpOpen);
        check("frmVersion open", shown(sides->version()), model.side.versionOpen);
        return found;
    }

    // Plays a game from a fresh window; the first disagreement.
    std::optional<Mismatch> replay(const std::vector<Action> &actions)
    {
        start(actions.front());
        if (auto m = compare())
            return m;
        for (std::size_t i = 1; i < actions.size(); ++i) {
            play(actions[i]);
            if (auto m = compare()) {
                m->index = i;
                return m;
            }
            if (model.ending)
                break;
        }
        return std::nullopt;
    }

    // Delta debugging over the actions after the opening one: the shortest
    // list found that still fails on the same field.
    std::vector<Action> shrink(std::vector<Action> actions, const std::string &field)
    {
        QElapsedTimer clock;
        clock.start();
        auto fails = [&](const std::vector<Action> &candidate) {
            const auto m = replay(candidate);
            return m && m->field == field;
        };
        std::size_t chunks = 2;
        while (actions.size() > 2 && clock.elapsed() < std::chrono::milliseconds(ShrinkBudget).count()) {
            const std::size_t body = actions.size() - 1;
            chunks = std::min(chunks, body);
            const std::size_t size = (body + chunks - 1) / chunks;
            bool reduced = false;
            for (std::size_t start = 1; start < actions.size(); start += size) {
                std::vector<Action> candidate(actions.begin(), actions.begin() + std::ptrdiff_t(start));
                candidate.insert(candidate.end(),
                                 actions.begin() + std::ptrdiff_t(std::min(start + size, actions.size())),
                                 actions.end());
                if (candidate.size() >= 2 && fails(candidate)) {
                    actions = candidate;
                    chunks = std::max<std::size_t>(chunks - 1, 2);
                    reduced = true;
                    break;
                }
                if (clock.elapsed() >= std::chrono::milliseconds(ShrinkBudget).count())
                    break;
            }
            if (!reduced) {
                if (chunks >= body)
                    break;
                chunks = std::min(body, chunks * 2);
            }
        }
        // Cut what follows the failing action.
        if (const auto m = replay(actions))
            actions.resize(m->index + 1);
        return actions;
    }

    void report(std::uint64_t seed, int game, const std::vector<Action> &played, const Mismatch &first)
    {
        std::ostringstream out;
        out << "The window and the model disagree on \"" << first.field << "\" (seed " << seed << ", game "
            << game << ", action " << first.index << ": " << describe(played[first.index]) << ")\n"
            << "  window: " << first.window << "\n  model:  " << first.model << "\n";
        std::cout << out.str() << "Shrinking " << played.size() << " actions..." << std::endl;
        std::vector<Action> upTo(played.begin(), played.begin() + std::ptrdiff_t(first.index + 1));
        const std::vector<Action> shortest = shrink(upTo, first.field);
        const auto m = replay(shortest);
        out << "Shortest action list found (" << shortest.size() << " actions; rerun the seed with RUMIDA_SEED="
            << seed << "):\n";
        for (std::size_t i = 0; i < shortest.size(); ++i)
            out << "  " << i << ". " << describe(shortest[i]) << "\n";
        if (m) {
            out << "  after action " << m->index << ", \"" << m->field << "\": window " << m->window << ", model "
                << m->model << "\n";
        }
        ADD_FAILURE() << out.str();
    }

    // Plays `count` actions from `seed`, game after game. Returns the actions played.
    long runSeed(std::uint64_t seed, int count)
    {
        std::mt19937_64 rng(seed * 0x9E3779B97F4A7C15ull + 1);
        long played = 0;
        int game = 0;
        while (played < count) {
            std::vector<Action> actions;
            Action openAction;
            openAction.drawSeed = rng();
            actions.push_back(openAction);
            start(openAction);
            if (HasFatalFailure())
                return played;
            if (auto m = compare()) {
                report(seed, game, actions, *m);
                return played;
            }
            while (played < count && actions.size() <= ActionsPerGame && !model.ending) {
                const Action a = randomAction(rng, model);
                actions.push_back(a);
                EXPECT_TRUE(fits(a, model)) << "the player made an action that cannot be played: " << describe(a);
                const refmodel::MainWindowModel before = model;
                play(a);
                tally(a, before);
                ++played;
                if (auto m = compare()) {
                    m->index = actions.size() - 1;
                    report(seed, game, actions, *m);
                    return played;
                }
                if (HasFatalFailure())
                    return played;
            }
            ++game;
        }
        return played;
    }
};

TEST_F(ModelPlayTest, RandomPlayAgreesWithTheModel)
{
    std::vector<std::uint64_t> seeds(std::begin(DefaultSeeds), std::end(DefaultSeeds));
    int perSeed = ActionsPerSeed;
    // RUMIDA_SEED=<seed> replays one seed; <first>-<last> plays a range of them.
    if (const char *chosen = std::getenv("RUMIDA_SEED"); chosen && *chosen) {
        char *end = nullptr;
        const std::uint64_t first = std::strtoull(chosen, &end, 10);
        const std::uint64_t last = *end == '-' ? std::strtoull(end + 1, nullptr, 10) : first;
        seeds.clear();
        for (std::uint64_t seed = first; seed <= last; ++seed)
            seeds.push_back(seed);
    }
    if (const char *n = std::getenv("RUMIDA_ACTIONS"); n && *n)
        perSeed = std::atoi(n);
    long total = 0;
    for (std::uint64_t seed : seeds) {
        total += runSeed(seed, perSeed);
        if (HasFailure())
            break;
    }
    coverage.realBoxes = playerMessages.realAsked;
    std::cout << "Model play: " << total << " actions over " << seeds.size() << " seed(s)\n";
    coverage.print(std::cout);
    std::cout << std::flush;
    if (!HasFailure() && seeds.size() > 1 && perSeed >= ActionsPerSeed) {
        // The default run must reach every kind of ending and answer.
        EXPECT_GE(coverage.races, 300);
        EXPECT_GE(coverage.noPair, 5);
        EXPECT_GE(coverage.payouts, 20);
        EXPECT_GE(coverage.ruins, 20);
        EXPECT_GE(coverage.quitConfirmed, 5);
        EXPECT_GE(coverage.refused, 20);
        EXPECT_GE(coverage.sideWindows, 50);
        EXPECT_GE(coverage.realBoxes, 50);
        // And the desktop's ways round the window's focus, each some hundred
        // times (a run plays about twice these).
        const std::pair<Kind, long> desktop[] = {
            {Kind::Alt, 400},           {Kind::Escape, 200},       {Kind::OpenMenu, 200},
            {Kind::ClickAway, 60},      {Kind::ContextPaste, 170}, {Kind::ContextUndo, 35},
            {Kind::ContextSelectAllDelete, 80}, {Kind::Drop, 300}, {Kind::ActivateSide, 300},
            {Kind::SwitchAway, 150},    {Kind::Reactivate, 150}};
        for (const auto &[kind, least] : desktop)
            EXPECT_GE(coverage.played[std::size_t(kind)], least) << kindName(kind);
        EXPECT_GE(coverage.leftFromMenus, 80);
        EXPECT_GE(coverage.leftInactive, 130);
        EXPECT_GE(coverage.backToTyping, 250);
        EXPECT_GE(coverage.dropsTaken, 60);
        EXPECT_GE(coverage.dropsRefused, 200);
        EXPECT_GE(coverage.contextPicks, 200);
    }
}
