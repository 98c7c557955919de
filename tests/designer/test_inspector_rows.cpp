// The inspector's rows as a user meets them: controls of different classes edited together through
// every property path they all have, the filter box, a refused text kept in place with its reason,
// a drop-down arrow only where there is a list, and a text colour's contrast ratio that never
// covers the colour's name. Driven by real keys and clicks on the real inspector.
#include "core/Document.h"
#include "views/PropertyDelegate.h"
#include "support/DesignerSupport.h"

#include "host/cvcolor/CVColor.h"
#include "host/palmo/PalmoBase.h"

#include <gtest/gtest.h>

#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUndoStack>

namespace {

// Two classes that share nothing but property names: Color of one type in both, Size of two types.
class ShapeA : public QObject {
    Q_OBJECT
    Q_PROPERTY(int Size MEMBER FSize)
    Q_PROPERTY(TCVColor Color MEMBER FColor)
public:
    int FSize = 1;
    TCVColor FColor{5};
};

class ShapeB : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Size MEMBER FSize)
    Q_PROPERTY(TCVColor Color MEMBER FColor)
public:
    QString FSize = QStringLiteral("big");
    TCVColor FColor{5};
};

// ShapeB's colour takes no number above 100, where ShapeA's takes any.
class PickyColorEditor : public TIntegerProperty {
public:
    using TIntegerProperty::TIntegerProperty;
    void SetValue(const String& Value) override
    {
        if (Value.toInt() > 100)
            throw EPropertyError(String("Above 100"));
        TIntegerProperty::SetValue(Value);
    }
};

// TColor values ($00BBGGRR) of the colour names used below.
constexpr int Navy = 0x800000, Tomato = 0x4763FF, Gold = 0x00D7FF;

class InspectorRows : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Window.loader().isLoaded());
        Window.show();
        Window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Window));
    }
    PropertyInspector& Inspector() { return *Window.inspector(); }
    QTreeView* View() { return Inspector().view(); }
    int Row(const char* Path) { return Inspector().rowOf(QString::fromLatin1(Path)); }
    TPalmoControl* Add(const char* Class) { return Window.addControl(QString::fromLatin1(Class)); }
    // Keys go to the widget that has the focus, as a keyboard's do.
    QWidget* Focus() { return QApplication::focusWidget() ? QApplication::focusWidget() : View(); }
    void Key(int K, Qt::KeyboardModifiers Mods = {})
    {
        QTest::keyClick(Focus(), static_cast<Qt::Key>(K), Mods);
        QApplication::processEvents();
    }
    void Type(const char* Text)
    {
        QTest::keyClicks(Focus(), QString::fromLatin1(Text));
        QApplication::processEvents();
    }
    // A click on the value cell: the in-place editor opens with the value selected.
    ValueCombo* ClickValue(int Row)
    {
        const QModelIndex Value = Inspector().valueIndex(Row);
        View()->scrollTo(Value);
        QTest::mouseClick(View()->viewport(), Qt::LeftButton, {}, View()->visualRect(Value).center());
        QApplication::processEvents();
        return ShownEditor(Inspector());
    }
    bool Shown(const char* Path) { return Inspector().isRowShown(Row(Path)); }

    MainWindow Window{CV_PACKAGE_PATH};
};

