// Editing in the preview as a user does it, through the window that records each change: the grab
// handles and the pointer's shapes, the band, Tab, the grid and Ctrl+arrows, the keyboard's focus
// frame, the Format menu, a class dragged from the palette, and the readout of place and size. Expected places are worked out by hand from the controls' rectangles.
#include "core/Document.h"
#include "views/PaletteDrag.h"
#include "views/PreviewWidget.h"
#include "support/DesignerSupport.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QDrag>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>
#include <QFont>
#include <QListView>
#include <QMouseEvent>
#include <QSettings>
#include <QTest>
#include <QUndoStack>

namespace {

std::string text(const QRect& r)
{
    return QStringLiteral("(%1, %2, %3 x %4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString();
}

class PreviewGestures : public ::testing::Test {
protected:
    void SetUp() override
    {
        Window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
        Button = Window.addControl("TPalmoButton");
        Other = Window.addControl("TPalmoButton");
        Low = Window.addControl("TPalmoButton");
        ASSERT_TRUE(Button && Other && Low);
        // Button spans x 20 … 120, y 30 … 70; Other to its right, Low below it.
        Place(Button, {20, 30, 100, 40});
        Place(Other, {150, 30, 60, 20});
        Place(Low, {20, 120, 60, 20});
        Window.setSelection({Button});
        Steps = Stack()->count();
    }
    void TearDown() override { QSettings().remove(QStringLiteral("view")); }

    void Place(TPalmoControl* Control, const QRect& R)
    {
        Window.document()->recordChange("place", {Control}, [&] {
            Control->setProperty("Left", R.x());
            Control->setProperty("Top", R.y());
            Control->setProperty("Width", R.width());
            Control->setProperty("Height", R.height());
        });
    }
    static QRect RectOf(const TPalmoControl* C) { return QRect(C->FLeft, C->FTop, C->FWidth, C->FHeight); }
    QUndoStack* Stack() const { return Window.document()->undoStack(); }
    QAction* Action(const char* Name) const { return Window.findChild<QAction*>(QLatin1String(Name)); }

    // The pointer moving over the preview, with the button held or not.
    void MoveTo(const QPoint& At, Qt::MouseButtons Buttons, Qt::KeyboardModifiers Modifiers = Qt::NoModifier)
    {
        QMouseEvent Move(QEvent::MouseMove, At, Preview->mapToGlobal(At), Qt::NoButton, Buttons, Modifiers);
        QApplication::sendEvent(Preview, &Move);
    }
    // Press, four moves on the way, release.
    void Drag(const QPoint& From, const QPoint& To, Qt::KeyboardModifiers Modifiers = Qt::NoModifier)
    {
        QTest::mousePress(Preview, Qt::LeftButton, Modifiers, From);
        for (int I = 1; I <= 4; ++I)
            MoveTo(From + (To - From) * I / 4, Qt::LeftButton, Modifiers);
        QTest::mouseRelease(Preview, Qt::LeftButton, Modifiers, To);
    }
    QRgb Pixel(int X, int Y) const { return Preview->grab().toImage().pixel(X, Y) & 0xFFFFFF; }

    MainWindow Window{CV_PACKAGE_PATH};
    PreviewWidget* Preview = Window.preview();
    TPalmoControl* Button = nullptr;
    TPalmoControl* Other = nullptr;
    TPalmoControl* Low = nullptr;
    int Steps = 0;
};

TEST_F(PreviewGestures, DraggingEachHandleSizesTheControlInOneUndoStepWithItsCursor)
{
    // The handles sit on the outline a pixel outside the control: x 19, 70 (20 + 100 / 2) or 120;
    // y 29, 50 (30 + 40 / 2) or 70. Each is dragged by (+10, +7).
    const struct {
        const char* Handle;
        QPoint At;
        Qt::CursorShape Cursor;
        QRect Expected;
    } Cases[] = {
        {"top-left", {19, 29}, Qt::SizeFDiagCursor, {30, 37, 90, 33}},
        {"top", {70, 29}, Qt::SizeVerCursor, {20, 37, 100, 33}},
        {"top-right", {120, 29}, Qt::SizeBDiagCursor, {20, 37, 110, 33}},
        {"left", {19, 50}, Qt::SizeHorCursor, {30, 30, 90, 40}},
        {"right", {120, 50}, Qt::SizeHorCursor, {20, 30, 110, 40}},
        {"bottom-left", {19, 70}, Qt::SizeBDiagCursor, {30, 30, 90, 47}},
        {"bottom", {70, 70}, Qt::SizeVerCursor, {20, 30, 100, 47}},
        {"bottom-right", {120, 70}, Qt::SizeFDiagCursor, {20, 30, 110, 47}},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Handle);
        MoveTo(C.At, Qt::NoButton);
        EXPECT_EQ(Preview->cursor().shape(), C.Cursor);
        Drag(C.At, C.At + QPoint(10, 7));
        EXPECT_EQ(text(RectOf(Button)), text(C.Expected));
        EXPECT_EQ(Window.selection(), std::vector<TPalmoControl*>{Button}) << "a handle keeps the selection";
        EXPECT_EQ(Stack()->count(), Steps + 1);
        EXPECT_EQ(Stack()->undoText(), "Resize PalmoButton1");
        Window.document()->undo();
        EXPECT_EQ(text(RectOf(Button)), text({20, 30, 100, 40}));
    }
    // Over the selected control the pointer offers to move it; elsewhere it is the arrow.
    MoveTo({60, 50}, Qt::NoButton);
    EXPECT_EQ(Preview->cursor().shape(), Qt::SizeAllCursor);
    MoveTo({300, 250}, Qt::NoButton);
    EXPECT_EQ(Preview->cursor().shape(), Qt::ArrowCursor);
    // The left handle dragged past the right edge stops a pixel before it (120 - 1).
    Drag({19, 50}, {169, 50});
    EXPECT_EQ(text(RectOf(Button)), text({119, 30, 1, 40}));
}

TEST_F(PreviewGestures, ABandSelectsWhatItTouchesAndWithShiftAdds)
{
    // From (10, 10) to (160, 50): it touches Button and Other's left end, not Low.
    Drag({10, 10}, {160, 50});
    EXPECT_EQ(Window.selection(), (std::vector<TPalmoControl*>{Button, Other}));
    Drag({10, 110}, {30, 125}, Qt::ShiftModifier);  // Low's top-left corner
    EXPECT_EQ(Window.selection(), (std::vector<TPalmoControl*>{Button, Other, Low}));
    Drag({130, 100}, {140, 110});  // nothing there
    EXPECT_TRUE(Window.selection().empty());
    EXPECT_EQ(Stack()->count(), Steps) << "selecting changes nothing";
}

TEST_F(PreviewGestures, TabAndShiftTabWalkTheControlsInFormOrderAndWrap)
{
    Preview->setFocus();
    const struct {
        Qt::KeyboardModifiers Modifiers;
        TPalmoControl* Expected;
    } Walk[] = {{Qt::NoModifier, Other}, {Qt::NoModifier, Low}, {Qt::NoModifier, Button},
                {Qt::ShiftModifier, Low}, {Qt::ShiftModifier, Other}};
    for (const auto& Step : Walk) {
        QTest::keyClick(Preview, Qt::Key_Tab, Step.Modifiers);
        EXPECT_EQ(Window.selection(), std::vector<TPalmoControl*>{Step.Expected});
    }
    Window.setSelection({});
    QTest::keyClick(Preview, Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(Window.selection(), std::vector<TPalmoControl*>{Low}) << "from nothing, Shift+Tab takes the last";
}

TEST_F(PreviewGestures, TheGridShowsAndSnapsDragsAndCtrlArrows)
{
    QAction* ShowGrid = Action("showGridAction");
    QAction* Snap = Action("snapToGridAction");
    ASSERT_TRUE(ShowGrid && Snap);
    EXPECT_EQ(Snap->text(), "&Snap to Grid (8 px)");
    // A dot on every eighth pixel of the bare canvas: (8, 96) is one, (9, 96) is not.
    EXPECT_EQ(Pixel(8, 96), 0xC8C8C8u);
    EXPECT_EQ(Pixel(9, 96), 0xF4F4F4u);
    ShowGrid->trigger();
    EXPECT_EQ(Pixel(8, 96), 0xF4F4F4u);
    EXPECT_FALSE(QSettings().value("view/showGrid").toBool());

    // Without snapping Ctrl+Right moves by the step, 20 → 28.
    QTest::keyClick(Preview, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(Button->FLeft, 28);
    Snap->trigger();
    EXPECT_TRUE(QSettings().value("view/snapToGrid").toBool());
    // With it, to the next line: 28 → 32; top 30 → 32; then left 32 → 24.
    QTest::keyClick(Preview, Qt::Key_Right, Qt::ControlModifier);
    QTest::keyClick(Preview, Qt::Key_Down, Qt::ControlModifier);
    QTest::keyClick(Preview, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(RectOf(Button).topLeft(), QPoint(24, 32));

    // A drag by (+13, +5) puts the corner on the nearest line: 37 → 40, 37 → 40.
    Drag({60, 50}, {73, 55});
    EXPECT_EQ(RectOf(Button).topLeft(), QPoint(40, 40));
    // The right handle, at x 140 and y 60 (40 + 40 / 2), by (+13, +3): the edge 153 goes to 152.
    Drag({140, 60}, {153, 63});
    EXPECT_EQ(text(RectOf(Button)), text({40, 40, 112, 40}));
}

TEST_F(PreviewGestures, KeyboardFocusShowsAsAFrameInsideThePreview)
{
    const QRgb Highlight = 0x1A5FD0;
    const int Y = Preview->height() / 2 | 1;  // an odd row: no grid dot there
    Window.activateWindow();
    Preview->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Preview->hasFocus(); }));
    EXPECT_EQ(Pixel(1, Y), Highlight);
    EXPECT_EQ(Pixel(Preview->width() - 2, Y), Highlight);
    EXPECT_EQ(Pixel(2, Y), 0xF4F4F4u) << "two pixels wide";
    Window.controlList()->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Preview->hasFocus(); }));
    EXPECT_EQ(Pixel(1, Y), 0xF4F4F4u);
}

