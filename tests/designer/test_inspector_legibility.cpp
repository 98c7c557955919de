// The warning sign of a text colour row stands out (3:1, as a graphic needs) from every row it
// can sit on, in a light, a dark and a high-contrast palette, selected or not; and the value list
// of a narrow colour row is wide enough for a used colour's swatch, name and count.
#include "views/PropertyDelegate.h"
#include "support/DesignerSupport.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QStyle>

#include <vector>
#include <QTest>

#include <algorithm>
#include <cmath>

namespace {

// WCAG 2.x, written out: each sRGB channel linearised, the luminance their weighted sum, the ratio
// (lighter + 0.05) / (darker + 0.05).
double Linear(int Channel)
{
    const double S = Channel / 255.0;
    return S <= 0.03928 ? S / 12.92 : std::pow((S + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor& C)
{
    return 0.2126 * Linear(C.red()) + 0.7152 * Linear(C.green()) + 0.0722 * Linear(C.blue());
}

double Ratio(const QColor& A, const QColor& B)
{
    const double LA = Luminance(A);
    const double LB = Luminance(B);
    return (std::max(LA, LB) + 0.05) / (std::min(LA, LB) + 0.05);
}

// The rows a sign can sit on (plain, alternate, selected) in a light, a dark and a high-contrast
// palette.
struct Rows {
    const char* Palette;
    QColor Base, Alternate, Selected;
};

std::vector<Rows> RowsOfEachPalette()
{
    const QPalette Light = QApplication::style()->standardPalette();
    return {{"light", Light.color(QPalette::Base), Light.color(QPalette::AlternateBase), Light.color(QPalette::Highlight)},
            {"dark", QColor(0x2A, 0x2A, 0x2A), QColor(0x35, 0x35, 0x35), QColor(0x2A, 0x82, 0xDA)},
            {"high contrast", Qt::black, QColor(0x1A, 0x1A, 0x1A), QColor(0x1A, 0xEB, 0xFF)}};
}

TEST(WarningMark, ReachesThreeToOneOnEveryRowOfEveryPalette)
{
    const QColor Orange(0xE6, 0x78, 0x00);
    // The formula against what was measured: orange on white 2.98:1, on the light selection 1.24:1.
    EXPECT_NEAR(Ratio(Orange, Qt::white), 2.98, 0.005);
    EXPECT_NEAR(Ratio(Orange, RowsOfEachPalette()[0].Selected), 1.24, 0.005);
    EXPECT_EQ(PropertyDelegate::warningColor(Qt::black), Orange) << "the orange stays where it reads (7.05:1)";
    for (const Rows& P : RowsOfEachPalette())
        for (const QColor& Background : {P.Base, P.Alternate, P.Selected}) {
            const QColor Mark = PropertyDelegate::warningColor(Background);
            EXPECT_GE(Ratio(Mark, Background), 3.0) << P.Palette << ": " << Background.name().toStdString() << " under "
                                                    << Mark.name().toStdString();
        }
}

// A narrow value cell still opens a list in which "DarkSlateGray" and its count "\u00D72" both fit
// beside the swatch (as wide as a line is high).
TEST(ValueListWidth, TheListIsAsWideAsItsWidestNameAndCount)
{
    MainWindow Window{CV_PACKAGE_PATH};
    ASSERT_TRUE(Window.loader().isLoaded());
    Window.resize(900, 700);
    Window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
    ASSERT_NE(Window.addControl("TPalmoButton"), nullptr);
    PropertyInspector& Inspector = *Window.inspector();
    for (const char* Path : {"Appearance.Color", "Appearance.BorderColor"})
        ASSERT_TRUE(Inspector.commitText(Inspector.rowOf(QString::fromLatin1(Path)), "DarkSlateGray"));
    ValueCombo* Editor = OpenInPlaceEditor(Inspector, Inspector.rowOf(QStringLiteral("Appearance.TextColor")));
    ASSERT_NE(Editor, nullptr);
    Editor->resize(90, Editor->height());
    QApplication::processEvents();
    QComboBox* Combo = Editor->combo();
    ASSERT_EQ(Combo->itemText(1), "DarkSlateGray");
    ASSERT_EQ(Combo->itemData(1, ValueList::CountRole).toInt(), 2);
    Combo->showPopup();
    QApplication::processEvents();
    QAbstractItemView* List = Combo->view();
    const QFontMetrics Metrics(List->font());
    const int Line = List->visualRect(Combo->model()->index(1, 0)).height();
    EXPECT_GE(List->viewport()->width(),
              Line + Metrics.horizontalAdvance(QStringLiteral("DarkSlateGray")) + Metrics.horizontalAdvance(QStringLiteral("\u00D72")));
    Combo->hidePopup();
}

}  // namespace
