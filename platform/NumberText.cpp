// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "platform/NumberText.h"

#include "platform/GameLocale.h"

#include <QLocale>
#include <QString>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

// The double nearest to a decimal number written as digits, 'e' and an
// exponent, with no sign and no decimal point, its order of magnitude
// (digits before the point) between -330 and 310. A result out of range is
// infinity or zero.
double nearestDouble(const std::string &text, [[maybe_unused]] std::int64_t order)
{
#if defined(__cpp_lib_to_chars)
    double v = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (error == std::errc::result_out_of_range)
        v = order > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return v;
#else
    // A C++ library without floating-point from_chars (emscripten's libc++):
    // the C library's strtod, which rounds exactly too (musl reads every
    // digit). The text has no decimal point, nothing a locale could change
    // the reading of. Out of range it gives what from_chars leads to above:
    // infinity, zero, or the subnormal nearest.
    return std::strtod(text.c_str(), nullptr);
#endif
}

// Full-width digits, signs, full stop and the ideographic space as their
// half-width forms. Other full-width letters (Ｅ, ，, （) are not among the
// forms a player pastes with an amount, and stay what they are.
char16_t halfWidth(QChar qc)
{
    const char16_t c = qc.unicode();
    if (c >= u'\uFF10' && c <= u'\uFF19')
        return char16_t(u'0' + (c - u'\uFF10'));
    switch (c) {
    case u'\uFF0B': return u'+';
    case u'\uFF0D': return u'-';
    case u'\uFF0E': return u'.';
    case u'\u3000': return u' ';
    default: return c;
    }
}

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// A decimal number gathered digit by digit: its value is digits × 10^exponent.
// Only a bounded prefix of the digits is kept, so any text reads in linear time.
class Decimal {
public:
    void addIntegerDigit(char16_t c)
    {
        seenDigit_ = true;
        if (digits_.empty() && c == u'0')
            return;
        if (digits_.size() < maxDigits) {
            digits_.push_back(char(c));
        } else {
            ++exponent_;
            truncated_ |= c != u'0';
        }
    }

    void addFractionDigit(char16_t c)
    {
        seenDigit_ = true;
        if (digits_.empty() && c == u'0') {
            --exponent_;
        } else if (digits_.size() < maxDigits) {
            digits_.push_back(char(c));
            --exponent_;
        } else {
            truncated_ |= c != u'0';
        }
    }

    void addExponent(std::int64_t e) { exponent_ += e; }

    bool hasDigits() const { return seenDigit_; }

    // The nearest double, +-infinity beyond the range; zero has no sign.
    double value(bool negative) const
    {
        if (digits_.empty())
            return 0.0;
        std::string text = digits_;
        std::int64_t exponent = exponent_;
        if (truncated_) {
            // Stands for the dropped digits: it only tips a rounding that
            // would otherwise look like an exact half.
            text.push_back('1');
            --exponent;
        }
        // The value lies in [10^(order-1), 10^order).
        const std::int64_t order = std::int64_t(text.size()) + exponent;
        double v = 0.0;
        if (order > 310) {
            v = std::numeric_limits<double>::infinity();
        } else if (order >= -330) {
            text += 'e';
            text += std::to_string(exponent);
            v = nearestDouble(text, order);
        }
        return negative && v != 0.0 ? -v : v;
    }

private:
    // At most 768 significant digits decide the rounding to a double; of the
    // rest only whether one is not zero matters.
    static constexpr std::size_t maxDigits = 800;
    std::string digits_;
    std::int64_t exponent_ = 0;
    bool truncated_ = false; // a dropped digit was not zero
    bool seenDigit_ = false;
};

// What the ordinary number conversion accepts under one locale. Every piece
// is in its half-width form and is matched against the folded text.
struct NumberSyntax {
    QLocale locale; // the locale it was made for
    std::vector<QString> minusSigns; // the locale's own, and the hyphen-minus a keyboard types
    std::vector<QString> plusSigns;
    QString decimalPoint;
    std::vector<QString> groupSeparators;
    std::vector<QString> marks; // the currency marks, longest first
    QString isoCode;
    char16_t zeroDigit = u'0'; // the locale's own digits, beside 0-9, start here
    bool markAfter = false; // the mark follows the number ("15,00 €")
    bool markBlank = false; // the locale writes a blank between mark and number
};

