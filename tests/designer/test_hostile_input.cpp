// Hostile text typed into the inspector: for a framework colour row (the package's editor), a
// plain toolkit colour row and an integer row, every text of the catalogue below is refused with
// a message that names the property and quotes the text, and changes neither the property nor
// the row. A few are typed for real into the in-place editor.
//
// Texts with direction marks around a valid name are refused: the stored value must never be
// something other than what the row shows, and a name that only looks like "Tomato" is not one.
#include "views/MainWindow.h"
#include "views/PropertyInspector.h"
#include "support/DesignerSupport.h"
#include "views/ValueCombo.h"

#include "host/palmo/PalmoBase.h"
#include "host/rtl/SysUtils.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct HostileText {
    std::string Label;  // what a failure names, since many of the texts do not print
    QString Text;
};

QString WithNul(const char* Before, const char* After)
{
    return QString::fromLatin1(Before) + QChar(0) + QString::fromLatin1(After);
}

QString Utf8(const char* Text)
{
    return QString::fromUtf8(Text);
}

// A text as a failure shows it: printable ASCII as it is, everything else as \uXXXX, at most 40
// characters.
std::string escaped(const QString& Text)
{
    std::string Shown;
    for (qsizetype I = 0; I < Text.size() && I < 40; ++I) {
        const char16_t U = Text[I].unicode();
        if (U >= 0x20 && U < 0x7F) {
            Shown += static_cast<char>(U);
        } else {
            char Code[8];
            std::snprintf(Code, sizeof Code, "\\u%04X", static_cast<unsigned>(U));
            Shown += Code;
        }
    }
    if (Text.size() > 40)
        Shown += "... (" + std::to_string(Text.size()) + " characters)";
    return Shown;
}

