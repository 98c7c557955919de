#include "core/FormColours.h"

#include "host/palmo/PalmoControl.h"

#include <algorithm>

namespace {

bool sameType(const QMetaProperty& property, const QMetaProperty& like)
{
    return FormColours::isColour(property) && property.metaType() == like.metaType() && KindOf(property) == KindOf(like);
}

}  // namespace

namespace FormColours {

bool isColour(const QMetaProperty& property)
{
    const ValueKind kind = KindOf(property);
    return kind == ValueKind::FrameworkColor || kind == ValueKind::ToolkitColor;
}

std::vector<UsedColour> used(const std::vector<TPalmoControl*>& controls, const QMetaProperty& like, int limit)
{
    std::vector<UsedColour> colours;
    if (!isColour(like))
        return colours;
    for (TPalmoControl* control : controls) {
        for (const FormProperty& property : PropertiesOf(control)) {
            if (!property.property.isWritable() || !sameType(property.property, like))
                continue;
            const QVariant value = property.property.read(property.owner);
            const auto found = std::find_if(colours.begin(), colours.end(),
                                            [&](const UsedColour& colour) { return colour.value == value; });
            if (found != colours.end())
                ++found->count;
            else
                colours.push_back({ValueText(property.owner, property.property), value, 1});
        }
    }
    // Stable: among equal counts the form's first use comes first.
    std::stable_sort(colours.begin(), colours.end(),
                     [](const UsedColour& a, const UsedColour& b) { return a.count > b.count; });
    if (limit >= 0 && static_cast<int>(colours.size()) > limit)
        colours.resize(static_cast<std::size_t>(limit));
    return colours;
}

std::vector<ColourHolder> holders(const std::vector<TPalmoControl*>& controls, const QMetaProperty& like,
                                  const QVariant& value)
{
    std::vector<ColourHolder> found;
    if (!isColour(like))
        return found;
    for (TPalmoControl* control : controls)
        for (const FormProperty& property : PropertiesOf(control))
            if (property.property.isWritable() && sameType(property.property, like)
                && property.property.read(property.owner) == value)
                found.push_back({control, property});
    return found;
}

}  // namespace FormColours
