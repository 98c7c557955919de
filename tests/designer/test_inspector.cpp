// The designer's own path: inspector row -> SetValue -> property -> GetValue, with the package
// loaded for real, and the in-place editor driven by keystrokes.
#include "views/MainWindow.h"
#include "views/PackagesView.h"
#include "views/PropertyInspector.h"
#include "support/DesignerSupport.h"
#include "views/ValueCombo.h"

#include "host/cvcolor/CVColor.h"
#include "host/palmo/PalmoBase.h"
#include "host/vcl/ColorType.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>

namespace {

class InspectorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Window.loader().isLoaded());
        AddOneOfEach(Window);
        ASSERT_TRUE(Window.selectControl("PalmoButton1"));
        Row = Inspector().rowOf("Appearance.Color");
        ASSERT_GE(Row, 0);
    }
    PropertyInspector& Inspector() { return *Window.inspector(); }
    TPalmoButtonAppearance* Button() const { return ControlNamed<TPalmoButton>(Window, "PalmoButton1")->Appearance(); }
    TColor Stored() const { return Button()->FColor.Value; }

    MainWindow Window{CV_PACKAGE_PATH};
    int Row = -1;
};

TEST_F(InspectorTest, EveryWebNameRoundTrips)
{
    for (int I = 0; I < CVColorCount; ++I) {
        SCOPED_TRACE(CVColors[I].Name.toStdString());
        ASSERT_TRUE(Inspector().commitText(Row, CVColors[I].Name.toLower()));
        EXPECT_EQ(Stored(), CVColors[I].Value);
        // The text shown stores the same colour again.
        const QString Shown = Inspector().valueTextAt(Row);
        ASSERT_TRUE(Inspector().commitText(Row, Shown));
        EXPECT_EQ(Stored(), CVColors[I].Value);
    }
}

TEST_F(InspectorTest, EveryToolkitNameAndNumberRoundTrips)
{
    QStringList Names;
    GetColorValues([&](const String& S) { Names << S; });
    for (const QString& Name : Names) {
        SCOPED_TRACE(Name.toStdString());
        int Expected = 0;
        ASSERT_TRUE(IdentToColor(Name, Expected));
        ASSERT_TRUE(Inspector().commitText(Row, Name.toUpper()));
        EXPECT_EQ(Stored(), Expected);
        ASSERT_TRUE(Inspector().commitText(Row, Inspector().valueTextAt(Row)));
        EXPECT_EQ(Stored(), Expected);
    }
    const std::pair<QString, TColor> Numbers[] = {
        {"0", 0}, {"1193046", 0x123456}, {"$00abcdef", 0xABCDEF}, {"$7FFFFFFF", 0x7FFFFFFF},
        {"-1", -1}, {"#336699", 0x996633}, {"#fa0", 0x00AAFF}};
    for (const auto& [Text, Value] : Numbers) {
        SCOPED_TRACE(Text.toStdString());
        ASSERT_TRUE(Inspector().commitText(Row, Text));
        EXPECT_EQ(Stored(), Value);
        ASSERT_TRUE(Inspector().commitText(Row, Inspector().valueTextAt(Row)));
        EXPECT_EQ(Stored(), Value);
    }
}

TEST_F(InspectorTest, RefusedTextsShowAnErrorAndChangeNothing)
{
    ASSERT_TRUE(Inspector().commitText(Row, "Teal"));
    const TColor Before = Stored();
    const QString Bad[] = {"", " ", "+5", "$", "$GG", "12a", "99999999999", "$100000000",
                           QString(10000, QChar('9')), QString::fromUtf8("\u0663\u0664"), "#12", "Tealish"};
    for (const QString& Text : Bad) {
        SCOPED_TRACE(Text.left(20).toStdString());
        EXPECT_FALSE(Inspector().commitText(Row, Text));
        EXPECT_FALSE(Inspector().lastError().isEmpty());
        EXPECT_EQ(Stored(), Before);
        EXPECT_EQ(Inspector().valueTextAt(Row), "Teal");
    }
    EXPECT_TRUE(Inspector().commitText(Row, "Olive"));
    EXPECT_TRUE(Inspector().lastError().isEmpty()) << "a good text clears the message";
}


TEST_F(InspectorTest, TypingIntoTheValueCellStoresTheColour)
{
    Window.show();
    ValueCombo* Editor = OpenInPlaceEditor(Inspector(), Row);
    ASSERT_NE(Editor, nullptr);
    ASSERT_NE(Editor->dialogButton(), nullptr) << "colour rows offer the dialog";
    QLineEdit* Line = Editor->combo()->lineEdit();
    Line->selectAll();
    QTest::keyClicks(Line, "mediumseagreen");
    QTest::keyClick(Line, Qt::Key_Return);
    QApplication::processEvents();
    int Expected = 0;
    ASSERT_TRUE(IdentToCVColor("MediumSeaGreen", Expected));
    EXPECT_EQ(Stored(), Expected);
    EXPECT_EQ(RowText(Inspector(), Row), "MediumSeaGreen");
}

