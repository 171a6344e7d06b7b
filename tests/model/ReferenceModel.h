// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

// A second, independent account of what the main window shows, written from
// the game's rules alone: the money, the odds, the six pairs, the result row,
// the horses, the enabled states and which control holds the focus. It shares
// no code with the game; a test drives both with the same player actions and
// the same random draws and compares them field by field.
//
// The focus here is the window's own: the control that holds the input focus
// between the window's controls. The desktop around the window is modelled
// only as far as it bears on that focus: the menu bar taking the keyboard
// (Alt, or one Escape out of a dropdown), a dropdown open, the window active
// or not. None of these moves the window's focus; the next move from any of
// them to another control runs the amount box's leave handler first, and a
// return to the same control runs nothing.
//
// Plain C++: texts are UTF-16 strings, numbers are read and written here.

#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace refmodel {

// ---------------------------------------------------------------------------
// Numbers and texts

// Full-width digits, signs and full stop, and the ideographic space, read as
// their half-width forms.
inline char16_t halfWidth(char16_t c)
{
    if (c >= u'０' && c <= u'９')
        return char16_t(u'0' + (c - u'０'));
    switch (c) {
    case u'＋': return u'+';
    case u'－': return u'-';
    case u'．': return u'.';
    case u'\u3000': return u' ';
    default: return c;
    }
}

inline bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Decimal text (ASCII digits, sign, point, exponent) to the nearest double;
// out of range gives an infinity or a zero of the right sign.
// The floating-point std::from_chars and std::to_chars where the standard
// library has them; the C library's strtod and snprintf where it has not (the
// browser build's libc++), to the same results for the model's numbers: a
// number strtod finds out of range is one from_chars refuses (only results
// below the smallest normal double differ, and those round to no yen), and
// the shortest of the correctly rounded forms that reads back is the one
// to_chars writes.
struct ParsedNumber {
    double value = 0.0;
    bool outOfRange = false;
    bool whole = false; // the text was a number to its end
};

inline ParsedNumber parseNumber(const char *first, const char *last)
{
    ParsedNumber parsed;
#if defined(__cpp_lib_to_chars)
    const auto [end, error] = std::from_chars(first, last, parsed.value, std::chars_format::general);
    parsed.whole = end == last;
    parsed.outOfRange = error == std::errc::result_out_of_range;
#else
    const std::string text(first, last);
    char *end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    parsed.whole = end == text.c_str() + text.size();
    parsed.outOfRange = errno == ERANGE;
    if (!parsed.outOfRange)
        parsed.value = value;
#endif
    return parsed;
}

// The shortest scientific form ("1.8446744073709552e+19") that reads back
// as x.
inline std::string shortestScientific(double x)
{
#if defined(__cpp_lib_to_chars)
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::scientific);
    return std::string(buffer, result.ptr);
#else
    char buffer[64];
    for (int precision = 0;; ++precision) {
        std::snprintf(buffer, sizeof buffer, "%.*e", precision, x);
        if (precision >= 16 || std::strtod(buffer, nullptr) == x)
            return buffer;
    }
#endif
}

inline double parseDecimal(const std::string &text)
{
    double value = 0.0;
    const char *first = text.data();
    const char *last = first + text.size();
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '+' || text[0] == '-'))
        ++first;
    const ParsedNumber parsed = parseNumber(first, last);
    value = parsed.value;
    if (!parsed.whole)
        return 0.0; // not reached: callers hand in a well-formed number
    if (parsed.outOfRange) {
        // Overflow or underflow: which one follows from the decimal exponent
        // of the first non-zero digit.
        long long exponent = 0;
        const std::size_t e = text.find_first_of("eE");
        if (e != std::string::npos) {
            const std::string digits = text.substr(e + 1);
            // Clamped: a huge exponent only needs its direction.
            long long x = 0;
            bool neg = false;
            for (char c : digits) {
                if (c == '-')
                    neg = true;
                else if (c >= '0' && c <= '9' && x < 1000000000)
                    x = x * 10 + (c - '0');
            }
            exponent = neg ? -x : x;
        }
        const std::string mantissa = text.substr(0, e);
        long long magnitude = 0; // digits before the point, after leading zeros
        bool seenNonZero = false;
        bool afterPoint = false;
        long long leadingFractionZeros = 0;
        for (char c : mantissa) {
            if (c == '.') {
                afterPoint = true;
            } else if (c >= '0' && c <= '9') {
                if (!afterPoint) {
                    if (seenNonZero || c != '0') {
                        seenNonZero = true;
                        ++magnitude;
                    }
                } else if (!seenNonZero) {
                    if (c == '0')
                        ++leadingFractionZeros;
                    else
                        seenNonZero = true;
                }
            }
        }
        if (magnitude == 0)
            magnitude = -leadingFractionZeros;
        value = magnitude + exponent > 0 ? HUGE_VAL : 0.0;
    }
    return negative ? -value : value;
}

