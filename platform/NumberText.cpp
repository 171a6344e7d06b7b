#include "platform/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace {

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
            const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v);
            if (error == std::errc::result_out_of_range)
                v = order > 0 ? std::numeric_limits<double>::infinity() : 0.0;
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
    // Surrounding blanks are any white space, the ideographic space included.
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].isSpace())
        ++begin;
    while (end > begin && text[end - 1].isSpace())
        --end;

    // The accounting form "(1,500)": negative, and no sign of its own inside.
    const bool parenthesized = end - begin >= 2 && text[begin] == u'(' && text[end - 1] == u')';
    if (parenthesized) {
        ++begin;
        --end;
    }

    qsizetype pos = begin;
    const auto at = [&](qsizetype i) -> char16_t { return i < end ? halfWidth(text[i]) : 0; };
    bool negative = parenthesized;
    bool hasSign = parenthesized;
    const auto takeSign = [&] {
        if (const char16_t c = at(pos); !hasSign && (c == u'+' || c == u'-')) {
            hasSign = true;
            negative = c == u'-';
            ++pos;
        }
    };
    takeSign();
    if (const char16_t c = at(pos); c == u'\uFFE5' || c == u'\u00A5' || c == u'\\')
        ++pos;
    takeSign();

    // A thousands separator needs a digit on each side, so "1,,0", ",1" and
    // "1," are not numbers; the groups need not be of three ("1,0,0" is 100).
    Decimal number;
    for (char16_t c = at(pos); isDigit(c) || c == u','; c = at(pos)) {
        if (c == u',') {
            if (pos == begin || !isDigit(at(pos - 1)) || !isDigit(at(pos + 1)))
                return std::nullopt;
        } else {
            number.addIntegerDigit(c);
        }
        ++pos;
    }
    // "1." and ".5" are numbers, as in the desktop's own conversion and in the
    // leading-number rule, which reads them as 1 and 0.5; "." alone is not.
    if (at(pos) == u'.') {
        ++pos;
        for (char16_t c; isDigit(c = at(pos)); ++pos)
            number.addFractionDigit(c);
    }
    if (!number.hasDigits() || pos != end)
        return std::nullopt;

    // A number too large for a double is not one the game can show.
    const double value = number.value(negative);
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}