// The blanks that may stand between a currency mark and the digits, or
// between groups where the locale groups with a space.
bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\u00A0' || c == u'\u202F';
}

void addOnce(std::vector<QString> &list, const QString &item)
{
    if (!item.isEmpty() && std::find(list.begin(), list.end(), item) == list.end())
        list.push_back(item);
}

std::vector<QString> groupSeparators(const QLocale &locale)
{
    std::vector<QString> separators;
    const QString own = locale.groupSeparator();
    addOnce(separators, own);
    // A keyboard has no narrow or no-break space and no typographic
    // apostrophe; the plain characters a player types stand in for them
    // ("1 234" under French settings, "1'234" under Swiss German ones).
    if (own.size() == 1 && (own[0].isSpace() || own[0] == u'\u2019')) {
        const std::vector<QString> standIns = own[0].isSpace()
            ? std::vector<QString>{QStringLiteral(" "), QStringLiteral("\u00A0"), QStringLiteral("\u202F")}
            : std::vector<QString>{QStringLiteral("'")};
        for (const QString &standIn : standIns) {
            if (standIn != locale.decimalPoint())
                addOnce(separators, standIn);
        }
    }
    return separators;
}

// Which side of the number the locale writes its currency mark on, and
// whether with a blank between: Qt does not publish its currency pattern, so
// a zero formatted with a marker for a symbol shows it.
void readCurrencyPattern(NumberSyntax &syntax, const QLocale &locale)
{
    const QString marker(QChar(0x0001));
    const QString zero = locale.toString(0ULL);
    const QString pattern = locale.toCurrencyString(0ULL, marker);
    const qsizetype markAt = pattern.indexOf(marker);
    const qsizetype zeroAt = pattern.indexOf(zero);
    if (markAt < 0 || zeroAt < 0)
        return;
    syntax.markAfter = markAt > zeroAt;
    const QStringView between = syntax.markAfter
        ? QStringView(pattern).mid(zeroAt + zero.size(), markAt - zeroAt - zero.size())
        : QStringView(pattern).mid(markAt + marker.size(), zeroAt - markAt - marker.size());
    syntax.markBlank = std::any_of(between.begin(), between.end(), [](QChar c) { return c.isSpace(); });
}

void addCurrencyMarks(NumberSyntax &syntax, const QLocale &locale)
{
    if (locale.currencySymbol(QLocale::CurrencyIsoCode) == u"JPY") {
        // The yen forms a Japanese player meets: the desktop's full-width
        // yen sign, the half-width one, and the backslash that a Japanese
        // keyboard's yen key types. The code JPY is left out: Japanese
        // amounts are not written with it, and the conversion stays the one
        // Japanese players have always had.
        syntax.marks = {QStringLiteral("\uFFE5"), QStringLiteral("\u00A5"), QStringLiteral("\\")};
        return;
    }
    // Elsewhere the locale's symbol, and its ISO code ("15,00 EUR"), which
    // bank statements and price lists print; a player may copy either. Both
    // stand where the locale writes its symbol.
    syntax.isoCode = locale.currencySymbol(QLocale::CurrencyIsoCode);
    addOnce(syntax.marks, locale.currencySymbol(QLocale::CurrencySymbol));
    addOnce(syntax.marks, syntax.isoCode);
    // Longest first, so that a mark that begins another does not cut it.
    std::stable_sort(syntax.marks.begin(), syntax.marks.end(),
                     [](const QString &a, const QString &b) { return a.size() > b.size(); });
}

NumberSyntax makeNumberSyntax(const QLocale &locale)
{
    NumberSyntax syntax;
    syntax.locale = locale;
    // The locale's own signs (U+2212 under Swedish settings) and the ones on
    // every keyboard.
    addOnce(syntax.minusSigns, locale.negativeSign());
    addOnce(syntax.minusSigns, QStringLiteral("-"));
    addOnce(syntax.plusSigns, locale.positiveSign());
    addOnce(syntax.plusSigns, QStringLiteral("+"));
    syntax.decimalPoint = locale.decimalPoint();
    syntax.groupSeparators = groupSeparators(locale);
    if (const QString zero = locale.zeroDigit(); zero.size() == 1)
        syntax.zeroDigit = zero[0].unicode();
    readCurrencyPattern(syntax, locale);
    addCurrencyMarks(syntax, locale);
    return syntax;
}