TEST_F(InspectorTest, ValueListShowsToolkitThenWebNamesWithSwatches)
{
    Window.show();
    ValueCombo* Editor = OpenInPlaceEditor(Inspector(), Row);
    ASSERT_NE(Editor, nullptr);
    QComboBox* Combo = Editor->combo();
    QStringList Toolkit;
    GetColorValues([&](const String& S) { Toolkit << S; });
    // The editor's own lines follow the colours the form already uses.
    const int First = FirstEditorLine(Combo);
    ASSERT_EQ(Combo->count() - First, Toolkit.size() + CVColorCount);
    EXPECT_EQ(Combo->itemText(First), Toolkit.front());
    EXPECT_EQ(Combo->itemText(First + Toolkit.size()), CVColors[0].Name);

    // The line of a web colour carries its swatch: paint it and look at the square.
    const int Line = First + Toolkit.size();
    QAbstractItemView* View = Combo->view();
    QStyleOptionViewItem Option;
    Option.initFrom(View);
    Option.rect = QRect(0, 0, 200, 18);
    Option.state &= ~QStyle::State_Selected;
    QImage Image(200, 18, QImage::Format_RGB32);
    Image.fill(Qt::white);
    {
        QPainter Painter(&Image);
        View->itemDelegate()->paint(&Painter, Option, Combo->model()->index(Line, 0));
    }
    EXPECT_EQ(TColorOf(Image.pixelColor(9, 9)), ColorToRGB(CVColors[0].Value));
}

// Clicks the "..." button of a row and plays Steps on the dialog once it is up.
bool RunDialog(PropertyInspector& Inspector, int Row, const std::function<void(QDialog*)>& Steps)
{
    ValueCombo* Editor = OpenInPlaceEditor(Inspector, Row);
    if (!Editor || !Editor->dialogButton())
        return false;
    bool Shown = false;
    QTimer Poll;
    Poll.setInterval(5);
    QObject::connect(&Poll, &QTimer::timeout, [&] {
        if (auto* Dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            Poll.stop();
            Shown = true;
            Steps(Dialog);
        }
    });
    Poll.start();
    QTest::mouseClick(Editor->dialogButton(), Qt::LeftButton);
    return QTest::qWaitFor([&] { return Shown; }, 5000);
}

TEST_F(InspectorTest, TheDotsButtonOpensThePickerAndOnlyOkWrites)
{
    Window.show();
    ASSERT_TRUE(Inspector().commitText(Row, "$00336699"));
    ASSERT_TRUE(RunDialog(Inspector(), Row, [](QDialog* Dialog) {
        EXPECT_EQ(Dialog->windowTitle(), "TCVColor Editor");
        EXPECT_EQ(Dialog->findChild<QLineEdit*>("editRed")->text(), "153");
        // Composing a colour in the entries chooses nothing; Cancel writes nothing either way.
        auto* Hue = Dialog->findChild<QLineEdit*>("EditHue");
        Hue->selectAll();
        QTest::keyClicks(Hue, "50");
        QTest::mouseClick(Dialog->findChild<QPushButton*>("Button2"), Qt::LeftButton);
    }));
    EXPECT_EQ(Stored(), 0x336699);
    ASSERT_TRUE(RunDialog(Inspector(), Row, [](QDialog* Dialog) {
        QTest::mouseClick(Dialog->findChild<QPushButton*>("Button1"), Qt::LeftButton);
    }));
    EXPECT_EQ(Stored(), 0x336699) << "OK without a choice writes the value text back";
    EXPECT_EQ(Inspector().valueTextAt(Row), "$00336699");
    EXPECT_TRUE(Inspector().lastError().isEmpty());
}

TEST_F(InspectorTest, PlainColourPropertyKeepsTheToolkitNames)
{
    const int Shadow = Inspector().rowOf("Appearance.ShadowColor");
    ASSERT_GE(Shadow, 0);
    EXPECT_TRUE(Inspector().commitText(Shadow, "clRed"));
    EXPECT_EQ(Button()->FShadowColor.Value, clRed);
    EXPECT_FALSE(Inspector().commitText(Shadow, "Tomato")) << "web names belong to the framework's colours only";
}

TEST_F(InspectorTest, UnloadingThePackageLeavesPlainEditorsAndReloadingRestoresOurs)
{
    ASSERT_TRUE(Window.packagesView()->unloadPackage());
    EXPECT_FALSE(Window.loader().isLoaded());
    ASSERT_TRUE(Window.selectControl("PalmoPageIndicator1"));
    int ActiveRow = Inspector().rowOf("Appearance.ActiveColor");
    ASSERT_GE(ActiveRow, 0);
    EXPECT_FALSE(Inspector().commitText(ActiveRow, "Tomato")) << "no web names without the package";

    ASSERT_TRUE(Window.packagesView()->loadPackage());
    ActiveRow = Inspector().rowOf("Appearance.ActiveColor");
    EXPECT_TRUE(Inspector().commitText(ActiveRow, "Tomato"));
}

}  // namespace
