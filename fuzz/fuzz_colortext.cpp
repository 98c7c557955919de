// Colour texts under arbitrary input: the framework's colour unit (IdentToCVColor, StringToCVColor,
// CVColorToString) and the colour property editor on a real property, as the property inspector
// hands it typed text.
//
// The input's bytes are read as UTF-8, as Latin-1 and as little-endian UTF-16 code units. Each
// text must be accepted by IdentToCVColor exactly when the lookup below, written from the rules,
// knows it (a web or toolkit name, ASCII letters in either case, or a CSS "#" colour), with the
// same colour, and StringToCVColor must agree with both lookups. Each text is then typed into
// the editor of the "Color" property of two button appearances selected together: it is either
// refused with an exception of the runtime (EPropertyError or another Exception), both properties
// keeping their values and the designer hearing of no change, or stored into both, once; then the
// value text the editor shows is taken by SetValue again and stores the same colour. The same
// text as a colour in a form file must read to the colour SetValue stored, or be refused there
// too: a typed text and a text in a file mean one thing. The first four bytes, read as a 32-bit
// colour, must come back through CVColorToString and the editor as well.
#include "FuzzSupport.h"

#include "editor/CVKZLMOBILEDsnColor.h"

#include "core/FormFile.h"
#include "core/FormModel.h"
#include "core/JsonText.h"

#include "host/palmo/PalmoControls.h"
#include "host/cvcolor/CVColor.h"
#include "host/palmo/PalmoBase.h"
#include "host/vcl/Graphics.h"

#include <QHash>
#include <QMetaProperty>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>

namespace {

using fuzz::HexDigit;
using fuzz::Shown;

class CountingDesigner : public IDesigner {
public:
    void Modified() override { ++Count; }
    int Count = 0;
};

struct EditedProperty {
    TPalmoButtonAppearance First;
    TPalmoButtonAppearance Second;
    CountingDesigner Designer;
    TCVKZLMOBILEColorEditor Editor{&Designer, {&First, &Second}, PropertyOf(&First, "Color")};

    static QMetaProperty PropertyOf(QObject* Object, const char* Name)
    {
        const QMetaObject* Meta = Object->metaObject();
        return Meta->property(Meta->indexOfProperty(Name));
    }

