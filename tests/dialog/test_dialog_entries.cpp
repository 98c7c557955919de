// The six entries, the track bar and the picked colour kept in step: keystroke by keystroke, as a
// user types, pastes, deletes and drags.
#include "DialogTestSupport.h"

#include <QClipboard>
#include <QGuiApplication>

using namespace dialogtest;

namespace {

class EntryTest : public DialogTest {
protected:
    void SetUp() override { ShowOn(2); }

    // The field an entry shows.
    int FieldOf(const TEdit* Entry) const
    {
        if (Entry == Form.EditHue)
            return Hue(Form);
        if (Entry == Form.EditSat)
            return Sat(Form);
        if (Entry == Form.EditBright)
            return Bright(Form);
        if (Entry == Form.editRed)
            return Red(Form);
        if (Entry == Form.editGreen)
            return Green(Form);
        return Blue(Form);
    }

    std::vector<TEdit*> AllEntries() const
    {
        return {Form.EditHue, Form.EditSat, Form.EditBright, Form.editRed, Form.editGreen, Form.editBlue};
    }

    // Types red, green and blue as a user would: each entry selected and typed over.
    void TypeRGB(const char* Red, const char* Green, const char* Blue)
    {
        Focus(Form.editRed);
        Retype(Form.editRed, Red);
        Focus(Form.editGreen);
        Retype(Form.editGreen, Green);
        Focus(Form.editBlue);
        Retype(Form.editBlue, Blue);
    }
};

// Keystrokes into a cleared entry, and the text the entry shows after each one.
struct TypingRow {
    const char* EntryName;
    const char* Keys;
    std::vector<const char*> TextAfterEachKey;
    int Field;
};

TEST_F(EntryTest, EachKeystrokeIsAcceptedOrUndoneAtOnce)
{
    const TypingRow Rows[] = {
        {"EditHue", "200", {"2", "20", "20"}, 20},
        {"EditHue", "199", {"1", "19", "199"}, 199},
        {"EditSat", "200", {"2", "20", "20"}, 20},
        {"EditSat", "0199", {"0", "1", "19", "199"}, 199},
        {"EditBright", "2000", {"2", "20", "20", "20"}, 20},
        {"editRed", "256", {"2", "25", "25"}, 25},
        {"editGreen", "255", {"2", "25", "255"}, 255},
        {"editBlue", "1x0", {"1", "1", "10"}, 10},
        {"editBlue", "$", {"191"}, 191},
    };
    for (const TypingRow& Row : Rows) {
        SCOPED_TRACE(std::string(Row.EntryName) + " <- " + Row.Keys);
        auto* Entry = Form.findChild<TEdit*>(Row.EntryName);
        ASSERT_NE(Entry, nullptr);
        Focus(Entry);
        ASSERT_EQ(QApplication::focusWidget(), Entry);
        ClearEntry(Entry);
        ASSERT_EQ(Entry->Text(), String());
        for (size_t I = 0; Row.Keys[I]; ++I) {
            QTest::keyClick(Entry, Row.Keys[I]);
            EXPECT_EQ(Entry->Text(), Row.TextAfterEachKey[I]) << "after key " << I;
        }
        EXPECT_EQ(FieldOf(Entry), Row.Field);
        // Put the dialog back where it started for the next row.
        Retype(Form.EditHue, "0");
        Retype(Form.EditSat, "0");
        Retype(Form.EditBright, "150");
    }
}

TEST_F(EntryTest, TypedHueAndSaturationRecomputeRedGreenAndBlue)
{
    Focus(Form.EditHue);
    Retype(Form.EditHue, "50");
    Focus(Form.EditSat);
    Retype(Form.EditSat, "100");
    // Hue 50, saturation 100, brightness 150 is red 143, green 191, blue 96.
    EXPECT_EQ(EntryTexts(), (std::vector<String>{"50", "100", "150", "143", "191", "96"}));
    EXPECT_EQ(PickedColor(Form), 0x0060BF8F);
    const QImage& Swatch = Form.PaintBoxPickedColor->Image();
    EXPECT_EQ(Hex(Pixel(Swatch, 12, 12)), Hex(Rgb(0x0060BF8F)));
}

TEST_F(EntryTest, ADollarTypedBeforeTheDigitsReadsThemAsHexadecimal)
{
    Focus(Form.EditHue);
    Retype(Form.EditHue, "20");
    QTest::keyClick(Form.EditHue, Qt::Key_Home);
    ASSERT_EQ(Form.EditHue->cursorPosition(), 0);
    QTest::keyClick(Form.EditHue, '$');
    EXPECT_EQ(Form.EditHue->Text(), "32");
    EXPECT_EQ(Hue(Form), 32);
}

TEST_F(EntryTest, ALeadingZeroIsRewrittenAwayAlthoughTheValueStaysTheSame)
{
    // "0" typed before "20" makes "020", which reads as 20 again: accepted, and the entry is
    // written anew in decimal, "20", even though hue keeps the value it had.
    Focus(Form.EditHue);
    Retype(Form.EditHue, "20");
    ASSERT_EQ(Hue(Form), 20);
    QTest::keyClick(Form.EditHue, Qt::Key_Home);
    QTest::keyClick(Form.EditHue, '0');
    EXPECT_EQ(Form.EditHue->Text(), "20");
    EXPECT_EQ(Hue(Form), 20);
    // The same on an RGB entry: "0191" is 191, shown as "191".
    Focus(Form.editRed);
    QTest::keyClick(Form.editRed, Qt::Key_Home);
    QTest::keyClick(Form.editRed, '0');
    EXPECT_EQ(Form.editRed->Text(), "191");
    EXPECT_EQ(Red(Form), 191);
    // And on brightness, whose setter also moves the track bar: "0150" is 150.
    Focus(Form.EditBright);
    QTest::keyClick(Form.EditBright, Qt::Key_Home);
    QTest::keyClick(Form.EditBright, '0');
    EXPECT_EQ(Form.EditBright->Text(), "150");
    EXPECT_EQ(Form.TrackBright->Position(), 150);
}

TEST_F(EntryTest, PastedHexadecimalIsAcceptedAndShownInDecimal)
{
    Focus(Form.editRed);
    QGuiApplication::clipboard()->setText("$FF");
    QTest::keyClick(Form.editRed, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(Form.editRed, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Form.editRed->Text(), "255");
    EXPECT_EQ(Red(Form), 255);
    // The same three characters typed one by one are refused at the first one.
    Focus(Form.editGreen);
    Retype(Form.editGreen, "$FF");
    EXPECT_EQ(Form.editGreen->Text(), "191");
    EXPECT_EQ(Green(Form), 191);
}

TEST_F(EntryTest, ASignADollarOrALetterIntoAnEmptyEntryIsRefused)
{
    for (TEdit* Entry : AllEntries()) {
        for (const char Key : {'-', '$', 'q', ' '}) {
            SCOPED_TRACE(Entry->objectName().toStdString() + " <- '" + Key + "'");
            const std::vector<String> Before = EntryTexts();
            const int Picked = PickedColor(Form);
            Focus(Entry);
            ClearEntry(Entry);
            QTest::keyClick(Entry, Key);
            EXPECT_EQ(EntryTexts(), Before) << "the entry shows its previous number again";
            EXPECT_EQ(PickedColor(Form), Picked);
        }
    }
}

TEST_F(EntryTest, DeletingTheWholeTextLeavesItEmptyAndChangesNothing)
{
    Focus(Form.EditHue);
    Retype(Form.EditHue, "42");
    const std::vector<TEdit*> Entries = AllEntries();
    for (size_t I = 0; I < Entries.size(); ++I) {
        TEdit* Entry = Entries[I];
        SCOPED_TRACE(Entry->objectName().toStdString());
        const int Field = FieldOf(Entry);
        const int Picked = PickedColor(Form);
        std::vector<String> Expected = EntryTexts();
        Expected[I].clear();
        Focus(Entry);
        ClearEntry(Entry);
        EXPECT_EQ(EntryTexts(), Expected);
        EXPECT_EQ(FieldOf(Entry), Field);
        EXPECT_EQ(PickedColor(Form), Picked);
        // Typing again into the emptied entry works as before.
        Type(Entry, "9");
        EXPECT_EQ(FieldOf(Entry), 9);
        Retype(Entry, QByteArray::number(Field).constData());
    }
}

TEST_F(EntryTest, TheCaretStaysWhereTheUserPutItWhenTheTextIsKept)
{
    Focus(Form.EditHue);
    Retype(Form.EditHue, "5");
    QTest::keyClick(Form.EditHue, Qt::Key_Home);
    QTest::keyClick(Form.EditHue, '1');
    EXPECT_EQ(Form.EditHue->Text(), "15");
    EXPECT_EQ(Form.EditHue->cursorPosition(), 1);
    QTest::keyClick(Form.EditHue, '0');
    EXPECT_EQ(Form.EditHue->Text(), "105");
    EXPECT_EQ(Form.EditHue->cursorPosition(), 2);
    EXPECT_EQ(Hue(Form), 105);
    // A refused keystroke brings the number back.
    QTest::keyClick(Form.EditHue, '9');
    EXPECT_EQ(Form.EditHue->Text(), "105");
    EXPECT_EQ(Hue(Form), 105);
}

// Red, green and blue typed in, and the hue, saturation and brightness entries that follow.
struct RGBRow {
    const char* Red;
    const char* Green;
    const char* Blue;
    const char* Hue;
    const char* Sat;
    const char* Bright;
};

TEST_F(EntryTest, RedGreenAndBlueSetHueSaturationAndBrightness)
{
    const RGBRow Rows[] = {
        {"16", "15", "15", "0", "12", "13"},     // 12.5 rounds to even
        {"80", "33", "33", "0", "117", "63"},    // extended precision: 117, not 118
        {"80", "57", "57", "0", "58", "63"},
        {"80", "31", "31", "0", "122", "63"},
        {"80", "29", "29", "0", "128", "63"},
        {"128", "64", "32", "11", "150", "100"},
        {"255", "0", "255", "167", "200", "200"}, // red and blue share the maximum: red wins
        {"0", "255", "0", "67", "200", "200"},
        {"0", "0", "255", "133", "200", "200"},
        {"255", "255", "0", "33", "200", "200"},
        {"255", "0", "1", "200", "200", "200"},   // a hue of 200 cannot be typed but can be derived
        {"0", "0", "0", "0", "0", "0"},
        {"255", "255", "255", "0", "0", "200"},
    };
    for (const RGBRow& Row : Rows) {
        SCOPED_TRACE(std::string(Row.Red) + "," + Row.Green + "," + Row.Blue);
        TypeRGB(Row.Red, Row.Green, Row.Blue);
        EXPECT_EQ(EntryTexts(), (std::vector<String>{Row.Hue, Row.Sat, Row.Bright, Row.Red, Row.Green, Row.Blue}));
        EXPECT_EQ(Hue(Form), String(Row.Hue).toInt());
        EXPECT_EQ(Sat(Form), String(Row.Sat).toInt());
        EXPECT_EQ(Bright(Form), String(Row.Bright).toInt());
        const int Picked = String(Row.Red).toInt() | String(Row.Green).toInt() << 8 | String(Row.Blue).toInt() << 16;
        EXPECT_EQ(PickedColor(Form), Picked) << "the picked colour is the typed one";
        EXPECT_EQ(Hex(Pixel(Form.PaintBoxPickedColor->Image(), 5, 5)), Hex(Rgb(Picked)));
    }
}

TEST_F(EntryTest, BrightnessOf200FromRGBIsKeptWhileTheTrackBarStopsAt199)
{
    TypeRGB("255", "0", "1");
    EXPECT_EQ(Bright(Form), 200);
    EXPECT_EQ(Form.EditBright->Text(), "200");
    EXPECT_EQ(Form.TrackBright->Position(), 199) << "the slider clamps to its maximum";
    EXPECT_EQ(Form.editRed->Text(), "255") << "the clamped slider changed nothing else";
    // 200 cannot be typed into the brightness entry.
    Focus(Form.EditBright);
    Retype(Form.EditBright, "200");
    EXPECT_EQ(Form.EditBright->Text(), "20");
    EXPECT_EQ(Bright(Form), 20);
    EXPECT_EQ(Form.TrackBright->Position(), 20);
}

TEST_F(EntryTest, OnlyTheEditedColourEntryIsRewritten)
{
    // Green and the saturation entry emptied by the user keep their empty text.
    Focus(Form.editGreen);
    ClearEntry(Form.editGreen);
    Focus(Form.editRed);
    QGuiApplication::clipboard()->setText("$10");
    QTest::keyClick(Form.editRed, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(Form.editRed, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Form.editRed->Text(), "16") << "the edited entry is rewritten in decimal";
    EXPECT_EQ(Form.editGreen->Text(), String()) << "the others keep the user's text";
    EXPECT_EQ(Form.editBlue->Text(), "191");
    EXPECT_EQ(Green(Form), 191);
    // Red 16, green 191, blue 191 rewrites all three HSB entries.
    EXPECT_EQ(Form.EditBright->Text(), "150");
    EXPECT_EQ(Form.EditSat->Text(), "183");
    EXPECT_EQ(Form.EditHue->Text(), "100");
}

TEST_F(EntryTest, EditedHueOrSaturationRewritesTheColourEntriesOnly)
{
    Focus(Form.EditSat);
    ClearEntry(Form.EditSat);
    Focus(Form.EditHue);
    Retype(Form.EditHue, "100");
    EXPECT_EQ(Form.EditSat->Text(), String()) << "the emptied saturation entry is left alone";
    EXPECT_EQ(Sat(Form), 0);
    // Hue 100 at saturation 0 is still grey.
    EXPECT_EQ(Form.editRed->Text(), "191");
    Focus(Form.EditSat);
    Type(Form.EditSat, "200");
    EXPECT_EQ(Form.EditSat->Text(), "20");
    EXPECT_EQ(Form.EditHue->Text(), "100");
    EXPECT_EQ(PickedColor(Form), HSBtoRGB(FractionOf(100, 200), FractionOf(20, 200), FractionOf(150, 200)));
}

TEST_F(EntryTest, TheTrackBarChangesBrightnessAndColourButNotHueOrSaturation)
{
    TypeRGB("255", "0", "1");
    ASSERT_EQ(EntryTexts(), (std::vector<String>{"200", "200", "200", "255", "0", "1"}));
    Form.PaintBoxColor->Repaint();
    const QImage Box = Form.PaintBoxColor->Image().copy();
    const int MarkerX = ViewOfBox(Form).Marker.x();
    const int MarkerY = ViewOfBox(Form).Marker.y();

    Focus(Form.TrackBright);
    ASSERT_EQ(QApplication::focusWidget(), Form.TrackBright);
    QTest::keyClick(Form.TrackBright, Qt::Key_Down);
    EXPECT_EQ(Form.TrackBright->Position(), 198);
    // Hue 200 wraps to red; brightness 198 / 200 gives red 252.
    EXPECT_EQ(EntryTexts(), (std::vector<String>{"200", "200", "198", "252", "0", "0"}));
    EXPECT_EQ(Hue(Form), 200);
    EXPECT_EQ(Sat(Form), 200);
    EXPECT_EQ(Bright(Form), 198);

    QTest::keyClick(Form.TrackBright, Qt::Key_PageDown);
    EXPECT_EQ(Bright(Form), Form.TrackBright->Position());
    EXPECT_EQ(Form.EditBright->Text(), QString::number(Form.TrackBright->Position()));
    // A drag moves the slider's value as setValue does.
    Form.TrackBright->setValue(100);
    EXPECT_EQ(Bright(Form), 100);
    EXPECT_EQ(EntryTexts(), (std::vector<String>{"200", "200", "100", "128", "0", "0"}));
    EXPECT_EQ(PickedColor(Form), 0x000080);

    EXPECT_EQ(ViewOfBox(Form).Marker.x(), MarkerX) << "the marker does not move";
    EXPECT_EQ(ViewOfBox(Form).Marker.y(), MarkerY);
    EXPECT_TRUE(Form.PaintBoxColor->Image() == Box) << "the box is untouched";
}

TEST_F(EntryTest, BrightnessTypedOrDraggedLeavesTheMarkerWhereItIs)
{
    Focus(Form.EditHue);
    Retype(Form.EditHue, "60");
    Form.PaintBoxColor->Repaint();
    const QImage Box = Form.PaintBoxColor->Image().copy();
    Focus(Form.EditBright);
    Retype(Form.EditBright, "90");
    EXPECT_EQ(Form.TrackBright->Position(), 90);
    EXPECT_EQ(Bright(Form), 90);
    EXPECT_TRUE(Form.PaintBoxColor->Image() == Box);
    EXPECT_EQ(ViewOfBox(Form).Marker.x(), 61);
}

// ---- The guard flag -------------------------------------------------------------------------

TEST_F(EntryTest, SettersShowTheirValueWithoutRunningTheEntryHandlers)
{
    const std::vector<String> Before = EntryTexts();
    Form.SetHue(50);
    Form.SetSat(100);
    EXPECT_EQ(Form.EditHue->Text(), "50");
    EXPECT_EQ(Form.EditSat->Text(), "100");
    EXPECT_EQ(Form.editRed->Text(), Before[3]) << "the hue entry's handler stayed out";
    Form.SetRed(10);
    EXPECT_EQ(Form.EditHue->Text(), "50") << "the red entry's handler stayed out";
    Form.SetBright(30);
    EXPECT_EQ(Form.TrackBright->Position(), 30);
    EXPECT_EQ(Form.editGreen->Text(), Before[4]) << "the track bar's handler stayed out";
    EXPECT_FALSE(GuardIsUp(Form));
}

TEST_F(EntryTest, ANestedSetterLeavesTheFlagAsItFoundIt)
{
    std::vector<bool> Seen;
    QObject::connect(Form.EditSat, &TEdit::Change, &Form, [&] {
        Seen.push_back(GuardIsUp(Form));
        if (GuardIsUp(Form)) {
            Form.SetRed(7);
            Seen.push_back(GuardIsUp(Form));
        }
    });
    Form.SetSat(33);
    EXPECT_EQ(Seen, (std::vector<bool>{true, true})) << "raised during the write, kept after the nested setter";
    EXPECT_FALSE(GuardIsUp(Form));
    EXPECT_EQ(Red(Form), 7);
    EXPECT_EQ(Form.editRed->Text(), "7");
}

TEST_F(EntryTest, AHandlerThatRaisesDuringASetterLeavesTheFlagDown)
{
    QObject::connect(Form.EditBright, &TEdit::Change, &Form, [] { throw EConvertError("handler failed"); });
    QObject::connect(Form.TrackBright, &TTrackBar::Change, &Form, [] { throw EConvertError("handler failed"); });
    Form.SetBright(40);
    EXPECT_FALSE(GuardIsUp(Form));
    EXPECT_EQ(Application->ExceptionCount(), 2) << "both reported by the toolkit";
    EXPECT_EQ(Bright(Form), 40);
    EXPECT_EQ(Form.EditBright->Text(), "40");
    // The dialog goes on working.
    Focus(Form.EditHue);
    Retype(Form.EditHue, "12");
    EXPECT_EQ(Hue(Form), 12);
    Application->ClearExceptions();
}

TEST_F(EntryTest, TheFlagIsDownAfterEveryPublicOperation)
{
    const std::pair<const char*, std::function<void()>> Operations[] = {
        {"SetHue", [&] { Form.SetHue(20); }},
        {"SetSat", [&] { Form.SetSat(30); }},
        {"SetBright", [&] { Form.SetBright(250); }},
        {"SetRed", [&] { Form.SetRed(1); }},
        {"SetGreen", [&] { Form.SetGreen(2); }},
        {"SetBlue", [&] { Form.SetBlue(3); }},
        {"SetPickedColor", [&] { Form.SetPickedColor(0x123456); }},
        {"CalcPickedColor(true)", [&] { Form.CalcPickedColor(true); }},
        {"CalcPickedColor(false)", [&] { Form.CalcPickedColor(false); }},
        {"DrawMarker", [&] { Form.DrawMarker(); }},
        {"SetSelectedIdentifier web name", [&] { Form.SetSelectedIdentifier("Tomato"); }},
        {"SetSelectedIdentifier number", [&] { Form.SetSelectedIdentifier("$00102030"); }},
        {"SetSelectedIdentifier bad text", [&] { EXPECT_THROW(Form.SetSelectedIdentifier("nonsense"), EConvertError); }},
        {"Add", [&] { Form.ButtonAdd->click(); }},
        {"track bar", [&] { Form.TrackBright->setValue(10); }},
        {"typing", [&] { Retype(Form.EditHue, "77"); }},
        {"repaint", [&] { Form.PaintBoxColor->Repaint(); }},
    };
    for (const auto& [Name, Operation] : Operations) {
        Operation();
        EXPECT_FALSE(GuardIsUp(Form)) << Name;
    }
}

} // namespace
