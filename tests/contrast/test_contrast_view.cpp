// The Contrast view in the designer's window: it lists exactly the failing pairs of the form,
// follows the form as colours change (through the inspector and through property writes), and a
// double-click on a line selects its control and the text property's row in the inspector.
#include "ContrastForms.h"
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
#include <QTreeWidget>

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

    // The view's lines as "control text background ratio".
    QStringList Lines() const
    {
        QStringList Out;
        QTreeWidget* List = View->list();
        for (int Row = 0; Row < List->topLevelItemCount(); ++Row) {
            const QTreeWidgetItem* Item = List->topLevelItem(Row);
            Out << QStringList{Item->text(ContrastView::ControlColumn), Item->text(ContrastView::TextColumn),
                               Item->text(ContrastView::BackgroundColumn), Item->text(ContrastView::RatioColumn)}
                       .join(u' ');
        }
        return Out;
    }

    MainWindow Window{QStringLiteral(CV_PACKAGE_PATH)};
    ContrastView* View = nullptr;
};

TEST_F(ContrastWindow, ListsExactlyTheFailingPairs)
{
    EXPECT_TRUE(Window.findChild<QDockWidget*>("contrastDock")->isVisible());
    EXPECT_EQ(Lines(), (QStringList{"Button Appearance.TextColor Appearance.PressedColor 3.82:1",
                                    "List Appearance.DetailTextColor Appearance.Color 3.94:1",
                                    "List Appearance.DetailTextColor Appearance.SelectedColor 1:1"}));
    EXPECT_EQ(View->list()->topLevelItem(1)->text(ContrastView::SuggestionColumn), "DimGray");
    EXPECT_TRUE(View->summary()->text().startsWith("3 text colours below 4.5:1")) << View->summary()->text().toStdString();
}

TEST_F(ContrastWindow, FollowsTheFormAsColoursChange)
{
    // Through the inspector, as a user types a colour name.
    ASSERT_TRUE(Window.selectControl("List"));
    PropertyInspector& Inspector = *Window.inspector();
    ASSERT_TRUE(Inspector.commitText(Inspector.rowOf("Appearance.DetailTextColor"), "Black"));
    QApplication::processEvents();
    EXPECT_EQ(Lines(), (QStringList{"Button Appearance.TextColor Appearance.PressedColor 3.82:1"}));

    // Through a property write: the popup's title now reads White on White.
    ASSERT_TRUE(SetColor(*Window.form()->find("Note"), "Appearance.Color", "White"));
    ASSERT_TRUE(SetColor(*Window.form()->find("Note"), "Appearance.TextColor", "Black"));
    QApplication::processEvents();
    EXPECT_EQ(Lines(), (QStringList{"Button Appearance.TextColor Appearance.PressedColor 3.82:1",
                                    "Note Appearance.TitleColor Appearance.Color 1:1"}));

    // A control removed takes its lines with it.
    Window.form()->remove(Window.form()->find("Button"));
    Window.form()->remove(Window.form()->find("Note"));
    QApplication::processEvents();
    EXPECT_TRUE(Lines().isEmpty());
    EXPECT_TRUE(View->summary()->text().startsWith("All text reads well")) << View->summary()->text().toStdString();
}

TEST_F(ContrastWindow, DoubleClickSelectsTheControlAndItsTextProperty)
{
    ASSERT_TRUE(Window.selectControl("Picker"));
    QTreeWidget* List = View->list();
    const QRect Line = List->visualItemRect(List->topLevelItem(2));
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
    DoubleClick(List->viewport(), List->visualItemRect(List->topLevelItem(0)).center());
    QApplication::processEvents();
    ASSERT_EQ(Window.selection().size(), 1u);
    EXPECT_EQ(Window.selection().front(), Window.form()->find("Button"));
    EXPECT_EQ(Inspector.view()->currentIndex(), Inspector.valueIndex(Inspector.rowOf("Appearance.TextColor")));
}

}  // namespace

namespace {

// A switch told apart by hue alone joins the view as two lines (protanopia, deuteranopia); the
// filter shows one kind or both, a larger minimum difference adds the passing blue-orange
// switch's three, and the inspector marks both of the switch's state colours.
TEST_F(ContrastWindow, StateColoursTooAlikeJoinTheViewAndMarkTheirRows)
{
    ASSERT_TRUE(AddColored(*Window.form(), "TPalmoOnOffButton", "Hue", {{"Appearance.OnColor", "SeaGreen"}, {"Appearance.OffColor", "Tomato"}}));
    ASSERT_TRUE(AddColored(*Window.form(), "TPalmoOnOffButton", "Far", {{"Appearance.OnColor", "DodgerBlue"}, {"Appearance.OffColor", "Orange"}}));
    QApplication::processEvents();
    const auto kinds = [&] {
        QStringList out;
        for (int row = 0; row < View->list()->topLevelItemCount(); ++row)
            out << View->list()->topLevelItem(row)->text(ContrastView::ControlColumn) + u' ' +
                       View->list()->topLevelItem(row)->text(ContrastView::KindColumn);
        return out;
    };
    EXPECT_EQ(kinds().size(), 5);
    EXPECT_EQ(kinds().mid(3), (QStringList{"Hue State colours", "Hue State colours"}));
    EXPECT_TRUE(View->list()->topLevelItem(3)->text(ContrastView::RatioColumn).endsWith("(Protanopia)"));
    View->filter()->setCurrentIndex(ContrastView::StateKind);
    EXPECT_EQ(kinds(), (QStringList{"Hue State colours", "Hue State colours"}));
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
        EXPECT_TRUE(value.data(Qt::ToolTipRole).toString().contains("with protanopia")) << path;
    }
    EXPECT_FALSE(Inspector.valueIndex(Inspector.rowOf("Appearance.KnobColor")).data(PropertyModel::ContrastFailsRole).toBool());
}

}  // namespace