TEST_F(PreviewGestures, TheFormatMenuAlignsTheSelectionInOneStep)
{
    QAction* AlignLefts = Action("alignLeftsAction");
    QAction* SpaceAcross = Action("spaceAcrossAction");
    ASSERT_TRUE(AlignLefts && SpaceAcross);
    EXPECT_FALSE(AlignLefts->isEnabled()) << "one control has nothing to align with";
    // Other leads: the others take its left, 150.
    Window.setSelection({Other, Button, Low});
    EXPECT_TRUE(AlignLefts->isEnabled());
    EXPECT_TRUE(SpaceAcross->isEnabled());
    Window.setSelection({Other, Button});
    EXPECT_FALSE(SpaceAcross->isEnabled()) << "spacing needs three";
    AlignLefts->trigger();
    EXPECT_EQ(Button->FLeft, 150);
    EXPECT_EQ(Other->FLeft, 150);
    EXPECT_EQ(Stack()->count(), Steps + 1);
    EXPECT_EQ(Stack()->undoText(), "Align Lefts (2 controls)");
    Window.document()->undo();
    EXPECT_EQ(text(RectOf(Button)), text({20, 30, 100, 40}));
}

// The first control clicked is the reference of Align Rights whether the clicks were in the
// control list or in the preview, and both views mark that control: the list in bold, the
// preview on top. Other's right edge is 150 + 60 = 210, so Button's left becomes 210 - 100 = 110.
TEST_F(PreviewGestures, TheListAndThePreviewAgreeOnTheReference)
{
    QListView* List = Window.controlList();
    QAction* AlignRights = Action("alignRightsAction");
    ASSERT_TRUE(List && AlignRights);
    const auto ClickRow = [&](TPalmoControl* Control, Qt::KeyboardModifiers Modifiers) {
        const QModelIndex Row = List->model()->index(Window.form()->indexOf(Control), 0);
        QTest::mouseClick(List->viewport(), Qt::LeftButton, Modifiers, List->visualRect(Row).center());
        return Row;
    };
    const auto ClickPreview = [&](TPalmoControl* Control, Qt::KeyboardModifiers Modifiers) {
        QTest::mouseClick(Preview, Qt::LeftButton, Modifiers, RectOf(Control).center());
    };
    for (const bool InList : {true, false}) {
        SCOPED_TRACE(InList ? "clicks in the list" : "clicks in the preview");
        Window.setSelection({});
        // Other, then Button and Low with Ctrl, then Low again with Ctrl: it leaves.
        const std::pair<TPalmoControl*, Qt::KeyboardModifiers> Clicks[] = {
            {Other, Qt::NoModifier}, {Button, Qt::ControlModifier}, {Low, Qt::ControlModifier}, {Low, Qt::ControlModifier}};
        for (const auto& [Control, Modifiers] : Clicks)
            InList ? (void)ClickRow(Control, Modifiers) : ClickPreview(Control, Modifiers);
        ASSERT_EQ(Window.selection(), (std::vector<TPalmoControl*>{Other, Button}));
        EXPECT_EQ(Preview->selection().front(), Other);
        const QModelIndex OtherRow = List->model()->index(Window.form()->indexOf(Other), 0);
        const QModelIndex ButtonRow = List->model()->index(Window.form()->indexOf(Button), 0);
        EXPECT_TRUE(OtherRow.data(Qt::FontRole).value<QFont>().bold());
        EXPECT_FALSE(ButtonRow.data(Qt::FontRole).value<QFont>().bold());
        EXPECT_TRUE(List->selectionModel()->isSelected(OtherRow) && List->selectionModel()->isSelected(ButtonRow));
        AlignRights->trigger();
        EXPECT_EQ(text(RectOf(Button)), text({110, 30, 100, 40}));
        EXPECT_EQ(text(RectOf(Other)), text({150, 30, 60, 20}));
        Window.document()->undo();
        EXPECT_EQ(text(RectOf(Button)), text({20, 30, 100, 40}));
    }
}

