// Exact arithmetic for re-deriving answers: fractions kept as numerator and
// denominator, and a reader for the expressions the questions print, so that
// an answer is worked out from the question text without the script's own
// arithmetic (16-bit integers, singles) standing in between.
#pragma once

#include <cstdint>
#include <numeric>
#include <optional>
#include <stdexcept>
#include <string>

namespace numbrelle::questions {

struct Rational {
    std::int64_t n = 0;
    std::int64_t d = 1;

    bool whole() const { return d == 1; }
    friend bool operator==(const Rational&, const Rational&) = default;
};

inline Rational reduced(std::int64_t n, std::int64_t d)
{
    if (d == 0)
        throw std::domain_error("division by zero");
    if (d < 0) {
        n = -n;
        d = -d;
    }
    const std::int64_t g = std::gcd(n, d);
    return { n / (g == 0 ? 1 : g), d / (g == 0 ? 1 : g) };
}

inline Rational operator+(Rational a, Rational b) { return reduced(a.n * b.d + b.n * a.d, a.d * b.d); }
inline Rational operator-(Rational a, Rational b) { return reduced(a.n * b.d - b.n * a.d, a.d * b.d); }
inline Rational operator*(Rational a, Rational b) { return reduced(a.n * b.n, a.d * b.d); }
inline Rational operator/(Rational a, Rational b) { return reduced(a.n * b.d, a.d * b.n); }
inline bool operator<(Rational a, Rational b) { return a.n * b.d < b.n * a.d; }

inline Rational power(Rational base, std::int64_t exponent)
{
    Rational result { 1, 1 };
    for (std::int64_t i = 0; i < exponent; ++i)
        result = result * base;
    return result;
}

// Reads what a question prints before its "=": whole numbers, decimals,
// fractions a/b (binding tighter than × and ÷, as they are written stacked),
// mixed numbers "2と1/3", + - × ÷, ^ for powers, parentheses and signs. A sign
// binds looser than a power: -3^2 is -9, (-3)^2 is 9. Throws on anything else.
class ExpressionReader {
public:
    explicit ExpressionReader(std::string text)
        : m_text(std::move(text))
    {
    }

    Rational value()
    {
        const Rational v = sum();
        skipBlanks();
        if (m_at != m_text.size())
            throw std::invalid_argument("unread text: " + m_text.substr(m_at));
        return v;
    }

private:
    Rational sum()
    {
        Rational v = product();
        for (;;) {
            if (take("+"))
                v = v + product();
            else if (take("-") || take("－"))
                v = v - product();
            else
                return v;
        }
    }

    Rational product()
    {
        Rational v = signedPower();
        for (;;) {
            if (take("×"))
                v = v * signedPower();
            else if (take("÷"))
                v = v / signedPower();
            else
                return v;
        }
    }

    Rational signedPower()
    {
        if (take("-") || take("－"))
            return Rational { 0, 1 } - signedPower();
        if (take("+"))
            return signedPower();
        const Rational base = fraction();
        if (!take("^"))
            return base;
        const Rational exponent = signedPower();
        if (!exponent.whole() || exponent.n < 0)
            throw std::invalid_argument("exponent");
        return power(base, exponent.n);
    }

    Rational fraction()
    {
        Rational v = atom();
        if (take("/"))
            v = v / atom();
        return v;
    }

    Rational atom()
    {
        if (take("(")) {
            const Rational v = sum();
            if (!take(")"))
                throw std::invalid_argument("unclosed parenthesis");
            return v;
        }
        const std::optional<Rational> n = number();
        if (!n)
            throw std::invalid_argument("a number expected at: " + m_text.substr(m_at));
        if (take("と")) {
            const Rational part = fraction();
            return *n + part;
        }
        return *n;
    }

    std::optional<Rational> number()
    {
        skipBlanks();
        std::int64_t n = 0, d = 1;
        std::size_t digits = 0;
        bool point = false;
        for (; m_at < m_text.size(); ++m_at) {
            const char c = m_text[m_at];
            if (c == '.' && !point) {
                point = true;
            } else if (c >= '0' && c <= '9') {
                n = n * 10 + (c - '0');
                if (point)
                    d *= 10;
                ++digits;
            } else {
                break;
            }
        }
        if (digits == 0)
            return std::nullopt;
        return reduced(n, d);
    }

    bool take(const char* token)
    {
        skipBlanks();
        const std::string t(token);
        if (m_text.compare(m_at, t.size(), t) != 0)
            return false;
        m_at += t.size();
        return true;
    }

    void skipBlanks()
    {
        while (m_at < m_text.size() && m_text[m_at] == ' ')
            ++m_at;
    }

    std::string m_text;
    std::size_t m_at = 0;
};

inline Rational evaluate(const std::string& expression) { return ExpressionReader(expression).value(); }

} // namespace numbrelle::questions
