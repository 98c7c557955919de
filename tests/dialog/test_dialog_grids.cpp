// The three swatch grids and "Add": choosing cells by mouse and keyboard, names in the status bar
// while hovering, the custom colours, what every cell looks like, and the keyboard's way through
// the form.
#include "DialogTestSupport.h"

#include "host/cvcolor/CVColor.h"
#include "host/vcl/Graphics.h"

#include <QHelpEvent>
#include <QPalette>
#include <QToolTip>

using namespace dialogtest;

namespace {

class GridTest : public DialogTest {
protected:
    static QPoint Centre(const TDrawGrid* Grid, int Index)
    {
        const TRect R = Grid->CellRect(Index % Grid->ColCount(), Index / Grid->ColCount());
        return QPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
    }

    static void ClickCell(TDrawGrid* Grid, int Index)
    {
        QTest::mouseClick(Grid, Qt::LeftButton, Qt::NoModifier, Centre(Grid, Index));
    }

    // True when every pixel of the cell inside its one-pixel edge (where the toolkit may mark the
    // current cell) has the colour.
    static ::testing::AssertionResult CellFilledWith(const TDrawGrid* Grid, int Index, TColor Color)
    {
        const TRect R = Grid->CellRect(Index % Grid->ColCount(), Index / Grid->ColCount());
        const QRgb Expected = Rgb(ColorToRGB(Color));
        for (int Y = R.Top + 1; Y < R.Bottom - 1; ++Y)
            for (int X = R.Left + 1; X < R.Right - 1; ++X)
                if (Pixel(Grid->Image(), X, Y) != Expected)
                    return ::testing::AssertionFailure() << "cell " << Index << " pixel " << X << "," << Y << " is "
                                                         << Hex(Pixel(Grid->Image(), X, Y)) << ", not " << Hex(Expected);
        return ::testing::AssertionSuccess();
    }

    // True when the cell shows a black diagonal cross over Background.
    static ::testing::AssertionResult CellCrossed(const TDrawGrid* Grid, int Index, TColor Background)
    {
        const TRect R = Grid->CellRect(Index % Grid->ColCount(), Index / Grid->ColCount());
        const int Size = R.Width();
        for (int Y = 0; Y < Size; ++Y) {
            for (int X = 0; X < Size; ++X) {
                const bool OnDiagonal = X == Y || (X + Y == Size && Y > 0);
                const bool OnEdge = X == 0 || Y == 0 || X == Size - 1 || Y == Size - 1;
                if (OnEdge && !OnDiagonal)
                    continue;
                const QRgb Expected = OnDiagonal ? 0 : Rgb(ColorToRGB(Background));
                const QRgb Actual = Pixel(Grid->Image(), R.Left + X, R.Top + Y);
                if (Actual != Expected)
                    return ::testing::AssertionFailure() << "cell " << Index << " at " << X << "," << Y << " is "
                                                         << Hex(Actual) << ", not " << Hex(Expected);
            }
        }
        return ::testing::AssertionSuccess();
    }

    std::vector<String> CustomEntries() const
    {
        std::vector<String> Entries;
        for (int I = 0; I < List.Count(); ++I)
            Entries.push_back(List.Strings(I));
        return Entries;
    }

