// The picker as a screen reader meets it: every swatch is a cell named by its colour and spoken
// as the cursor reaches it, every entry is named by its label, the brightness bar and the box say
// what they hold, and every Tab stop shows where the keyboard is.
#include "DialogTestSupport.h"

#include "host/cvcolor/CVColor.h"
#include "host/vcl/AccessibleControls.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QTabBar>

#include <algorithm>
#include <cmath>

namespace {

using namespace dialogtest;

// The focus events the picker raises while it lives: the object each one names, the child, and
// the name a screen reader would speak.
class FocusEventSpy {
public:
    struct Seen {
        QObject* Object;
        int Child;
        String Name;
    };
    std::vector<Seen> Events;

    FocusEventSpy()
    {
        SetAccessibleEventTap([this](QAccessibleEvent* Event) {
            if (Event->type() != QAccessible::Focus)
                return;
            QAccessibleInterface* Target = Event->accessibleInterface();
            Events.push_back({Event->object(), Event->child(), Target ? Target->text(QAccessible::Name) : String()});
        });
    }
    ~FocusEventSpy() { SetAccessibleEventTap(nullptr); }
    FocusEventSpy(const FocusEventSpy&) = delete;
    FocusEventSpy& operator=(const FocusEventSpy&) = delete;
};

class AccessibilityTest : public DialogTest {
protected:
    // The name assistive technology gives the grid's child at Index, after checking that it is
    // the focused, selected list item.
    static String FocusedCellName(TDrawGrid* Grid, int Index)
    {
        QAccessibleInterface* Table = QAccessible::queryAccessibleInterface(Grid);
        EXPECT_EQ(Table->role(), QAccessible::List);
        EXPECT_EQ(Table->childCount(), Grid->ColCount() * Grid->RowCount());
        QAccessibleInterface* Cell = Table->child(Index);
        if (!Cell)
            return "(no cell)";
        EXPECT_EQ(Cell->role(), QAccessible::ListItem);
        EXPECT_TRUE(Cell->state().focused && Cell->state().selected);
        EXPECT_EQ(Table->focusChild(), Cell);
        EXPECT_EQ(Table->indexOfChild(Cell), Index);
        return Cell->text(QAccessible::Name);
    }
};

// Walk each grid by keys as a user would; at every step the cell under the cursor is focused,
// named by its own colour, and a focus event carried that name to the screen reader.
TEST_F(AccessibilityTest, ArrowKeysSpeakEveryGridCellByItsColour)
{
    List.Put(1, "$00112233");
    const std::vector<String> Toolkit = ToolkitColorNames();
    struct Case {
        int Page;
        TDrawGrid* Grid;
        std::function<String(int)> Expected;
    };
    const Case Cases[] = {
        {0, Form.WebColorsGrid, [](int I) { return I < WebColorCount ? CVColors[I].Name : String("empty"); }},
        {1, Form.SysColorsGrid, [&](int I) { return I < int(Toolkit.size()) ? Toolkit[I] : String("empty"); }},
        {2, Form.GridCustomColors, [](int I) { return I == 1 ? String("$00112233") : String("empty"); }},
    };
    // Right, Down, End, Home, Ctrl+End: every key moves the cursor, to the last corner at the end.
    const std::pair<Qt::Key, Qt::KeyboardModifiers> Keys[] = {
        {Qt::Key_Right, Qt::NoModifier}, {Qt::Key_Down, Qt::NoModifier}, {Qt::Key_End, Qt::NoModifier},
        {Qt::Key_Home, Qt::NoModifier}, {Qt::Key_End, Qt::ControlModifier}};
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Grid->objectName().toStdString());
        ShowOn(C.Page);
        Focus(Form.Button2);
        FocusEventSpy Spy;
        Focus(C.Grid);
        ASSERT_FALSE(Spy.Events.empty());
        EXPECT_EQ(Spy.Events.back().Name, C.Expected(0)) << "getting the focus speaks the current cell";
        for (const auto& [Key, Modifiers] : Keys) {
            Spy.Events.clear();
            QTest::keyClick(C.Grid, Key, Modifiers);
            const int Index = C.Grid->Row() * C.Grid->ColCount() + C.Grid->Col();
            EXPECT_EQ(FocusedCellName(C.Grid, Index), C.Expected(Index));
            ASSERT_EQ(Spy.Events.size(), 1u);
            EXPECT_EQ(Spy.Events.back().Object, C.Grid);
            EXPECT_EQ(Spy.Events.back().Child, Index);
            EXPECT_EQ(Spy.Events.back().Name, C.Expected(Index));
        }
    }
    // A click moves the cursor as the keys do.
    ShowOn(0);
    FocusEventSpy Spy;
    const TRect Cell = Form.WebColorsGrid->CellRect(5, 2);
    QTest::mouseClick(Form.WebColorsGrid, Qt::LeftButton, {}, QPoint(Cell.Left + 3, Cell.Top + 3));
    ASSERT_FALSE(Spy.Events.empty());
    EXPECT_EQ(Spy.Events.back().Name, CVColors[29].Name);
    QAccessibleInterface* Grid = QAccessible::queryAccessibleInterface(Form.WebColorsGrid);
    const QPoint Global = Form.WebColorsGrid->mapToGlobal(QPoint(Cell.Left + 3, Cell.Top + 3));
    EXPECT_EQ(Grid->childAt(Global.x(), Global.y()), Grid->child(29)) << "the cell under a point";
    EXPECT_EQ(Grid->text(QAccessible::Name), "Web Colors");
}