TEST_F(InspectorRows, ObjectsOfDifferentClassesShareEveryPathTheyAllHaveWithTheSameType)
{
    struct Case {
        std::vector<const char*> Classes;
        std::vector<std::pair<const char*, bool>> Paths;
    };
    const Case Cases[] = {
        {{"TPalmoButton", "TPalmoListItem"},
         {{"Left", true}, {"Appearance.Color", true}, {"Appearance.TextColor", true}, {"Appearance.ShadowColor", false},
          {"Appearance.SelectedColor", false}, {"Text", false}, {"Name", false}}},
        {{"TPalmoButton", "TPalmoPopup"},
         {{"Appearance.BorderColor", true}, {"Appearance.CornerRadius", false}, {"Appearance.TitleColor", false}}},
        {{"TPalmoSpinner", "TPalmoListItem"},
         {{"Appearance.TextColor", true}, {"Slots.Count", false}, {"Slots[0].Color", false}, {"VisibleRows", false}}},
        {{"TPalmoSpinner", "TPalmoSpinner"}, {{"Slots.Count", true}, {"Slots[1].TextColor", true}}},
        {{"TPalmoTrackbar", "TPalmoOnOffButton"}, {{"Visible", true}, {"Appearance.BorderColor", false}}},
        {{"TPalmoButton", "TPalmoListItem", "TPalmoPageIndicator"}, {{"Hint", true}, {"Appearance.Color", false}}},
    };
    for (const Case& C : Cases) {
        std::vector<TPalmoControl*> Controls;
        for (const char* Class : C.Classes)
            Controls.push_back(Add(Class));
        Window.setSelection(Controls);
        for (const auto& [Path, Expected] : C.Paths)
            EXPECT_EQ(Row(Path) >= 0, Expected) << C.Classes[0] << " and " << C.Classes[1] << ": " << Path;
    }
    RegisterCVColorType();
    ShapeA A;
    ShapeB B;
    Inspector().setObjects({&A, &B});
    EXPECT_GE(Row("Color"), 0);
    EXPECT_EQ(Row("Size"), -1) << "an int and a text are not one property";

    // A colour typed for a button and a list item goes to both as one step; differing values show blank.
    auto* Button = qobject_cast<TPalmoButton*>(Add("TPalmoButton"));
    ASSERT_TRUE(Inspector().commitText(Row("Appearance.Color"), "Navy"));
    auto* Item = qobject_cast<TPalmoListItem*>(Add("TPalmoListItem"));
    ASSERT_TRUE(Inspector().commitText(Row("Appearance.Color"), "Tomato"));
    Window.setSelection({Button, Item});
    const int Color = Row("Appearance.Color");
    EXPECT_EQ(RowText(Inspector(), Color), "");
    QUndoStack* Stack = Window.document()->undoStack();
    const int Steps = Stack->count();
    ASSERT_NE(ClickValue(Color), nullptr);
    Type("Gold");
    Key(Qt::Key_Return);
    EXPECT_EQ(Button->Appearance()->FColor.Value, Gold);
    EXPECT_EQ(Item->Appearance()->FColor.Value, Gold);
    EXPECT_EQ(RowText(Inspector(), Color), "Gold");
    EXPECT_EQ(Stack->count(), Steps + 1);
    Stack->undo();
    EXPECT_EQ(Button->Appearance()->FColor.Value, Navy);
    EXPECT_EQ(Item->Appearance()->FColor.Value, Tomato);

    // The picker opened for both shows the first one's colour; OK gives it to both, as one step.
    ModalDriver Picker([](QDialog& Dialog) { QTest::mouseClick(Dialog.findChild<QPushButton*>("Button1"), Qt::LeftButton); });
    ASSERT_NE(ClickValue(Color), nullptr);
    QTest::mouseClick(ShownEditor(Inspector())->dialogButton(), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Picker.Shown == 1 && !QApplication::activeModalWidget(); }, 5000));
    EXPECT_EQ(Item->Appearance()->FColor.Value, Navy);
    EXPECT_EQ(Stack->count(), Steps + 1);

    // All or nothing: when one class's editor refuses, the other's write is taken back; an object
    // that has gone stops the write before anything is written.
    static const bool Registered = (RegisterPropertyEditor(TypeInfo<TCVColor>(), &ShapeB::staticMetaObject, "Color",
                                                           EditorClassOf<PickyColorEditor>()),
                                    true);
    ASSERT_TRUE(Registered);
    auto* Gone = new ShapeB;
    Inspector().setObjects({&A, &B, Gone});
    ASSERT_TRUE(Inspector().commitText(Row("Color"), "50"));
    EXPECT_FALSE(Inspector().commitText(Row("Color"), "500"));
    EXPECT_EQ(A.FColor.Value, 50);
    EXPECT_EQ(B.FColor.Value, 50);
    delete Gone;
    EXPECT_FALSE(Inspector().commitText(Row("Color"), "7"));
    EXPECT_EQ(A.FColor.Value, 50);
    Inspector().setObjects({});
}