// The leading-number rule of the amount boxes: blanks, tabs and line feeds
// anywhere are skipped; then a sign, digits, one full stop and an exponent
// are read up to the first character that cannot continue the number. No
// number at all reads as 0.
inline double readLeadingNumber(const std::u16string &text)
{
    std::u16string s;
    for (char16_t c : text) {
        c = halfWidth(c);
        if (c != u' ' && c != u'\t' && c != u'\n')
            s.push_back(c);
    }
    std::string sign, whole, fraction;
    std::size_t i = 0;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
        sign = s[i++] == u'-' ? "-" : "";
    while (i < s.size() && isDigit(s[i]))
        whole.push_back(char(s[i++]));
    if (i < s.size() && s[i] == u'.') {
        ++i;
        while (i < s.size() && isDigit(s[i]))
            fraction.push_back(char(s[i++]));
    }
    if (whole.empty() && fraction.empty())
        return 0.0;
    std::string number = sign + (whole.empty() ? "0" : whole);
    if (!fraction.empty())
        number += "." + fraction;
    // An exponent counts only with at least one digit.
    if (i < s.size() && (s[i] == u'e' || s[i] == u'E')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < s.size() && (s[j] == u'+' || s[j] == u'-'))
            exponent.push_back(char(s[j++]));
        const std::size_t digitsAt = exponent.size();
        while (j < s.size() && isDigit(s[j]))
            exponent.push_back(char(s[j++]));
        if (exponent.size() > digitsAt)
            number += exponent;
    }
    return parseDecimal(number);
}

// The ordinary number conversion that decides whether an amount box shows
// its text as money: the whole text, blanks around it trimmed, is an optional
// sign, an optional currency sign, an optional sign (one sign in all), digits
// with "," between digits, an optional full stop and digits (digits on at
// least one side of it); or such a number without a sign in parentheses,
// which is negative.
// Anything else is no number.
inline std::optional<double> readOrdinaryNumber(const std::u16string &text)
{
    std::u16string s;
    for (char16_t c : text)
        s.push_back(halfWidth(c));
    auto blank = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\n'; };
    std::size_t b = 0, e = s.size();
    while (b < e && blank(s[b]))
        ++b;
    while (e > b && blank(s[e - 1]))
        --e;
    s = s.substr(b, e - b);
    bool parenthesised = false;
    if (s.size() >= 2 && s.front() == u'(' && s.back() == u')') {
        parenthesised = true;
        s = s.substr(1, s.size() - 2);
    }
    std::size_t i = 0;
    bool negative = false;
    int signs = 0;
    auto sign = [&] {
        if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
            negative = s[i] == u'-';
            ++signs;
            ++i;
        }
    };
    sign();
    if (i < s.size() && (s[i] == u'\uFFE5' || s[i] == u'\u00A5' || s[i] == u'\\'))
        ++i;
    sign();
    // One sign at most, and none inside parentheses: "(-5)" is no number.
    if (signs > 1 || (parenthesised && signs > 0))
        return std::nullopt;
    std::string digits;
    while (i < s.size()) {
        if (isDigit(s[i])) {
            digits.push_back(char(s[i++]));
        } else if (s[i] == u',' && !digits.empty() && i + 1 < s.size() && isDigit(s[i + 1])) {
            ++i;
        } else {
            break;
        }
    }
    if (i < s.size() && s[i] == u'.') {
        ++i;
        digits.push_back('.');
        while (i < s.size() && isDigit(s[i]))
            digits.push_back(char(s[i++]));
    }
    // Digits on either side of the point will do: "5." and ".5".
    if (i != s.size() || digits.empty() || digits == ".")
        return std::nullopt;
    if (digits.back() == '.')
        digits.pop_back();
    if (digits.front() == '.')
        digits.insert(0, "0");
    double value = parseDecimal(digits);
    if (std::isinf(value))
        return std::nullopt; // too large for any number: stays as typed
    if (negative)
        value = -value;
    if (parenthesised)
        value = -value;
    return value;
}

