// The Contrast view in the designer's window: it lists exactly the failing pairs of the form,
// follows the form as colours change (through the inspector and through property writes), and a
// double-click on a line selects its control and the text property's row in the inspector.
#include "ContrastForms.h"
#include "core/Document.h"
#include "views/ContrastView.h"
#include "views/MainWindow.h"
#include "views/PropertyInspector.h"
#include "views/PropertyModel.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QDockWidget>
#include <QLabel>
#include <QTest>
#include <QTreeView>

namespace {

// The events a double-click sends a widget: press, release, double-click (the second press),
// release. QTest::mouseDClick on a widget sends only the third.
void DoubleClick(QWidget* Widget, QPoint At)
{
    QTest::mousePress(Widget, Qt::LeftButton, {}, At);
    QTest::mouseRelease(Widget, Qt::LeftButton, {}, At);
    QTest::mouseDClick(Widget, Qt::LeftButton, {}, At);
    QTest::mouseRelease(Widget, Qt::LeftButton, {}, At);
}

class ContrastWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        Window.show();
        View = Window.findChild<ContrastView*>("contrastView");
        ASSERT_NE(View, nullptr);
        ASSERT_TRUE(BuildThreeFailures(*Window.form()));
        QApplication::processEvents();
    }

    QString Text(int Row, int Column, int Role = Qt::DisplayRole) const
    {
        return View->lines()->index(Row, Column).data(Role).toString();
    }

    // The view's lines as "control text background ratio".
    QStringList Lines() const
    {
        QStringList Out;
        for (int Row = 0; Row < View->lines()->rowCount(); ++Row)
            Out << QStringList{Text(Row, ContrastView::ControlColumn), Text(Row, ContrastView::TextColumn),
                               Text(Row, ContrastView::BackgroundColumn), Text(Row, ContrastView::MeasureColumn)}
                       .join(u' ');
        return Out;
    }

    MainWindow Window{QStringLiteral(CV_PACKAGE_PATH)};
    ContrastView* View = nullptr;
};

TEST_F(ContrastWindow, ListsExactlyTheFailingPairs)
{
    EXPECT_TRUE(Window.findChild<QDockWidget*>("contrastDock")->isVisible());
    EXPECT_EQ(Lines(), (QStringList{"Button Appearance.TextColor Appearance.PressedColor contrast 3.82:1 < 4.5:1",
                                    "List Appearance.DetailTextColor Appearance.Color contrast 3.94:1 < 4.5:1",
                                    "List Appearance.DetailTextColor Appearance.SelectedColor contrast 1:1 < 4.5:1"}));
    // A line's tooltip is rich text, which Qt wraps, and says the finding and what it measures.
    const QString Tip = Text(1, ContrastView::MeasureColumn, Qt::ToolTipRole);
    EXPECT_TRUE(Tip.startsWith("<p>List Appearance.DetailTextColor (Gray) on Appearance.Color (White): contrast 3.94:1 &lt; 4.5:1</p><p>"))
        << Tip.toStdString();
    EXPECT_TRUE(View->summary()->text().startsWith("3 text colours below 4.5:1")) << View->summary()->text().toStdString();
}

TEST_F(ContrastWindow, FollowsTheFormAsColoursChange)
{
    // Through the inspector, as a user types a colour name.
    ASSERT_TRUE(Window.selectControl("List"));
    PropertyInspector& Inspector = *Window.inspector();
    ASSERT_TRUE(Inspector.commitText(Inspector.rowOf("Appearance.DetailTextColor"), "Black"));
    QApplication::processEvents();
    EXPECT_EQ(Lines(), (QStringList{"Button Appearance.TextColor Appearance.PressedColor contrast 3.82:1 < 4.5:1"}));

    // Through a property write: the popup's title now reads White on White.
    ASSERT_TRUE(SetColor(*Window.form()->find("Note"), "Appearance.Color", "White"));
    ASSERT_TRUE(SetColor(*Window.form()->find("Note"), "Appearance.TextColor", "Black"));
    QApplication::processEvents();
    EXPECT_EQ(Lines(), (QStringList{"Button Appearance.TextColor Appearance.PressedColor contrast 3.82:1 < 4.5:1",
                                    "Note Appearance.TitleColor Appearance.Color contrast 1:1 < 4.5:1"}));

    // A control removed takes its lines with it.
    Window.form()->remove(Window.form()->find("Button"));
    Window.form()->remove(Window.form()->find("Note"));
    QApplication::processEvents();
    EXPECT_TRUE(Lines().isEmpty());
    EXPECT_TRUE(View->summary()->text().startsWith("All text reads well")) << View->summary()->text().toStdString();
}

// Many controls coming and going at once are listed again once, and leave no line behind.
TEST_F(ContrastWindow, ManyControlsComeAndGoInOnePass)
{
    const QStringList Before = Lines();
    std::vector<TPalmoControl*> Added;
    for (int i = 0; i < 100; ++i)
        Added.push_back(AddColored(*Window.form(), "TPalmoButton", qPrintable(QStringLiteral("Pale%1").arg(i)),
                                   {{"Appearance.Color", "White"}, {"Appearance.PressedColor", "Black"},
                                    {"Appearance.TextColor", "Gray"}}));
    QApplication::processEvents();
    EXPECT_EQ(Lines().size(), Before.size() + 100);
    EXPECT_EQ(Lines().last(), "Pale99 Appearance.TextColor Appearance.Color contrast 3.94:1 < 4.5:1");
    for (TPalmoControl* Control : Added)
        Window.form()->remove(Control);
    QApplication::processEvents();
    EXPECT_EQ(Lines(), Before);
    EXPECT_TRUE(View->summary()->text().startsWith("3 text colours below 4.5:1")) << View->summary()->text().toStdString();
}