    String Status() const { return Form.StatusBar1->SimpleText(); }
};

// ---- The web grid ---------------------------------------------------------------------------

TEST_F(GridTest, EveryWebCellSelectsItsNameAndNothingElse)
{
    ShowOn(0);
    List.Put(3, "$00112233");
    const std::vector<String> Entries = EntryTexts();
    const std::vector<String> Custom = CustomEntries();
    for (int Index = 0; Index < WebColorCount; ++Index) {
        SCOPED_TRACE(Index);
        ClickCell(Form.WebColorsGrid, Index);
        ASSERT_EQ(Form.SelectedIdentifier(), CVColors[Index].Name);
        EXPECT_EQ(SelectedColor(Form), CVColors[Index].Value);
        EXPECT_EQ(Form.LabelIdent->Caption(), "Identifier: " + CVColors[Index].Name);
        EXPECT_EQ(Hex(Pixel(Form.PaintBoxSelection->Image(), 12, 12)), Hex(Rgb(CVColors[Index].Value)));
        EXPECT_EQ(Form.WebColorsGrid->Col() + 12 * Form.WebColorsGrid->Row(), Index) << "the cell becomes current";
        EXPECT_EQ(Form.PageControl1->ActivePageIndex(), 0);
    }
    EXPECT_EQ(EntryTexts(), Entries);
    EXPECT_EQ(CustomEntries(), Custom);
}

TEST_F(GridTest, TheLastWebCellIsCrossedNamelessAndChoosesNothing)
{
    ShowOn(0);
    EXPECT_TRUE(CellCrossed(Form.WebColorsGrid, 143, clWindow));
    QTest::mouseMove(Form.WebColorsGrid, Centre(Form.WebColorsGrid, 142));
    ASSERT_EQ(Status(), CVColors[142].Name);
    QTest::mouseMove(Form.WebColorsGrid, Centre(Form.WebColorsGrid, 143));
    EXPECT_EQ(Status(), String());
    ClickCell(Form.WebColorsGrid, 5);
    ClickCell(Form.WebColorsGrid, 143);
    EXPECT_EQ(Form.SelectedIdentifier(), CVColors[5].Name);
    EXPECT_EQ(Form.LabelIdent->Caption(), "Identifier: " + CVColors[5].Name);
}

TEST_F(GridTest, EveryWebCellShowsItsColour)
{
    ShowOn(0);
    for (int Index = 0; Index < WebColorCount; ++Index)
        EXPECT_TRUE(CellFilledWith(Form.WebColorsGrid, Index, CVColors[Index].Value));
    // The screen shows the image.
    const QImage Shown = Form.WebColorsGrid->grab().toImage();
    const QPoint P = Centre(Form.WebColorsGrid, 77);
    EXPECT_EQ(Hex(Pixel(Shown, P.x(), P.y())), Hex(Rgb(CVColors[77].Value)));
}

// ---- The system grid ------------------------------------------------------------------------

TEST_F(GridTest, EverySystemCellWithANameSelectsIt)
{
    ShowOn(1);
    const std::vector<String> Names = ToolkitColorNames();
    ASSERT_GT(Names.size(), 0u);
    ASSERT_LE(Names.size(), 54u);
    const std::vector<String> Entries = EntryTexts();
    for (int Index = 0; Index < int(Names.size()); ++Index) {
        SCOPED_TRACE(Names[Index].toStdString());
        ClickCell(Form.SysColorsGrid, Index);
        ASSERT_EQ(Form.SelectedIdentifier(), Names[Index]);
        int Color = 0;
        ASSERT_TRUE(IdentToColor(Names[Index], Color));
        EXPECT_EQ(SelectedColor(Form), Color);
        EXPECT_EQ(Form.PageControl1->ActivePageIndex(), 1);
    }
    EXPECT_EQ(EntryTexts(), Entries);
}

TEST_F(GridTest, SystemCellsShowTheirColoursAndCellsPastTheListACross)
{
    ShowOn(1);
    const std::vector<String> Names = ToolkitColorNames();
    const int Count = int(Names.size());
    for (int Index = 0; Index < 54; ++Index) {
        SCOPED_TRACE(Index);
        if (Index < Count) {
            int Color = 0;
            ASSERT_TRUE(IdentToColor(Names[Index], Color));
            EXPECT_TRUE(CellFilledWith(Form.SysColorsGrid, Index, Color));
        } else {
            EXPECT_TRUE(CellCrossed(Form.SysColorsGrid, Index, clWindow));
            const String Before = Form.SelectedIdentifier();
            ClickCell(Form.SysColorsGrid, Index);
            EXPECT_EQ(Form.SelectedIdentifier(), Before) << "a cell past the list chooses nothing";
        }
    }
}

// ---- Hovering -------------------------------------------------------------------------------

TEST_F(GridTest, HoveringShowsTheCellsNameAndNothingOutsideTheCells)
{
    ShowOn(0);
    for (int Index = 0; Index < WebColorCount; ++Index) {
        QTest::mouseMove(Form.WebColorsGrid, Centre(Form.WebColorsGrid, Index));
        ASSERT_EQ(Status(), CVColors[Index].Name) << Index;
    }
    // The outer grid line at the left and top lies outside every cell; so does the margin
    // right of the last column.
    for (const QPoint P : {QPoint(0, 50), QPoint(50, 0), QPoint(303, 50), QPoint(50, 303)}) {
        QTest::mouseMove(Form.WebColorsGrid, Centre(Form.WebColorsGrid, 30));
        ASSERT_EQ(Status(), CVColors[30].Name);
        QTest::mouseMove(Form.WebColorsGrid, P);
        EXPECT_EQ(Status(), String()) << P.x() << "," << P.y();
    }
    // Over the form itself, below the pages.
    QTest::mouseMove(Form.WebColorsGrid, Centre(Form.WebColorsGrid, 30));
    ASSERT_EQ(Status(), CVColors[30].Name);
    QTest::mouseMove(&Form, QPoint(300, 375));
    EXPECT_EQ(Form.childAt(300, 375), nullptr) << "an empty spot of the form";
    EXPECT_EQ(Status(), String());

    ShowOn(1);
    const std::vector<String> Names = ToolkitColorNames();
    for (int Index = 0; Index < 54; ++Index) {
        QTest::mouseMove(Form.SysColorsGrid, Centre(Form.SysColorsGrid, Index));
        EXPECT_EQ(Status(), Index < int(Names.size()) ? Names[Index] : String()) << Index;
    }
    QTest::mouseMove(Form.SysColorsGrid, Centre(Form.SysColorsGrid, 0));
    EXPECT_EQ(Status(), Names[0]);
    // (QTest takes the point 0,0 for the widget's centre: the outer line one pixel further down.)
    QTest::mouseMove(Form.SysColorsGrid, QPoint(0, 1));
    EXPECT_EQ(Status(), String());
}

// ---- Custom colours and "Add" ---------------------------------------------------------------

TEST_F(GridTest, AddWritesThePickedColourIntoTheCurrentCellAndItCanBeChosen)
{
    ShowOn(2);
    QTest::mouseClick(Form.ButtonAdd, Qt::LeftButton);
    ASSERT_EQ(List.Count(), 28);
    EXPECT_EQ(List.Strings(0), "$00BFBFBF");
    EXPECT_TRUE(CellFilledWith(Form.GridCustomColors, 0, 0x00BFBFBF));
    EXPECT_EQ(Form.SelectedIdentifier(), String()) << "Add selects nothing";

    // Something else is composed and another cell chosen.
    Focus(Form.editRed);
    Retype(Form.editRed, "10");
    ClickCell(Form.GridCustomColors, 1);
    EXPECT_EQ(Form.SelectedIdentifier(), String()) << "an empty cell chooses nothing";
    EXPECT_EQ(Form.GridCustomColors->Col(), 1);
    ClickCell(Form.GridCustomColors, 0);
    EXPECT_EQ(Form.SelectedIdentifier(), "$00BFBFBF");
    EXPECT_EQ(EntryTexts(), (std::vector<String>{"0", "0", "150", "191", "191", "191"}));
    EXPECT_EQ(Form.PageControl1->ActivePageIndex(), 2);
    EXPECT_EQ(List.Count(), 28);
}

TEST_F(GridTest, AddGoesToWhicheverCellIsCurrentAndReplacesWhatItHeld)
{
    ShowOn(2);
    ClickCell(Form.GridCustomColors, 17); // column 3, row 1
    Focus(Form.editGreen);
    Retype(Form.editGreen, "0");
    QTest::mouseClick(Form.ButtonAdd, Qt::LeftButton);
    EXPECT_EQ(List.Strings(17), "$00BF00BF");
    Focus(Form.editBlue);
    Retype(Form.editBlue, "0");
    QTest::mouseClick(Form.ButtonAdd, Qt::LeftButton);
    EXPECT_EQ(List.Strings(17), "$000000BF");
    EXPECT_TRUE(CellFilledWith(Form.GridCustomColors, 17, 0x000000BF));
    for (int Index = 0; Index < 28; ++Index) {
        if (Index != 17) {
            EXPECT_EQ(List.Strings(Index), String()) << Index;
        }
    }
}

TEST_F(GridTest, EmptyCustomCellsAreWhiteWithABlackCross)
{
    // A window colour other than white, so that the custom grid's own white is told from the
    // grid's default cell colour.
    const QPalette Saved = QApplication::palette();
    QPalette Dark = Saved;
    Dark.setColor(QPalette::Base, QColor(0x20, 0x30, 0x40));
    QApplication::setPalette(Dark);
    ASSERT_EQ(Rgb(ColorToRGB(clWindow)), qRgb(0x20, 0x30, 0x40) & 0xFFFFFF);

    List.Put(27, "$0000FF00");
    ShowOn(2);
    for (int Index = 1; Index < 27; ++Index)
        EXPECT_TRUE(CellCrossed(Form.GridCustomColors, Index, clWhite));
    EXPECT_TRUE(CellFilledWith(Form.GridCustomColors, 27, 0x0000FF00));
    // The web grid's empty cell is crossed on the grid's own colour.
    ShowOn(0);
    EXPECT_TRUE(CellCrossed(Form.WebColorsGrid, 143, clWindow));
    QApplication::setPalette(Saved);
}

TEST_F(GridTest, CustomColoursOutliveTheDialog)
{
    ShowOn(2);
    QTest::mouseClick(Form.ButtonAdd, Qt::LeftButton);
    {
        TCVKZLMOBILEColorForm Next(nullptr, &List);
        Next.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Next));
        EXPECT_TRUE(CellFilledWith(Next.GridCustomColors, 0, 0x00BFBFBF));
        QTest::mouseClick(Next.GridCustomColors, Qt::LeftButton, Qt::NoModifier, Centre(Next.GridCustomColors, 0));
        EXPECT_EQ(Next.SelectedIdentifier(), "$00BFBFBF");
    }
    EXPECT_EQ(List.Strings(0), "$00BFBFBF");
}