// To the nearest integer, an exact half to the even neighbour.
inline double roundHalfEven(double x)
{
    if (!std::isfinite(x))
        return x;
    const double f = std::floor(x);
    const double d = x - f;
    if (d < 0.5)
        return f;
    if (d > 0.5)
        return f + 1.0;
    return std::fmod(f, 2.0) == 0.0 ? f : f + 1.0;
}

// To the nearest integer, an exact half away from zero.
inline double roundHalfAway(double x)
{
    const double r = std::floor(std::fabs(x) + 0.5);
    // floor(|x| + 0.5) is wrong just below one half, where the sum rounds up.
    const double a = (r - std::fabs(x) > 0.5) ? r - 1.0 : r;
    return x < 0 ? -a : a;
}

inline std::u16string ascii(const std::string &s) { return std::u16string(s.begin(), s.end()); }

// Whole yen as the Japanese desktop writes money: "￥10,000", "-￥1,500".
inline std::u16string yenText(bool negative, std::string digits)
{
    std::string grouped;
    const std::size_t n = digits.size();
    for (std::size_t k = 0; k < n; ++k) {
        if (k > 0 && (n - k) % 3 == 0)
            grouped.push_back(',');
        grouped.push_back(digits[k]);
    }
    std::u16string out = negative ? u"-￥" : u"￥";
    return out + ascii(grouped);
}

inline std::u16string currencyText(std::int64_t amount)
{
    const bool negative = amount < 0;
    std::uint64_t magnitude = negative ? std::uint64_t(0) - std::uint64_t(amount) : std::uint64_t(amount);
    return yenText(negative, std::to_string(magnitude));
}

inline std::u16string currencyText(double amount)
{
    const double r = roundHalfAway(amount);
    if (r == 0.0)
        return u"￥0"; // no negative zero
    // Up to 2^64 the exact whole number; beyond, the shortest digits that
    // read back as the same double, filled with zeros (not the binary value's
    // long tail).
    if (std::fabs(r) < 18446744073709551616.0)
        return yenText(r < 0, std::to_string(std::uint64_t(std::fabs(r))));
    const std::string text = shortestScientific(std::fabs(r));
    const std::size_t e = text.find('e');
    std::string digits;
    for (char c : text.substr(0, e)) {
        if (c != '.')
            digits.push_back(c);
    }
    const int exponent = std::stoi(text.substr(e + 1));
    if (int(digits.size()) < exponent + 1)
        digits.append(std::size_t(exponent + 1) - digits.size(), '0');
    return yenText(r < 0, digits);
}

// Odds: seven significant digits, an exact half rounded up (8.2265625 reads
// 8.226563), no trailing zeros, no grouping. Odds lie in [1, 11], so no
// exponent form is needed.
inline std::u16string oddsText(float odds)
{
    // A float's decimal expansion is finite and far shorter than 40 digits.
    char buffer[80];
    std::snprintf(buffer, sizeof buffer, "%.40e", std::fabs(double(odds)));
    const std::string text = buffer;
    const std::size_t e = text.find('e');
    int exponent = std::stoi(text.substr(e + 1));
    std::string digits;
    for (char c : text.substr(0, e)) {
        if (c != '.')
            digits.push_back(c);
    }
    const bool up = digits[7] >= '5';
    digits.resize(7);
    if (up) {
        int k = 6;
        while (k >= 0 && digits[std::size_t(k)] == '9')
            digits[std::size_t(k--)] = '0';
        if (k >= 0) {
            ++digits[std::size_t(k)];
        } else {
            digits.insert(0, "1");
            digits.pop_back();
            ++exponent;
        }
    }
    std::string out;
    if (exponent >= 0) {
        out = digits.substr(0, std::size_t(exponent) + 1);
        std::string fraction = digits.substr(std::size_t(exponent) + 1);
        while (!fraction.empty() && fraction.back() == '0')
            fraction.pop_back();
        if (!fraction.empty())
            out += "." + fraction;
    } else {
        std::string fraction = std::string(std::size_t(-exponent - 1), '0') + digits;
        while (!fraction.empty() && fraction.back() == '0')
            fraction.pop_back();
        out = fraction.empty() ? "0" : "0." + fraction;
    }
    return ascii((odds < 0 ? "-" : "") + out);
}

