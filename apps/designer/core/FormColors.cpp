#include "core/FormColors.h"

#include "host/palmo/PalmoControl.h"

#include <algorithm>

namespace {

bool sameType(const QMetaProperty& property, const QMetaProperty& like)
{
    return FormColors::isColor(property) && property.metaType() == like.metaType() && kindOf(property) == kindOf(like);
}

}  // namespace

namespace FormColors {

bool isColor(const QMetaProperty& property)
{
    const ValueKind kind = kindOf(property);
    return kind == ValueKind::FrameworkColor || kind == ValueKind::ToolkitColor;
}

std::vector<UsedColor> used(const std::vector<TPalmoControl*>& controls, const QMetaProperty& like, int limit)
{
    std::vector<UsedColor> colours;
    if (!isColor(like))
        return colours;
    for (TPalmoControl* control : controls) {
        for (const FormProperty& property : propertiesOf(control)) {
            if (!property.property.isWritable() || !sameType(property.property, like))
                continue;
            const QVariant value = property.property.read(property.owner);
            const auto found = std::find_if(colours.begin(), colours.end(),
                                            [&](const UsedColor& colour) { return colour.value == value; });
            if (found != colours.end())
                ++found->count;
            else
                colours.push_back({valueText(property.owner, property.property), value, 1});
        }
    }
    // Stable: among equal counts the form's first use comes first.
    std::stable_sort(colours.begin(), colours.end(),
                     [](const UsedColor& a, const UsedColor& b) { return a.count > b.count; });
    if (limit >= 0 && static_cast<int>(colours.size()) > limit)
        colours.resize(static_cast<std::size_t>(limit));
    return colours;
}

std::vector<ColorHolder> holders(const std::vector<TPalmoControl*>& controls, const QMetaProperty& like,
                                  const QVariant& value)
{
    std::vector<ColorHolder> found;
    if (!isColor(like))
        return found;
    for (TPalmoControl* control : controls)
        for (const FormProperty& property : propertiesOf(control))
            if (property.property.isWritable() && sameType(property.property, like)
                && property.property.read(property.owner) == value)
                found.push_back({control, property});
    return found;
}

}  // namespace FormColors