TEST_F(GridTest, AnUnreadableCustomEntryIsReportedWithoutHarmingTheRest)
{
    // Only "Add" writes entries, and it writes numbers; a list spoilt elsewhere is reported by
    // the toolkit as the cell is drawn and as it is chosen.
    List.Put(2, "garbage");
    List.Put(4, "$00FF0000");
    ShowOn(2);
    EXPECT_GE(Application->ExceptionCount(), 1);
    EXPECT_TRUE(CellFilledWith(Form.GridCustomColors, 4, 0x00FF0000));
    Application->ClearExceptions();
    ClickCell(Form.GridCustomColors, 2);
    EXPECT_EQ(Application->ExceptionCount(), 1);
    EXPECT_EQ(Form.SelectedIdentifier(), "garbage");
    EXPECT_FALSE(GuardIsUp(Form));
    ClickCell(Form.GridCustomColors, 4);
    EXPECT_EQ(Form.SelectedIdentifier(), "$00FF0000");
    EXPECT_EQ(Blue(Form), 255);
    Application->ClearExceptions();
}

// ---- The keyboard ---------------------------------------------------------------------------

TEST_F(GridTest, ArrowKeysChooseWebCellsAsClicksDo)
{
    ShowOn(0);
    Focus(Form.WebColorsGrid);
    ASSERT_EQ(QApplication::focusWidget(), Form.WebColorsGrid);
    QTest::keyClick(Form.WebColorsGrid, Qt::Key_Right);
    EXPECT_EQ(Form.SelectedIdentifier(), CVColors[1].Name);
    for (int I = 0; I < 11; ++I)
        QTest::keyClick(Form.WebColorsGrid, Qt::Key_Down);
    EXPECT_EQ(Form.SelectedIdentifier(), CVColors[133].Name);
    for (int I = 0; I < 9; ++I)
        QTest::keyClick(Form.WebColorsGrid, Qt::Key_Right);
    EXPECT_EQ(Form.SelectedIdentifier(), CVColors[142].Name) << "the last cell with an entry";
    EXPECT_EQ(Form.LabelIdent->Caption(), "Identifier: " + CVColors[142].Name);
    QTest::keyClick(Form.WebColorsGrid, Qt::Key_Right);
    EXPECT_EQ(Form.SelectedIdentifier(), CVColors[142].Name) << "the empty cell chooses nothing";
    EXPECT_EQ(Form.WebColorsGrid->Col(), 11);

    // The same cell clicked on another dialog selects the same identifier.
    TStringList Other;
    TCVKZLMOBILEColorForm Clicked(nullptr, &Other);
    Clicked.PageControl1->SetActivePageIndex(0);
    Clicked.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Clicked));
    ClickCell(Clicked.WebColorsGrid, 142);
    EXPECT_EQ(Clicked.SelectedIdentifier(), Form.SelectedIdentifier());
}