// ---------------------------------------------------------------------------
// The window

// The controls that can hold the focus, in tab order.
enum class Control {
    cmdStart, cmdNext, cmdEndBet,
    chk12, chk13, chk14, chk23, chk24, chk34,
    txt12, txt14, txt23, txt24, txt34, txt13,
    None
};
constexpr int TabControls = 15;

inline const char *controlName(Control c)
{
    static const char *const names[] = {"cmdStart", "cmdNext", "cmdEndBet", "chk12", "chk13",
                                        "chk14",    "chk23",   "chk24",     "chk34", "txt12",
                                        "txt14",    "txt23",   "txt24",     "txt34", "txt13",
                                        "<none>"};
    return names[int(c)];
}

inline Control checkOf(int pair) { return Control(int(Control::chk12) + pair); }
inline Control textOf(int pair)
{
    static const Control boxes[6] = {Control::txt12, Control::txt13, Control::txt14,
                                     Control::txt23, Control::txt24, Control::txt34};
    return boxes[pair];
}
inline int pairOfCheck(Control c)
{
    const int i = int(c) - int(Control::chk12);
    return i >= 0 && i < 6 ? i : -1;
}
inline int pairOfText(Control c)
{
    for (int p = 0; p < 6; ++p) {
        if (textOf(p) == c)
            return p;
    }
    return -1;
}

// The window's top menus, left to right.
enum class Menu { None, File, Bonus, Help };

inline const char *menuName(Menu m)
{
    static const char *const names[] = {"<none>", "mnuFile", "mnuOmake", "mnuH"};
    return names[int(m)];
}

enum class Answer { Ok, Cancel, Yes, No };
enum class Buttons { OkCancel, YesNo };
enum class Icon { Question, Critical };

struct Question {
    std::u16string text;
    std::u16string title;
    Buttons buttons;
    Icon icon;
    int defaultButton; // 1 or 2
};

struct PairState {
    bool ticked = false;
    bool checkEnabled = true;
    bool textEnabled = false;
    std::u16string text;
    std::int32_t bet = 0;
    float odds = 0.0f;
    std::u16string oddsLabel;
};

struct SideState {
    bool galleryOpen = false;
    int picture = 0; // the gallery's photograph number while open
    bool helpOpen = false;
    bool versionOpen = false;
};

class MainWindowModel {
public:
    static constexpr std::int64_t StartMoney = 10000;
    static constexpr float StartColumn = 6840.0f;
    static constexpr float FinishLine = 485.0f;

    // What the window shows, and what the program asked and beeped.
    std::int64_t money = 0;
    std::array<PairState, 6> pairs;
    bool endBetEnabled = true, startEnabled = true, nextEnabled = true;
    bool fileMenuEnabled = true, helpMenuEnabled = true, bonusMenuEnabled = true;
    std::u16string lblCurrent, lblWinner, lblHaitou;
    std::array<float, 4> horses{StartColumn, StartColumn, StartColumn, StartColumn};
    Control focus = Control::None;
    int beeps = 0;
    int draws = 0;
    int reseeds = 0;
    std::vector<Question> asked;
    bool ending = false;
    SideState side;
    std::string trouble; // set when the model itself cannot go on

    // The desktop around the window.
    bool active = true;         // the main window is the active window
    bool menuMode = false;      // the menu bar has the keyboard, no dropdown open
    Menu dropdown = Menu::None; // the top menu open under the menu bar
    // What the context-menu items and drops of the last action did, in order
    // ("Paste picked; Undo refused; drop taken; ...").
    std::string picks;

    // The answers the player gives to the boxes of the next action.
    Answer yesNoAnswer = Answer::No;
    Answer okCancelAnswer = Answer::Cancel;

    // Random values handed out by the generator, in order.
    void supply(const std::vector<float> &values) { supply_.assign(values.begin(), values.end()); }
    void clearSupply() { supply_.clear(); }

    // The window is built (load step) and shown: the focus goes to the first
    // enabled control in tab order.
    void open()
    {
        startEnabled = false;
        nextEnabled = false;
        drawOdds();
        money = StartMoney;
        showMoney();
        focus = firstEnabledFrom(0);
    }

    // ---- player actions ----------------------------------------------