TEST_F(ContrastWindow, DoubleClickSelectsTheControlAndItsTextProperty)
{
    ASSERT_TRUE(Window.selectControl("Picker"));
    QTreeView* List = View->list();
    const QRect Line = List->visualRect(View->lines()->index(2, 0));
    ASSERT_TRUE(Line.isValid());
    DoubleClick(List->viewport(), Line.center());
    QApplication::processEvents();

    ASSERT_EQ(Window.selection().size(), 1u);
    EXPECT_EQ(Window.selection().front(), Window.form()->find("List"));
    PropertyInspector& Inspector = *Window.inspector();
    const int Row = Inspector.rowOf("Appearance.DetailTextColor");
    ASSERT_GE(Row, 0);
    EXPECT_EQ(Inspector.view()->currentIndex(), Inspector.valueIndex(Row));

    // The first line: the button's text colour.
    DoubleClick(List->viewport(), List->visualRect(View->lines()->index(0, 0)).center());
    QApplication::processEvents();
    ASSERT_EQ(Window.selection().size(), 1u);
    EXPECT_EQ(Window.selection().front(), Window.form()->find("Button"));
    EXPECT_EQ(Inspector.view()->currentIndex(), Inspector.valueIndex(Inspector.rowOf("Appearance.TextColor")));
}

}  // namespace

namespace {

// A switch whose states are alike for a protanope and in lightness joins the view as two lines
// (protanopia, without colour); the filter shows one kind or all, a larger minimum difference adds
// the passing blue-orange switch's three, and the inspector marks both of the switch's state
// colours with the measure and threshold.
TEST_F(ContrastWindow, StateColoursTooAlikeJoinTheViewAndMarkTheirRows)
{
    ASSERT_TRUE(AddColored(*Window.form(), "TPalmoOnOffButton", "Hue", {{"Appearance.OnColor", "SeaGreen"}, {"Appearance.OffColor", "Tomato"}}));
    ASSERT_TRUE(AddColored(*Window.form(), "TPalmoOnOffButton", "Far", {{"Appearance.OnColor", "DodgerBlue"}, {"Appearance.OffColor", "Orange"}}));
    QApplication::processEvents();
    const auto kinds = [&] {
        QStringList out;
        for (int row = 0; row < View->lines()->rowCount(); ++row)
            out << Text(row, ContrastView::ControlColumn) + u' ' + Text(row, ContrastView::KindColumn);
        return out;
    };
    EXPECT_EQ(kinds().mid(3), (QStringList{"Hue State colours", "Hue Without colour"}));
    EXPECT_TRUE(Text(3, ContrastView::MeasureColumn).endsWith("< 10 under protanopia"));
    // SeaGreen 0.195 and Tomato 0.307 by the WCAG formula: 1.44:1.
    EXPECT_EQ(Text(4, ContrastView::MeasureColumn), "luminance 1.44:1 < 1.5:1 without colour");
    View->filter()->setCurrentIndex(ContrastView::StateKind);
    EXPECT_EQ(kinds(), (QStringList{"Hue State colours"}));
    View->filter()->setCurrentIndex(ContrastView::WithoutColourKind);
    EXPECT_EQ(kinds(), (QStringList{"Hue Without colour"}));
    View->filter()->setCurrentIndex(ContrastView::ContrastKind);
    EXPECT_EQ(kinds().size(), 3);
    View->filter()->setCurrentIndex(ContrastView::AllKinds);
    View->minimumDeltaE()->setValue(100);
    QApplication::processEvents();
    EXPECT_EQ(kinds().count("Far State colours"), 3);
    View->minimumDeltaE()->setValue(10);
    QApplication::processEvents();

    ASSERT_TRUE(Window.selectControl("Hue"));
    PropertyInspector& Inspector = *Window.inspector();
    for (const char* path : {"Appearance.OnColor", "Appearance.OffColor"}) {
        const QModelIndex value = Inspector.valueIndex(Inspector.rowOf(path));
        EXPECT_TRUE(value.data(PropertyModel::ContrastFailsRole).toBool()) << path;
        EXPECT_TRUE(value.data(PropertyModel::ContrastTextRole).toString().endsWith(" < 10")) << path;
        const QString tip = value.data(Qt::ToolTipRole).toString();
        EXPECT_TRUE(tip.startsWith("<p>") && tip.contains("under protanopia") && tip.contains("without colour")) << path;
    }
    EXPECT_FALSE(Inspector.valueIndex(Inspector.rowOf("Appearance.KnobColor")).data(PropertyModel::ContrastFailsRole).toBool());
}

// Fix changes one line's colour in one undo step; Fix All mends the whole form in one step, and
// one undo brings every line back.
TEST_F(ContrastWindow, FixAndFixAllAreEachOneUndoStep)
{
    const QStringList Before = Lines();
    ASSERT_EQ(Before.size(), 3);
    ASSERT_TRUE(View->fixLine(0));
    QApplication::processEvents();
    EXPECT_EQ(Lines(), Before.mid(1));
    Window.document()->undo();
    QApplication::processEvents();
    EXPECT_EQ(Lines(), Before);

    EXPECT_GE(View->fixAll(), 2);
    QApplication::processEvents();
    EXPECT_TRUE(Lines().isEmpty()) << Lines().join(u'\n').toStdString();
    Window.document()->undo();
    QApplication::processEvents();
    EXPECT_EQ(Lines(), Before);
}

}  // namespace
