#include "tools/NameCheck.h"

#include "script/Numbers.h"
#include "script/Value.h"
#include "script/VariableStore.h"

#include <algorithm>
#include <map>
#include <optional>

namespace numbrelle::runner {

namespace {

// What a field of a statement is to the check.
enum class Role : char {
    Target = 't', // receives a value: a misspelling stores nothing
    Number = 'n', // read as a number: a text that is no variable faults
    Value = 'v', // read as any value: a text may be meant as written
    Written = 'x', // used as written unless a variable has the name (print's text, a box's #paint)
};

// The fields of each statement that splits its operand, in order. Conditions
// (if{, while{) and = are read by their own rules below.
const std::map<Text, std::string>& fieldRoles()
{
    static const std::map<Text, std::string> roles = {
        { u"for{", "tnnn" },
        { u"random", "tnn" },
        { u"=not", "tn" },
        { u"bit=and", "tnn" },
        { u"bit=or", "tnn" },
        { u"bit=xor", "tnn" },
        { u"bit=nand", "tnn" },
        { u"bit=nor", "tnn" },
        { u"=+", "tnn" },
        { u"=-", "tnn" },
        { u"=*", "tnn" },
        { u"=/", "tnn" },
        { u"=^", "tnn" },
        { u"=mod", "tnn" },
        { u"dec=+", "tnn" },
        { u"dec=-", "tnn" },
        { u"dec=*", "tnn" },
        { u"dec=/", "tnn" },
        { u"dec=^", "tnn" },
        { u"=sin", "tn" },
        { u"=cos", "tn" },
        { u"=tan", "tn" },
        { u"=log", "tn" },
        { u"=log10", "tn" },
        { u"=log_", "tnn" },
        { u"line", "nnnnnnnn" },
        { u"square", "nnnnxnnn" },
        { u"circle", "nnnnnnn" },
        { u"print", "xnn" },
    };
    return roles;
}

std::optional<VarType> declaredType(const Text& keyword)
{
    if (keyword == u"int")
        return VarType::Int;
    if (keyword == u"str")
        return VarType::Str;
    if (keyword == u"single")
        return VarType::Single;
    if (keyword == u"bit")
        return VarType::Bit;
    return std::nullopt;
}

// The name a declaration gives: its operand up to the first ":", without the
// closing ",", folded as lookups fold it.
Text declaredName(const Statement& statement)
{
    TextView operand = statement.operand;
    if (!operand.empty())
        operand.remove_suffix(1);
    return FoldName(operand.substr(0, operand.find(u':')));
}

// Full-width ASCII (typed with the input method on) folded to ASCII.
Text widthFolded(const Text& name)
{
    Text folded = name;
    for (char16_t& c : folded) {
        if (c >= u'\uFF01' && c <= u'\uFF5E')
            c = LowerLetter(static_cast<char16_t>(c - 0xFEE0));
    }
    return folded;
}

// Edits (insert, delete, replace, swap of neighbours) between a and b, up to 2.
int editDistance(const Text& a, const Text& b)
{
    const std::size_t n = a.size();
    const std::size_t m = b.size();
    if (n > m + 1 || m > n + 1)
        return 2;
    std::vector<std::vector<int>> d(n + 1, std::vector<int>(m + 1));
    for (std::size_t i = 0; i <= n; ++i)
        d[i][0] = static_cast<int>(i);
    for (std::size_t j = 0; j <= m; ++j)
        d[0][j] = static_cast<int>(j);
    for (std::size_t i = 1; i <= n; ++i) {
        for (std::size_t j = 1; j <= m; ++j) {
            const int cost = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({ d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost });
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return std::min(d[n][m], 2);
}

class NameChecker {
public:
    explicit NameChecker(const StatementList& list)
        : m_list(list)
    {
        for (const Statement& statement : list.entries) {
            if (const std::optional<VarType> type = declaredType(statement.keyword))
                m_declared.emplace(declaredName(statement), *type);
        }
    }

    std::vector<NameWarning> run()
    {
        for (std::size_t i = 0; i < m_list.entries.size(); ++i) {
            m_index = static_cast<std::int32_t>(i);
            checkStatement(m_list.entries[i]);
        }
        return std::move(m_warnings);
    }

private:
    void checkStatement(const Statement& statement)
    {
        const CompiledStatement& compiled = statement.compiled;
        if (!compiled.handler || declaredType(statement.keyword))
            return;
        for (const TemplatePiece& piece : compiled.templ) {
            if (piece.isReference)
                checkReference(piece.reference);
        }
        if (statement.keyword == u"if{" || statement.keyword == u"while{") {
            for (const Ref& side : compiled.fields)
                checkField(side, Role::Value);
            return;
        }
        if (statement.keyword == u"=") {
            checkField(compiled.fields[0], Role::Target);
            // The expanded text is looked up once more; written without a
            // reference, it is the name of the variable to copy or a text.
            if (compiled.templ.size() == 1 && !compiled.templ[0].isReference)
                checkField(compiled.fields[1], Role::Value);
            return;
        }
        const auto roles = fieldRoles().find(statement.keyword);
        if (roles == fieldRoles().end())
            return;
        for (std::size_t f = 0; f < compiled.fields.size() && f < roles->second.size(); ++f)
            checkField(compiled.fields[f], static_cast<Role>(roles->second[f]));
    }

    bool declared(const Text& folded) const { return m_declared.contains(folded); }
    bool declaredAs(const Text& folded, VarType type) const
    {
        auto [first, last] = m_declared.equal_range(folded);
        return std::any_of(first, last, [type](const auto& entry) { return entry.second == type; });
    }
    bool declaredNumeric(const Text& folded) const
    {
        return declaredAs(folded, VarType::Int) || declaredAs(folded, VarType::Single)
            || declaredAs(folded, VarType::Bit);
    }

    // The declared name that folded was most likely meant to be, if any.
    std::optional<Text> likelyMeant(const Text& folded) const
    {
        const Text wide = widthFolded(folded);
        for (const auto& [name, type] : m_declared) {
            if (widthFolded(name) == wide)
                return name;
        }
        if (folded.size() < 3)
            return std::nullopt; // one or two letters are too alike to tell
        for (const auto& [name, type] : m_declared) {
            if (name.size() >= 3 && editDistance(name, folded) <= 1)
                return name;
        }
        return std::nullopt;
    }

    void warn(const std::string& what, const Text& folded)
    {
        std::string line = what;
        if (const std::optional<Text> meant = likelyMeant(folded))
            line += "; did you mean " + utf8(*meant) + "?";
        m_warnings.push_back({ m_index, line });
    }

    // An index after ":" is a number or the name of an int variable.
    void checkIndex(const Ref& ref)
    {
        if (!ref.hasIndex || ParseNumber(ref.indexText) || declaredAs(ref.foldedIndexKey, VarType::Int))
            return;
        warn("index " + utf8(ref.foldedIndexKey) + " of " + utf8(ref.text)
                + " is neither a number nor a declared int variable: the reference faults",
            ref.foldedIndexKey);
    }

    void checkReference(const Ref& ref)
    {
        checkIndex(ref);
        if (ref.isNumber || declared(ref.foldedName))
            return;
        warn("[" + utf8(ref.text) + "] names no declared variable: it shows as its own text", ref.foldedName);
    }

    void checkField(const Ref& ref, Role role)
    {
        if (ref.text.empty())
            return; // an empty field has its own meaning (a default, or a fault the run reports)
        checkIndex(ref);
        switch (role) {
        case Role::Target:
            if (declared(ref.foldedName))
                return;
            warn("target " + utf8(ref.text) + " names no declared variable: nothing is stored", ref.foldedName);
            return;
        case Role::Number:
            if (ref.isNumber || declaredNumeric(ref.foldedName))
                return;
            if (declaredAs(ref.foldedName, VarType::Str))
                warn("operand " + utf8(ref.text) + " is a str variable, which numbers are not read from",
                    ref.foldedName);
            else
                warn("operand " + utf8(ref.text) + " is neither a number nor a declared variable", ref.foldedName);
            return;
        case Role::Value:
            // A compared or assigned text may well be meant as written; only
            // one that looks like a declared name is taken for a misspelling.
            if (ref.isNumber || declared(ref.foldedName) || !likelyMeant(ref.foldedName))
                return;
            warn("operand " + utf8(ref.text) + " names no declared variable and is taken as the text itself",
                ref.foldedName);
            return;
        case Role::Written: return;
        }
    }

    const StatementList& m_list;
    std::multimap<Text, VarType> m_declared;
    std::vector<NameWarning> m_warnings;
    std::int32_t m_index = 0;
};

// Whether each statement lies inside a while or for loop, by the block
// statements around it as written.
std::vector<bool> insideLoops(const StatementList& list)
{
    std::vector<bool> inside(list.entries.size());
    std::vector<bool> open; // per open block: is it a loop
    int loops = 0;
    for (std::size_t i = 0; i < list.entries.size(); ++i) {
        const Text& keyword = list.entries[i].keyword;
        inside[i] = loops > 0;
        if (keyword == u"if{" || keyword == u"while{" || keyword == u"for{") {
            open.push_back(keyword != u"if{");
            loops += open.back() ? 1 : 0;
        } else if (keyword == u"}" && !open.empty()) {
            loops -= open.back() ? 1 : 0;
            open.pop_back();
        }
    }
    return inside;
}

std::string linesText(const StatementList& list, const std::vector<std::int32_t>& indexes)
{
    std::string text;
    for (std::int32_t index : indexes) {
        if (!text.empty())
            text += ", ";
        text += std::to_string(list.entries[static_cast<std::size_t>(index)].line);
    }
    return text;
}

} // namespace

std::vector<NameWarning> checkNames(const StatementList& list) { return NameChecker(list).run(); }

std::vector<NameWarning> declarationsInLoops(const StatementList& list)
{
    std::vector<NameWarning> warnings;
    const std::vector<bool> inside = insideLoops(list);
    for (std::size_t i = 0; i < list.entries.size(); ++i) {
        const Statement& statement = list.entries[i];
        if (!inside[i] || !declaredType(statement.keyword))
            continue;
        warnings.push_back({ static_cast<std::int32_t>(i),
            "declaration of " + utf8(declaredName(statement))
                + " inside a loop: every later pass declares it again, which neither resets it nor changes its "
                  "bound" });
    }
    return warnings;
}

std::vector<NameWarning> repeatedDeclarations(const StatementList& list, const std::vector<int>& timesRan)
{
    // Per name: the declaration statements that ran in the run.
    std::map<Text, std::vector<std::int32_t>> ran;
    for (std::size_t i = 0; i < list.entries.size() && i < timesRan.size(); ++i) {
        if (timesRan[i] > 0 && declaredType(list.entries[i].keyword))
            ran[declaredName(list.entries[i])].push_back(static_cast<std::int32_t>(i));
    }
    std::vector<NameWarning> warnings;
    for (const auto& [name, statements] : ran) {
        if (statements.size() < 2)
            continue; // declared once, or again only by its own loop
        warnings.push_back({ statements[1],
            utf8(name) + " is declared again (lines " + linesText(list, statements)
                + "): only the first declaration is ever used, so a later bound has no effect" });
    }
    std::sort(warnings.begin(), warnings.end(), [](const auto& a, const auto& b) { return a.index < b.index; });
    return warnings;
}

} // namespace numbrelle::runner