    // A mouse click on a pair's check box (on its box).
    void clickCheck(int pair)
    {
        const Control c = checkOf(pair);
        if (!press(c))
            return;
        setTicked(pair, !pairs[std::size_t(pair)].ticked);
    }

    // A mouse click into an amount box; a click into the box that already has
    // the focus changes nothing the window shows.
    void clickText(int pair) { press(textOf(pair)); }

    void clickButton(Control button)
    {
        if (!press(button))
            return;
        activate(button);
    }

    // The mouse pressed on cmdEndBet and released away from it: the focus
    // moves, nothing is clicked.
    void pressEndBetAway() { press(Control::cmdEndBet); }

    void tab(bool forward)
    {
        if (focus == Control::None)
            return;
        const Control next = nextEnabled_(focus, forward);
        if (next != Control::None)
            moveFocus(next);
    }

    void space()
    {
        if (const int p = pairOfCheck(focus); p >= 0) {
            setTicked(p, !pairs[std::size_t(p)].ticked);
        } else if (pairOfText(focus) >= 0) {
            pairs[std::size_t(pairOfText(focus))].text += u" ";
        } else if (focus != Control::None) {
            activate(focus);
        }
    }

    // Return: activates a focused button; nothing in a box or on a check box.
    void enter()
    {
        if (focus == Control::cmdStart || focus == Control::cmdNext || focus == Control::cmdEndBet)
            activate(focus);
    }

    void backspace()
    {
        if (const int p = pairOfText(focus); p >= 0) {
            std::u16string &t = pairs[std::size_t(p)].text;
            if (!t.empty())
                t.pop_back();
        }
    }

    // Typed or pasted text lands at the end of the focused amount box.
    void insert(const std::u16string &text)
    {
        if (const int p = pairOfText(focus); p >= 0)
            pairs[std::size_t(p)].text += text;
    }

    void startOver()
    {
        menuPick();
        if (!fileMenuEnabled)
            return;
        if (ask(u"初めからやり直しますか？", u"やり直す？", Buttons::YesNo, Icon::Question, 1) == Answer::Yes) {
            money = StartMoney;
            showMoney();
        }
    }

    // The title bar's close box.
    void closeWindow() { quitConfirmation(); }
    // mnuEnd.
    void pickEnd()
    {
        menuPick();
        if (fileMenuEnabled)
            quitConfirmation();
    }

    // The side windows' menu items.
    void pickGallery()
    {
        menuPick();
        openGallery();
    }
    void pickHelp()
    {
        menuPick();
        openHelp();
    }
    void pickVersion()
    {
        menuPick();
        openVersion();
    }

    void openGallery()
    {
        if (!side.galleryOpen) {
            side.galleryOpen = true;
            side.picture = 1;
        }
    }
    void galleryNext()
    {
        if (side.galleryOpen)
            side.picture = side.picture % 8 + 1;
    }
    void galleryBack()
    {
        if (side.galleryOpen)
            side.picture = (side.picture + 6) % 8 + 1;
    }
    void closeGallery() { side.galleryOpen = false; }
    void openHelp() { side.helpOpen = true; }
    void closeHelp() { side.helpOpen = false; }
    void openVersion() { side.versionOpen = true; }
    void closeVersion() { side.versionOpen = false; }

    // ---- the desktop around the window -------------------------------

    // Alt tapped in the active window: the menu bar takes the keyboard, or
    // gives it back. Keys typed meanwhile go to the menus.
    void tapAlt()
    {
        if (active && dropdown == Menu::None)
            menuMode = !menuMode;
    }

    // Escape: one Escape out of a dropdown leaves the menu bar with the
    // keyboard; the next gives it back. In a control it does nothing: the
    // window has no cancel button.
    void escape()
    {
        if (dropdown != Menu::None) {
            dropdown = Menu::None;
            menuMode = true;
        } else {
            menuMode = false;
        }
    }

    // A click on a top menu's title opens its dropdown.
    void openMenu(Menu m)
    {
        if (!menuEnabled(m))
            return;
        dropdown = m;
        menuMode = false;
    }

    // A click outside the open dropdown closes it and ends the menus' hold on
    // the keyboard; the click itself reaches nothing.
    void clickAwayFromMenu()
    {
        if (dropdown == Menu::None)
            return;
        dropdown = Menu::None;
        menuMode = false;
    }

