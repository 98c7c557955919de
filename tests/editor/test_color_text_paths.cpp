// A colour text means one thing: typed into a colour property editor (its SetValue, as the
// inspector hands it what the user typed) and read from a form file, every spelling gives the
// same colour, or is refused by both. The expected colours are worked by hand from the published
// web colour table and the toolkit's colour constants.
#include "editor/CVKZLMOBILEDsnColor.h"

#include "core/FormFile.h"
#include "core/FormModel.h"
#include "core/JsonText.h"

#include "host/designide/VCLEditors.h"
#include "host/palmo/PalmoBase.h"
#include "host/palmo/PalmoControls.h"
#include "host/vcl/Graphics.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

QMetaProperty PropertyOf(QObject* object, const char* name)
{
    const QMetaObject* meta = object->metaObject();
    return meta->property(meta->indexOfProperty(name));
}

// What an editor's SetValue makes of text: the colour it stores, or none when it refuses (and
// then the value it held stays).
std::optional<TColor> Typed(TPropertyEditor& editor, TColor& stored, const QString& text)
{
    constexpr TColor Before = 0x00010203;
    stored = Before;
    try {
        editor.SetValue(text);
    } catch (const std::exception&) {
        EXPECT_EQ(stored, Before) << "a refused text changed the colour";
        return std::nullopt;
    }
    return stored;
}

// What a form file makes of text as the value at path: the colour read, or none when the file is
// refused for it (at that value, as not a colour).
std::optional<TColor> Read(const char* path, const QString& text)
{
    QByteArray file = "{\"format\": \"cvform\", \"version\": 1, \"components\": [{\"class\": \"TPalmoButton\", \"name\": \"B\", "
                      "\"properties\": {\"";
    file += path;
    file += "\": ";
    appendJsonString(file, text);
    file += "}}]}";
    const FormReadResult read = FormFile::parse(file, QStringLiteral("t"));
    if (!read.form) {
        EXPECT_EQ(read.problems.size(), 1u);
        EXPECT_TRUE(read.messages().join(u'\n').contains(QStringLiteral("is not a colour"))) << read.messages().join(u'\n').toStdString();
        return std::nullopt;
    }
    const auto* appearance = static_cast<TPalmoButton*>(read.form->control(0))->Appearance();
    return qstrcmp(path, "Appearance.Color") == 0 ? appearance->FColor.Value : appearance->FShadowColor.Value;
}

struct Spelling {
    const char* text;
    std::optional<TColor> framework;  // Appearance.Color, a TCVColor
    std::optional<TColor> toolkit;    // Appearance.ShadowColor, a toolkit colour
};

constexpr TColor Tomato = 0x4763FF;  // the web's tomato: red FF, green 63, blue 47; red in the low byte
constexpr std::nullopt_t Refused = std::nullopt;

TEST(ColorTextPaths, EverySpellingMeansTheSameTypedAndInAFile)
{
    const Spelling spellings[] = {
        {"Tomato", Tomato, Refused},
        {"tomato", Tomato, Refused},
        {"TOMATO", Tomato, Refused},
        {"Red", 0x0000FF, Refused},
        {"clRed", 0x0000FF, 0x0000FF},
        {"CLRED", 0x0000FF, 0x0000FF},
        {"clbtnface", clBtnFace, clBtnFace},
        {"clWindowText", clWindowText, clWindowText},
        {"$00FF8800", 0xFF8800, 0xFF8800},
        {"$ff8800", 0xFF8800, 0xFF8800},
        {"$0000000000FF", 0xFF, 0xFF},  // leading zeros are no digits of the value
        {"$FFFFFFFF", -1, -1},
        {"$123456789", Refused, Refused},
        {"$", Refused, Refused},
        {"$-1", Refused, Refused},
        {"#FF6347", Tomato, Refused},
        {"#ff6347", Tomato, Refused},
        {"#f63", 0x3366FF, Refused},
        {"#12345", Refused, Refused},
        {"#GG0000", Refused, Refused},
        {"16746496", 16746496, 16746496},
        {"0", 0, 0},
        {"-1", -1, -1},
        {"-2147483648", -2147483647 - 1, -2147483647 - 1},
        {"2147483647", 2147483647, 2147483647},
        {"2147483648", Refused, Refused},
        {"+5", Refused, Refused},
        {"0x10", Refused, Refused},
        {"1.0", Refused, Refused},
        {"Tomatoe", Refused, Refused},
        {"cl", Refused, Refused},
        {"", Refused, Refused},
        {" ", Refused, Refused},
        {" Tomato", Refused, Refused},
        {"Tomato ", Refused, Refused},
        {"12 ", Refused, Refused},
        {"To mato", Refused, Refused},
        {"\"Tomato\"", Refused, Refused},
    };
    TPalmoButtonAppearance appearance;
    TCVKZLMOBILEColorEditor frameworkEditor{nullptr, {&appearance}, PropertyOf(&appearance, "Color")};
    TColorProperty toolkitEditor{nullptr, {&appearance}, PropertyOf(&appearance, "ShadowColor")};
    for (const Spelling& s : spellings) {
        const QString text = QString::fromUtf8(s.text);
        EXPECT_EQ(Typed(frameworkEditor, appearance.FColor.Value, text), s.framework) << "typed as a colour: " << s.text;
        EXPECT_EQ(Read("Appearance.Color", text), s.framework) << "a colour in a file: " << s.text;
        EXPECT_EQ(Typed(toolkitEditor, appearance.FShadowColor.Value, text), s.toolkit) << "typed as a toolkit colour: " << s.text;
        EXPECT_EQ(Read("Appearance.ShadowColor", text), s.toolkit) << "a toolkit colour in a file: " << s.text;
    }
}

}  // namespace
