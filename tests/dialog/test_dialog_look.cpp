// The dialog as a person sees it: captions that fit in the fonts at hand, controls that do not
// overlap, grids and box wholly on their pages. Each page is also saved as a picture
// (dialog-web.png, dialog-system.png, dialog-custom.png, and dialog-fresh.png before any choice,
// in the temporary directory).
#include "DialogTestSupport.h"

#include <QDir>
#include <QStyle>
#include <QTabBar>

using namespace dialogtest;

namespace {

class LookTest : public DialogTest {
protected:
    // The controls directly on a widget that are shown.
    static std::vector<QWidget*> ShownChildren(QWidget* Parent)
    {
        std::vector<QWidget*> Children;
        for (QWidget* Child : Parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (Child->isVisible() && !Child->objectName().startsWith("qt_"))
                Children.push_back(Child);
        return Children;
    }

    static void ExpectNoOverlap(QWidget* Parent)
    {
        const std::vector<QWidget*> Children = ShownChildren(Parent);
        for (size_t I = 0; I < Children.size(); ++I) {
            EXPECT_TRUE(Parent->rect().contains(Children[I]->geometry()))
                << Children[I]->objectName().toStdString() << " lies wholly on " << Parent->objectName().toStdString();
            for (size_t J = I + 1; J < Children.size(); ++J)
                EXPECT_FALSE(Children[I]->geometry().intersects(Children[J]->geometry()))
                    << Children[I]->objectName().toStdString() << " overlaps " << Children[J]->objectName().toStdString();
        }
    }

    // Every label's and button's caption fits its control.
    static void ExpectCaptionsFit(QWidget* Parent)
    {
        for (QWidget* Child : ShownChildren(Parent)) {
            if (auto* Label = qobject_cast<TLabel*>(Child)) {
                EXPECT_LE(Label->fontMetrics().horizontalAdvance(Label->Caption()), Label->width())
                    << Label->objectName().toStdString() << ": \"" << Label->Caption().toStdString() << "\"";
                EXPECT_LE(Label->fontMetrics().height(), Label->height()) << Label->objectName().toStdString();
            } else if (auto* Button = qobject_cast<TButton*>(Child)) {
                QString Shown = Button->Caption();
                Shown.remove('&');
                // A push button keeps a frame and a margin on each side.
                const int Margin = Button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, Button);
                EXPECT_LE(Button->fontMetrics().horizontalAdvance(Shown) + Margin, Button->width())
                    << Button->objectName().toStdString();
                EXPECT_LE(Button->fontMetrics().height(), Button->height()) << Button->objectName().toStdString();
            }
        }
    }

