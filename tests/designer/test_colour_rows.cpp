// Colour rows that help: a text colour row shows its worst contrast and warns below 4.5:1, the
// value list of a colour row starts with the colours the form already uses, and Replace Colour
// changes a colour everywhere on the form as one undo step. Driven through the real inspector.
#include "core/Document.h"
#include "core/FormProperties.h"
#include "views/PropertyDelegate.h"
#include "support/DesignerSupport.h"

#include "host/cvcolor/CVColor.h"
#include "host/palmo/PalmoBase.h"
#include "host/palmo/PalmoPersistent.h"

#include <gtest/gtest.h>

#include <QInputDialog>
#include <QMenu>
#include <QPainter>
#include <QTest>
#include <QUndoStack>

#include <map>

namespace {

class ColourRows : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Window.loader().isLoaded());
        Window.resize(900, 700);
        Window.show();
        Window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Window));
        ASSERT_NE(Window.addControl("TPalmoButton"), nullptr);
    }
    PropertyInspector& Inspector() { return *Window.inspector(); }
    QTreeView* View() { return Inspector().view(); }
    TPalmoButton* Button(const char* Name = "PalmoButton1") { return ControlNamed<TPalmoButton>(Window, Name); }
    int Row(const char* Path) { return Inspector().rowOf(QString::fromLatin1(Path)); }
    QVariant Data(const char* Path, int Role) { return Inspector().valueIndex(Row(Path)).data(Role); }
    static std::map<QString, QString> ValuesOf(QObject* Control)
    {
        std::map<QString, QString> Values;
        for (const FormProperty& P : propertiesOf(Control))
            Values[P.path] = valueText(P.owner, P.property);
        return Values;
    }
    // The value cell of a row as painted.
    QImage Cell(const char* Path)
    {
        const QModelIndex Index = Inspector().valueIndex(Row(Path));
        View()->scrollTo(Index);
        View()->viewport()->repaint();
        return View()->viewport()->grab(View()->visualRect(Index).adjusted(1, 1, -1, -1)).toImage();
    }
    static int Count(const QImage& Image, const QColor& Colour)
    {
        int Found = 0;
        for (int Y = 0; Y < Image.height(); ++Y)
            for (int X = 0; X < Image.width(); ++X)
                Found += Image.pixelColor(X, Y).rgb() == Colour.rgb();
        return Found;
    }
    // Pixels of the right end of a cell that are darker than mid grey (text drawn there).
    static int DarkAtRightEnd(const QImage& Image)
    {
        int Found = 0;
        for (int Y = 0; Y < Image.height(); ++Y)
            for (int X = Image.width() - 40; X < Image.width(); ++X)
                Found += qGray(Image.pixel(X, Y)) < 128;
        return Found;
    }

    MainWindow Window{CV_PACKAGE_PATH};
};

// ---- The contrast of a text colour row ---------------------------------------------------------