    void Store(TColor A, TColor B)
    {
        First.FColor.Value = A;
        Second.FColor.Value = B;
        Designer.Count = 0;
    }
};

EditedProperty* Edited = nullptr;

// "#RRGGBB" or "#RGB": red first, as CSS writes it; the colour keeps red in its low byte. No name
// of either table starts with "#", so these texts are decided here alone.
std::optional<TColor> CssColor(const QString& S)
{
    if (!S.startsWith(u'#') || (S.size() != 7 && S.size() != 4))
        return std::nullopt;
    const int Width = S.size() == 7 ? 2 : 1;
    std::uint32_t Channels[3] = {};
    for (int Channel = 0; Channel < 3; ++Channel) {
        for (int K = 0; K < Width; ++K) {
            const int Digit = HexDigit(S[1 + Channel * Width + K].unicode());
            if (Digit < 0)
                return std::nullopt;
            Channels[Channel] = Channels[Channel] * 16 + std::uint32_t(Digit);
        }
        if (Width == 1)
            Channels[Channel] *= 0x11;
    }
    return static_cast<TColor>(Channels[2] << 16 | Channels[1] << 8 | Channels[0]);
}

QString AsciiLower(QString S)
{
    for (QChar& C : S)
        if (C.unicode() >= u'A' && C.unicode() <= u'Z')
            C = QChar(char16_t(C.unicode() + (u'a' - u'A')));
    return S;
}

// Every colour name, keyed by its spelling with ASCII letters in lower case, with its colour: the
// web names, then the toolkit's listed names and its two older spellings; a web name wins over a
// toolkit name spelt the same, as the lookup order has it.
QHash<QString, TColor> NamedColors()
{
    QHash<QString, TColor> Names;
    for (int I = 0; I < CVColorCount; ++I)
        Names.insert(AsciiLower(CVColors[I].Name), CVColors[I].Value);
    GetColorValues([&](const String& Name) {
        int Color = 0;
        FUZZ_CHECK(IdentToColor(Name, Color), QStringLiteral("the toolkit lists ") + Shown(Name) + QStringLiteral(" but does not know it"));
        if (!Names.contains(AsciiLower(Name)))
            Names.insert(AsciiLower(Name), Color);
    });
    for (const auto& [Name, Color] : {std::pair{"clltgray", clLtGray}, std::pair{"cldkgray", clDkGray}})
        if (!Names.contains(QLatin1String(Name)))
            Names.insert(QLatin1String(Name), Color);
    return Names;
}

const QHash<QString, TColor>* Names = nullptr;

// What IdentToCVColor accepts: a web or toolkit name whose letters match but for the case of
// ASCII letters (other characters must match exactly), or "#RRGGBB" or "#RGB"; nothing else.
std::optional<TColor> ReferenceIdent(const QString& S)
{
    const auto Found = Names->constFind(AsciiLower(S));
    if (Found != Names->constEnd())
        return *Found;
    return CssColor(S);
}

// The colour a text names or numbers, as IdentToCVColor and then the integer parser read it.
std::optional<TColor> ColorOfText(const QString& S)
{
    int Color = 0;
    if (IdentToCVColor(S, Color) || TryStrToInt(S, Color))
        return Color;
    return std::nullopt;
}

void CheckColourUnit(const QString& S)
{
    const int Untouched = static_cast<int>(0xC01D5EEDu ^ static_cast<std::uint32_t>(S.size()));
    int Ident = Untouched;
    const bool Named = IdentToCVColor(S, Ident);
    FUZZ_CHECK(Named || Ident == Untouched, QStringLiteral("IdentToCVColor refused ") + Shown(S) + QStringLiteral(" but wrote its colour"));

    int Number = 0;
    const bool IsNumber = TryStrToInt(S, Number);
    // The dialog takes its number path only when the name lookup fails.
    FUZZ_CHECK(!(Named && IsNumber), QStringLiteral("IdentToCVColor takes the integer text ") + Shown(S));

    const std::optional<TColor> Reference = ReferenceIdent(S);
    FUZZ_CHECK(Named == Reference.has_value(),
               QStringLiteral("IdentToCVColor ") + (Named ? QStringLiteral("took ") : QStringLiteral("refused ")) + Shown(S));
    FUZZ_CHECK(!Named || Ident == *Reference, Shown(S) + QStringLiteral(" gave %1, expected %2").arg(Ident).arg(Reference.value_or(0)));

    const TColor Expected = Named ? Ident : IsNumber ? Number : clBlack;
    const TColor Converted = StringToCVColor(S);
    FUZZ_CHECK(Converted == Expected, QStringLiteral("StringToCVColor(") + Shown(S) + QStringLiteral(") = %1, expected %2").arg(Converted).arg(Expected));
}

// Stores V through the editor and reads it back: the value text must give V again.
void CheckValueText(TColor V)
{
    const QString Text = CVColorToString(V);
    FUZZ_CHECK(ColorOfText(Text) == V, QStringLiteral("CVColorToString(%1) = ").arg(V) + Shown(Text) + QStringLiteral(" does not read back"));

    Edited->Store(V, V);
    FUZZ_CHECK(Edited->Editor.GetValue() == Text, QStringLiteral("GetValue of %1 is ").arg(V) + Shown(Edited->Editor.GetValue()));
    Edited->Editor.SetValue(Text);
    FUZZ_CHECK(Edited->First.FColor.Value == V && Edited->Second.FColor.Value == V,
               QStringLiteral("SetValue(") + Shown(Text) + QStringLiteral(") stored %1, expected %2").arg(Edited->First.FColor.Value).arg(V));
    FUZZ_CHECK(Edited->Editor.GetValue() == Text, QStringLiteral("value text of %1 changed on storing it again").arg(V));
}

// What SetValue stored for S, none when it refused it.
std::optional<TColor> CheckTypedText(const QString& S, TColor Before1, TColor Before2)
{
    Edited->Store(Before1, Before2);
    FUZZ_CHECK(Edited->Editor.GetVisualValue().isEmpty() == (Before1 != Before2),
               QStringLiteral("visual value of %1 and %2 is ").arg(Before1).arg(Before2) + Shown(Edited->Editor.GetVisualValue()));

    const std::optional<TColor> Expected = ColorOfText(S);
    bool Refused = false;
    try {
        Edited->Editor.SetValue(S);
    } catch (const Exception& E) {
        // EPropertyError or any other runtime error: a message the inspector can show.
        Refused = true;
        FUZZ_CHECK(!E.Message().isEmpty(), QStringLiteral("refusal of ") + Shown(S) + QStringLiteral(" without a message"));
    }
    const TColor After1 = Edited->First.FColor.Value;
    const TColor After2 = Edited->Second.FColor.Value;
    if (Refused) {
        FUZZ_CHECK(!Expected, QStringLiteral("SetValue refused ") + Shown(S) + QStringLiteral(", which names %1").arg(*Expected));
        FUZZ_CHECK(After1 == Before1 && After2 == Before2 && Edited->Designer.Count == 0,
                   QStringLiteral("refused ") + Shown(S) + QStringLiteral(" but changed the properties"));
        return std::nullopt;
    }
    FUZZ_CHECK(Expected, QStringLiteral("SetValue took ") + Shown(S) + QStringLiteral(" as %1").arg(After1));
    FUZZ_CHECK(After1 == *Expected && After2 == *Expected,
               QStringLiteral("SetValue(") + Shown(S) + QStringLiteral(") stored %1 and %2, expected %3").arg(After1).arg(After2).arg(*Expected));
    FUZZ_CHECK(Edited->Designer.Count == 1, QStringLiteral("the designer heard of %1 changes").arg(Edited->Designer.Count));

    const QString Shows = Edited->Editor.GetValue();
    FUZZ_CHECK(Edited->Editor.GetVisualValue() == Shows, QStringLiteral("visual value differs from ") + Shown(Shows));
    Edited->Editor.SetValue(Shows);
    FUZZ_CHECK(Edited->First.FColor.Value == After1 && Edited->Second.FColor.Value == After1,
               QStringLiteral("value text ") + Shown(Shows) + QStringLiteral(" of ") + Shown(S) + QStringLiteral(" stores another colour"));
    return After1;
}

// S as the colour of a form file's button reads to Typed, or is refused as no colour when Typed
// is none. (UTF-8 holds no half of a surrogate pair: such a text goes into the file with U+FFFD
// in its place, which no colour text holds either.)
void CheckFileText(const QString& S, std::optional<TColor> Typed)
{
    QByteArray File = "{\"format\": \"cvform\", \"version\": 1, \"components\": [{\"class\": \"TPalmoButton\", "
                      "\"name\": \"B\", \"properties\": {\"Appearance.Color\": ";
    appendJsonString(File, S);
    File += "}}]}";
    const FormReadResult Read = FormFile::parse(File, QStringLiteral("f"));
    std::optional<TColor> InFile;
    if (Read.form)
        InFile = static_cast<TPalmoButton*>(Read.form->control(0))->Appearance()->FColor.Value;
    else
        FUZZ_CHECK(Read.problems.size() == 1 && Read.problems[0].message.contains(QStringLiteral("is not a colour")),
                   QStringLiteral("the file with ") + Shown(S) + QStringLiteral(" is refused for something else: ") +
                       Shown(Read.messages().join(u'\n')));
    FUZZ_CHECK(InFile == Typed, Shown(S) + QStringLiteral(" typed: %1; in a file: %2")
                                             .arg(Typed ? QString::number(*Typed) : QStringLiteral("refused"),
                                                  InFile ? QString::number(*InFile) : QStringLiteral("refused")));
}

void CheckText(const QString& S, TColor Before1, TColor Before2)
{
    CheckColourUnit(S);
    CheckFileText(S, CheckTypedText(S, Before1, Before2));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    Edited = new EditedProperty;
    Names = new QHash<QString, TColor>(NamedColors());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    const std::uint32_t Bits = fuzz::FirstWord(Data, Size);
    const TColor V = static_cast<TColor>(Bits);
    // A second colour for the other object, mostly different from the first.
    const TColor Other = static_cast<TColor>(Bits * 0x9E3779B1u + (Size % 3 == 0 ? 0 : 1));

    const fuzz::InputTexts Texts = fuzz::TextsOf(Data, Size);
    CheckText(Texts.Utf8, V, Other);
    CheckText(Texts.Latin1, Other, V);
    CheckText(Texts.Utf16, V, V);

    CheckValueText(V);
    return 0;
}