// A button dragged from the palette shows as a new button's outline (96 x 36) with its corner on
// the grid line nearest the pointer: (205, 150) gives (208, 152). Leaving the preview (as Escape
// does) adds nothing; a drop adds it there as one step, alone selected, the keyboard in the
// preview. No platform without a display runs a drag loop: the stand-in delivers the drag's
// events to the preview with the data the palette's button put in the drag.
TEST_F(PreviewGestures, AClassDraggedFromThePaletteIsAddedWhereItIsDroppedInOneStep)
{
    Action("snapToGridAction")->trigger();
    auto* Drags = Window.findChild<PaletteDrag*>();
    auto* Palette = Window.findChild<QToolBar*>("palette");
    auto* Readout = Window.findChild<QLabel*>("placeReadout");
    ASSERT_TRUE(Drags && Palette && Readout);
    auto* Tool = qobject_cast<QAbstractButton*>(Palette->widgetForAction(Palette->findChild<QAction*>("palette_TPalmoButton")));
    ASSERT_NE(Tool, nullptr);
    bool Drop = false;
    QString Carried, ShownDuring;
    QRect Outline;
    QImage Picture;
    Drags->runDrag = [&](QDrag& Drag) {
        const QMimeData* Data = Drag.mimeData();
        Carried = controlClassIn(Data);
        QDragEnterEvent Enter({203, 101}, Qt::CopyAction, Data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Preview, &Enter);
        QDragMoveEvent Move({205, 150}, Qt::CopyAction, Data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Preview, &Move);
        Outline = Preview->dropOutline();
        ShownDuring = Readout->text();
        Picture = Preview->grab().toImage();
        if (Drop) {
            QDropEvent Dropped({205, 150}, Qt::CopyAction, Data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(Preview, &Dropped);
        } else {
            QDragLeaveEvent Leave;
            QApplication::sendEvent(Preview, &Leave);
        }
    };
    // Pressed, moved 20 pixels with the button held (a drag, not a click), let go over the button.
    const auto DragFromPalette = [&] {
        const QPoint From = Tool->rect().center();
        const QPoint To = From + QPoint(0, 20);
        QTest::mousePress(Tool, Qt::LeftButton, Qt::NoModifier, From);
        QMouseEvent Move(QEvent::MouseMove, To, Tool->mapToGlobal(To), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Tool, &Move);
        QTest::mouseRelease(Tool, Qt::LeftButton, Qt::NoModifier, From);
    };

    DragFromPalette();
    EXPECT_EQ(Carried, "TPalmoButton");
    EXPECT_EQ(text(Outline), text({208, 152, 96, 36}));
    EXPECT_EQ(ShownDuring, "Left 208, Top 152, Width 96, Height 36");
    const QRgb Inside = Picture.pixel(251, 171) & 0xFFFFFF;  // no grid dot at odd coordinates
    EXPECT_TRUE(Inside != 0xF4F4F4u && qBlue(Inside) > qRed(Inside)) << std::hex << Inside;
    EXPECT_EQ(Pixel(251, 171), 0xF4F4F4u) << "the outline goes with the drag";
    EXPECT_EQ(Window.form()->count(), 3) << "nothing added, and the palette's button did not click";
    EXPECT_EQ(Stack()->count(), Steps);

    Drop = true;
    DragFromPalette();
    ASSERT_EQ(Window.form()->count(), 4);
    TPalmoControl* Added = Window.form()->control(3);
    EXPECT_EQ(text(RectOf(Added)), text({208, 152, 96, 36}));
    EXPECT_EQ(Window.selection(), std::vector<TPalmoControl*>{Added});
    EXPECT_EQ(Window.focusWidget(), Preview);
    EXPECT_EQ(Stack()->count(), Steps + 1);
    EXPECT_EQ(Stack()->undoText(), "Add PalmoButton4");
    Window.document()->undo();
    EXPECT_EQ(Window.form()->count(), 3);
}

// The status bar reads out the selection's place and size, for several their bounds; during a
// drag the places as they are shown, in the inspector's rows too, before anything is written.
// Button is at (20, 30), 100 x 40; a drag by (+13, +5) shows it at (33, 35). A message already in
// the bar stays. Ctrl+Shift+Right makes it a grid step wider.
TEST_F(PreviewGestures, TheReadoutAndTheInspectorFollowADrag)
{
    auto* Readout = Window.findChild<QLabel*>("placeReadout");
    ASSERT_NE(Readout, nullptr);
    const PropertyInspector& Inspector = *Window.inspector();
    const auto Row = [&](const char* Path) { return RowText(Inspector, Inspector.rowOf(Path)).toStdString(); };
    QCoreApplication::processEvents();
    EXPECT_EQ(Readout->text(), "Left 20, Top 30, Width 100, Height 40");
    const QString Refusal = "Nothing pasted: the clipboard holds no controls";
    Window.statusBar()->showMessage(Refusal);

    QTest::mousePress(Preview, Qt::LeftButton, Qt::NoModifier, {60, 50});
    MoveTo({73, 55}, Qt::LeftButton);
    EXPECT_EQ(Readout->text(), "Left 33, Top 35, Width 100, Height 40");
    EXPECT_EQ(Row("Left") + " " + Row("Top") + " " + Row("Width"), "33 35 100");
    EXPECT_EQ(Button->FLeft, 20) << "nothing is written during the drag";
    EXPECT_EQ(Window.statusBar()->currentMessage(), Refusal);
    QTest::mouseRelease(Preview, Qt::LeftButton, Qt::NoModifier, {73, 55});
    QCoreApplication::processEvents();
    EXPECT_EQ(Row("Left"), "33");
    EXPECT_EQ(Readout->text(), "Left 33, Top 35, Width 100, Height 40");

    QTest::keyClick(Preview, Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
    QCoreApplication::processEvents();
    EXPECT_EQ(Row("Width"), "108");
    // With Low (20, 120, 60 x 20): from (20, 35) to (141, 140).
    Window.setSelection({Button, Low});
    QCoreApplication::processEvents();
    EXPECT_EQ(Readout->text(), "2 controls: Left 20, Top 35, Width 121, Height 105");
}

}  // namespace