// The entries are named by the labels beside them, without the colon; the bar and the box by
// what they set, with their values.
TEST_F(AccessibilityTest, EntriesBarAndBoxAreNamedAndSayTheirValues)
{
    ShowOn(0);  // named from the start, also on a page not yet shown
    const std::pair<TEdit*, const char*> Entries[] = {
        {Form.EditHue, "Hue"}, {Form.EditSat, "Sat"}, {Form.EditBright, "Lum"},
        {Form.editRed, "Red"}, {Form.editGreen, "Green"}, {Form.editBlue, "Blue"}};
    for (const auto& [Entry, Name] : Entries) {
        QAccessibleInterface* Object = QAccessible::queryAccessibleInterface(Entry);
        EXPECT_EQ(Object->text(QAccessible::Name), Name);
        EXPECT_EQ(Object->text(QAccessible::Value), Entry->Text());
    }

    QAccessibleInterface* Bar = QAccessible::queryAccessibleInterface(Form.TrackBright);
    EXPECT_EQ(Bar->text(QAccessible::Name), "Brightness");
    ASSERT_NE(Bar->valueInterface(), nullptr);
    EXPECT_EQ(Bar->valueInterface()->currentValue().toInt(), 150);
    EXPECT_EQ(Bar->valueInterface()->maximumValue().toInt(), 199);

    QAccessibleInterface* Box = QAccessible::queryAccessibleInterface(Form.PaintBoxColor);
    EXPECT_EQ(Box->text(QAccessible::Name), "Hue and saturation");
    ASSERT_NE(Box->valueInterface(), nullptr);
    EXPECT_EQ(Box->valueInterface()->currentValue().toString(), "Hue 0, Sat 0");
    // Pixel (51, 101) is hue 50 and saturation 200 - 101 = 99.
    ShowOn(2);
    QTest::mouseClick(Form.PaintBoxColor, Qt::LeftButton, {}, QPoint(51, 101));
    EXPECT_EQ(Box->text(QAccessible::Value), "Hue 50, Sat 99");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(Form.PaintBoxPickedColor)->valueInterface(), nullptr)
        << "a box that says nothing offers no value";
}

// Relative luminance (WCAG 2.x) of a pixel.
double Luminance(QRgb P)
{
    const auto Linear = [](int C) {
        const double S = C / 255.0;
        return S <= 0.03928 ? S / 12.92 : std::pow((S + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * Linear(qRed(P)) + 0.7152 * Linear(qGreen(P)) + 0.0722 * Linear(qBlue(P));
}

// Pixels that change by 3:1 or more between the two pictures: a change one can see.
int VisiblyChanged(const QImage& A, const QImage& B)
{
    int Count = 0;
    for (int Y = 0; Y < A.height(); ++Y)
        for (int X = 0; X < A.width(); ++X) {
            const double LA = Luminance(A.pixel(X, Y));
            const double LB = Luminance(B.pixel(X, Y));
            Count += (std::max(LA, LB) + 0.05) / (std::min(LA, LB) + 0.05) >= 3.0;
        }
    return Count;
}

// Each Tab stop, reached by Tab, looks visibly different than without the keyboard on it: at
// least as many pixels as a swatch is wide change by 3:1 (a blinking caret alone would not do).
TEST_F(AccessibilityTest, EveryTabStopShowsTheFocus)
{
    ShowOn(2);
    std::vector<QWidget*> Stops;
    Focus(Form.PageControl1->tabBar());
    for (QWidget* W = QApplication::focusWidget(); W && Stops.size() < 30;) {
        Stops.push_back(W);
        QTest::keyClick(W, Qt::Key_Tab);
        W = QApplication::focusWidget();
        if (W == Stops.front())
            break;
    }
    ASSERT_EQ(Stops.size(), 12u) << "tab bar, six entries, bar, grid, Add, OK and Cancel";
    for (std::size_t I = 0; I < Stops.size(); ++I) {
        QWidget* Stop = Stops[I];
        SCOPED_TRACE(Stop->objectName().isEmpty() ? Stop->metaObject()->className() : Stop->objectName().toStdString());
        Stops[(I + 1) % Stops.size()]->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        const QImage Without = Stop->grab().toImage();
        Stop->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        EXPECT_GE(VisiblyChanged(Stop->grab().toImage(), Without), 24);
    }
}

}  // namespace