    void Save(const char* Name)
    {
        QApplication::processEvents();
        const QString Path = QDir::temp().filePath(QString("dialog-%1.png").arg(Name));
        EXPECT_TRUE(Form.grab().save(Path)) << Path.toStdString();
    }
};

TEST_F(LookTest, EveryPageShowsItsControlsWholeAndApart)
{
    const std::pair<int, const char*> Pages[] = {{0, "web"}, {1, "system"}, {2, "custom"}};
    for (const auto& [Page, Name] : Pages) {
        SCOPED_TRACE(Name);
        ShowOn(Page);
        if (Page == 0)
            Form.SetSelectedIdentifier("LightGoldenrodYellow");
        if (Page == 1)
            Form.SetSelectedIdentifier("clGradientInactiveCaption");
        if (Page == 2)
            Form.SetSelectedIdentifier("$00336699");
        ShowOn(Page);
        Save(Name);
        ExpectNoOverlap(&Form);
        ExpectCaptionsFit(&Form);
        QWidget* Sheet = Form.PageControl1->currentWidget();
        ExpectNoOverlap(Sheet);
        ExpectCaptionsFit(Sheet);
    }
}

TEST_F(LookTest, AFreshDialogShowsNoSelectionSwatchAndTheSwatchesLeaveTheirEdgesToThePage)
{
    ShowOn(2);
    Save("fresh");
    const QImage Shown = Form.grab().toImage();
    // No identifier is chosen: the selection swatch is the form's face, like the form around it.
    const QRgb Face = Pixel(Shown, 96, 374);
    const QPoint Selection = Form.PaintBoxSelection->mapTo(&Form, QPoint(0, 0));
    for (int Y = 0; Y < 25; ++Y)
        for (int X = 0; X < 25; ++X)
            ASSERT_EQ(Hex(Pixel(Shown, Selection.x() + X, Selection.y() + Y)), Hex(Face)) << X << "," << Y;
    // The picked swatch's unpainted right column is the page's colour, taken just beyond it.
    const QPoint Picked = Form.PaintBoxPickedColor->mapTo(&Form, QPoint(0, 0));
    EXPECT_EQ(Hex(Pixel(Shown, Picked.x() + 24, Picked.y() + 5)), Hex(Pixel(Shown, Picked.x() + 30, Picked.y() + 5)));
}

TEST_F(LookTest, AllThreeTabsShowTheirWholeCaptions)
{
    ShowOn(2);
    QTabBar* Tabs = Form.PageControl1->tabBar();
    for (int Index = 0; Index < Tabs->count(); ++Index) {
        EXPECT_LE(Tabs->fontMetrics().horizontalAdvance(Tabs->tabText(Index)), Tabs->tabRect(Index).width());
        EXPECT_LE(Tabs->tabRect(Index).right(), Form.PageControl1->width()) << "no tab is cut off";
    }
    for (QWidget* Scroller : Tabs->findChildren<QWidget*>())
        EXPECT_FALSE(Scroller->isVisible()) << "the tabs need no scrolling";
}

TEST_F(LookTest, TheWidestNumbersFitTheEntries)
{
    ShowOn(2);
    Focus(Form.editRed);
    Retype(Form.editRed, "255");
    Focus(Form.editGreen);
    Retype(Form.editGreen, "0");
    Focus(Form.editBlue);
    Retype(Form.editBlue, "1");
    ASSERT_EQ(Form.EditHue->Text(), "200");
    for (TEdit* Entry : {Form.EditHue, Form.EditSat, Form.EditBright, Form.editRed, Form.editGreen, Form.editBlue}) {
        // A line edit keeps its frame and two pixels of margin each side of the text.
        const int Frame = Entry->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, Entry);
        const int Room = Entry->width() - 2 * Frame - 2 * 2;
        EXPECT_LT(Entry->fontMetrics().horizontalAdvance("200"), Room) << Entry->objectName().toStdString();
        EXPECT_LT(Entry->fontMetrics().horizontalAdvance("255"), Room) << Entry->objectName().toStdString();
    }
}

TEST_F(LookTest, TheStatusBarShowsTheHoveredName)
{
    ShowOn(0);
    const TRect Cell = Form.WebColorsGrid->CellRect(6, 0);
    QTest::mouseMove(Form.WebColorsGrid, QPoint(Cell.Left + 12, Cell.Top + 12));
    ASSERT_EQ(Form.StatusBar1->SimpleText(), "Tomato");
    Save("web-hover");
    // The name is drawn: the status line holds text-coloured pixels now, and none once cleared.
    const auto InkIn = [&] {
        const QImage Line = Form.StatusBar1->grab().toImage();
        int Ink = 0;
        for (int Y = 0; Y < Line.height(); ++Y)
            for (int X = 0; X < Line.width(); ++X)
                Ink += qGray(Line.pixel(X, Y)) < 100;
        return Ink;
    };
    EXPECT_GT(InkIn(), 20);
    QTest::mouseMove(&Form, QPoint(300, 375));
    EXPECT_EQ(InkIn(), 0);
}

TEST_F(LookTest, ALongIdentifierStaysOnTheForm)
{
    ShowOn(1);
    for (const String& Name : ToolkitColorNames()) {
        Form.SetSelectedIdentifier(Name);
        EXPECT_LE(Form.LabelIdent->geometry().right(), Form.width()) << Name.toStdString();
        EXPECT_GE(Form.LabelIdent->width(), Form.LabelIdent->fontMetrics().horizontalAdvance(Form.LabelIdent->Caption()));
    }
}

} // namespace