    // Another window is activated: a side window (opened through its menu
    // item first when it is not open) or another program's. The menu bar
    // lets the keyboard go.
    void activateSide(int which)
    {
        if (which == 0 && !side.galleryOpen)
            pickGallery();
        else if (which == 1 && !side.helpOpen)
            pickHelp();
        else if (which == 2 && !side.versionOpen)
            pickVersion();
        deactivate();
    }
    void deactivate()
    {
        active = false;
        menuMode = false;
    }
    void reactivate() { active = true; }

    // A context-menu item of an amount box, opened by a right press that
    // moves the focus into the box as any press does. The items are those of
    // a desktop edit box: Paste is offered while the clipboard holds text,
    // Select All and Delete while the box holds any.
    void contextPaste(int pair, const std::u16string &clipboard)
    {
        if (!contextPress(pair))
            return;
        const bool offered = !clipboard.empty();
        note(std::string("Paste ") + (offered ? "picked" : "refused"));
        if (offered)
            pairs[std::size_t(pair)].text += clipboard;
    }
    void contextSelectAllDelete(int pair)
    {
        if (!contextPress(pair))
            return;
        const bool any = !pairs[std::size_t(pair)].text.empty();
        note(std::string("Select All ") + (any ? "picked" : "refused"));
        note(std::string("Delete ") + (any ? "picked" : "refused"));
        pairs[std::size_t(pair)].text.clear();
    }
    // Undo in a box that shows an amount and does not hold the focus: the
    // press enters the box, which hands the stake back and empties the box,
    // and the game's emptying is no edit of the player's to undo. (Undo after
    // the player's own edits follows the edit control's history, which the
    // rules do not describe; the model does not go there.)
    void contextUndoEntering(int pair)
    {
        const PairState &p = pairs[std::size_t(pair)];
        if (focus == textOf(pair) || p.text.empty()) {
            if (trouble.empty())
                trouble = "the model knows Undo only in a box it enters";
            return;
        }
        if (!contextPress(pair))
            return;
        note("Undo refused");
    }

    // Text dropped on an amount box: taken only by the box that holds the
    // window's focus, as typing would, wherever the keyboard is; any other box
    // refuses it, so a shown stake never changes behind its handlers. The
    // drop lands at the end of a text short enough to end inside the box.
    void drop(int pair, const std::u16string &text)
    {
        const bool taken = focus == textOf(pair) && enabled(focus);
        note(std::string("drop ") + (taken ? "taken" : "refused"));
        if (!taken)
            return;
        std::u16string &t = pairs[std::size_t(pair)].text;
        if (!dropLandsAtEnd(t)) {
            if (trouble.empty())
                trouble = "the model cannot tell where a drop lands in a long text";
            return;
        }
        t += text;
    }
    // A text of at most four characters, with no tab or line feed, ends well
    // inside an amount box.
    static bool dropLandsAtEnd(const std::u16string &text)
    {
        if (text.size() > 4)
            return false;
        for (char16_t c : text) {
            if (c == u'\t' || c == u'\n')
                return false;
        }
        return true;
    }

    bool menuEnabled(Menu m) const
    {
        switch (m) {
        case Menu::File: return fileMenuEnabled;
        case Menu::Bonus: return bonusMenuEnabled;
        case Menu::Help: return helpMenuEnabled;
        case Menu::None: break;
        }
        return false;
    }

    bool enabled(Control c) const
    {
        if (const int p = pairOfCheck(c); p >= 0)
            return pairs[std::size_t(p)].checkEnabled;
        if (const int p = pairOfText(c); p >= 0)
            return pairs[std::size_t(p)].textEnabled;
        switch (c) {
        case Control::cmdStart: return startEnabled;
        case Control::cmdNext: return nextEnabled;
        case Control::cmdEndBet: return endBetEnabled;
        default: return false;
        }
    }

private:
    std::deque<float> supply_;

    void note(const std::string &what) { picks += what + "; "; }

    // A mouse press on a control of the window. The desktop activates the
    // window it lands in. A disabled control takes no press: the focus stays,
    // and so does the menu bar's hold on the keyboard. An enabled one takes
    // the focus, and with it the keyboard back from the menu bar. Whether the
    // control took the press.
    bool press(Control c)
    {
        active = true;
        if (!enabled(c))
            return false;
        menuMode = false;
        moveFocus(c);
        return true;
    }