TEST_F(InspectorRows, TheFilterBoxNarrowsTheRowsToMatchingPathsAndEscapeClearsIt)
{
    Add("TPalmoButton");
    const int Rows = Inspector().rowCount();
    View()->setFocus();
    Key(Qt::Key_F, Qt::ControlModifier);
    ASSERT_EQ(QApplication::focusWidget(), Inspector().filterBox());
    EXPECT_EQ(Inspector().filterBox()->placeholderText(), "Filter properties (Ctrl+F)");
    Type("COLOR");
    const std::pair<const char*, bool> Expected[] = {{"Left", false}, {"Name", false}, {"Appearance.Color", true},
                                                     {"Appearance.ShadowColor", true}, {"Appearance.CornerRadius", false}};
    for (const auto& [Path, IsShown] : Expected)
        EXPECT_EQ(Shown(Path), IsShown) << Path;
    const QModelIndex Part = Inspector().valueIndex(Row("Appearance.Color")).parent();
    EXPECT_FALSE(View()->isRowHidden(Part.row(), Part.parent())) << "the part the rows belong to stays";
    EXPECT_EQ(Inspector().rowCount(), Rows) << "the rows are hidden, not gone";
    Type("zz");
    EXPECT_TRUE(View()->isRowHidden(Part.row(), Part.parent())) << "no row matches: the part goes too";

    Key(Qt::Key_Escape);
    EXPECT_EQ(Inspector().filterBox()->text(), "");
    EXPECT_EQ(QApplication::focusWidget(), View());
    EXPECT_TRUE(Shown("Left"));

    // From an open in-place editor too; a row the program makes current is shown again.
    ASSERT_NE(ClickValue(Row("Width")), nullptr);
    Key(Qt::Key_F, Qt::ControlModifier);
    ASSERT_EQ(QApplication::focusWidget(), Inspector().filterBox());
    Type("caption");
    EXPECT_FALSE(Shown("Width"));
    View()->setCurrentIndex(Inspector().valueIndex(Row("Width")));
    EXPECT_EQ(Inspector().filterBox()->text(), "");
    EXPECT_TRUE(Shown("Width"));
}