std::vector<HostileText> Catalogue()
{
    const QChar HighSurrogate(0xD800);
    const QChar LowSurrogate(0xDC00);
    return {
        {"empty", QString()},
        {"one blank", " "},
        {"blanks", "     "},
        {"tab", "\t"},
        {"no-break space", Utf8("\u00A0")},
        {"ideographic space", Utf8("\u3000")},
        {"newline", "\n"},
        {"plus five", "+5"},
        {"lone minus", "-"},
        {"double minus five", "--5"},
        {"lone plus", "+"},
        {"minus plus five", "-+5"},
        {"plus minus five", "+-5"},
        {"minus blank five", "- 5"},
        {"lone dollar", "$"},
        {"lone hash", "#"},
        {"dollar minus one", "$-1"},
        {"dollar G1", "$G1"},
        {"hash GGGGGG", "#GGGGGG"},
        {"hash five digits", "#12345"},
        {"hash seven digits", "#1234567"},
        {"double hash", "##123456"},
        {"C hex prefix", "0x10"},
        {"dollar and C hex prefix", "$0x10"},
        {"int max plus one", "2147483648"},
        {"int min minus one", "-2147483649"},
        {"nine hex digits", "$100000000"},
        {"nine hex F", "$FFFFFFFFF"},
        {"twenty nines", "99999999999999999999"},
        {"minus twenty nines", "-99999999999999999999"},
        {"2^32", "4294967296"},
        {"10,000 digits", QString(10000, QChar('9'))},
        {"1,000,000 digits", QString(1000000, QChar('9'))},
        {"10,000 letters", QString(10000, QChar('a'))},
        {"1,000,000 letters", QString(1000000, QChar('Z'))},
        {"dollar and 1,000,000 F", QLatin1Char('$') + QString(1000000, QChar('F'))},
        {"NUL inside a name", WithNul("Tom", "ato")},
        {"NUL after a name", WithNul("Tomato", "")},
        {"NUL before a name", WithNul("", "Tomato")},
        {"NUL inside a number", WithNul("12", "3")},
        {"NUL inside a hex number", WithNul("$00", "FF")},
        {"NUL inside a CSS colour", WithNul("#12", "456")},
        {"lone NUL", QString(QChar(0))},
        {"control character", "\x01"},
        {"delete character", "\x7F"},
        {"percent placeholders", "%1%2"},
        {"Arabic-Indic digits", Utf8("\u0661\u0662\u0663")},
        {"extended Arabic-Indic digits", Utf8("\u06F1\u06F2")},
        {"fullwidth digits", Utf8("\uFF11\uFF12\uFF13")},
        {"Devanagari digits", Utf8("\u0967\u0968")},
        {"superscript digits", Utf8("\u00B9\u00B2")},
        {"mathematical bold digits", Utf8("\U0001D7CF\U0001D7D0")},
        {"fullwidth dollar and digits", Utf8("\uFF04\uFF11\uFF10")},
        {"o with diaeresis", Utf8("T\u00F6mato")},
        {"Chinese red", Utf8("\u7EA2")},
        {"fullwidth letters", Utf8("\uFF34\uFF4F\uFF4D\uFF41\uFF54\uFF4F")},
        {"Cyrillic capital Te", Utf8("\u0422omato")},
        {"dotted capital I", Utf8("Wh\u0130te")},
        {"dotless small i", Utf8("Wh\u0131te")},
        {"right-to-left mark before a name", Utf8("\u200FTomato")},
        {"right-to-left marks around a name", Utf8("\u200FTomato\u200F")},
        {"left-to-right mark after a name", Utf8("Tomato\u200E")},
        {"right-to-left embedding around a name", Utf8("\u202BTomato\u202C")},
        {"right-to-left isolate around a name", Utf8("\u2067Tomato\u2069")},
        {"right-to-left override around a name", Utf8("\u202Eotamot\u202C")},
        {"right-to-left mark before a number", Utf8("\u200F12")},
        {"right-to-left mark before a hex number", Utf8("\u200F$0000FF00")},
        {"zero-width joiner inside a name", Utf8("Tom\u200Dato")},
        {"zero-width joiner before a name", Utf8("\u200DTomato")},
        {"zero-width space inside a name", Utf8("Tom\u200Bato")},
        // Built from QChar: QString::fromUtf8 drops a leading byte order mark.
        {"byte order mark before a name", QChar(0xFEFF) + QStringLiteral("Tomato")},
        {"byte order mark inside a name", QStringLiteral("Tom") + QChar(0xFEFF) + QStringLiteral("ato")},
        {"soft hyphen inside a name", Utf8("Tom\u00ADato")},
        {"zero-width joiner inside a number", Utf8("1\u200D2")},
        {"line separator", Utf8("\u2028")},
        {"lone high surrogate", QString(HighSurrogate)},
        {"lone low surrogate", QString(LowSurrogate)},
        {"high surrogate after a name", QStringLiteral("Tomato") + HighSurrogate},
        {"low surrogate before a number", LowSurrogate + QStringLiteral("12")},
        {"surrogates the wrong way round", QString(LowSurrogate) + HighSurrogate},
    };
}

class HostileInputTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Window.loader().isLoaded());
        Window.addControl("TPalmoButton");
        ASSERT_TRUE(Window.selectControl("PalmoButton1"));
        ASSERT_TRUE(Inspector().commitText(Inspector().rowOf("Appearance.Color"), "Teal"));
        ASSERT_TRUE(Inspector().commitText(Inspector().rowOf("Appearance.ShadowColor"), "clMaroon"));
        ASSERT_TRUE(Inspector().commitText(Inspector().rowOf("Appearance.CornerRadius"), "12"));
        Row = Inspector().rowOf(GetParam());
        ASSERT_GE(Row, 0);
    }

    PropertyInspector& Inspector() { return *Window.inspector(); }
    QString RowText() const { return ::RowText(*Window.inspector(), Row); }
    int Stored() const
    {
        const TPalmoButtonAppearance& Button = *ControlNamed<TPalmoButton>(Window, "PalmoButton1")->Appearance();
        const std::string Name = GetParam();
        if (Name == "Appearance.Color")
            return Button.FColor.Value;
        if (Name == "Appearance.ShadowColor")
            return Button.FShadowColor.Value;
        return Button.FCornerRadius;
    }

    // After a refused text: a message naming the property and quoting the text, and nothing else
    // changed.
    void ExpectRefusal(const QString& Text, int Before, const QString& TextBefore)
    {
        const QString Error = Inspector().lastError();
        EXPECT_FALSE(Error.isEmpty()) << "a refused text is reported";
        EXPECT_TRUE(Error.startsWith(QLatin1String(GetParam()))) << "the message names the property: "
                                                                 << Error.left(200).toStdString();
        // Blanks around a typed text are dropped before the property sees it.
        EXPECT_TRUE(Error.contains(QuoteForMessage(Text.trimmed()))) << "the message quotes the text, shortened and escaped";
        EXPECT_EQ(Stored(), Before) << "a refused text changes nothing";
        EXPECT_EQ(RowText(), TextBefore) << "the row still shows the stored value";
        EXPECT_EQ(Inspector().valueTextAt(Row), TextBefore);
    }

    MainWindow Window{CV_PACKAGE_PATH};
    int Row = -1;
};

TEST_P(HostileInputTest, EveryTextOfTheCatalogueIsRefusedAndChangesNothing)
{
    const int Before = Stored();
    const QString TextBefore = RowText();
    ASSERT_FALSE(TextBefore.isEmpty());
    for (const HostileText& Case : Catalogue()) {
        SCOPED_TRACE(Case.Label);
        ASSERT_TRUE(Inspector().commitText(Row, TextBefore)) << "each text starts from the same value";
        EXPECT_FALSE(Inspector().commitText(Row, Case.Text)) << "stored as " << Stored();
        ExpectRefusal(Case.Text, Before, TextBefore);
    }
    // The row still takes good text afterwards, and a good text clears the message.
    const QString Good = std::string(GetParam()) == "Appearance.CornerRadius" ? QStringLiteral("3") : QStringLiteral("$00010203");
    EXPECT_TRUE(Inspector().commitText(Row, Good));
    EXPECT_TRUE(Inspector().lastError().isEmpty());
    EXPECT_EQ(RowText(), Good);
}

// Types Text into a line edit the way a keyboard and an input method deliver it: Latin-1
// characters as key clicks, other printable characters as key events carrying the character, and
// characters a key event cannot insert (format characters such as direction marks, lone
// surrogates) as an input method's committed text.
void TypeInto(QLineEdit* Line, const QString& Text)
{
    for (qsizetype I = 0; I < Text.size(); ++I) {
        const QChar C = Text[I];
        if (C.unicode() >= 0x20 && C.unicode() < 0x7F) {
            QTest::keyClick(Line, C.toLatin1());
            continue;
        }
        QString Unit(C);
        if (C.isHighSurrogate() && I + 1 < Text.size() && Text[I + 1].isLowSurrogate())
            Unit += Text[++I];
        if (Unit.size() == 1 && !C.isPrint()) {
            QInputMethodEvent Commit;
            Commit.setCommitString(Unit);
            QApplication::sendEvent(Line, &Commit);
            continue;
        }
        QKeyEvent Press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, Unit);
        QKeyEvent Release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, Unit);
        QApplication::sendEvent(Line, &Press);
        QApplication::sendEvent(Line, &Release);
    }
}