    // The right press that opens an amount box's context menu.
    bool contextPress(int pair)
    {
        if (!press(textOf(pair))) {
            if (trouble.empty())
                trouble = "a disabled box has no context menu";
            return false;
        }
        return true;
    }

    // A menu item picked: the dropdown closes, the menus let the keyboard go
    // and the window is active again.
    void menuPick()
    {
        dropdown = Menu::None;
        menuMode = false;
        active = true;
    }

    float draw()
    {
        ++draws;
        if (supply_.empty()) {
            if (trouble.empty())
                trouble = "the model ran out of scripted random values";
            return 0.5f;
        }
        const float v = supply_.front();
        supply_.pop_front();
        return v;
    }

    Answer ask(const char16_t *text, const char16_t *title, Buttons buttons, Icon icon, int defaultButton)
    {
        asked.push_back(Question{text, title, buttons, icon, defaultButton});
        return buttons == Buttons::YesNo ? yesNoAnswer : okCancelAnswer;
    }

    // True when the player confirmed: the program ends, nothing more runs.
    bool quitConfirmation()
    {
        if (ask(u"ルミダを終了しますか？", u"ルミダの終了", Buttons::OkCancel, Icon::Question, 2) == Answer::Ok) {
            ending = true;
            side = SideState{};
            focus = Control::None;
            return true;
        }
        return false;
    }

    void showMoney() { lblCurrent = currencyText(money); }

    void drawOdds()
    {
        ++reseeds;
        for (PairState &p : pairs)
            p.odds = draw() * 10.0f + 1.0f;
        for (PairState &p : pairs)
            p.oddsLabel = oddsText(p.odds);
    }

    Control firstEnabledFrom(int start) const
    {
        for (int k = 0; k < TabControls; ++k) {
            const Control c = Control((start + k) % TabControls);
            if (enabled(c))
                return c;
        }
        return Control::None;
    }

    Control nextEnabled_(Control from, bool forward) const
    {
        for (int k = 1; k < TabControls; ++k) {
            const int i = forward ? (int(from) + k) % TabControls : (int(from) - k + TabControls) % TabControls;
            if (enabled(Control(i)))
                return Control(i);
        }
        return Control::None;
    }

    // A focus move between two controls of the window runs the amount boxes'
    // leave and enter handlers, the leave first.
    void moveFocus(Control to)
    {
        const Control from = focus;
        if (from == to)
            return;
        focus = to;
        if (const int p = pairOfText(from); p >= 0)
            textLostFocus(p);
        if (const int p = pairOfText(to); p >= 0)
            textGotFocus(p);
    }

    void setEnabled(Control c, bool on)
    {
        if (const int p = pairOfCheck(c); p >= 0)
            pairs[std::size_t(p)].checkEnabled = on;
        else if (const int q = pairOfText(c); q >= 0)
            pairs[std::size_t(q)].textEnabled = on;
        else if (c == Control::cmdStart)
            startEnabled = on;
        else if (c == Control::cmdNext)
            nextEnabled = on;
        else if (c == Control::cmdEndBet)
            endBetEnabled = on;
        // A disabled control gives its focus to the next enabled one in tab order.
        if (!on && focus == c)
            moveFocus(nextEnabled_(c, true));
    }

    // Changing the tick runs the check box's handler; the same state runs nothing.
    void setTicked(int pair, bool ticked)
    {
        PairState &p = pairs[std::size_t(pair)];
        if (p.ticked == ticked)
            return;
        p.ticked = ticked;
        if (ticked) {
            setEnabled(textOf(pair), true);
            moveFocus(textOf(pair));
        } else {
            if (!p.text.empty()) {
                money += p.bet;
                showMoney();
            }
            p.text.clear();
            setEnabled(textOf(pair), false);
        }
    }

    void textGotFocus(int pair)
    {
        PairState &p = pairs[std::size_t(pair)];
        if (!p.text.empty()) {
            money += p.bet;
            p.text.clear();
        }
        showMoney();
    }

    void textLostFocus(int pair)
    {
        PairState &p = pairs[std::size_t(pair)];
        const double x = readLeadingNumber(p.text);
        const double stake = roundHalfEven(x);
        if (!(stake >= -2147483648.0 && stake <= 2147483647.0)) {
            // A stake must fit 32 bits: the amount is refused.
            p.text.clear();
            p.bet = 0;
            ++beeps;
            return;
        }
        p.bet = std::int32_t(stake);
        money = std::int64_t(roundHalfEven(double(money) - x));
        showMoney();
        if (const auto value = readOrdinaryNumber(p.text))
            p.text = currencyText(*value);
    }