const NumberSyntax &numberSyntax()
{
    thread_local std::optional<NumberSyntax> cached;
    const QLocale locale = gameLocale();
    if (!cached || cached->locale != locale)
        cached = makeNumberSyntax(locale);
    return *cached;
}

// A blank may stand between a mark and the number where the locale writes
// one; the ISO code, being letters, is always written apart ("USD 5").
bool blankAllowed(const NumberSyntax &syntax, const QString &mark)
{
    return syntax.markBlank || mark == syntax.isoCode;
}

// The digit as 0-9, from either the ASCII digits or the locale's own: the
// locale's currency text is written with its own digits (Arabic-Indic under
// Egyptian settings), and reads back.
std::optional<char16_t> digitOf(char16_t c, const NumberSyntax &syntax)
{
    if (isDigit(c))
        return c;
    if (syntax.zeroDigit != u'0' && c >= syntax.zeroDigit && c - syntax.zeroDigit <= 9)
        return char16_t(u'0' + (c - syntax.zeroDigit));
    return std::nullopt;
}

// The trimmed text, read from the front in its half-width forms.
class Scanner {
public:
    explicit Scanner(QStringView text) : text_(text), end_(text.size())
    {
        // Surrounding blanks are any white space, the ideographic space included.
        while (pos_ < end_ && text_[pos_].isSpace())
            ++pos_;
        while (end_ > pos_ && text_[end_ - 1].isSpace())
            --end_;
    }

    // The accounting form "(1,500)": whether the text stands in parentheses,
    // which are then left out.
    bool takeParentheses()
    {
        if (end_ - pos_ < 2 || text_[pos_] != u'(' || text_[end_ - 1] != u')')
            return false;
        ++pos_;
        --end_;
        return true;
    }

    bool atEnd() const { return pos_ == end_; }
    qsizetype pos() const { return pos_; }
    void seek(qsizetype pos) { pos_ = pos; }
    void skip() { ++pos_; }
    char16_t peek() const { return pos_ < end_ ? halfWidth(text_[pos_]) : 0; }

    // Whether `token` comes next; if so it is read.
    bool take(QStringView token)
    {
        if (token.isEmpty() || end_ - pos_ < token.size())
            return false;
        for (qsizetype i = 0; i < token.size(); ++i) {
            if (halfWidth(text_[pos_ + i]) != token[i].unicode())
                return false;
        }
        pos_ += token.size();
        return true;
    }

    // The first of `tokens` that comes next, read; or none.
    const QString *takeAny(const std::vector<QString> &tokens)
    {
        for (const QString &token : tokens) {
            if (take(token))
                return &token;
        }
        return nullptr;
    }

    bool takeBlank()
    {
        if (!isBlank(peek()))
            return false;
        ++pos_;
        return true;
    }

private:
    QStringView text_;
    qsizetype pos_ = 0;
    qsizetype end_ = 0;
};

struct Sign {
    bool taken = false; // one sign at most in all, the parentheses counting as one
    bool negative = false;
};

void takeSign(Scanner &in, const NumberSyntax &syntax, Sign &sign)
{
    if (sign.taken)
        return;
    if (in.takeAny(syntax.minusSigns))
        sign = {true, true};
    else if (in.takeAny(syntax.plusSigns))
        sign.taken = true;
}

// Digits with group separators, then an optional decimal point and digits.
void readDigits(Scanner &in, const NumberSyntax &syntax, Decimal &number)
{
    // A group separator needs a digit on each side, so "1,,0", ",1" and "1,"
    // are not numbers. The groups need not be of three, as in the Japanese
    // desktop's own conversion ("1,0,0" is 100; under German settings "1.5"
    // is 15): the locale's separators are only ever read in their own roles.
    for (;;) {
        if (const std::optional<char16_t> d = digitOf(in.peek(), syntax)) {
            number.addIntegerDigit(*d);
            in.skip();
            continue;
        }
        const qsizetype at = in.pos();
        if (number.hasDigits() && in.takeAny(syntax.groupSeparators) && digitOf(in.peek(), syntax))
            continue;
        in.seek(at);
        break;
    }
    // "1." and ".5" are numbers, as in the desktop's own conversion and in the
    // leading-number rule, which reads them as 1 and 0.5; "." alone is not.
    if (in.take(syntax.decimalPoint)) {
        for (std::optional<char16_t> d; (d = digitOf(in.peek(), syntax)); in.skip())
            number.addFractionDigit(*d);
    }
}