TEST_F(GridTest, ArrowKeysChooseCustomCells)
{
    List.Put(15, "$00336699");
    ShowOn(2);
    Focus(Form.GridCustomColors);
    QTest::keyClick(Form.GridCustomColors, Qt::Key_Down);
    EXPECT_EQ(Form.SelectedIdentifier(), String());
    QTest::keyClick(Form.GridCustomColors, Qt::Key_Right);
    EXPECT_EQ(Form.SelectedIdentifier(), "$00336699");
    EXPECT_EQ(Form.editRed->Text(), "153");
}

TEST_F(GridTest, TabWalksTheCustomPageInItsOrder)
{
    ShowOn(2);
    Focus(Form.EditHue);
    ASSERT_EQ(QApplication::focusWidget(), Form.EditHue);
    const std::vector<QWidget*> Expected = {Form.EditSat,   Form.EditBright, Form.TrackBright, Form.GridCustomColors,
                                            Form.ButtonAdd, Form.editRed,    Form.editGreen,   Form.editBlue,
                                            Form.Button1,   Form.Button2};
    std::vector<QWidget*> Reached;
    for (size_t I = 0; I < Expected.size(); ++I) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        Reached.push_back(QApplication::focusWidget());
    }
    std::vector<std::string> ReachedNames, ExpectedNames;
    for (QWidget* W : Reached)
        ReachedNames.push_back(W ? W->objectName().toStdString() : "(none)");
    for (QWidget* W : Expected)
        ExpectedNames.push_back(W->objectName().toStdString());
    EXPECT_EQ(ReachedNames, ExpectedNames);
    // From the last button on to the pages' tabs, and round to the hue entry again.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(Form.PageControl1->isAncestorOf(QApplication::focusWidget()) ||
                QApplication::focusWidget() == Form.PageControl1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), Form.EditHue) << "the hidden pages' grids are skipped";
    // Backwards.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), Form.Button2);
}

