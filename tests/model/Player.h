// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

// The random player of the model-checked play: its actions, drawn from the
// state the reference model shows, the texts it types and pastes, the random
// draws each action hands the game, and the tally of what a run reached.
// Two drivers play it: offscreen, through Qt's own event functions, and on a
// real X desktop, through the X server. The desktop's alphabet leaves out
// what only the offscreen driver can make (a drop from another program) and
// adds what only a desktop has (the middle-click paste of the X selection,
// menus worked from the keyboard, the window manager's switching). A third
// plays the web page in a browser: its alphabet has what a browser delivers
// (committed text and input methods, taps, a second finger, the tab hidden,
// the screen turned, the page loaded again) and leaves out what it has not
// (another program's windows, the X selection).
//
// Plain C++, as the model is.

#include "tests/model/ReferenceModel.h"
#include "tests/support/Draws.h"
#include "tests/support/PairDigits.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>
#include <ostream>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace randomplay {

using refmodel::Control;
using refmodel::Menu;
using ModelAnswer = refmodel::Answer;
using Model = refmodel::MainWindowModel;

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
    // Only on a real desktop.
    MiddlePaste,           // the X selection pasted into a box by a middle click
    // Only in a web page.
    HideTab,               // another tab brought to the front, then the page's again
    Resize,                // the page's screen turned or resized, and back
    MultiTap,              // a check box or a button tapped or clicked two or three times in a row
    TwoFingers,            // two fingers down at once, the first on a check box or a button
    DeadKey,               // a key that means nothing to the game (a function key)
    Reload,                // the page loaded again: a fresh game
    Count
};

constexpr std::size_t KindCount = std::size_t(Kind::Count);

inline const char *kindName(Kind k)
{
    static const char *const names[KindCount] = {
        "Open",         "ClickCheck",    "ClickText",   "ClickButton",  "PressAway",
        "Tab",          "Backtab",       "Space",       "Enter",        "Backspace",
        "Type",         "Paste",         "StartOver",   "MenuEnd",      "CloseBox",
        "OpenGallery",  "GalleryNext",   "GalleryBack", "CloseGallery", "OpenHelp",
        "CloseHelp",    "OpenVersion",   "CloseVersion", "Alt",         "Escape",
        "OpenMenu",     "ClickAway",     "ContextPaste", "ContextUndo", "ContextSelectAllDelete",
        "Drop",         "ActivateSide",  "SwitchAway",  "Reactivate",   "MiddlePaste",
        "HideTab",      "Resize",        "MultiTap",    "TwoFingers",   "DeadKey",
        "Reload"};
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
    // A menu opened or an item picked from the keyboard instead of with the
    // mouse; a window activated by the window manager's Alt+Tab where that
    // leads to it.
    bool byKeys = false;
    // In a web page: how text arrives (TypedBy), how often a MultiTap taps,
    // how many inputs are thrown at the page while the race the action
    // starts runs, and whether the next action's input follows the last
    // answer to the action's message boxes at once, before the page has
    // settled.
    int typedBy = 0;
    int taps = 1;
    int raceNoise = 0;
    bool rush = false;
};

// How typed text reaches a web page: keys of a hardware keyboard, text a soft
// keyboard or dictation commits at once, or an input method's composition,
// committed at its end.
enum TypedBy { ByKeys = 0, Committed = 1, Composed = 2 };

// The keys that mean nothing to the game, for DeadKey (in the browser's names).
inline const char *const DeadKeys[] = {"F1", "F2", "F3", "F4", "F6", "F7", "F8", "F9", "F11", "F12",
                                       "PageUp", "PageDown", "Pause", "ScrollLock", "Alt"};

// Which player plays: the offscreen one, the one on a real desktop, or the
// one in a browser.
enum class Alphabet { Offscreen, Desktop, Browser };

inline const Control Buttons[] = {Control::cmdEndBet, Control::cmdStart, Control::cmdNext};
inline const Menu TopMenus[] = {Menu::File, Menu::Bonus, Menu::Help};
inline const char *const SideNames[] = {"frmZelko", "frmHelp", "frmVersion"};