    void activate(Control button)
    {
        if (button == Control::cmdEndBet)
            closeBetting();
        else if (button == Control::cmdStart)
            startRace();
        else if (button == Control::cmdNext)
            nextRace();
    }

    void closeBetting()
    {
        for (int p = 0; p < 6; ++p) {
            if (pairs[std::size_t(p)].text.empty())
                setTicked(p, false);
        }
        for (int p = 0; p < 6; ++p)
            setEnabled(checkOf(p), false);
        for (int p = 0; p < 6; ++p)
            setEnabled(textOf(p), false);
        setEnabled(Control::cmdNext, false);
        setEnabled(Control::cmdStart, true);
        moveFocus(Control::cmdStart);
        setEnabled(Control::cmdEndBet, false);
    }

    // The race over the horses' positions; returns the winning pair code.
    int race()
    {
        fileMenuEnabled = false;
        helpMenuEnabled = false;
        setEnabled(Control::cmdNext, false);
        setEnabled(Control::cmdStart, false);
        auto finished = [this] {
            return horses[0] < FinishLine || horses[2] < FinishLine || horses[3] < FinishLine
                   || horses[1] < FinishLine;
        };
        while (!finished()) {
            ++reseeds;
            int steps[4];
            for (int &s : steps)
                s = int(std::floor(double(draw()) * 10.0 + 1.0));
            for (int h = 0; h < 4; ++h)
                horses[std::size_t(h)] = float(double(horses[std::size_t(h)]) - steps[h]);
            if (!trouble.empty())
                break;
        }
        // Code of the pair of horses a and b (0-based).
        static const int codes[4][4] = {{0, 1, 2, 3}, {1, 0, 4, 5}, {2, 4, 0, 6}, {3, 5, 6, 0}};
        int code = 0;
        for (int x = 0; x < 4; ++x) {
            if (!(horses[std::size_t(x)] < FinishLine))
                continue;
            int others[3], n = 0;
            for (int o = 0; o < 4; ++o) {
                if (o != x)
                    others[n++] = o;
            }
            for (int k = 0; k < 3; ++k) {
                const float y = horses[std::size_t(others[k])];
                if (y < horses[std::size_t(others[(k + 1) % 3])] && y < horses[std::size_t(others[(k + 2) % 3])])
                    code = codes[x][others[k]];
            }
        }
        fileMenuEnabled = true;
        helpMenuEnabled = true;
        setEnabled(Control::cmdNext, true);
        moveFocus(Control::cmdNext);
        return code;
    }

    // Offers the fresh start; false when the program ended.
    bool ruinCheck()
    {
        if (ask(u"初めからやり直しますか？", u"破産！！", Buttons::YesNo, Icon::Critical, 1) == Answer::Yes) {
            money = StartMoney;
            moveFocus(Control::cmdNext);
            showMoney();
            return true;
        }
        return !quitConfirmation();
    }

    void startRace()
    {
        const int code = race();
        if (code >= 1 && code <= 6) {
            static const char16_t *const captions[6] = {u"1-2", u"1-3", u"1-4", u"2-3", u"2-4", u"3-4"};
            lblWinner = captions[code - 1];
            PairState &p = pairs[std::size_t(code - 1)];
            if (p.ticked) {
                const auto payout = std::int64_t(roundHalfEven(double(p.odds) * double(p.bet)));
                lblHaitou = currencyText(payout);
                money += payout;
                showMoney();
            }
        }
        if (money < 1)
            ruinCheck();
    }

    void nextRace()
    {
        if (money <= 0 && !ruinCheck())
            return;
        drawOdds();
        for (int p = 0; p < 6; ++p)
            setEnabled(checkOf(p), true);
        for (int p = 0; p < 6; ++p) {
            if (!pairs[std::size_t(p)].text.empty())
                money -= pairs[std::size_t(p)].bet;
            setTicked(p, false);
        }
        for (PairState &p : pairs)
            p.text.clear();
        lblWinner.clear();
        lblHaitou.clear();
        setEnabled(Control::cmdEndBet, true);
        horses = {StartColumn, StartColumn, StartColumn, StartColumn};
        setEnabled(Control::cmdNext, false);
    }
};

} // namespace refmodel