TEST_F(InspectorRows, ARefusedTextStaysSelectedWithItsReasonUnderItUntilFixedOrLeft)
{
    auto* Button = qobject_cast<TPalmoButton*>(Add("TPalmoButton"));
    ASSERT_TRUE(Inspector().commitText(Row("Appearance.CornerRadius"), "8"));
    enum Leave { Fix, Escape, Down };
    const struct {
        const char* Path;
        const char* Bad;
        Leave How;
        QString Stored;  // the value text afterwards
    } Cases[] = {{"Appearance.CornerRadius", "ten", Fix, "12"},
                 {"Appearance.Color", "#12", Escape, "RoyalBlue"},
                 {"Enabled", "yes", Down, "True"}};
    auto* ErrorLine = Window.findChild<QLabel*>("inspectorError");
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Path);
        const int R = Row(C.Path);
        ValueCombo* Editor = ClickValue(R);
        ASSERT_NE(Editor, nullptr);
        Type(C.Bad);
        Key(Qt::Key_Return);
        ASSERT_EQ(ShownEditor(Inspector()), Editor) << "the editor stays";
        QLineEdit* Line = Editor->combo()->lineEdit();
        EXPECT_EQ(Line->text(), C.Bad);
        EXPECT_EQ(Line->selectedText(), C.Bad);
        QLabel* Message = Editor->messageLabel();
        ASSERT_NE(Message, nullptr);
        EXPECT_TRUE(Message->isVisible());
        EXPECT_TRUE(Inspector().lastError().startsWith(QStringLiteral("%1 = '%2': ").arg(C.Path, C.Bad)));
        EXPECT_EQ(Message->text(), Inspector().lastError());
        // Read in full, next to the editor (under it, or above it at the bottom of the view),
        // within the view.
        EXPECT_GE(Message->height(), Message->heightForWidth(Message->width()));
        EXPECT_TRUE(Message->y() == Editor->geometry().bottom() + 1 || Message->geometry().bottom() + 1 == Editor->y());
        EXPECT_LE(Message->geometry().right(), View()->viewport()->width());
        EXPECT_FALSE(ErrorLine->isVisible()) << "not repeated below the rows";
        EXPECT_EQ(Window.statusBar()->currentMessage(), "");
        EXPECT_EQ(Inspector().valueTextAt(R), C.How == Fix ? "8" : C.Stored);

        if (C.How == Fix) {
            Type(C.Stored.toLatin1().constData());
            Key(Qt::Key_Return);
        } else {
            Key(C.How == Escape ? Qt::Key_Escape : Qt::Key_Down);
        }
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(ShownEditor(Inspector()), nullptr);
        EXPECT_EQ(Inspector().valueTextAt(R), C.Stored);
        EXPECT_EQ(Inspector().lastError(), "");
        EXPECT_EQ(View()->viewport()->findChild<QLabel*>("inPlaceMessage"), nullptr) << "the message went with it";
    }
    EXPECT_EQ(Button->Appearance()->FCornerRadius, 12);

    // Replace Colour's question stays open on a text that is no colour, with the text and why.
    const QModelIndex Index = Inspector().valueIndex(Row("Appearance.Color"));
    QTimer::singleShot(50, [] {
        auto* Menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(Menu, nullptr);
        Menu->setActiveAction(Menu->findChild<QAction*>("replaceColourAction"));
        QTest::keyClick(Menu, Qt::Key_Return);
    });
    ModalDriver Driver([](QDialog& Dialog) {
        auto* Input = qobject_cast<QInputDialog*>(&Dialog);
        ASSERT_NE(Input, nullptr);
        Input->setTextValue("Navyish");
        Input->accept();
        EXPECT_TRUE(Input->isVisible());
        EXPECT_EQ(Input->textValue(), "Navyish");
        EXPECT_EQ(Input->findChild<QLineEdit*>()->selectedText(), "Navyish");
        EXPECT_TRUE(Input->labelText().contains("'Navyish' is not a colour")) << Input->labelText().toStdString();
        EXPECT_TRUE(Input->findChild<QLabel*>()->wordWrap());
        Input->setTextValue("Navy");
        Input->accept();
    });
    emit View()->customContextMenuRequested(View()->visualRect(Index).center());
    QApplication::processEvents();
    EXPECT_EQ(Driver.Shown, 1);
    EXPECT_EQ(Button->Appearance()->FColor.Value, Navy);
}

TEST_F(InspectorRows, OnlyRowsWithAValueListShowADropDownArrow)
{
    Add("TPalmoButton");
    const struct {
        const char* Path;
        bool Arrow;
        bool Dots;
    } Cases[] = {{"Left", false, false}, {"Hint", false, false}, {"Appearance.CornerRadius", false, false},
                 {"Enabled", true, false}, {"Appearance.Color", true, true}, {"Appearance.ShadowColor", true, true}};
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Path);
        ValueCombo* Editor = ClickValue(Row(C.Path));
        ASSERT_NE(Editor, nullptr);
        EXPECT_EQ(Editor->hasValueList(), C.Arrow);
        EXPECT_EQ(Editor->dialogButton() != nullptr, C.Dots);
        // Dark pixels between the text's right end and the frame: the arrow.
        QComboBox* Combo = Editor->combo();
        const QImage Image = Combo->grab().toImage();
        int Dark = 0;
        for (int X = Combo->lineEdit()->geometry().right() + 1; X < Image.width() - 3; ++X)
            for (int Y = 3; Y < Image.height() - 3; ++Y)
                Dark += qGray(Image.pixel(X, Y)) < 100;
        EXPECT_EQ(Dark > 4, C.Arrow) << Dark << " dark pixels";
        EXPECT_EQ(Combo->width() - Combo->lineEdit()->width() > 12, C.Arrow) << "the text takes the arrow's room";
        Key(Qt::Key_Escape);
    }
}

