#pragma once
// The colours a form already uses: for one colour type (the framework's TCVColor or the
// toolkit's TColor), every distinct value that properties of that type hold across the form's
// controls, with how many properties hold it; and where a value is held, for replacing it
// everywhere at once. No widget code.

#include "core/FormProperties.h"

#include <QString>
#include <QVariant>

#include <vector>

class TPalmoControl;

struct UsedColor {
    QString text;   // the value as the inspector shows it ("Tomato", "clBtnFace", "$00123456")
    QVariant value; // the stored value
    int count = 0;  // how many properties of the form hold it
};

struct ColorHolder {
    TPalmoControl* control = nullptr;
    FormProperty property;
};

namespace FormColors {

// Whether the property holds a colour (of either type).
bool isColor(const QMetaProperty& property);

// The distinct values the controls' properties of the same colour type as `like` hold, the most
// used first (ties in the order the form first uses them), at most limit of them.
std::vector<UsedColor> used(const std::vector<TPalmoControl*>& controls, const QMetaProperty& like, int limit = 10);

// Every property of the controls of the same colour type as `like` that holds value, control by
// control in form order, each control's properties in propertiesOf order.
std::vector<ColorHolder> holders(const std::vector<TPalmoControl*>& controls, const QMetaProperty& like,
                                  const QVariant& value);

}  // namespace FormColors
