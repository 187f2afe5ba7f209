#include "drill/PictureRules.h"

#include "script/Numbers.h"
#include "script/VariableStore.h"

namespace numbrelle {

std::optional<std::int16_t> UnitsToTwips(float heightTwips, std::int16_t units)
{
    const double twips
        = RoundHalfEven(static_cast<double>(heightTwips) / 1000.0 * static_cast<double>(static_cast<float>(units)));
    if (twips < -32768 || twips > 32767)
        return std::nullopt;
    return static_cast<std::int16_t>(twips);
}

bool IsPaint(TextView text) { return FoldName(text) == u"#paint"; }

std::optional<std::int16_t> PenWidth(TextView text)
{
    std::int16_t width = 0;
    if (ToInt16(text, width) != Fault::None || width < 1)
        return std::nullopt;
    return width;
}

int PenWidthAfter(const DrawingCommand& entry, int penWidth)
{
    switch (entry.kind) {
    case DrawingKind::Box:
        if (IsPaint(entry.text))
            return 1;
        return PenWidth(entry.text).value_or(1);
    case DrawingKind::Line:
    case DrawingKind::Circle: return PenWidth(entry.text).value_or(penWidth);
    case DrawingKind::Text: break;
    }
    return penWidth;
}

bool IgnoresPenWidth(const DrawingCommand& entry)
{
    switch (entry.kind) {
    case DrawingKind::Box: return !entry.text.empty() && !IsPaint(entry.text) && !PenWidth(entry.text);
    case DrawingKind::Line:
    case DrawingKind::Circle: return !entry.text.empty() && !PenWidth(entry.text);
    case DrawingKind::Text: break;
    }
    return false;
}

} // namespace numbrelle