TEST_F(GridTest, TabReachesTheGridOfTheWebPage)
{
    ShowOn(0);
    Form.PageControl1->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), Form.WebColorsGrid);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), Form.Button1);
}

// ---- Names for assistive technology ---------------------------------------------------------

TEST_F(GridTest, EveryCellHasAName)
{
    List.Put(3, "$00112233");
    for (int Index = 0; Index < 144; ++Index)
        EXPECT_EQ(Form.WebColorsGrid->CellName(Index % 12, Index / 12),
                  Index < WebColorCount ? CVColors[Index].Name : String("empty"));
    const std::vector<String> Names = ToolkitColorNames();
    for (int Index = 0; Index < 54; ++Index)
        EXPECT_EQ(Form.SysColorsGrid->CellName(Index % 9, Index / 9),
                  Index < int(Names.size()) ? Names[Index] : String("empty"));
    for (int Index = 0; Index < 28; ++Index)
        EXPECT_EQ(Form.GridCustomColors->CellName(Index % 14, Index / 14),
                  Index == 3 ? String("$00112233") : String("empty"));
}

TEST_F(GridTest, TheCurrentCellsNameIsTheGridsDescriptionAndTooltip)
{
    ShowOn(0);
    ClickCell(Form.WebColorsGrid, 40);
    EXPECT_EQ(Form.WebColorsGrid->accessibleDescription(), CVColors[40].Name);
    const QPoint At = Centre(Form.WebColorsGrid, 41);
    QHelpEvent Help(QEvent::ToolTip, At, Form.WebColorsGrid->mapToGlobal(At));
    QApplication::sendEvent(Form.WebColorsGrid, &Help);
    EXPECT_EQ(QToolTip::text(), CVColors[41].Name);
    QToolTip::hideText();

    ShowOn(2);
    QTest::mouseClick(Form.ButtonAdd, Qt::LeftButton);
    Form.GridCustomColors->Repaint();
    EXPECT_EQ(Form.GridCustomColors->accessibleDescription(), "$00BFBFBF");
}

} // namespace