TEST_F(ColourRows, ATextColourRowShowsItsWorstRatioAndWarnsBelowTheMinimum)
{
    // The button's caption is drawn on Color and on PressedColor.
    ASSERT_TRUE(Inspector().commitText(Row("Appearance.Color"), "White"));
    ASSERT_TRUE(Inspector().commitText(Row("Appearance.PressedColor"), "Gray"));
    ASSERT_TRUE(Inspector().commitText(Row("Appearance.TextColor"), "Black"));
    View()->setCurrentIndex(Inspector().valueIndex(Row("Left")));

    // Black on white is 21:1, on #808080 5.3172:1 (luminance 0.21586): the worst is 5.31:1.
    EXPECT_EQ(Data("Appearance.TextColor", PropertyModel::ContrastTextRole).toString(), "5.31:1");
    EXPECT_FALSE(Data("Appearance.TextColor", PropertyModel::ContrastFailsRole).toBool());
    EXPECT_FALSE(Data("Appearance.TextColor", Qt::ToolTipRole).isValid());
    EXPECT_FALSE(Data("Appearance.Color", PropertyModel::ContrastTextRole).isValid()) << "a background is no text";
    QImage Text = Cell("Appearance.TextColor");
    const QImage Border = Cell("Appearance.BorderColor");
    ASSERT_GT(Text.width(), 150);
    EXPECT_GT(DarkAtRightEnd(Text), 10) << "the ratio is drawn at the end of the cell";
    EXPECT_EQ(DarkAtRightEnd(Border), 0) << "a row that is no text colour shows no ratio";
    EXPECT_EQ(Count(Text, PropertyDelegate::warningColor()), 0);

    // White on white: 1:1; on #808080 1.05 / 0.26586 = 3.95:1. DimGray (105, 105, 105) is the
    // nearest grey that reaches 4.5:1 on white (Gray, 128, gives 3.95:1).
    ASSERT_TRUE(Inspector().commitText(Row("Appearance.TextColor"), "White"));
    EXPECT_EQ(Data("Appearance.TextColor", PropertyModel::ContrastTextRole).toString(), "1:1 < 4.5:1");
    EXPECT_TRUE(Data("Appearance.TextColor", PropertyModel::ContrastFailsRole).toBool());
    EXPECT_EQ(Data("Appearance.TextColor", Qt::ToolTipRole).toString(),
              "<p>PalmoButton1 Appearance.TextColor (White) on Appearance.Color (White): contrast 1:1 &lt; 4.5:1</p>"
              "<p>PalmoButton1 Appearance.TextColor (White) on Appearance.PressedColor (Gray): contrast 3.94:1 &lt; 4.5:1</p>");
    Text = Cell("Appearance.TextColor");
    EXPECT_GT(Count(Text, PropertyDelegate::warningColor()), 6) << "the warning sign is drawn";
    EXPECT_EQ(Count(Cell("Appearance.BorderColor"), PropertyDelegate::warningColor()), 0);

    // Back to black through the in-place editor: the warning goes.
    ValueCombo* Editor = OpenInPlaceEditor(Inspector(), Row("Appearance.TextColor"));
    ASSERT_NE(Editor, nullptr);
    Editor->combo()->lineEdit()->selectAll();
    QTest::keyClicks(Editor->combo()->lineEdit(), "Black");
    QTest::keyClick(Editor->combo()->lineEdit(), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(Button()->Appearance()->FTextColor.Value, 0);
    EXPECT_FALSE(Data("Appearance.TextColor", PropertyModel::ContrastFailsRole).toBool());
    EXPECT_FALSE(Data("Appearance.TextColor", Qt::ToolTipRole).isValid());
    View()->setCurrentIndex(Inspector().valueIndex(Row("Left")));
    QApplication::processEvents();
    EXPECT_EQ(Count(Cell("Appearance.TextColor"), PropertyDelegate::warningColor()), 0);

    // A darker background fails black text: the warning comes back and names it.
    ASSERT_TRUE(Inspector().commitText(Row("Appearance.PressedColor"), "Navy"));
    EXPECT_TRUE(Data("Appearance.TextColor", PropertyModel::ContrastFailsRole).toBool());
    EXPECT_TRUE(Data("Appearance.TextColor", Qt::ToolTipRole).toString().contains("on Appearance.PressedColor (Navy)"));
    EXPECT_GT(Count(Cell("Appearance.TextColor"), PropertyDelegate::warningColor()), 6);
}

TEST_F(ColourRows, WithSeveralControlsSelectedNoRatioIsShown)
{
    ASSERT_TRUE(Inspector().commitText(Row("Appearance.Color"), "White"));
    ASSERT_TRUE(Inspector().commitText(Row("Appearance.TextColor"), "White"));
    ASSERT_TRUE(Data("Appearance.TextColor", PropertyModel::ContrastFailsRole).toBool());
    TPalmoControl* First = Button();
    TPalmoControl* Second = Window.addControl("TPalmoButton");
    ASSERT_NE(Second, nullptr);
    Window.setSelection({First, Second});
    ASSERT_GE(Row("Appearance.TextColor"), 0);
    EXPECT_FALSE(Data("Appearance.TextColor", PropertyModel::ContrastTextRole).isValid());
    EXPECT_FALSE(Data("Appearance.TextColor", Qt::ToolTipRole).isValid());
    EXPECT_EQ(Count(Cell("Appearance.TextColor"), PropertyDelegate::warningColor()), 0);
}

// ---- The colours the form already uses ---------------------------------------------------------

TEST_F(ColourRows, TheValueListStartsWithTheFormsColoursMostUsedFirst)
{
    // The button's framework colours: Color RoyalBlue, PressedColor MediumBlue, BorderColor and
    // TextColor White after this; its one toolkit colour is ShadowColor, $00808080 (clGray).
    ASSERT_TRUE(Inspector().commitText(Row("Appearance.BorderColor"), "White"));
    ValueCombo* Editor = OpenInPlaceEditor(Inspector(), Row("Appearance.TextColor"));
    ASSERT_NE(Editor, nullptr);
    QComboBox* Combo = Editor->combo();
    QStringList Own;
    Editor->editor()->GetValues([&](const String& S) { Own << S; });
    ASSERT_FALSE(Own.isEmpty());

    ASSERT_EQ(Combo->count(), 1 + 3 + 1 + Own.size());
    EXPECT_EQ(Combo->itemData(0, ValueList::KindRole).toInt(), ValueList::Heading);
    EXPECT_FALSE(Combo->model()->flags(Combo->model()->index(0, 0)) & Qt::ItemIsEnabled);
    const std::pair<const char*, int> Used[] = {{"White", 2}, {"RoyalBlue", 1}, {"MediumBlue", 1}};
    for (int I = 0; I < 3; ++I) {
        EXPECT_EQ(Combo->itemText(1 + I), Used[I].first);
        EXPECT_EQ(Combo->itemData(1 + I, ValueList::KindRole).toInt(), ValueList::UsedLine);
        EXPECT_EQ(Combo->itemData(1 + I, ValueList::CountRole).toInt(), Used[I].second);
    }
    EXPECT_EQ(Combo->itemData(4, ValueList::KindRole).toInt(), ValueList::Separator);
    ASSERT_EQ(FirstEditorLine(Combo), 5);
    QStringList Shown;
    for (int Line = 5; Line < Combo->count(); ++Line)
        Shown << Combo->itemText(Line);
    EXPECT_EQ(Shown, Own) << "the editor's own lines, unchanged and in their order";

    // A used line is drawn by the editor (its swatch) with its count.
    QAbstractItemView* List = Combo->view();
    QStyleOptionViewItem Option;
    Option.initFrom(List);
    Option.rect = QRect(0, 0, 240, 18);
    Option.state &= ~QStyle::State_Selected;
    QImage Line(240, 18, QImage::Format_RGB32);
    Line.fill(Qt::white);
    {
        QPainter Painter(&Line);
        List->itemDelegate()->paint(&Painter, Option, Combo->model()->index(2, 0));
    }
    EXPECT_EQ(Line.pixelColor(9, 9), QColor(65, 105, 225)) << "RoyalBlue's swatch";
    int Dark = 0;
    for (int Y = 0; Y < 18; ++Y)
        for (int X = 200; X < 240; ++X)
            Dark += qGray(Line.pixel(X, Y)) < 128;
    EXPECT_GT(Dark, 5) << "the count at the end of the line";

    // Choosing a used line commits it like any other.
    Combo->showPopup();
    QApplication::processEvents();
    const QRect Medium = List->visualRect(Combo->model()->index(3, 0));
    QTest::mouseClick(List->viewport(), Qt::LeftButton, {}, Medium.center());
    QApplication::processEvents();
    EXPECT_EQ(Button()->Appearance()->FTextColor.Value, CVColorOf("MediumBlue").Value);

    // A toolkit colour row lists the form's toolkit colours only.
    Editor = OpenInPlaceEditor(Inspector(), Row("Appearance.ShadowColor"));
    ASSERT_NE(Editor, nullptr);
    EXPECT_EQ(Editor->combo()->itemText(1), "clGray");
    EXPECT_EQ(Editor->combo()->itemData(1, ValueList::CountRole).toInt(), 1);
    EXPECT_EQ(FirstEditorLine(Editor->combo()), 3);
}

// ---- Replace Colour ----------------------------------------------------------------------------

TEST_F(ColourRows, ReplaceColourChangesEveryHolderAsOneUndoStep)
{
    ASSERT_TRUE(Inspector().commitText(Row("Appearance.BorderColor"), "White"));
    TPalmoButton* Second = qobject_cast<TPalmoButton*>(Window.addControl("TPalmoButton"));
    ASSERT_NE(Second, nullptr);
    TPalmoControl* Toggle = Window.addControl("TPalmoOnOffButton");
    ASSERT_NE(Toggle, nullptr);
    TPalmoControl* Spinner = Window.addControl("TPalmoSpinner");
    ASSERT_TRUE(Inspector().commitText(Row("Slots[1].TextColor"), "White"));
    Window.setSelection({Button()});
    const auto Before1 = ValuesOf(Button());
    const auto Before2 = ValuesOf(Second);
    const auto Before3 = ValuesOf(Toggle);
    const auto Before4 = ValuesOf(Spinner);
    QUndoStack* Stack = Window.document()->undoStack();
    const int Steps = Stack->count();

    // Through the context menu and the dialog, as a user does.
    const QModelIndex Index = Inspector().valueIndex(Row("Appearance.TextColor"));
    View()->scrollTo(Index);
    bool MenuSeen = false;
    QTimer::singleShot(50, [&] {
        auto* Menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(Menu, nullptr);
        auto* Replace = Menu->findChild<QAction*>("replaceColourAction");
        ASSERT_NE(Replace, nullptr);
        MenuSeen = true;
        Menu->setActiveAction(Replace);
        QTest::keyClick(Menu, Qt::Key_Return);
    });
    ModalDriver Driver([](QDialog& Dialog) {
        auto* Input = qobject_cast<QInputDialog*>(&Dialog);
        ASSERT_NE(Input, nullptr);
        EXPECT_EQ(Input->textValue(), "White");
        Input->setTextValue("Navy");
        Input->accept();
    });
    emit View()->customContextMenuRequested(View()->visualRect(Index).center());
    QApplication::processEvents();
    ASSERT_TRUE(MenuSeen);
    EXPECT_EQ(Driver.Shown, 1);

    // White was held by both buttons' TextColor, the first's BorderColor and the toggle's
    // KnobColor: exactly those are Navy now.
    auto Expected1 = Before1, Expected2 = Before2, Expected3 = Before3;
    Expected1["Appearance.TextColor"] = Expected1["Appearance.BorderColor"] = "Navy";
    Expected2["Appearance.TextColor"] = "Navy";
    Expected3["Appearance.KnobColor"] = "Navy";
    auto Expected4 = Before4;
    // An item of a collection holds it too; the spinner's highlight is White by default.
    Expected4["Slots[1].TextColor"] = Expected4["Appearance.HighlightColor"] = "Navy";
    EXPECT_EQ(ValuesOf(Button()), Expected1);
    EXPECT_EQ(ValuesOf(Second), Expected2);
    EXPECT_EQ(ValuesOf(Toggle), Expected3);
    EXPECT_EQ(ValuesOf(Spinner), Expected4);
    EXPECT_EQ(Stack->count(), Steps + 1) << "one step";

    Stack->undo();
    EXPECT_EQ(ValuesOf(Button()), Before1);
    EXPECT_EQ(ValuesOf(Second), Before2);
    EXPECT_EQ(ValuesOf(Toggle), Before3);
    EXPECT_EQ(ValuesOf(Spinner), Before4);
    Stack->redo();
    EXPECT_EQ(ValuesOf(Second), Expected2);

    // A text that is no colour changes nothing and says so.
    EXPECT_FALSE(Inspector().replaceColor(Row("Appearance.TextColor"), "Navyish"));
    EXPECT_FALSE(Inspector().lastError().isEmpty());
    EXPECT_EQ(ValuesOf(Second), Expected2);
    EXPECT_EQ(Stack->count(), Steps + 1);
}

}  // namespace
