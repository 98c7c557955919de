#pragma once
// A random form with every writable property of two controls of every class set at random, and
// the check that it saves, reopens and saves again to the same bytes and values.
#include "core/FormFile.h"
#include "core/FormModel.h"
#include "core/FormProperties.h"

#include "host/cvcolor/CVColor.h"
#include "host/palmo/PalmoFactory.h"
#include "host/vcl/Graphics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>

// A random value of the property's kind: colours from the whole 32-bit range or a name, strings
// with quotes, escapes, control characters and characters beyond the Basic Multilingual Plane.
inline void SetRandom(QObject* owner, const QMetaProperty& property, std::mt19937& random)
{
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const auto anyInt = [&] { return static_cast<int>(random()); };
    switch (kindOf(property)) {
    case ValueKind::Integer: {
        const auto [low, high] = integerRange(owner, property);
        const int value = pick(4) == 0 ? static_cast<int>(low + pick(static_cast<int>(std::min<qint64>(high - low + 1, 9))))
                                       : anyInt();
        property.write(owner, static_cast<int>(std::clamp<qint64>(value, low, high)));
        break;
    }
    case ValueKind::Boolean: property.write(owner, pick(2) == 1); break;
    case ValueKind::String: {
        static const char32_t pieces[] = {U'a', U'Z', U'"', U'\\', U'\n', U'\t', U'\x01', U'\x7F', U'é', U'€', U'𝄞', U' ', U'/'};
        std::u32string text;
        for (int n = pick(12); n > 0; --n)
            text += pieces[pick(std::size(pieces))];
        property.write(owner, QString::fromStdU32String(text));
        break;
    }
    case ValueKind::FrameworkColor:
    case ValueKind::ToolkitColor: {
        TColor color = anyInt();
        if (pick(3) == 0)
            color = CVColors[pick(CVColorCount)].Value;
        else if (pick(2) == 0)
            color = clSystemColor | pick(31);
        if (kindOf(property) == ValueKind::FrameworkColor)
            property.write(owner, QVariant::fromValue(TCVColor{color}));
        else
            property.write(owner, QVariant::fromValue(TColorValue{color}));
        break;
    }
    case ValueKind::Unsupported: FAIL() << "a property of a kind form files do not hold: " << property.name();
    }
}

// A form with two controls of every class, every writable property random (collection counts
// first, so their items exist), names random too.
inline std::unique_ptr<FormModel> RandomForm(unsigned seed)
{
    std::mt19937 random(seed);
    auto form = std::make_unique<FormModel>();
    for (int copy = 0; copy < 2; ++copy)
        for (const QString& className : PalmoControlClasses()) {
            TPalmoControl* control = form->add(className);
            if (random() % 2)
                form->rename(control, QStringLiteral("C%1_%2").arg(random()).arg(form->count()));
            for (const bool counts : {true, false})
                for (const FormProperty& property : propertiesOf(control))
                    if (property.property.isWritable() &&
                        (qstrcmp(property.property.name(), "Count") == 0) == counts)
                        SetRandom(property.owner, property.property, random);
        }
    return form;
}

inline void ExpectRoundTrip(unsigned seed)
{
    const std::unique_ptr<FormModel> form = RandomForm(seed);
    const QByteArray saved = FormFile::serialize(*form);
    const FormReadResult reopened = FormFile::parse(saved, QStringLiteral("random.cvform"));
    ASSERT_TRUE(reopened.form) << "seed " << seed << ": " << reopened.messages().join(u'\n').toStdString();
    EXPECT_EQ(FormFile::serialize(*reopened.form), saved) << "seed " << seed;
    // Every value, defaults included, is back.
    EXPECT_EQ(FormFile::dump(*reopened.form), FormFile::dump(*form)) << "seed " << seed;
}
