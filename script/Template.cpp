#include "script/Template.h"

namespace numbrelle {

namespace {

// What each escape letter stands for; an unknown letter stands for nothing.
TextView escapeText(char16_t letter)
{
    switch (letter) {
    case u'n': return u"\r\n";
    case u's': return u" ";
    case u't': return u"    ";
    case u'l': return u"(";
    case u'r': return u")";
    case u'q': return u"[";
    case u'w': return u"]";
    case u'd': return u";";
    default: return u"";
    }
}

} // namespace

std::vector<TemplatePiece> CompileTemplate(TextView operand)
{
    std::vector<TemplatePiece> pieces;
    Text literal;
    Text referenceName;
    bool inReference = false;
    const std::size_t end = operand.empty() ? 0 : operand.size() - 1;
    const auto flushLiteral = [&] {
        if (!literal.empty()) {
            pieces.push_back(TemplatePiece { std::move(literal), false, Ref {} });
            literal.clear();
        }
    };
    for (std::size_t i = 0; i < end; ++i) {
        const char16_t c = operand[i];
        if (inReference) {
            if (c == u']') {
                flushLiteral();
                pieces.push_back(TemplatePiece { Text {}, true, Ref(referenceName) });
                inReference = false;
            } else {
                referenceName += c;
            }
        } else if (c == u'\\') {
            // The character after the mark may be the closing ",", which is consumed too.
            if (i + 1 < operand.size())
                literal += escapeText(operand[i + 1]);
            ++i;
        } else if (c == u'$') {
            if (i + 1 < operand.size())
                literal += operand[i + 1];
            ++i;
        } else if (c == u'[') {
            inReference = true;
            referenceName.clear();
        } else {
            literal += c;
        }
    }
    flushLiteral();
    return pieces;
}

} // namespace numbrelle