TEST_F(InspectorRows, TheContrastRatioNeverCoversTheColourName)
{
    // A cell 20 high: the sign is 14 wide with 2 on each side; the value needs 150.
    const QFontMetrics Metrics(View()->font());
    const int Ratio = Metrics.horizontalAdvance("2.66:1") + 1;
    const struct {
        int Width;
        bool Fails;
        bool RatioShown;
        bool Elided;
    } Cases[] = {{400, false, true, false}, {400, true, true, false}, {150, true, true, true},
                 {150, false, true, true}, {60, true, false, true}, {30, true, false, true}};
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Width);
        const QRect Cell(10, 0, C.Width, 20);
        const PropertyDelegate::ContrastLayout L = PropertyDelegate::contrastLayout(Cell, 150, Metrics, "2.66:1", C.Fails);
        EXPECT_EQ(L.elided, C.Elided);
        EXPECT_EQ(L.value.left(), 10);
        EXPECT_EQ(!L.ratio.isNull(), C.RatioShown);
        EXPECT_EQ(!L.sign.isNull(), C.Fails) << "the warning mark always stays";
        if (C.RatioShown) {
            EXPECT_EQ(L.ratio, QRect(10 + C.Width - Ratio, 0, Ratio, 20)) << "at the right end";
            EXPECT_LT(L.value.right() + 6, (C.Fails ? L.sign : L.ratio).left());
        }
        if (C.Fails) {
            EXPECT_EQ(L.sign.width(), 18);
            EXPECT_LE(L.sign.right() + 1, C.RatioShown ? L.ratio.left() - 4 : Cell.right() + 1);
            EXPECT_LE(L.value.right() + 6, L.sign.left());
        }
        if (!C.Elided) {
            EXPECT_EQ(L.value.width(), C.Width - 6 - Ratio - (C.Fails ? 22 : 0));
        }
    }

    // Painted in a narrow inspector with a scroll bar, a failing row keeps its sign.
    auto* Button = qobject_cast<TPalmoButton*>(Add("TPalmoButton"));
    ASSERT_TRUE(Inspector().commitText(Row("Appearance.Color"), "White"));
    ASSERT_TRUE(Inspector().commitText(Row("Appearance.TextColor"), "MediumSeaGreen"));
    ASSERT_NE(Button, nullptr);
    Window.resize(600, 300);
    auto* Splitter = qobject_cast<QSplitter*>(Inspector().parentWidget());
    ASSERT_NE(Splitter, nullptr);
    QList<int> Sizes = Splitter->sizes();
    Sizes.back() = 170;
    Splitter->setSizes(Sizes);
    QApplication::processEvents();
    const QModelIndex Index = Inspector().valueIndex(Row("Appearance.TextColor"));
    View()->scrollTo(Index);
    View()->viewport()->repaint();
    ASSERT_TRUE(View()->verticalScrollBar()->isVisible());
    const QImage Cell = View()->viewport()->grab(View()->visualRect(Index)).toImage();
    int Sign = 0;
    for (int Y = 0; Y < Cell.height(); ++Y)
        for (int X = 0; X < Cell.width(); ++X)
            Sign += Cell.pixelColor(X, Y).rgb() == PropertyDelegate::warningColor().rgb();
    EXPECT_GT(Sign, 6);
}

}  // namespace

#include "test_inspector_rows.moc"
