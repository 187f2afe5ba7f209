// Each question's answer worked out again from the numbers in its question text
// (or, for the coordinate question, from its picture), with ordinary C++
// arithmetic, and compared with what the script accepts: the first expected
// form must be the answer shown after "正解：", and every other form a learner
// may reasonably write must be accepted too.
#include "Exact.h"
#include "QuestionRuns.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>
#include <numeric>
#include <regex>
#include <set>

namespace numbrelle::questions {
namespace {

using Forms = std::vector<std::string>;

// The groups of the first match of pattern in text; a failure when none.
std::vector<std::string> numbersIn(const std::string& text, const char* pattern)
{
    std::smatch match;
    if (!std::regex_search(text, match, std::regex(pattern))) {
        ADD_FAILURE() << "no \"" << pattern << "\" in the question";
        return std::vector<std::string>(10, "0");
    }
    std::vector<std::string> groups;
    for (std::size_t i = 1; i < match.size(); ++i)
        groups.push_back(match[i].str());
    return groups;
}

bool contains(const std::string& text, const char* pattern) { return std::regex_search(text, std::regex(pattern)); }

long number(const std::string& text) { return std::stol(text); }

// A decimal written in the question as a whole number of 10^-places.
long scaled(const std::string& text, int places)
{
    const std::size_t point = text.find('.');
    std::string digits = point == std::string::npos ? text : text.substr(0, point) + text.substr(point + 1);
    int given = point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
    for (; given < places; ++given)
        digits += '0';
    return std::stol(digits);
}

// value / 10^places written without trailing zeros: 62, 2 -> "0.62"; 500, 2 -> "5".
std::string decimalText(long value, int places)
{
    std::string sign = value < 0 ? "-" : "";
    value = std::labs(value);
    long unit = 1;
    for (int i = 0; i < places; ++i)
        unit *= 10;
    std::string fraction = std::to_string(value % unit);
    fraction = std::string(static_cast<std::size_t>(places) - fraction.size(), '0') + fraction;
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    return sign + std::to_string(value / unit) + (fraction.empty() ? "" : "." + fraction);
}

// value / 10000 with all four decimals: 8660 -> "0.8660".
std::string fourPlaces(long value)
{
    std::string text = std::to_string(std::labs(value) % 10000);
    return (value < 0 ? "-" : "") + std::to_string(std::labs(value) / 10000) + "." + std::string(4 - text.size(), '0')
        + text;
}

// A product of decimals, shortest first, then with the trailing zeros a child
// keeps from the written multiplication: 800, 2 gives 8, 8.0, 8.00.
Forms trailingZeroForms(long value, int places)
{
    Forms forms { decimalText(value, places) };
    std::string full = forms.front();
    long rest = value;
    for (int zeros = 0; zeros < places && rest % 10 == 0; ++zeros, rest /= 10) {
        full += full.find('.') == std::string::npos ? ".0" : "0";
        forms.push_back(full);
    }
    return forms;
}

// The four-place form the question asks for first, the short one accepted too.
Forms fourPlaceForms(long value) { return { fourPlaces(value), decimalText(value, 4) }; }

// A function value as a table gives it: four decimals, rounded.
long tableValue(double value) { return std::lround(value * 10000); }

double radians(long degrees) { return static_cast<double>(degrees) * std::acos(-1.0) / 180; }

Forms fractionForms(long n, long d)
{
    const long g = std::gcd(n, d);
    n /= g;
    d /= g;
    if (d == 1)
        return { std::to_string(n) };
    Forms forms { std::to_string(n) + "/" + std::to_string(d) };
    if (n > d)
        forms.push_back(std::to_string(n / d) + "と" + std::to_string(n % d) + "/" + std::to_string(d));
    return forms;
}

Forms remainderForms(long q, long r)
{
    const std::string a = std::to_string(q);
    const std::string b = std::to_string(r);
    return { a + "あまり" + b, a + "余り" + b, a + "…" + b, a + "..." + b };
}

Forms withUnit(long value, const std::string& unit) { return { std::to_string(value), std::to_string(value) + unit }; }

Forms sum(const QuestionRun& run)
{
    const auto n = numbersIn(run.question, R"((\d+) \+ (\d+) =)");
    return { std::to_string(number(n[0]) + number(n[1])) };
}

Forms difference(const QuestionRun& run)
{
    const auto n = numbersIn(run.question, R"((\d+) - (\d+) =)");
    EXPECT_GT(number(n[0]), number(n[1])) << "a negative answer for a primary-school subtraction";
    return { std::to_string(number(n[0]) - number(n[1])) };
}

Forms product(const QuestionRun& run)
{
    const auto n = numbersIn(run.question, R"((\d+) × (\d+) =)");
    return { std::to_string(number(n[0]) * number(n[1])) };
}

Forms exactQuotient(const QuestionRun& run)
{
    const auto n = numbersIn(run.question, R"((\d+) ÷ (\d+) =)");
    EXPECT_EQ(number(n[0]) % number(n[1]), 0) << "does not divide exactly";
    return { std::to_string(number(n[0]) / number(n[1])) };
}

Forms quotientAndRemainder(const QuestionRun& run)
{
    const auto n = numbersIn(run.question, R"((\d+) ÷ (\d+) =)");
    const long a = number(n[0]), b = number(n[1]);
    EXPECT_NE(a % b, 0) << "a remainder question without a remainder";
    return remainderForms(a / b, a % b);
}

Forms fractionResult(const QuestionRun& run)
{
    const auto n = numbersIn(run.question, R"((\d+)/(\d+) (\+|-|×|÷) (\d+)/(\d+) =)");
    const long a = number(n[0]), b = number(n[1]), c = number(n[3]), d = number(n[4]);
    EXPECT_EQ(std::gcd(a, b), 1);
    EXPECT_EQ(std::gcd(c, d), 1);
    if (n[2] == "+")
        return fractionForms(a * d + c * b, b * d);
    if (n[2] == "-") {
        EXPECT_GT(a * d, c * b);
        return fractionForms(a * d - c * b, b * d);
    }
    if (n[2] == "×")
        return fractionForms(a * c, b * d);
    return fractionForms(a * d, b * c);
}

// The files titled 分母がちがう: the two denominators differ.
Forms unlikeDenominators(const QuestionRun& run)
{
    const auto n = numbersIn(run.question, R"(\d+/(\d+) [+-] \d+/(\d+) =)");
    EXPECT_NE(n[0], n[1]) << "equal denominators";
    return fractionResult(run);
}

Forms trigValue(const QuestionRun& run)
{
    const auto n = numbersIn(run.question, R"((sin|cos|tan) (\d+)°)");
    const double x = radians(number(n[1]));
    const double value = n[0] == "sin" ? std::sin(x) : n[0] == "cos" ? std::cos(x) : std::tan(x);
    return fourPlaceForms(tableValue(value));
}

Forms primeFactorForms(long n)
{
    std::string power, powerStar, expanded, expandedStar;
    for (long p = 2; n > 1; ++p) {
        int e = 0;
        for (; n % p == 0; n /= p)
            ++e;
        if (e == 0)
            continue;
        const std::string factor = std::to_string(p) + (e > 1 ? "^" + std::to_string(e) : "");
        power += (power.empty() ? "" : "×") + factor;
        powerStar += (powerStar.empty() ? "" : "*") + factor;
        for (int i = 0; i < e; ++i) {
            expanded += (expanded.empty() ? "" : "×") + std::to_string(p);
            expandedStar += (expandedStar.empty() ? "" : "*") + std::to_string(p);
        }
    }
    return { power, powerStar, expanded, expandedStar };
}

// Length in millimetres, mass in grams or volume in millilitres of one unit.
long unitSize(const std::string& unit)
{
    static const std::map<std::string, long> sizes { { "km", 1000000 }, { "m", 1000 }, { "cm", 10 }, { "mm", 1 },
        { "t", 1000000 }, { "kg", 1000 }, { "g", 1 }, { "L", 1000 }, { "dL", 100 }, { "mL", 1 } };
    return sizes.at(unit);
}

Forms unitConversion(const QuestionRun& run, const char* pattern)
{
    const auto n = numbersIn(run.question, pattern);
    long amount = number(n[0]) * unitSize(n[1]);
    if (!n[2].empty())
        amount += number(n[2]) * unitSize(n[3]);
    EXPECT_EQ(amount % unitSize(n[4]), 0) << "not a whole number of " << n[4];
    return { std::to_string(amount / unitSize(n[4])) };
}

Forms timeConversion(const QuestionRun& run)
{
    const std::string& q = run.question;
    auto splitForms = [](long total, const std::string& big, const std::string& small) -> Forms {
        const std::string a = std::to_string(total / 60) + big;
        if (total % 60 == 0)
            return { a, a + "0" + small };
        return { a + std::to_string(total % 60) + small };
    };
    if (contains(q, R"(分は何時間何分)"))
        return splitForms(number(numbersIn(q, R"((\d+)分は)")[0]), "時間", "分");
    if (contains(q, R"(秒は何分何秒)"))
        return splitForms(number(numbersIn(q, R"((\d+)秒は)")[0]), "分", "秒");
    if (contains(q, R"(時間\d+分は何分)")) {
        const auto n = numbersIn(q, R"((\d+)時間(\d+)分は)");
        return withUnit(number(n[0]) * 60 + number(n[1]), "分");
    }
    const auto n = numbersIn(q, R"((\d+)分(\d+)秒は何秒)");
    return withUnit(number(n[0]) * 60 + number(n[1]), "秒");
}

Forms orderOfOperations(const QuestionRun& run)
{
    const std::string& q = run.question;
    std::smatch m;
    auto at = [&m](int i) { return std::stol(m[i].str()); };
    if (std::regex_search(q, m, std::regex(R"(\((\d+) \+ (\d+)\) × (\d+) =)")))
        return { std::to_string((at(1) + at(2)) * at(3)) };
    if (std::regex_search(q, m, std::regex(R"((\d+) \+ (\d+) × (\d+) =)")))
        return { std::to_string(at(1) + at(2) * at(3)) };
    if (std::regex_search(q, m, std::regex(R"((\d+) - (\d+) × (\d+) =)"))) {
        EXPECT_GE(at(1), at(2) * at(3));
        return { std::to_string(at(1) - at(2) * at(3)) };
    }
    const auto n = numbersIn(q, R"((\d+) × (\d+) \+ (\d+) =)");
    return { std::to_string(number(n[0]) * number(n[1]) + number(n[2])) };
}

std::string lastLine(const std::string& question) { return question.substr(question.rfind('\n') + 1); }

// The value of the expression a question prints on its last line before " =".
Rational printedValue(const QuestionRun& run)
{
    const std::string line = lastLine(run.question);
    const std::size_t equals = line.rfind(" =");
    if (equals == std::string::npos) {
        ADD_FAILURE() << "no \" =\" on the last line";
        return {};
    }
    try {
        return evaluate(line.substr(0, equals));
    } catch (const std::exception& e) {
        ADD_FAILURE() << "cannot read \"" << line << "\": " << e.what();
        return {};
    }
}

std::string integerText(const Rational& v)
{
    EXPECT_TRUE(v.whole()) << v.n << "/" << v.d << " is not a whole number";
    return std::to_string(v.n);
}

// A whole-number answer of the printed expression; intermediate results of a
// primary-school question never go below zero, and every division is exact.
Forms wholeValue(const QuestionRun& run)
{
    const Rational v = printedValue(run);
    EXPECT_GE(v.n, 0) << "a negative answer";
    return { integerText(v) };
}

// Left to right, as a first-grader computes "12 - 9 - 3": no step below zero.
Forms leftToRight(const QuestionRun& run)
{
    const auto n = numbersIn(lastLine(run.question), R"(^(\d+) ([+-]) (\d+) ([+-]) (\d+) =$)");
    long v = number(n[0]);
    for (int i = 1; i < 5; i += 2) {
        v = n[i] == "+" ? v + number(n[i + 1]) : v - number(n[i + 1]);
        EXPECT_GE(v, 0) << "a step below zero";
    }
    EXPECT_LE(v, 20);
    return { std::to_string(v) };
}

// The picture of a hundred-cell drill: the coloured cell, and the printed
// numbers heading its row (at the left) and its column (at the top).
Forms hundredCells(const QuestionRun& run, const std::function<long(long, long)>& op)
{
    const DrawingCommand* cell = nullptr;
    for (const DrawingCommand& c : run.drawing.entries) {
        if (c.kind == DrawingKind::Box && utf8(c.text) == "#paint")
            cell = &c;
    }
    if (cell == nullptr) {
        ADD_FAILURE() << "no coloured cell";
        return {};
    }
    std::optional<long> left, top;
    for (const DrawingCommand& c : run.drawing.entries) {
        if (c.kind != DrawingKind::Text || !std::isdigit(static_cast<unsigned char>(utf8(c.text)[0])))
            continue;
        if (c.x1 < cell->x1 - 40 && c.y1 > cell->y1 && c.y1 < cell->y2)
            left = std::stol(utf8(c.text));
        if (c.y1 < cell->y1 - 40 && c.x1 > cell->x1 && c.x1 < cell->x2)
            top = std::stol(utf8(c.text));
    }
    EXPECT_TRUE(left && top) << "the cell's row or column has no heading";
    return { std::to_string(op(left.value_or(0), top.value_or(0))) };
}

// "午前9時5分" in minutes after midnight of that half-day.
long clockMinutes(const std::string& hours, const std::string& minutes) { return number(hours) * 60 + number(minutes); }

Forms clockForms(const std::string& half, long minutes)
{
    EXPECT_GE(minutes, 60) << "before 1 o'clock";
    EXPECT_LT(minutes, 720) << "past noon or midnight";
    const std::string h = std::to_string(minutes / 60) + "時", m = std::to_string(minutes % 60);
    if (minutes % 60 == 0)
        return { half + h + "0分", h + "0分", half + h, h, half + h + "00分", h + "00分" };
    return { half + h + m + "分", h + m + "分" };
}

// A same-denominator fraction as third grade writes it (not reduced; 1 for
// d/d), with its reduced form accepted too.
Forms unreducedForms(long n, long d)
{
    if (n == d)
        return { "1", std::to_string(n) + "/" + std::to_string(d) };
    Forms forms { std::to_string(n) + "/" + std::to_string(d) };
    const long g = std::gcd(n, d);
    if (g > 1)
        forms.push_back(std::to_string(n / g) + "/" + std::to_string(d / g));
    return forms;
}

// n/d as a mixed number the way fourth grade writes it, "2と1/3", unreduced
// first; the improper fraction and the reduced forms are accepted as well.
Forms mixedForms(long n, long d)
{
    const std::string whole = std::to_string(n / d);
    const long r = n % d, g = std::gcd(r, d);
    const std::string improper = std::to_string(n) + "/" + std::to_string(d);
    if (r == 0)
        return { whole, improper };
    const std::string part = std::to_string(r) + "/" + std::to_string(d);
    const std::string reducedPart = std::to_string(r / g) + "/" + std::to_string(d / g);
    if (n < d)
        return g > 1 ? Forms { part, reducedPart } : Forms { part };
    Forms forms { whole + "と" + part, improper };
    if (g > 1)
        forms.push_back(whole + "と" + reducedPart);
    return forms;
}

// Rounding half up at a place value, as 四捨五入 does.
long roundedAt(long n, long unit) { return (n + unit / 2) / unit * unit; }

long placeUnit(long n, int keep)
{
    long unit = 1;
    for (long m = n; m >= 10; m /= 10)
        unit *= 10;
    for (int i = 1; i < keep; ++i)
        unit /= 10;
    return unit;
}

// Two drawn lengths in the proportion a : b, allowing each its rounding to a
// whole picture unit and the scale's own rounding.
bool toScale(long drawnA, long drawnB, long a, long b) { return std::labs(drawnA * b - drawnB * a) <= 3 * (a + b); }

// A fraction answer worked out exactly from the printed expression, reduced,
// improper or mixed.
Forms rationalValue(const QuestionRun& run)
{
    const Rational v = printedValue(run);
    EXPECT_GT(v.n, 0);
    return fractionForms(v.n, v.d);
}

// A signed whole-number answer: "+12" accepted beside "12" for a positive one.
Forms signedForms(const Rational& v)
{
    const std::string a = integerText(v);
    if (v.n > 0)
        return { a, "+" + a };
    return { a };
}

Forms signedValue(const QuestionRun& run) { return signedForms(printedValue(run)); }

// The printed expression with each letter given a value: "2x" is read as 2×(v).
std::string substituted(std::string expression, const std::map<char, long>& values)
{
    std::string out;
    for (std::size_t i = 0; i < expression.size(); ++i) {
        const char c = expression[i];
        const auto found = values.find(c);
        if (found == values.end()) {
            // "3(" is 3×(: a product written without its sign.
            out += c;
            if (std::isdigit(static_cast<unsigned char>(c)) && i + 1 < expression.size() && expression[i + 1] == '(')
                out += "×";
            continue;
        }
        if (!out.empty() && (std::isdigit(static_cast<unsigned char>(out.back())) || out.back() == ')'))
            out += "×";
        out += "(" + std::to_string(found->second) + ")";
    }
    return out;
}

// A linear expression in x, read back as coefficient and constant by putting 0 and 1 in for x.
std::pair<Rational, Rational> linearIn(const std::string& expression)
{
    const Rational at0 = evaluate(substituted(expression, { { 'x', 0 } }));
    const Rational at1 = evaluate(substituted(expression, { { 'x', 1 } }));
    return { at1 - at0, at0 };
}

// "2x+8" with its spaced and constant-first forms, as the answer of an expression in x.
Forms linearForms(long a, long b)
{
    const std::string x = a == 1 ? "x" : a == -1 ? "-x" : std::to_string(a) + "x";
    if (b == 0)
        return { x };
    const std::string sign = b > 0 ? "+" : "-", size = std::to_string(std::labs(b));
    return { x + sign + size, x + " " + sign + " " + size, std::to_string(b) + (a > 0 ? "+" : "") + x };
}

// The drawn triangle's angle at a vertex, in degrees.
double angleAt(double x, double y, double x1, double y1, double x2, double y2)
{
    const double a = std::atan2(y1 - y, x1 - x), b = std::atan2(y2 - y, x2 - x);
    double d = std::fabs(a - b) * 180 / std::acos(-1.0);
    return d > 180 ? 360 - d : d;
}

struct Derivation {
    const char* file;
    std::function<Forms(const QuestionRun&)> expected;
};

const Derivation derivations[] = {
    // 小1
    { "101_ikutsu_to_ikutsu.txt",
        [](const QuestionRun& run) -> Forms {
            const std::string line = lastLine(run.question);
            std::smatch m;
            if (std::regex_search(line, m, std::regex(R"(^(\d+)は (\d+)と □$)"))
                || std::regex_search(line, m, std::regex(R"(^(\d+)は □と (\d+)$)"))) {
                EXPECT_LT(std::stol(m[2]), std::stol(m[1]));
                return { std::to_string(std::stol(m[1]) - std::stol(m[2])) };
            }
            ADD_FAILURE() << "not a split of a number";
            return {};
        } },
    { "102_tashizan_1keta.txt", sum },
    { "103_hikizan_kurisagari_nashi.txt",
        [](const QuestionRun& run) {
            const auto n = numbersIn(run.question, R"((\d+) - (\d+) =)");
            EXPECT_TRUE(number(n[0]) <= 10 || number(n[0]) % 10 >= number(n[1])) << "borrows";
            return difference(run);
        } },
    { "104_hikizan_kurisagari.txt",
        [](const QuestionRun& run) {
            const auto n = numbersIn(run.question, R"((\d+) - (\d+) =)");
            EXPECT_LT(number(n[0]) % 10, number(n[1])) << "does not borrow";
            return difference(run);
        } },
    { "105_nanjuu_no_keisan.txt",
        [](const QuestionRun& run) {
            const Forms forms = wholeValue(run);
            EXPECT_LE(std::stol(forms.front()), 100);
            return forms;
        } },
    { "106_mittsu_no_kazu.txt", leftToRight },
    { "107_hyakumasu_tashizan.txt",
        [](const QuestionRun& run) { return hundredCells(run, [](long a, long b) { return a + b; }); } },
    // 小2
    { "201_tashizan_2keta.txt",
        [](const QuestionRun& run) {
            const auto n = numbersIn(run.question, R"((\d+) \+ (\d+) =)");
            EXPECT_LT(number(n[0]) % 10 + number(n[1]) % 10, 10) << "carries";
            EXPECT_LT(number(n[0]) + number(n[1]), 100) << "carries";
            return sum(run);
        } },
    { "202_tashizan_kuriagari.txt",
        [](const QuestionRun& run) {
            const auto n = numbersIn(run.question, R"((\d+) \+ (\d+) =)");
            EXPECT_GE(number(n[0]) % 10 + number(n[1]) % 10, 10) << "does not carry";
            return sum(run);
        } },
    { "203_hikizan_2keta.txt", difference },
    { "204_nanbyaku_no_keisan.txt",
        [](const QuestionRun& run) {
            const auto n = numbersIn(run.question, R"((\d+) [+-] (\d+) =)");
            const long a = number(n[0]), b = number(n[1]);
            EXPECT_TRUE((a % 100 == 0 && b % 100 == 0) || (a % 10 == 0 && b % 10 == 0 && (a > 100 || a + b > 100)))
                << "neither hundreds nor tens across a hundred";
            return wholeValue(run);
        } },
    { "205_kuku.txt", product },
    { "206_kuku_gyaku.txt",
        [](const QuestionRun& run) -> Forms {
            if (contains(run.question, "□ ×")) {
                const auto n = numbersIn(run.question, R"(□ × (\d+) = (\d+))");
                return { std::to_string(number(n[1]) / number(n[0])) };
            }
            const auto n = numbersIn(run.question, R"((\d+) × □ = (\d+))");
            return { std::to_string(number(n[1]) / number(n[0])) };
        } },
    { "207_hyakumasu_kakezan.txt",
        [](const QuestionRun& run) { return hundredCells(run, [](long a, long b) { return a * b; }); } },
    { "208_kasa.txt",
        [](const QuestionRun& run) { return unitConversion(run, R"((\d+)(mL|dL|L)(?: (\d+)(dL))? = □(mL|dL|L)$)"); } },
    // 小3
    { "301_tashizan_3keta.txt", sum },
    { "302_hikizan_3keta.txt", difference },
    { "303_anzan_3tsu.txt",
        [](const QuestionRun& run) -> Forms {
            const auto n = numbersIn(run.question, R"((\d+) \+ (\d+) \+ (\d+) =)");
            return { std::to_string(number(n[0]) + number(n[1]) + number(n[2])) };
        } },
    { "304_anzan_100kara.txt", difference },
    { "305_kakezan_2x1.txt", product },
    { "306_kakezan_3x1.txt", product },
    { "307_kakezan_2x2.txt", product },
    { "308_kakezan_3x2.txt",
        [](const QuestionRun& run) {
            const auto n = numbersIn(run.question, R"((\d{3}) × (\d{2}) =)");
            return Forms { std::to_string(number(n[0]) * number(n[1])) };
        } },
    { "309_warizan_amari.txt", quotientAndRemainder },
    { "310_shikaku_no_shiki.txt",
        [](const QuestionRun& run) -> Forms {
            const std::string line = lastLine(run.question);
            // Try every whole number in the box until the equation holds: no inverse operation needed.
            for (long x = 0; x <= 2000; ++x) {
                std::string filled = line;
                filled.replace(filled.find("□"), std::string("□").size(), std::to_string(x));
                const std::size_t equals = filled.find(" = ");
                if (evaluate(filled.substr(0, equals)) == evaluate(filled.substr(equals + 3)))
                    return { std::to_string(x) };
            }
            ADD_FAILURE() << "no whole number fits the box";
            return {};
        } },
    { "311_jikoku.txt",
        [](const QuestionRun& run) {
            const auto n = numbersIn(run.question, R"(^(午前|午後)(\d+)時(\d+)分の(\d+)分(後|前)は)");
            const long start = clockMinutes(n[1], n[2]), d = number(n[3]);
            return clockForms(n[0], n[4] == "後" ? start + d : start - d);
        } },
    { "312_jikan_no_keisan.txt",
        [](const QuestionRun& run) -> Forms {
            const auto n
                = numbersIn(run.question, R"(^午前(\d+)時(\d+)分から午前(\d+)時(\d+)分までは、何(分間|時間何分))");
            const long d = clockMinutes(n[2], n[3]) - clockMinutes(n[0], n[1]);
            EXPECT_GT(d, 0);
            if (n[4] == "分間") {
                EXPECT_LT(d, 60);
                return { std::to_string(d) + "分", std::to_string(d), std::to_string(d) + "分間" };
            }
            EXPECT_GT(d, 60);
            EXPECT_NE(d % 60, 0);
            return { std::to_string(d / 60) + "時間" + std::to_string(d % 60) + "分", std::to_string(d) + "分" };
        } },
    { "313_nagasa.txt",
        [](const QuestionRun& run) {
            return unitConversion(run, R"((\d+)(km|cm|mm|m)(?: (\d+)(cm))? = □(km|cm|mm|m)$)");
        } },
    { "314_omosa.txt",
        [](const QuestionRun& run) { return unitConversion(run, R"((\d+)(kg|t|g)(?: (\d+)(g))? = □(kg|t|g)$)"); } },
    { "315_jikan.txt", timeConversion },
    { "316_kaimono.txt",
        [](const QuestionRun& run) {
            const auto n = numbersIn(run.question,
                R"(1本(\d+)円のえんぴつを(\d+)本と、1さつ(\d+)円のノートを1さつ買います。\n(\d+)円出すと)");
            const long change = number(n[3]) - number(n[0]) * number(n[1]) - number(n[2]);
            EXPECT_GT(change, 0);
            return withUnit(change, "円");
        } },
    { "317_wakeru.txt",
        [](const QuestionRun& run) -> Forms {
            const auto n = numbersIn(run.question, R"(が(\d+)(こ|本|まい)あります。\n(\d+)人で)");
            const long total = number(n[0]), people = number(n[2]);
            const std::string q = std::to_string(total / people), r = std::to_string(total % people), unit = n[1];
            EXPECT_NE(total % people, 0);
            return { q + unit + "あまり" + r + unit, q + "あまり" + r };
        } },
    { "318_shousuu_tashizan.txt",
        [](const QuestionRun& run) -> Forms {
            const auto n = numbersIn(run.question, R"(([\d.]+) \+ ([\d.]+) =)");
            const long s = scaled(n[0], 1) + scaled(n[1], 1);
            if (s % 10 == 0)
                return { decimalText(s, 1), decimalText(s, 1) + ".0" };
            return { decimalText(s, 1) };
        } },
    { "319_bunsuu_tashizan_onaji.txt",
        [](const QuestionRun& run) {
            const auto n = numbersIn(run.question, R"((\d+)/(\d+) \+ (\d+)/(\d+) =)");
            EXPECT_EQ(n[1], n[3]) << "denominators differ";
            EXPECT_LE(number(n[0]) + number(n[2]), number(n[1])) << "more than 1";
            return unreducedForms(number(n[0]) + number(n[2]), number(n[1]));
        } },
    { "320_bunsuu_hikizan_onaji.txt",
        [](const QuestionRun& run) {
            const std::string line = lastLine(run.question);
            std::smatch m;
            long a = 0, b = 0, d = 1;
            if (std::regex_search(line, m, std::regex(R"(^1 - (\d+)/(\d+) =$)"))) {
                d = std::stol(m[2]);
                a = d;
                b = std::stol(m[1]);
            } else {
                const auto n = numbersIn(line, R"(^(\d+)/(\d+) - (\d+)/(\d+) =$)");
                EXPECT_EQ(n[1], n[3]) << "denominators differ";
                a = number(n[0]);
                b = number(n[2]);
                d = number(n[1]);
            }
            EXPECT_GT(a, b);
            return unreducedForms(a - b, d);
        } },
    // 小4
    { "400_warizan_warikireru.txt", exactQuotient },
    { "401_warizan_3keta.txt", quotientAndRemainder },
    { "402_warizan_2keta_de.txt", exactQuotient },
    { "403_warizan_2keta_amari.txt",
        [](const QuestionRun& run) {
            EXPECT_TRUE(contains(run.question, "「7あまり3」のように答え"));
            return quotientAndRemainder(run);
        } },
    { "404_warizan_3keta_de.txt",
        [](const QuestionRun& run) -> Forms {
            const auto n = numbersIn(run.question, R"((\d{4}) ÷ (\d{3}) =)");
            const long a = number(n[0]), b = number(n[1]);
            EXPECT_LT(a / b, 10);
            if (a % b == 0)
                return { std::to_string(a / b), std::to_string(a / b) + "あまり0" };
            return remainderForms(a / b, a % b);
        } },
    { "405_keisan_no_junjo.txt", orderOfOperations },
    { "406_keisan_no_kimari.txt",
        [](const QuestionRun& run) {
            const std::string line = lastLine(run.question);
            EXPECT_TRUE(contains(line, "÷")) << "no division";
            return wholeValue(run);
        } },
    { "407_gaisuu_kurai.txt",
        [](const QuestionRun& run) {
            const auto n = numbersIn(run.question, R"(^(\d+)を四しゃ五入して、(百|千|一万)の位までのがい数)");
            const long unit = n[1] == "百" ? 100 : n[1] == "千" ? 1000 : 10000;
            return Forms { std::to_string(roundedAt(number(n[0]), unit)) };
        } },
    { "408_gaisuu_ue_kara.txt",
        [](const QuestionRun& run) {
            const auto n = numbersIn(run.question, R"(^(\d+)を四しゃ五入して、上から(\d)けたのがい数)");
            const long x = number(n[0]);
            return Forms { std::to_string(roundedAt(x, placeUnit(x, static_cast<int>(number(n[1])) + 1) * 10)) };
        } },
    { "409_mitsumori.txt",
        [](const QuestionRun& run) {
            const auto n = numbersIn(run.question, R"(^(\d+) (\+|×|-) (\d+) の)");
            const long a = number(n[0]), b = number(n[2]);
            if (n[1] == "×")
                return Forms { std::to_string(roundedAt(a, placeUnit(a, 1)) * roundedAt(b, placeUnit(b, 1))) };
            const long x = roundedAt(a, 100), y = roundedAt(b, 100);
            if (n[1] == "-") {
                EXPECT_GE(x, y) << "the rounded difference is negative";
            }
            return Forms { std::to_string(n[1] == "+" ? x + y : x - y) };
        } },
    { "410_shousuu_hikizan.txt",
        [](const QuestionRun& run) -> Forms {
            const auto n = numbersIn(run.question, R"(([\d.]+) - ([\d.]+) =)");
            return { decimalText(scaled(n[0], 2) - scaled(n[1], 2), 2) };
        } },
    { "411_shousuu_kake_seisuu.txt",
        [](const QuestionRun& run) -> Forms {
            const auto n = numbersIn(run.question, R"((\d+\.\d) × (\d+) =)");
            const long p = scaled(n[0], 1) * number(n[1]);
            if (p % 10 == 0)
                return { decimalText(p, 1), decimalText(p, 1) + ".0" };
            return { decimalText(p, 1) };
        } },
    { "412_shousuu_warizan.txt",
        [](const QuestionRun& run) -> Forms {
            const auto n = numbersIn(run.question, R"(([\d.]+) ÷ (\d+) =)");
            const long a = scaled(n[0], 1), b = number(n[1]);
            EXPECT_NE(a % 10, 0) << "the dividend is a whole number";
            EXPECT_EQ(a % b, 0);
            return { decimalText(a / b, 1) };
        } },
    { "413_kabunsuu_wo_taibunsuu.txt",
        [](const QuestionRun& run) {
            const auto n = numbersIn(run.question, R"(^(\d+)/(\d+)を帯分数)");
            EXPECT_NE(number(n[0]) % number(n[1]), 0);
            Forms forms = mixedForms(number(n[0]), number(n[1]));
            forms.erase(forms.begin() + 1); // the improper fraction is the question itself
            return forms;
        } },
    { "414_taibunsuu_wo_kabunsuu.txt",
        [](const QuestionRun& run) {
            const auto n = numbersIn(run.question, R"(^(\d+)と(\d+)/(\d+)をかぶん数)");
            const long d = number(n[2]), top = number(n[0]) * d + number(n[1]), g = std::gcd(top, d);
            Forms forms { std::to_string(top) + "/" + std::to_string(d) };
            if (g > 1)
                forms.push_back(std::to_string(top / g) + "/" + std::to_string(d / g));
            return forms;
        } },
    { "415_taibunsuu_no_keisan.txt",
        [](const QuestionRun& run) {
            const Rational v = printedValue(run);
            const auto n = numbersIn(lastLine(run.question), R"(/(\d+) [+-] \d+と\d+/(\d+) =)");
            EXPECT_EQ(n[0], n[1]) << "denominators differ";
            EXPECT_GT(v.n, 0);
            // Written over the question's own denominator, not reduced.
            const long d = number(n[0]);
            return mixedForms(v.n * (d / v.d), d);
        } },
    { "417_chouhoukei_menseki.txt",
        [](const QuestionRun& run) -> Forms {
            const auto n = numbersIn(run.question, R"(たて (\d+)cm、横 (\d+)cm)");
            // The drawn rectangle has the sides' proportions.
            const DrawingCommand& box = run.drawing.entries.at(0);
            EXPECT_NEAR(double(box.x2 - box.x1) / (box.y2 - box.y1), double(number(n[1])) / number(n[0]), 0.05);
            return { std::to_string(number(n[0]) * number(n[1])) };
        } },
    { "418_chouhoukei_mawari.txt",
        [](const QuestionRun& run) -> Forms {
            const auto n = numbersIn(run.question, R"(たて (\d+)cm、横 (\d+)cm)");
            return { std::to_string(2 * (number(n[0]) + number(n[1]))) };
        } },
    { "419_menseki_no_tani.txt",
        [](const QuestionRun& run) {
            static const std::map<std::string, long> squareMetres { { "平方センチメートル", 1 },
                { "平方メートル", 10000 }, { "アール", 1000000 }, { "ヘクタール", 100000000 },
                { "平方キロメートル", 10000000000 } };
            const auto n = numbersIn(lastLine(run.question), R"(^(\d+)(\S+) = □(\S+)$)");
            const long amount = number(n[0]) * squareMetres.at(n[1]);
            EXPECT_EQ(amount % squareMetres.at(n[2]), 0);
            return Forms { std::to_string(amount / squareMetres.at(n[2])) };
        } },
    { "420_sankakkei_mawari.txt",
        [](const QuestionRun& run) -> Forms {
            const auto n = numbersIn(run.question, R"(辺の長さ (\d+)cm、(\d+)cm、(\d+)cm)");
            const double a = number(n[0]), b = number(n[1]), c = number(n[2]);
            EXPECT_LT(a, b + c);
            EXPECT_LT(b, a + c);
            EXPECT_LT(c, a + b);
            // Drawn to scale: the base a first, then b and c going round.
            const auto& e = run.drawing.entries;
            auto length = [&e](int i) { return std::hypot(e.at(i).x2 - e.at(i).x1, e.at(i).y2 - e.at(i).y1); };
            EXPECT_NEAR(length(1) / length(0), b / a, 0.02);
            EXPECT_NEAR(length(2) / length(0), c / a, 0.02);
            const std::string perimeter = std::to_string(number(n[0]) + number(n[1]) + number(n[2]));
            return { perimeter, perimeter + "cm" };
        } },
    // 小5
    { "501_shousuu_kakezan.txt",
        [](const QuestionRun& run) {
            const auto n = numbersIn(run.question, R"(([\d.]+) × ([\d.]+) =)");
            return trailingZeroForms(scaled(n[0], 1) * scaled(n[1], 1), 2);
        } },
    { "502_shousuu_kakezan_0.txt",
        [](const QuestionRun& run) {
            const auto n = numbersIn(lastLine(run.question), R"(^(\d+\.\d+) × (0\.\d+) =$)");
            const int pa = static_cast<int>(n[0].size() - n[0].find('.') - 1);
            const int pb = static_cast<int>(n[1].size() - n[1].find('.') - 1);
            return trailingZeroForms(scaled(n[0], pa) * scaled(n[1], pb), pa + pb);
        } },
    { "503_shousuu_warizan_shousuu.txt",
        [](const QuestionRun& run) {
            const auto n = numbersIn(lastLine(run.question), R"(^([\d.]+) ÷ (\d+\.\d) =$)");
            const Rational q = evaluate(n[0] + "÷" + n[1]);
            EXPECT_EQ(10 % q.d, 0) << "not a quotient to tenths";
            return trailingZeroForms(q.n * (10 / q.d), 1);
        } },
    { "504_seisuu_wari_shousuu.txt",
        [](const QuestionRun& run) {
            const auto n = numbersIn(lastLine(run.question), R"(^(\d+) ÷ (\d+\.\d) =$)");
            const Rational q = evaluate(n[0] + "÷" + n[1]);
            EXPECT_EQ(10 % q.d, 0) << "not a quotient to tenths";
            return trailingZeroForms(q.n * (10 / q.d), 1);
        } },
    { "505_shou_wo_gaisuu.txt",
        [](const QuestionRun& run) -> Forms {
            const auto n = numbersIn(run.question, R"(^([\d.]+) ÷ ([\d.]+) の商を、四しゃ五入して1/10の位まで)");
            const long a = scaled(n[0], 1), b = scaled(n[1], 1);
            EXPECT_NE(a * 100 % b, 0) << "the quotient ends by the hundredths";
            const long tenths = (a * 100 / b + 5) / 10;
            const std::string shown = std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
            if (tenths % 10 == 0)
                return { shown, std::to_string(tenths / 10) };
            return { shown };
        } },
    { "506_bunsuu_wo_shousuu.txt",
        [](const QuestionRun& run) -> Forms {
            const auto n = numbersIn(run.question, R"((\d+)/(\d+))");
            const long a = number(n[0]) * 10000, d = number(n[1]);
            EXPECT_EQ(a % d, 0);
            return { decimalText(a / d, 4) };
        } },
    { "507_yakubun.txt",
        [](const QuestionRun& run) -> Forms {
            const auto n = numbersIn(lastLine(run.question), R"((\d+)/(\d+))");
            EXPECT_GT(std::gcd(number(n[0]), number(n[1])), 1) << "nothing to reduce";
            return fractionForms(number(n[0]), number(n[1]));
        } },
    { "508_tsuubun.txt",
        [](const QuestionRun& run) -> Forms {
            const auto n = numbersIn(run.question, R"(^(\d+)/(\d+)と(\d+)/(\d+)を通分)");
            const long a = number(n[0]), b = number(n[1]), c = number(n[2]), d = number(n[3]);
            EXPECT_NE(b, d);
            EXPECT_EQ(std::gcd(a, b), 1);
            EXPECT_EQ(std::gcd(c, d), 1);
            const long l = std::lcm(b, d);
            const std::string x = std::to_string(a * l / b) + "/" + std::to_string(l);
            const std::string y = std::to_string(c * l / d) + "/" + std::to_string(l);
            return { x + "と" + y, x + "," + y, x + "、" + y, x + ", " + y };
        } },
    { "509_bunsuu_tashizan.txt", unlikeDenominators },
    { "510_bunsuu_hikizan.txt", unlikeDenominators },
    { "511_saidai_kouyakusuu.txt",
        [](const QuestionRun& run) -> Forms {
            const auto n = numbersIn(run.question, R"((\d+)と(\d+)の最大公約数)");
            return { std::to_string(std::gcd(number(n[0]), number(n[1]))) };
        } },
    { "512_saishou_koubaisuu.txt",
        [](const QuestionRun& run) -> Forms {
            const auto n = numbersIn(run.question, R"((\d+)と(\d+)の最小公倍数)");
            return { std::to_string(std::lcm(number(n[0]), number(n[1]))) };
        } },
    { "513_yakusuu_no_kosuu.txt",
        [](const QuestionRun& run) {
            const long n = number(numbersIn(run.question, R"((\d+)の約数)")[0]);
            long count = 0;
            for (long i = 1; i <= n; ++i)
                count += n % i == 0;
            return withUnit(count, "個");
        } },
    { "514_baisuu_no_kosuu.txt",
        [](const QuestionRun& run) {
            const auto n = numbersIn(run.question, R"(1から(\d+)までの整数のうち、(\d+)の倍数)");
            return withUnit(number(n[0]) / number(n[1]), "個");
        } },
    { "515_wariai.txt",
        [](const QuestionRun& run) -> Forms {
            std::smatch m;
            long whole = 0, part = 0;
            const std::string& q = run.question;
            if (std::regex_search(q, m, std::regex(R"(クラスの人数は(\d+)人で、そのうちバスで来る人は(\d+)人)"))
                || std::regex_search(q, m, std::regex(R"(もとのねだんが(\d+)円のおかしが、(\d+)円に)"))
                || std::regex_search(q, m, std::regex(R"(バスケットボールで(\d+)回シュートして、(\d+)回入り)"))) {
                whole = std::stol(m[1]);
                part = std::stol(m[2]);
            } else {
                ADD_FAILURE() << "no amounts found";
                return {};
            }
            EXPECT_EQ(part * 100 % whole, 0) << "the ratio has more than two decimals";
            return { decimalText(part * 100 / whole, 2) };
        } },
    { "516_hyakubunritsu.txt",
        [](const QuestionRun& run) -> Forms {
            std::smatch m;
            if (std::regex_search(run.question, m, std::regex(R"(^わり合の([\d.]+)を百分率で)"))) {
                const std::string p = std::to_string(scaled(m[1], 2));
                return { p + "%", p + " %", p + "パーセント" };
            }
            const auto n = numbersIn(run.question, R"(^(\d+)%を小数で)");
            return { decimalText(number(n[0]), 2) };
        } },
    { "517_buai.txt",
        [](const QuestionRun& run) -> Forms {
            std::smatch m;
            if (std::regex_search(run.question, m, std::regex(R"(^わり合の([\d.]+)を歩合で)"))) {
                const long n = scaled(m[1], 3);
                std::string kana, kanji;
                if (n / 100 > 0) {
                    kana += std::to_string(n / 100) + "わり";
                    kanji += std::to_string(n / 100) + "割";
                }
                if (n / 10 % 10 > 0) {
                    kana += std::to_string(n / 10 % 10) + "分";
                    kanji += std::to_string(n / 10 % 10) + "分";
                }
                if (n % 10 > 0) {
                    kana += std::to_string(n % 10) + "りん";
                    kanji += std::to_string(n % 10) + "厘";
                }
                return { kana, kanji };
            }
            const auto n = numbersIn(run.question, R"(^歩合の((?:\dわり)?)((?:\d分)?)((?:\dりん)?)を)");
            const long value = (n[0].empty() ? 0 : std::stol(n[0]) * 100) + (n[1].empty() ? 0 : std::stol(n[1]) * 10)
                + (n[2].empty() ? 0 : std::stol(n[2]));
            EXPECT_GT(value, 0);
            return { decimalText(value, 3) };
        } },
    { "518_kuraberu_ryou.txt",
        [](const QuestionRun& run) -> Forms {
            std::smatch m;
            const std::string& q = run.question;
            Rational v;
            std::string unit;
            if (std::regex_search(q, m, std::regex(R"(^(\d+)円の(\d+)%は何円)"))) {
                v = evaluate(m[1].str() + "×" + m[2].str() + "÷100");
                unit = "円";
            } else if (std::regex_search(q, m, std::regex(R"(^(\d+)mの([\d.]+)倍は何m)"))) {
                v = evaluate(m[1].str() + "×" + m[2].str());
                unit = "m";
            } else {
                const auto n = numbersIn(q, R"(定員が(\d+)人の電車に、定員の(\d+)%の人)");
                v = evaluate(n[0] + "×" + n[1] + "÷100");
                unit = "人";
            }
            const std::string a = integerText(v);
            return { a, a + unit };
        } },
    { "519_moto_ni_suru_ryou.txt",
        [](const QuestionRun& run) -> Forms {
            std::smatch m;
            const std::string& q = run.question;
            Rational v;
            std::string unit;
            if (std::regex_search(q, m, std::regex(R"(^何円の(\d+)%が(\d+)円)"))) {
                v = evaluate(m[2].str() + "÷" + m[1].str() + "×100");
                unit = "円";
            } else if (std::regex_search(q, m, std::regex(R"(^ある数の(\d+)%が(\d+)です)"))) {
                v = evaluate(m[2].str() + "÷" + m[1].str() + "×100");
            } else {
                const auto n = numbersIn(q, R"(とれ高は(\d+)kgで、去年の(\d+)%でした)");
                v = evaluate(n[0] + "÷" + n[1] + "×100");
                unit = "kg";
            }
            const std::string b = integerText(v);
            if (unit.empty())
                return { b };
            return { b, b + unit };
        } },
    { "520_heikin.txt",
        [](const QuestionRun& run) -> Forms {
            const auto n = numbersIn(run.question, R"(\n\n((?:\d+g、)+\d+g)\n\n)");
            long total = 0, count = 0;
            const std::regex digits(R"(\d+)");
            for (std::sregex_iterator i(n[0].begin(), n[0].end(), digits), end; i != end; ++i) {
                total += std::stol(i->str());
                ++count;
            }
            EXPECT_EQ(total * 10 % count, 0) << "the mean has more than one decimal";
            const std::string mean = decimalText(total * 10 / count, 1);
            return { mean, mean + "g" };
        } },
    { "521_tan_i_ryou_atari.txt",
        [](const QuestionRun& run) -> Forms {
            std::smatch m;
            const std::string& q = run.question;
            const char* patterns[][2]
                = { { R"(^(\d+)mで(\d+)円のリボン)", "円" }, { R"(^(\d+)Lのガソリンで(\d+)km走る)", "km" },
                      { R"(^広さが(\d+)㎡の部屋に(\d+)人)", "人" }, { R"(^(\d+)aの畑から(\d+)kgの)", "kg" } };
            for (const auto& pattern : patterns) {
                if (std::regex_search(q, m, std::regex(pattern[0]))) {
                    const std::string per = integerText(evaluate(m[2].str() + "÷" + m[1].str()));
                    return { per, per + pattern[1] };
                }
            }
            ADD_FAILURE() << "no amounts found";
            return {};
        } },
    { "522_taiseki.txt",
        [](const QuestionRun& run) -> Forms {
            std::smatch m;
            long a = 0, b = 0, c = 0;
            if (std::regex_search(run.question, m, std::regex(R"(1辺が(\d+)cmの立方体)"))) {
                a = b = c = std::stol(m[1]);
            } else {
                const auto n = numbersIn(run.question, R"(たて(\d+)cm、横(\d+)cm、高さ(\d+)cmの直方体)");
                a = number(n[0]);
                b = number(n[1]);
                c = number(n[2]);
            }
            // The front face is drawn to scale: its bottom edge is the fifth line, its right edge the sixth.
            const auto& e = run.drawing.entries;
            EXPECT_TRUE(toScale(e.at(4).x2 - e.at(4).x1, e.at(5).y1 - e.at(5).y2, b, c));
            return { std::to_string(a * b * c) };
        } },
    { "523_taiseki_no_tani.txt",
        [](const QuestionRun& run) {
            static const std::map<std::string, long> millilitres { { "mL", 1 }, { "立方センチメートル", 1 },
                { "dL", 100 }, { "L", 1000 }, { "立方メートル", 1000000 } };
            const auto n = numbersIn(lastLine(run.question), R"(^(\d+)(\S+) = □(\S+)$)");
            const long amount = number(n[0]) * millilitres.at(n[1]);
            EXPECT_EQ(amount % millilitres.at(n[2]), 0);
            return Forms { std::to_string(amount / millilitres.at(n[2])) };
        } },
    { "524_sankakkei_menseki.txt",
        [](const QuestionRun& run) -> Forms {
            const auto n = numbersIn(run.question, R"(底辺 (\d+)cm、高さ (\d+)cm)");
            return { decimalText(number(n[0]) * number(n[1]) * 5, 1) };
        } },
    { "525_heikoushihenkei.txt",
        [](const QuestionRun& run) -> Forms {
            const auto n = numbersIn(run.question, R"(底辺 (\d+)cm、高さ (\d+)cm)");
            const auto& e = run.drawing.entries;
            // The base is the first line, the height the fifth (grey, upright).
            EXPECT_EQ(e.at(4).x1, e.at(4).x2);
            EXPECT_TRUE(toScale(e.at(0).x2 - e.at(0).x1, e.at(4).y2 - e.at(4).y1, number(n[0]), number(n[1])));
            return { std::to_string(number(n[0]) * number(n[1])) };
        } },
    { "526_hishigata.txt",
        [](const QuestionRun& run) -> Forms {
            const auto n = numbersIn(run.question, R"(対角線 (\d+)cm、(\d+)cm)");
            const auto& e = run.drawing.entries;
            // The diagonals are the fifth (across) and sixth (upright) lines.
            EXPECT_TRUE(toScale(e.at(4).x2 - e.at(4).x1, e.at(5).y2 - e.at(5).y1, number(n[0]), number(n[1])));
            return { decimalText(number(n[0]) * number(n[1]) * 5, 1) };
        } },
    { "527_daikei_menseki.txt",
        [](const QuestionRun& run) -> Forms {
            const auto n = numbersIn(run.question, R"(上底 (\d+)cm、下底 (\d+)cm、高さ (\d+)cm)");
            const long a = number(n[0]), b = number(n[1]);
            EXPECT_LT(a, b);
            // The lower base is drawn first, the upper one second, to the same scale.
            const auto& e = run.drawing.entries;
            EXPECT_NEAR(double(e.at(1).x2 - e.at(1).x1) / (e.at(0).x2 - e.at(0).x1), double(a) / b, 0.03);
            return { decimalText((a + b) * number(n[2]) * 5, 1) };
        } },
    { "528_sankakkei_no_kaku.txt",
        [](const QuestionRun& run) -> Forms {
            const auto n = numbersIn(run.question, R"(大きさは(\d+)°と(\d+)°です)");
            const long a = number(n[0]), b = number(n[1]);
            // The figure is drawn to the angles: lines A-B, A-C, B-C.
            const auto& e = run.drawing.entries;
            const double ax = e.at(0).x1, ay = e.at(0).y1, bx = e.at(0).x2, by = e.at(0).y2;
            const double cx = e.at(1).x2, cy = e.at(1).y2;
            EXPECT_NEAR(angleAt(ax, ay, bx, by, cx, cy), a, 1.5);
            EXPECT_NEAR(angleAt(bx, by, ax, ay, cx, cy), b, 1.5);
            const std::string c = std::to_string(180 - a - b);
            return { c, c + "°", c + "度" };
        } },
    { "529_takakkei_no_kaku.txt",
        [](const QuestionRun& run) -> Forms {
            auto forms = [](long degrees) {
                const std::string d = std::to_string(degrees);
                return Forms { d, d + "°", d + "度" };
            };
            static const std::map<std::string, long> names { { "三", 3 }, { "四", 4 }, { "五", 5 }, { "六", 6 },
                { "八", 8 } };
            auto sides = [](const std::string& name) {
                const auto found = names.find(name);
                return found != names.end() ? found->second : std::stol(name);
            };
            std::smatch m;
            const std::string& q = run.question;
            if (std::regex_search(q, m, std::regex(R"(^(正|)(\d+|三|四|五|六|八)角形の)"))) {
                const long n = sides(m[2]);
                EXPECT_EQ(run.drawing.entries.size(), static_cast<std::size_t>(n)) << "not drawn with n sides";
                return forms(m[1].str().empty() ? (n - 2) * 180 : (n - 2) * 180 / n);
            }
            const auto n = numbersIn(q, R"(3つの角の大きさは(\d+)°、(\d+)°、(\d+)°です)");
            const long d = 360 - number(n[0]) - number(n[1]) - number(n[2]);
            // Drawn to the angles: the four sides are the four lines, vertex i where line i starts.
            const auto& e = run.drawing.entries;
            for (int i = 0; i < 4; ++i) {
                const DrawingCommand& in = e.at((i + 3) % 4);
                const DrawingCommand& out = e.at(i);
                const double angle = angleAt(out.x1, out.y1, out.x2, out.y2, in.x1, in.y1);
                EXPECT_NEAR(angle, i < 3 ? number(n[i]) : d, 1.5) << "angle " << i;
            }
            return forms(d);
        } },
    { "530_ensyuu.txt",
        [](const QuestionRun& run) -> Forms {
            const auto n = numbersIn(run.question, R"((半径|直径) (\d+)cm)");
            const long d = n[0] == "直径" ? number(n[1]) : number(n[1]) * 2;
            return { decimalText(d * 314, 2) };
        } },
    // 小6
    { "601_bunsuu_kake_seisuu.txt", rationalValue },
    { "602_bunsuu_wari_seisuu.txt", rationalValue },
    { "603_bunsuu_kakezan.txt", fractionResult },
    { "604_bunsuu_warizan.txt", fractionResult },
    { "606_hi_wo_kantan_ni.txt",
        [](const QuestionRun& run) -> Forms {
            const auto n = numbersIn(lastLine(run.question), R"(^([\d./]+):([\d./]+)$)");
            const Rational ratio = evaluate(n[0]) / evaluate(n[1]);
            const std::string a = std::to_string(ratio.n), b = std::to_string(ratio.d);
            EXPECT_FALSE(evaluate(n[0]).whole() && ratio.n == evaluate(n[0]).n) << "already as simple as it gets";
            return { a + ":" + b, a + "：" + b };
        } },
    { "607_hi_no_shiki.txt",
        [](const QuestionRun& run) -> Forms {
            const std::string line = lastLine(run.question);
            for (long x = 1; x <= 200; ++x) {
                std::string filled = line;
                filled.replace(filled.find('x'), 1, std::to_string(x));
                const auto n = numbersIn(filled, R"(^(\d+):(\d+) = (\d+):(\d+)$)");
                if (number(n[0]) * number(n[3]) == number(n[1]) * number(n[2])) {
                    const std::string v = std::to_string(x);
                    return { v, "x=" + v, "x = " + v };
                }
            }
            ADD_FAILURE() << "no x makes the ratios equal";
            return {};
        } },
    { "608_en_no_menseki.txt",
        [](const QuestionRun& run) -> Forms {
            const auto n = numbersIn(run.question, R"(図の(円|半円)の面積[\s\S]*（(半径|直径) (\d+)cm）)");
            const long r = n[1] == "半径" ? number(n[2]) : number(n[2]) / 2;
            const long area = r * r * 314; // hundredths
            EXPECT_TRUE(n[0] == "円" || area % 2 == 0);
            return { decimalText(n[0] == "円" ? area : area / 2, 2) };
        } },
    { "609_hayasa.txt",
        [](const QuestionRun& run) -> Forms {
            const std::string& q = run.question;
            std::smatch m;
            if (std::regex_search(q, m, std::regex(R"(時速(\d+)kmで走る車が(\d+)時間走ると)")))
                return withUnit(std::stol(m[1]) * std::stol(m[2]), "km");
            if (std::regex_search(q, m, std::regex(R"((\d+)kmの道のりを(\d+)時間で)"))) {
                EXPECT_EQ(std::stol(m[1]) % std::stol(m[2]), 0);
                const std::string v = std::to_string(std::stol(m[1]) / std::stol(m[2]));
                return { v, "時速" + v + "km" };
            }
            const auto n = numbersIn(q, R"(時速(\d+)kmで走る車が(\d+)km進むには)");
            EXPECT_EQ(number(n[1]) % number(n[0]), 0);
            return withUnit(number(n[1]) / number(n[0]), "時間");
        } },
    { "610_bunsoku_byousoku.txt",
        [](const QuestionRun& run) -> Forms {
            std::smatch m;
            const std::string& q = run.question;
            auto speed = [](const std::string& prefix, const Rational& v, const std::string& unit) {
                const std::string a = integerText(v);
                return Forms { a, a + unit, prefix + a + unit };
            };
            if (std::regex_search(q, m, std::regex(R"(^時速(\d+)kmは分速何m)")))
                return speed("分速", evaluate(m[1].str() + "×1000÷60"), "m");
            if (std::regex_search(q, m, std::regex(R"(^分速(\d+)mは時速何km)")))
                return speed("時速", evaluate(m[1].str() + "×60÷1000"), "km");
            if (std::regex_search(q, m, std::regex(R"(^秒速(\d+)mは分速何m)")))
                return speed("分速", evaluate(m[1].str() + "×60"), "m");
            if (std::regex_search(q, m, std::regex(R"(^秒速(\d+)mは時速何km)")))
                return speed("時速", evaluate(m[1].str() + "×3600÷1000"), "km");
            if (std::regex_search(q, m, std::regex(R"(^(?:分|秒)速(\d+)mで(\d+)(?:分|秒)間(?:歩く|進む)と)"))) {
                const std::string d = integerText(evaluate(m[1].str() + "×" + m[2].str()));
                return { d, d + "m" };
            }
            const auto n = numbersIn(q, R"(^(\d+)mの道のりを分速(\d+)mで進むと)");
            const std::string t = integerText(evaluate(n[0] + "÷" + n[1]));
            return { t, t + "分", t + "分間" };
        } },
    { "611_hirei.txt",
        [](const QuestionRun& run) -> Forms {
            const auto n = numbersIn(run.question, R"(^yはxに比例し、x = (\d+)のときy = (\d+)です。)");
            const Rational a = evaluate(n[0] == "0" ? "0" : n[1] + "÷" + n[0]);
            std::smatch m;
            if (std::regex_search(run.question, m, std::regex(R"(x = (\d+)のときのyの値)"))) {
                const std::string y = integerText(a * evaluate(m[1]));
                return { y, "y=" + y, "y = " + y };
            }
            if (std::regex_search(run.question, m, std::regex(R"(y = (\d+)のときのxの値)"))) {
                const std::string x = integerText(evaluate(m[1]) / a);
                return { x, "x=" + x, "x = " + x };
            }
            return { integerText(a) };
        } },
    { "612_hanpirei.txt",
        [](const QuestionRun& run) -> Forms {
            const auto n = numbersIn(run.question, R"(^yはxに反比例し、x = (\d+)のときy = (\d+)です。)");
            const Rational a = evaluate(n[0] + "×" + n[1]);
            std::smatch m;
            if (std::regex_search(run.question, m, std::regex(R"(x = (\d+)のときのyの値)"))) {
                const std::string y = integerText(a / evaluate(m[1]));
                return { y, "y=" + y, "y = " + y };
            }
            const auto k = numbersIn(run.question, R"(y = (\d+)のときのxの値)");
            const std::string x = integerText(a / evaluate(k[0]));
            return { x, "x=" + x, "x = " + x };
        } },
    { "613_baai_no_kazu.txt",
        [](const QuestionRun& run) -> Forms {
            // Counted by listing every arrangement or choice, not by formula.
            auto arrangements = [](const std::vector<int>& items, int r, bool ordered, bool noLeadingZero) {
                long count = 0;
                std::vector<int> pick;
                std::function<void(std::size_t, unsigned)> walk = [&](std::size_t from, unsigned used) {
                    if (static_cast<int>(pick.size()) == r) {
                        count += !(noLeadingZero && pick.front() == 0);
                        return;
                    }
                    for (std::size_t i = ordered ? 0 : from; i < items.size(); ++i) {
                        if (used & (1u << i))
                            continue;
                        pick.push_back(items[i]);
                        walk(i + 1, used | (1u << i));
                        pick.pop_back();
                    }
                };
                walk(0, 0);
                return count;
            };
            auto range = [](int from, int to) {
                std::vector<int> v;
                for (int i = from; i <= to; ++i)
                    v.push_back(i);
                return v;
            };
            std::smatch m;
            const std::string& q = run.question;
            long v = 0;
            std::string unit = "通り";
            if (std::regex_search(q, m, std::regex(R"(^(\d+)人が1列にならびます)"))) {
                const int n = std::stoi(m[1]);
                v = arrangements(range(1, n), n, true, false);
            } else if (std::regex_search(q, m, std::regex(R"(^1から(\d+)までの[\s\S]*このうち(\d+)まいをならべて)"))) {
                v = arrangements(range(1, std::stoi(m[1])), std::stoi(m[2]), true, false);
            } else if (std::regex_search(q, m, std::regex(R"(^0から(\d+)までの[\s\S]*このうち3まいをならべて3けた)"))) {
                v = arrangements(range(0, std::stoi(m[1])), 3, true, true);
            } else if (std::regex_search(q, m, std::regex(R"(^(\d+)チームで)"))) {
                v = arrangements(range(1, std::stoi(m[1])), 2, false, false);
                unit = "試合";
            } else if (std::regex_search(q, m, std::regex(R"(^(\d+)種類のくだものから、ちがう種類のものを3つ)"))) {
                v = arrangements(range(1, std::stoi(m[1])), 3, false, false);
            } else if (std::regex_search(q, m, std::regex(R"(^(\d+)人の中から、委員長と副委員長)"))) {
                v = arrangements(range(1, std::stoi(m[1])), 2, true, false);
            } else if (std::regex_search(q, m, std::regex(R"(^(\d+)人の中から、2人の代表)"))) {
                v = arrangements(range(1, std::stoi(m[1])), 2, false, false);
            } else {
                const auto n = numbersIn(q, R"(^1まいのコインを(\d+)回投げます)");
                v = 1L << number(n[0]);
            }
            return { std::to_string(v), std::to_string(v) + unit };
        } },
    { "614_daihyouchi.txt",
        [](const QuestionRun& run) -> Forms {
            const auto n = numbersIn(run.question, R"(\n\n((?:\d+、)+\d+)\n\n点数の(平均値|中央値|最ひん値)は)");
            std::vector<long> scores;
            const std::regex digits(R"(\d+)");
            for (std::sregex_iterator i(n[0].begin(), n[0].end(), digits), end; i != end; ++i)
                scores.push_back(std::stol(i->str()));
            std::sort(scores.begin(), scores.end());
            const long count = static_cast<long>(scores.size());
            long tenths = 0;
            if (n[1] == "平均値") {
                const long total = std::accumulate(scores.begin(), scores.end(), 0L);
                EXPECT_EQ(total * 10 % count, 0);
                tenths = total * 10 / count;
            } else if (n[1] == "中央値") {
                tenths = (scores[(count - 1) / 2] + scores[count / 2]) * 5;
            } else {
                std::map<long, int> times;
                for (long s : scores)
                    ++times[s];
                int most = 0, ties = 0;
                for (const auto& [score, t] : times) {
                    if (t > most) {
                        most = t;
                        tenths = score * 10;
                        ties = 1;
                    } else if (t == most) {
                        ++ties;
                    }
                }
                EXPECT_EQ(ties, 1) << "no single mode";
            }
            const std::string v = decimalText(tenths, 1);
            return { v, v + "点" };
        } },
    // 中1
    { "701_seifu_no_kazu.txt",
        [](const QuestionRun& run) -> Forms {
            const auto n = numbersIn(run.question, R"(\(([+-]\d+)\) ([+-]) \(([+-]\d+)\) =)");
            const long c = n[1] == "+" ? number(n[0]) + number(n[2]) : number(n[0]) - number(n[2]);
            if (c > 0)
                return { std::to_string(c), "+" + std::to_string(c) };
            return { std::to_string(c) };
        } },
    { "702_seifu_jouhou.txt", signedValue },
    { "703_seifu_johou.txt",
        [](const QuestionRun& run) {
            const Rational v = printedValue(run);
            EXPECT_TRUE(v.whole()) << "does not divide exactly";
            return signedForms(v);
        } },
    { "704_ruijou.txt", signedValue },
    { "705_seifu_shisoku.txt", signedValue },
    { "706_soinsuu_bunkai.txt",
        [](const QuestionRun& run) {
            return primeFactorForms(number(numbersIn(run.question, R"((\d+)を素因数分解)")[0]));
        } },
    { "707_shiki_no_atai.txt",
        [](const QuestionRun& run) -> Forms {
            const std::string expression = lastLine(run.question);
            std::smatch m;
            std::map<char, long> values;
            if (std::regex_search(run.question, m, std::regex(R"(^a = (-?\d+)、b = (-?\d+) のとき)"))) {
                values = { { 'a', std::stol(m[1]) }, { 'b', std::stol(m[2]) } };
            } else {
                const auto n = numbersIn(run.question, R"(^x = (-?\d+) のとき)");
                values = { { 'x', number(n[0]) } };
            }
            return signedForms(evaluate(substituted(expression, values)));
        } },
    { "708_douruikou.txt",
        [](const QuestionRun& run) {
            const auto [a, b] = linearIn(lastLine(run.question));
            EXPECT_NE(a.n, 0);
            return linearForms(a.n, b.n);
        } },
    { "709_bunpai_housoku.txt",
        [](const QuestionRun& run) {
            const auto [a, b] = linearIn(lastLine(run.question));
            EXPECT_TRUE(a.whole() && b.whole());
            EXPECT_NE(a.n, 0);
            return linearForms(a.n, b.n);
        } },
    { "710_houteishiki.txt",
        [](const QuestionRun& run) {
            const std::string line = lastLine(run.question);
            const std::size_t equals = line.find(" = ");
            const auto [a, b] = linearIn(line.substr(0, equals) + "-(" + line.substr(equals + 3) + ")");
            const Rational x = Rational { 0, 1 } - b / a;
            EXPECT_TRUE(x.whole()) << "the solution is not a whole number";
            const std::string v = std::to_string(x.n);
            return Forms { "x=" + v, "x = " + v, v };
        } },
    { "711_houteishiki_bunsuu.txt",
        [](const QuestionRun& run) {
            const std::string line = lastLine(run.question);
            const std::size_t equals = line.find(" = ");
            const auto [a, b] = linearIn(line.substr(0, equals) + "-(" + line.substr(equals + 3) + ")");
            const Rational x = Rational { 0, 1 } - b / a;
            EXPECT_FALSE(x.whole()) << "the solution is a whole number";
            const std::string v = std::to_string(x.n) + "/" + std::to_string(x.d);
            return Forms { "x=" + v, "x = " + v, v };
        } },
    { "713_zahyou.txt",
        [](const QuestionRun& run) -> Forms {
            // The point is the one filled red square; grid lines are 80 apart around (500, 500).
            for (const DrawingCommand& c : run.drawing.entries) {
                if (c.kind == DrawingKind::Box && c.red == 255 && utf8(c.text) == "#paint") {
                    const std::string x = std::to_string(((c.x1 + c.x2) / 2 - 500) / 80);
                    const std::string y = std::to_string((500 - (c.y1 + c.y2) / 2) / 80);
                    return { "(" + x + ", " + y + ")", "(" + x + "," + y + ")", x + "," + y, x + ", " + y,
                        "(" + x + "、" + y + ")" };
                }
            }
            ADD_FAILURE() << "no point drawn";
            return {};
        } },
    { "714_ougigata.txt",
        [](const QuestionRun& run) -> Forms {
            const auto n = numbersIn(
                run.question, R"(^図のおうぎ形の(面積|弧の長さ)を求めなさい。\n半径は(\d+)cm、中心角は(\d+)°)");
            const long r = number(n[1]), angle = number(n[2]);
            const Rational k = n[0] == "面積" ? evaluate(n[1] + "×" + n[1] + "×" + n[2] + "÷360")
                                              : evaluate("2×" + n[1] + "×" + n[2] + "÷360");
            EXPECT_TRUE(k.whole()) << "not a whole multiple of π";
            // Drawn to the angle: the first line is the right-hand radius, the last the other one.
            const auto& e = run.drawing.entries;
            const DrawingCommand& first = e.at(0);
            const DrawingCommand& last = e.at(e.size() - 1 - 2); // two labels follow the lines
            // The angle between the two radii, seen from the centre, is the smaller side of a reflex angle.
            EXPECT_NEAR(angleAt(first.x1, first.y1, first.x2, first.y2, last.x2, last.y2),
                angle > 180 ? 360 - angle : angle, 1.5);
            EXPECT_GT(r, 0);
            if (k.n == 1)
                return { "π", "1π" };
            return { std::to_string(k.n) + "π" };
        } },
    // 高校
    { "801_sin.txt", trigValue },
    { "802_cos.txt", trigValue },
    { "803_tan.txt",
        [](const QuestionRun& run) {
            // The tangent grows without bound near 90°: the file keeps to 0°-70° and 110°-180°.
            const long d = number(numbersIn(run.question, R"(tan (\d+)°)")[0]);
            EXPECT_TRUE(d <= 70 || (d >= 110 && d <= 180)) << d << "°";
            return trigValue(run);
        } },
    { "804_chokkaku_sankakkei.txt",
        [](const QuestionRun& run) -> Forms {
            const auto n
                = numbersIn(run.question, R"(AB = (\d+)、∠A = θ = (\d+)°[\s\S]*sin (\d+)° = (0\.\d{4}) として)");
            EXPECT_EQ(n[1], n[2]);
            const long s = scaled(n[3], 4);
            EXPECT_EQ(s, tableValue(std::sin(radians(number(n[1]))))) << "the sine given is not the table's";
            return { decimalText(number(n[0]) * s, 4), fourPlaces(number(n[0]) * s) };
        } },
    { "811_jouyou_taisuu.txt",
        [](const QuestionRun& run) {
            const long x = number(numbersIn(run.question, R"(log_10 (\d+)\n)")[0]);
            return fourPlaceForms(tableValue(std::log10(static_cast<double>(x))));
        } },
    { "812_taisuu_no_atai.txt",
        [](const QuestionRun& run) -> Forms {
            const auto n = numbersIn(run.question, R"(log_(\d+) (\(1/)?(\d+)\)?\n)");
            const long base = number(n[0]), x = number(n[2]);
            long k = 0, power = 1;
            for (; power < x; ++k)
                power *= base;
            EXPECT_EQ(power, x) << "not a power of the base";
            return { std::to_string(n[1].empty() ? k : -k) };
        } },
    { "813_taisuu_no_riyou.txt",
        [](const QuestionRun& run) {
            long x = number(numbersIn(run.question, R"(log_10 (\d+)$)")[0]);
            long twos = 0, threes = 0, tens = 0;
            for (; x % 10 == 0; x /= 10)
                ++tens;
            for (; x % 2 == 0; x /= 2)
                ++twos;
            for (; x % 3 == 0; x /= 3)
                ++threes;
            EXPECT_EQ(x, 1) << "needs a logarithm the question does not give";
            return fourPlaceForms(3010 * twos + 4771 * threes + 10000 * tens);
        } },
};

// Names the file when a row fails, instead of the bytes of the row.
void PrintTo(const Derivation& derivation, std::ostream* out) { *out << derivation.file; }

class AnswerDerivation : public ::testing::TestWithParam<Derivation> { };

TEST_P(AnswerDerivation, ScriptAnswerMatchesTheQuestion)
{
    QuestionFile file(GetParam().file);
    for (int i = 0; i < runsPerFile; ++i) {
        const QuestionRun run = file.run();
        SCOPED_TRACE(run.question + "  ->  " + run.answerText);
        const Forms forms = GetParam().expected(run);
        ASSERT_FALSE(forms.empty());
        ASSERT_EQ(run.answers.front(), forms.front()) << "the answer shown as correct";
        for (const std::string& form : forms)
            ASSERT_TRUE(accepts(run, form)) << "not accepted: " << form;
        if (HasFailure())
            return;
    }
}

std::string derivationName(const ::testing::TestParamInfo<Derivation>& info)
{
    std::string name;
    for (const char* c = info.param.file; *c && *c != '.'; ++c)
        name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Questions, AnswerDerivation, ::testing::ValuesIn(derivations), derivationName);

// Every bundled file has its answer worked out above, so a new file cannot slip
// in unchecked.
TEST(AnswerDerivation, CoversEveryBundledFile)
{
    std::set<std::string> derived;
    for (const Derivation& d : derivations)
        derived.insert(d.file);
    for (const std::string& name : bundledFileNames())
        EXPECT_TRUE(derived.contains(name)) << name << " has no derivation";
}

// The helpers above decide what counts as right, so they are checked on their own.
TEST(AnswerDerivation, DecimalFormsAreWrittenAsLearnersWriteThem)
{
    const struct {
        long value;
        int places;
        const char* text;
    } rows[] = { { 62, 2, "0.62" }, { 500, 2, "5" }, { 1230, 2, "12.3" }, { -5000, 4, "-0.5" }, { 7, 4, "0.0007" },
        { 0, 4, "0" } };
    for (const auto& row : rows)
        EXPECT_EQ(decimalText(row.value, row.places), row.text);
    EXPECT_EQ(fourPlaces(8660), "0.8660");
    EXPECT_EQ(fourPlaces(-5000), "-0.5000");
    EXPECT_EQ(fourPlaces(29777), "2.9777");
    EXPECT_EQ(scaled("9.2", 2), 920);
    EXPECT_EQ(scaled("12", 1), 120);
    EXPECT_EQ(fractionForms(14, 8), (Forms { "7/4", "1と3/4" }));
    EXPECT_EQ(fractionForms(6, 3), (Forms { "2" }));
    EXPECT_EQ(primeFactorForms(12), (Forms { "2^2×3", "2^2*3", "2×2×3", "2*2*3" }));
}

} // namespace
} // namespace numbrelle::questions