TEST_P(HostileInputTest, TypedIntoTheInPlaceEditorTheyAreRefusedToo)
{
    Window.show();
    const int Before = Stored();
    const QString TextBefore = RowText();
    const QString Typed[] = {"--5", "+", "$G1", "#GGGGGG", "2147483648", "-2147483649", QString(300, QChar('7')),
                             Utf8("T\u00F6mato"), Utf8("\u7EA2"), Utf8("\uFF11\uFF12\uFF13"),
                             Utf8("\u0661\u0662"), Utf8("\u200FTomato\u200F"), Utf8("Tom\u200Dato"),
                             Utf8("\U0001D7CF\U0001D7D0"), QStringLiteral("12") + QChar(0xD800)};
    for (const QString& Text : Typed) {
        SCOPED_TRACE(escaped(Text));
        // Another row first, so that every text opens a fresh editor on the row under test.
        Inspector().view()->setCurrentIndex(Inspector().valueIndex(Row == 0 ? 1 : 0).siblingAtColumn(0));
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_EQ(ShownEditor(Inspector()), nullptr);
        ValueCombo* Editor = OpenInPlaceEditor(Inspector(), Row);
        ASSERT_NE(Editor, nullptr);
        QLineEdit* Line = Editor->combo()->lineEdit();
        ASSERT_NE(Line, nullptr);
        Line->selectAll();
        TypeInto(Line, Text);
        ASSERT_EQ(Line->text(), Text) << "the whole text arrived in the editor";
        QTest::keyClick(Line, Qt::Key_Return);
        QApplication::processEvents();
        ExpectRefusal(Text, Before, TextBefore);
    }
}

// The message is for a person: short whatever the text, and without raw control characters.
// Shown, it sits in a word-wrapped label and the status bar, where a long unbreakable text costs
// far more memory than its own length.
TEST_P(HostileInputTest, MessagesStayShortAndPrintableWhateverTheText)
{
    // The window stays hidden: shown, an over-long message would be laid out before it is checked.
    const int Before = Stored();
    const QString TextBefore = RowText();
    auto* Label = Window.findChild<QLabel*>("inspectorError");
    ASSERT_NE(Label, nullptr);
    const QString Texts[] = {QString(1000000, QChar('9')), QString(1000000, QChar('Z')), WithNul("12", "3"),
                             QStringLiteral("Tomato\n\x01")};
    for (const QString& Text : Texts) {
        SCOPED_TRACE(escaped(Text));
        ASSERT_TRUE(Inspector().commitText(Row, TextBefore));
        EXPECT_FALSE(Inspector().commitText(Row, Text));
        const QString Error = Inspector().lastError();
        // The row, the text quoted and cut short, the editor's reason and what the row accepts.
        EXPECT_LE(Error.size(), 300) << Error.left(300).toStdString();
        for (const QChar C : Error)
            ASSERT_TRUE(C.unicode() >= 0x20 && C.unicode() != 0x7F) << "raw control character in the message";
        EXPECT_EQ(Label->text(), Error);
        EXPECT_EQ(Stored(), Before);
        EXPECT_EQ(RowText(), TextBefore);
    }
}

// Names are ASCII. Unicode case folding makes some other letters equal to ASCII ones (U+212A
// KELVIN SIGN folds to "k", U+017F LATIN SMALL LETTER LONG S to "s"); a text written with them is
// not the name it resembles and must be refused like "Tömato".
TEST_P(HostileInputTest, LettersThatOnlyFoldToANameAreRefused)
{
    const int Before = Stored();
    const QString TextBefore = RowText();
    const QString Texts[] = {Utf8("\u212Ahaki"), Utf8("Mi\u017FtyRose"), Utf8("\u017Filver"), Utf8("Bi\u017Fque"),
                             Utf8("cl\u017Filver"), Utf8("clBlac\u212A"), Utf8("cl\u017Fky\u0042lue")};
    for (const QString& Text : Texts) {
        SCOPED_TRACE(escaped(Text));
        ASSERT_TRUE(Inspector().commitText(Row, TextBefore));
        EXPECT_FALSE(Inspector().commitText(Row, Text)) << "stored as " << Inspector().valueTextAt(Row).toStdString();
        ExpectRefusal(Text, Before, TextBefore);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, HostileInputTest, ::testing::Values("Appearance.Color", "Appearance.ShadowColor", "Appearance.CornerRadius"),
                         [](const ::testing::TestParamInfo<const char*>& Info) {
                             std::string Name = Info.param;
                             std::replace(Name.begin(), Name.end(), '.', '_');
                             return Name;
                         });

}  // namespace