// UTF-16 to UTF-8 and back, for the player's texts (well-formed: they come
// from the tables here).
inline std::string utf8(const std::u16string &s)
{
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        char32_t c = s[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < s.size())
            c = 0x10000 + ((c - 0xD800) << 10) + (s[++i] - 0xDC00);
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

inline std::string quoted(const std::u16string &s)
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

// The controls a MultiTap or TwoFingers lands on: the six check boxes, then
// the three buttons.
inline std::string tapTargetName(int target)
{
    if (target < 6)
        return std::string("chk") + PairDigits[target];
    return refmodel::controlName(Buttons[(target - 6) % 3]);
}

inline const char *answerName(ModelAnswer a)
{
    switch (a) {
    case ModelAnswer::Ok: return "Ok";
    case ModelAnswer::Cancel: return "Cancel";
    case ModelAnswer::Yes: return "Yes";
    case ModelAnswer::No: return "No";
    }
    return "?";
}

inline std::string describe(const Action &a)
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
    case Kind::MiddlePaste: out << "middle-click paste " << quoted(a.text) << " into txt" << pair; break;
    case Kind::HideTab: out << "another tab in front, then the page's"; break;
    case Kind::Resize: out << "the screen turned, then back"; break;
    case Kind::MultiTap: out << a.taps << " taps on " << tapTargetName(a.arg); break;
    case Kind::TwoFingers: out << "two fingers, the first on " << tapTargetName(a.arg); break;
    case Kind::DeadKey: out << DeadKeys[a.arg % std::size(DeadKeys)]; break;
    case Kind::Reload: out << "the page loaded again"; break;
    case Kind::Count: break;
    }
    if (a.byKeys)
        out << " [by keys]";
    if ((a.kind == Kind::Type || a.kind == Kind::Paste) && a.typedBy != ByKeys)
        out << (a.typedBy == Committed ? " [committed]" : " [composed]");
    if (a.raceNoise > 0)
        out << " [" << a.raceNoise << " inputs during the race]";
    if (a.rush)
        out << " [next input at once after the answer]";
    switch (a.kind) {
    case Kind::ClickButton:
    case Kind::Space:
    case Kind::Enter:
    case Kind::StartOver:
    case Kind::MenuEnd:
    case Kind::CloseBox:
    case Kind::MultiTap:
    case Kind::TwoFingers:
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

inline std::vector<float> makeDraws(Draws kind, std::uint64_t seed)
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

// The program's generator and the model are handed the same draws.
inline void supplyDraws(ScriptedDraws &random, Model &model, Draws kind, std::uint64_t seed)
{
    const std::vector<float> draws = makeDraws(kind, seed);
    random.script(draws);
    model.supply(draws);
}

// Before a fresh program opens: the generator's script and tally cleared, a
// fresh model, and the opening odds (from the action's seed) on both sides.
inline void startFresh(ScriptedDraws &random, Model &model, std::uint64_t drawSeed)
{
    random.clear();
    random.draws = 0;
    random.reseeds = 0;
    model = Model{};
    supplyDraws(random, model, Draws::Odds, drawSeed);
}

// After an action (or the opening), the draws it left are dropped on both
// sides, so that the next action starts from its own.
inline void dropUnusedDraws(ScriptedDraws &random, Model &model)
{
    random.clear();
    model.clearSupply();
}

// ---------------------------------------------------------------------------
// Random player input

inline std::u16string u16(const char *utf8Text)
{
    std::u16string out;
    for (const auto *p = reinterpret_cast<const unsigned char *>(utf8Text); *p;) {
        const int extra = *p >= 0xF0 ? 3 : *p >= 0xE0 ? 2 : *p >= 0xC0 ? 1 : 0;
        char32_t c = extra ? (*p & (0x3F >> extra)) : *p;
        ++p;
        for (int k = 0; k < extra && *p; ++k, ++p)
            c = (c << 6) | (*p & 0x3F);
        if (c >= 0x10000) {
            out += char16_t(0xD800 + ((c - 0x10000) >> 10));
            out += char16_t(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += char16_t(c);
        }
    }
    return out;
}

// A text a player might type: amounts, signs, separators, full-width forms,
// currency signs, garbage, huge and negative amounts, and nothing.
inline std::u16string randomAmount(std::mt19937_64 &rng, const refmodel::MainWindowModel &model, bool forPaste)
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

inline ModelAnswer randomYesNo(std::mt19937_64 &rng)
{
    return rng() % 2 ? ModelAnswer::Yes : ModelAnswer::No;
}

inline ModelAnswer randomOkCancel(std::mt19937_64 &rng)
{
    // Ok ends the game: rarely, so that games run long.
    return rng() % 12 == 0 ? ModelAnswer::Ok : ModelAnswer::Cancel;
}

inline bool isAmountBox(Control c)
{
    return refmodel::pairOfText(c) >= 0;
}


inline int enabledBoxOtherThan(std::mt19937_64 &rng, const Model &model, Control other, bool withText)
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
inline void clickEnabled(Action &a, std::mt19937_64 &rng, const Model &model)
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
inline void clickAny(Action &a, std::mt19937_64 &rng)
{
    const unsigned r = unsigned(rng() % 100);
    a.kind = r < 35 ? Kind::ClickCheck : r < 70 ? Kind::ClickText : r < 85 ? Kind::ClickButton : Kind::PressAway;
    a.arg = int(rng() % (a.kind == Kind::ClickButton ? 3 : 6));
}

// A menu item picked with the mouse.
inline void menuItem(Action &a, std::mt19937_64 &rng)
{
    static const Kind items[] = {Kind::StartOver, Kind::StartOver, Kind::OpenGallery, Kind::OpenHelp,
                                 Kind::OpenVersion, Kind::MenuEnd};
    a.kind = items[rng() % std::size(items)];
}

// Text dropped on a box: on the box being typed in when its text is short
// enough for the drop to land at its end (where the model puts it), or on any
// other box, enabled or not.
inline void drop(Action &a, std::mt19937_64 &rng, const Model &model, Alphabet alphabet)
{
    // On a desktop the X selection is pasted by a middle click instead, on
    // the same boxes: the caret lands where the click does, at the box's end.
    a.kind = alphabet == Alphabet::Desktop ? Kind::MiddlePaste : Kind::Drop;
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
inline void deactivation(Action &a, std::mt19937_64 &rng)
{
    a.kind = rng() % 3 ? Kind::ActivateSide : Kind::SwitchAway;
    a.arg = int(rng() % 3);
}

// The desktop around the window while the betting goes on.
inline void desktopAction(Action &a, std::mt19937_64 &rng, const Model &model, Alphabet alphabet)
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
        drop(a, rng, model, alphabet);
    } else {
        deactivation(a, rng);
    }
}

inline void chooseKind(Action &a, std::mt19937_64 &rng, const Model &model, Alphabet alphabet)
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
            drop(a, rng, model, alphabet);
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
            drop(a, rng, model, alphabet);
        } else {
            deactivation(a, rng);
        }
        return;
    }
    const bool typing = isAmountBox(model.focus);
    if (unsigned(rng() % 100) < (typing ? 24u : 10u)) {
        desktopAction(a, rng, model, alphabet);
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
// On a desktop the ways that take the keyboard from the window's controls
// and give it back are where a real desktop differs from the offscreen one.
// While the player bets they are drawn this often (in percent), shared
// between Alt, a dropdown opened (two parts: most are closed by one Escape),
// a menu item picked and another window activated.
constexpr unsigned DesktopFocusPathShare = 40;

inline bool desktopFocusPath(Action &a, std::mt19937_64 &rng, const Model &model)
{
    if (!model.active || model.menuMode || model.dropdown != Menu::None)
        return false;
    const unsigned r = unsigned(rng() % 100);
    if (r >= DesktopFocusPathShare)
        return false;
    switch (r % 5) {
    case 0: a.kind = Kind::Alt; break;
    case 1:
    case 2:
        a.kind = Kind::OpenMenu;
        a.arg = int(rng() % 3);
        break;
    case 3: menuItem(a, rng); break;
    default:
        a.kind = Kind::ActivateSide;
        a.arg = int(rng() % 3);
        break;
    }
    return true;
}

// What only a browser delivers, drawn this often (in percent) while the
// player bets in the active window with no menu open.
constexpr unsigned BrowserOnlyShare = 14;

inline bool browserOnly(Action &a, std::mt19937_64 &rng, const Model &model)
{
    if (!model.active || model.menuMode || model.dropdown != Menu::None)
        return false;
    const unsigned r = unsigned(rng() % 1000);
    if (r >= BrowserOnlyShare * 10)
        return false;
    if (r < 1) {
        a.kind = Kind::Reload;
        return true;
    }
    switch (r % 6) {
    case 0: a.kind = Kind::HideTab; break;
    case 1: a.kind = Kind::Resize; break;
    case 2:
    case 3:
        a.kind = Kind::MultiTap;
        a.taps = 2 + int(rng() % 2);
        a.arg = int(rng() % 9);
        break;
    case 4:
        a.kind = Kind::TwoFingers;
        a.arg = int(rng() % 9);
        break;
    default:
        a.kind = Kind::DeadKey;
        a.arg = int(rng() % std::size(DeadKeys));
        break;
    }
    return true;
}

// A text a web page is handed: the player's amounts, letters of a Japanese
// keyboard, and now and then ten thousand characters at once.
inline std::u16string browserText(std::mt19937_64 &rng, const Model &model, std::u16string text)
{
    const int focused = refmodel::pairOfText(model.focus);
    const bool room = focused >= 0 && model.pairs[std::size_t(focused)].text.size() < 10000;
    const unsigned r = unsigned(rng() % 100);
    if (r < 3 && room) {
        static const char16_t fill[] = {u'1', u'９', u'x', u'あ'};
        return std::u16string(10000, fill[rng() % std::size(fill)]);
    }
    if (r < 8) {
        static const char *const letters[] = {"あいう", "ごひゃく", "ｱｲｳ", "abc", "ＡＢＣ", "千円", "五〇〇"};
        return u16(letters[rng() % std::size(letters)]);
    }
    return text;
}

// The desktop's actions as a browser has them: another program's window is
// another tab; text dropped or middle-clicked in is pasted; a context menu,
// which a finger does not open, is a tap into its box; a window comes to
// the front by a click on its title bar, never Alt+Tab.
inline void toBrowser(Action &a, std::mt19937_64 &rng, const Model &model, bool touch)
{
    switch (a.kind) {
    case Kind::Alt:
        // A browser keeps Alt for its own menus: the page's menu bar takes no
        // keyboard from it.
        a.kind = Kind::DeadKey;
        a.arg = int(std::size(DeadKeys)) - 1;
        break;
    case Kind::SwitchAway: a.kind = Kind::HideTab; break;
    case Kind::Drop:
    case Kind::MiddlePaste: a.kind = Kind::Paste; break;
    case Kind::ContextPaste:
    case Kind::ContextUndo:
    case Kind::ContextSelectAllDelete:
        if (touch)
            a.kind = Kind::ClickText;
        break;
    default: break;
    }
    // A dropdown opened from the page's menu bar does not always take the
    // keys (Qt for WebAssembly hands Escape to the focused control when the
    // menu bar had the keyboard before): the player closes it by a click.
    if (a.kind == Kind::Escape && model.dropdown != Menu::None)
        a.kind = Kind::ClickAway;
    if (a.kind == Kind::ActivateSide || a.kind == Kind::Reactivate)
        a.byKeys = false;
    if (a.kind == Kind::Type || a.kind == Kind::Paste) {
        a.text = browserText(rng, model, a.text);
        // A paste goes through the clipboard; typed text comes by keys, at
        // once from a soft keyboard, or through an input method.
        a.typedBy = a.kind == Kind::Paste ? ByKeys : int(rng() % 3);
    }
}

inline Action randomAction(std::mt19937_64 &rng, const Model &model, Alphabet alphabet = Alphabet::Offscreen,
                           bool touch = false)
{
    Action a;
    a.yesNo = randomYesNo(rng);
    a.okCancel = randomOkCancel(rng);
    if (alphabet == Alphabet::Browser) {
        if (!browserOnly(a, rng, model) && !desktopFocusPath(a, rng, model))
            chooseKind(a, rng, model, alphabet);
    } else if (alphabet == Alphabet::Offscreen || !desktopFocusPath(a, rng, model)) {
        chooseKind(a, rng, model, alphabet);
    }
    if (alphabet != Alphabet::Offscreen) {
        // An open dropdown is closed by one Escape twice as often as by a
        // click away, so that the menu bar keeps the keyboard after it.
        if (model.dropdown != Menu::None && a.kind == Kind::ClickAway && rng() % 3)
            a.kind = Kind::Escape;
        // The keyboard types what its keys carry (the US map of the test
        // desktop): full-width forms and yen signs come from the clipboard,
        // as an input method's text would.
        if (alphabet == Alphabet::Desktop && a.kind == Kind::Type
            && std::any_of(a.text.begin(), a.text.end(), [](char16_t c) { return c > 0x7E; }))
            a.kind = Kind::Paste;
        a.byKeys = rng() % 2 == 0;
    }
    if (alphabet == Alphabet::Browser)
        toBrowser(a, rng, model, touch);
    // Shape the draws for the handler the action will reach.
    Control reached = Control::None;
    if (a.kind == Kind::ClickButton)
        reached = Buttons[a.arg];
    else if ((a.kind == Kind::MultiTap || a.kind == Kind::TwoFingers) && a.arg >= 6)
        reached = Buttons[a.arg - 6];
    else if (a.kind == Kind::Space || a.kind == Kind::Enter)
        reached = model.focus;
    if (reached == Control::cmdStart && model.startEnabled)
        a.draws = Draws::Race;
    else if (reached == Control::cmdNext && model.nextEnabled)
        a.draws = Draws::Odds;
    a.drawSeed = rng();
    a.realBoxes = rng() % 8 == 0;
    if (alphabet == Alphabet::Browser) {
        a.raceNoise = a.draws == Draws::Race && rng() % 2 ? 1 + int(rng() % 4) : 0;
        a.rush = rng() % 3 == 0;
    }
    return a;
}

// Whether an action can be played in the state the model shows. While a
// menu holds the keyboard or another window is active, the player's keys go
// elsewhere: only the actions made for that state are played. The others,
// which only a shrunk action list can hold, are skipped on both sides.
inline bool fits(const Action &a, const Model &model)
{
    const bool menuPick = a.kind == Kind::StartOver || a.kind == Kind::MenuEnd || a.kind == Kind::OpenGallery
                          || a.kind == Kind::OpenHelp || a.kind == Kind::OpenVersion;
    const bool click = a.kind == Kind::ClickCheck || a.kind == Kind::ClickText || a.kind == Kind::ClickButton
                       || a.kind == Kind::PressAway;
    if (a.kind == Kind::Drop || a.kind == Kind::MiddlePaste) {
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

// The action as the model plays it. A desktop's window manager does more
// around some of them (see the desktop player), the model's account is the
// same.
inline void playOnModel(const Action &a, Model &model)
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
    case Kind::HideTab:
    case Kind::Resize:
    case Kind::DeadKey:
    case Kind::Reload: break;
    case Kind::MultiTap:
    case Kind::TwoFingers:
        // A page gives the game the first finger alone. Taps that follow one
        // which brought up a message box land on the box's modal shade, and
        // one on a button a race has disabled meanwhile does nothing.
        for (int tap = 0; tap < (a.kind == Kind::MultiTap ? a.taps : 1); ++tap) {
            const std::size_t asked = model.asked.size();
            if (a.arg < 6)
                model.clickCheck(a.arg);
            else
                model.clickButton(Buttons[(a.arg - 6) % 3]);
            if (model.asked.size() > asked || model.ending)
                break;
        }
        break;
    case Kind::MiddlePaste:
        // The middle press enters the box as any press does; the X selection
        // lands at the caret, which the click puts at the end of the text.
        model.clickText(p);
        if (model.focus == refmodel::textOf(p))
            model.insert(a.text);
        break;
    case Kind::Count: break;
    }
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

    // Counts what an action just played reached, from the model's account.
    void count(const Action &a, const Model &before, const Model &after)
    {
        ++played[std::size_t(a.kind)];
        const bool boxLeft = isAmountBox(before.focus) && after.focus != before.focus;
        leftFromMenus += boxLeft && (before.menuMode || before.dropdown != Menu::None);
        leftInactive += boxLeft && !before.active;
        const bool held = before.menuMode || before.dropdown != Menu::None || !before.active;
        backToTyping += held && isAmountBox(after.focus) && after.focus == before.focus && after.active
                        && !after.menuMode && after.dropdown == Menu::None;
        for (std::size_t at = 0; (at = after.picks.find("drop ", at)) != std::string::npos; ++at) {
            dropsTaken += after.picks.compare(at, 10, "drop taken") == 0;
            dropsRefused += after.picks.compare(at, 12, "drop refused") == 0;
        }
        for (std::size_t at = 0; (at = after.picks.find(" picked", at)) != std::string::npos; ++at)
            ++contextPicks;
        if (after.reseeds - before.reseeds > 1 && after.horses != before.horses) {
            ++races;
            noPair += after.lblWinner.empty();
            payouts += !after.lblHaitou.empty();
        }
        for (const auto &q : after.asked) {
            ruins += q.title == u"破産！！";
            quitAsked += q.buttons == refmodel::Buttons::OkCancel;
        }
        quitConfirmed += after.ending;
        refused += after.beeps - before.beeps;
        stakes += isAmountBox(before.focus) && after.focus != before.focus;
        sideWindows += (after.side.galleryOpen && !before.side.galleryOpen)
                       + (after.side.helpOpen && !before.side.helpOpen)
                       + (after.side.versionOpen && !before.side.versionOpen);
    }

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
        for (std::size_t k = 1; k < KindCount; ++k) {
            if (played[k] > 0)
                out << "    " << kindName(Kind(k)) << " " << played[k] << "\n";
        }
    }
};

} // namespace randomplay