// The two orders of mark and number. Each reads as far as the rule allows;
// whatever is left makes the text no number.

// "-￥1,500", "￥-1,500", "R$ -1.234,50": a sign before or after the mark.
void readMarkFirst(Scanner &in, const NumberSyntax &syntax, Sign &sign, Decimal &number)
{
    takeSign(in, syntax, sign);
    if (const QString *mark = in.takeAny(syntax.marks)) {
        if (blankAllowed(syntax, *mark))
            in.takeBlank();
    }
    takeSign(in, syntax, sign);
    readDigits(in, syntax, number);
}

// "-15,00 €", "1 234,50 €": the sign before the number, the mark at the end;
// a sign after the number or the mark ("15 €-") is no form a locale writes.
void readMarkLast(Scanner &in, const NumberSyntax &syntax, Sign &sign, Decimal &number)
{
    takeSign(in, syntax, sign);
    readDigits(in, syntax, number);
    const qsizetype afterNumber = in.pos();
    const bool blank = in.takeBlank();
    const QString *mark = in.takeAny(syntax.marks);
    if (blank && !(mark && blankAllowed(syntax, *mark)))
        in.seek(afterNumber);
}

} // namespace

double readLeadingNumber(QStringView text)
{
    qsizetype pos = 0;
    // The next character that counts, in its half-width form; 0 at the end.
    // Carriage returns are skipped with line feeds so that a line break reads
    // the same whether it was typed on Windows (CR LF) or pasted from elsewhere.
    const auto peek = [&]() -> char16_t {
        for (; pos < text.size(); ++pos) {
            const char16_t c = halfWidth(text[pos]);
            if (c != u' ' && c != u'\t' && c != u'\n' && c != u'\r')
                return c;
        }
        return 0;
    };

    bool negative = false;
    if (const char16_t c = peek(); c == u'+' || c == u'-') {
        negative = c == u'-';
        ++pos;
    }
    Decimal number;
    for (char16_t c; isDigit(c = peek()); ++pos)
        number.addIntegerDigit(c);
    if (peek() == u'.') {
        ++pos;
        for (char16_t c; isDigit(c = peek()); ++pos)
            number.addFractionDigit(c);
    }
    if (!number.hasDigits())
        return 0.0;

    if (const char16_t c = peek(); c == u'E' || c == u'e') {
        ++pos;
        bool negativeExponent = false;
        if (const char16_t s = peek(); s == u'+' || s == u'-') {
            negativeExponent = s == u'-';
            ++pos;
        }
        // Saturates: an exponent this large decides the result on its own.
        constexpr std::int64_t cap = 1'000'000'000'000'000;
        std::int64_t exponent = 0;
        for (char16_t d; isDigit(d = peek()); ++pos)
            exponent = std::min(cap, exponent * 10 + (d - u'0'));
        number.addExponent(negativeExponent ? -exponent : exponent);
    }
    return number.value(negative);
}


std::optional<double> convertNumber(QStringView text)
{
    const NumberSyntax &syntax = numberSyntax();
    Scanner in(text);
    Sign sign;
    if (in.takeParentheses())
        sign = {true, true};
    // The currency mark only where the locale writes it: "15 €" under German
    // settings, "€15" not, as "1500￥" is no number under Japanese ones.
    Decimal number;
    if (syntax.markAfter)
        readMarkLast(in, syntax, sign, number);
    else
        readMarkFirst(in, syntax, sign, number);
    if (!number.hasDigits() || !in.atEnd())
        return std::nullopt;

    // A number too large for a double is not one the game can show.
    const double value = number.value(sign.negative);
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}
