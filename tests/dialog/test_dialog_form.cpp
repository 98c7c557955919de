// The dialog as built: its controls and their places, captions and bindings, the values a fresh
// dialog shows, its buttons, and the lifetime of dialogs and of the lists they use.
#include "DialogTestSupport.h"

#include "host/vcl/Graphics.h"

#include <QMetaMethod>
#include <QTimer>

#include <memory>

using namespace dialogtest;

namespace {

using FormTest = DialogTest;

TEST_F(FormTest, AFreshDialogShowsHue0Sat0Bright150AndGrey191)
{
    EXPECT_EQ(EntryTexts(), (std::vector<String>{"0", "0", "150", "191", "191", "191"}));
    EXPECT_EQ(Form.TrackBright->Position(), 150);
    EXPECT_EQ(Hue(Form), 0);
    EXPECT_EQ(Sat(Form), 0);
    EXPECT_EQ(Bright(Form), 150);
    EXPECT_EQ(Red(Form), 191);
    EXPECT_EQ(Green(Form), 191);
    EXPECT_EQ(Blue(Form), 191);
    EXPECT_EQ(PickedColor(Form), 0x00BFBFBF);
    EXPECT_EQ(Form.SelectedIdentifier(), String());
    EXPECT_EQ(ViewOfBox(Form).Marker.x(), -1);
    EXPECT_EQ(ViewOfBox(Form).Marker.y(), -1);
    EXPECT_FALSE(ViewOfBox(Form).Painted);
}

TEST_F(FormTest, ThePickedSwatchIsGrey191LeavingItsRightColumnAndBottomRowToThePage)
{
    ShowOn(2);
    // The page as it shows beside the swatch, where nothing else lies.
    const QImage Shown = Form.grab().toImage();
    const QRgb Page = Pixel(Shown, Form.TabSheet1->mapTo(&Form, QPoint(315, 190)).x(),
                            Form.TabSheet1->mapTo(&Form, QPoint(315, 190)).y());
    const QImage& Image = Form.PaintBoxPickedColor->Image();
    ASSERT_EQ(Image.size(), QSize(25, 25));
    for (int Y = 0; Y < 25; ++Y) {
        for (int X = 0; X < 25; ++X) {
            const QRgb Expected = X < 24 && Y < 24 ? 0xBFBFBF : Page;
            ASSERT_EQ(Hex(Pixel(Image, X, Y)), Hex(Expected)) << X << "," << Y;
        }
    }
    // What is on screen is what the image holds.
    const QPoint Swatch = Form.PaintBoxPickedColor->mapTo(&Form, QPoint(0, 0));
    EXPECT_EQ(Hex(Pixel(Shown, Swatch.x() + 12, Swatch.y() + 12)), Hex(0xBFBFBF));
    EXPECT_EQ(Hex(Pixel(Shown, Swatch.x() + 24, Swatch.y() + 12)), Hex(Page));
}

TEST_F(FormTest, TheDialogOpensOnCustomColorsWithItsCaptionAndFixedClientSize)
{
    EXPECT_EQ(Form.objectName(), "CVKZLMOBILEColorForm");
    EXPECT_EQ(Form.windowTitle(), "TCVColor Editor");
    EXPECT_EQ(Form.PageControl1->ActivePageIndex(), 2);
    EXPECT_EQ(Form.PageControl1->tabText(Form.PageControl1->ActivePageIndex()), "Custom Colors");
    EXPECT_EQ(Form.Position(), poDesktopCenter);
    ShowOn(2);
    EXPECT_EQ(Form.size(), QSize(385, 453)) << "client area";
    EXPECT_EQ(Form.minimumSize(), QSize(385, 453));
    EXPECT_EQ(Form.maximumSize(), QSize(385, 453)) << "a dialog border does not resize";
    EXPECT_EQ(Form.PageControl1->currentWidget(), Form.TabSheet1);
    EXPECT_EQ(Form.font().pointSize(), 8);
}

TEST_F(FormTest, TheSelectionLabelAndSwatchStayBlankBeforeAnySelection)
{
    ShowOn(2);
    EXPECT_EQ(Form.LabelIdent->Caption(), "Identifier:");
    EXPECT_EQ(Form.PaintBoxSelection->Color(), clWhite);
    Form.PaintBoxSelection->Repaint();
    // Nothing is painted: the swatch shows the form's face, not its own colour (white).
    const QRgb Face = Rgb(ColorToRGB(clBtnFace));
    const QImage& Image = Form.PaintBoxSelection->Image();
    ASSERT_EQ(Image.size(), QSize(25, 25));
    for (int Y = 0; Y < 25; ++Y)
        for (int X = 0; X < 25; ++X)
            ASSERT_EQ(Hex(Pixel(Image, X, Y)), Hex(Face)) << "nothing painted at " << X << "," << Y;
    QApplication::processEvents();
    const QImage Shown = Form.grab().toImage();
    for (const QPoint At : {QPoint(64, 362), QPoint(76, 374), QPoint(88, 386)})
        EXPECT_EQ(Hex(Pixel(Shown, At.x(), At.y())), Hex(Face)) << At.x() << "," << At.y();
}

// The form's controls: name, class, parent, place and size, caption.
struct ControlRow {
    const char* Name;
    const char* Class;
    const char* Parent;
    QRect Geometry;
    const char* Caption; // nullptr: the control has no caption
};

const ControlRow Controls[] = {
    {"LabelSelection", "TLabel", "CVKZLMOBILEColorForm", {8, 368, 47, 13}, "Selection:"},
    {"PaintBoxSelection", "TPaintBox", "CVKZLMOBILEColorForm", {64, 362, 25, 25}, nullptr},
    {"LabelIdent", "TLabel", "CVKZLMOBILEColorForm", {104, 368, 43, 13}, "Identifier:"},
    {"StatusBar1", "TStatusBar", "CVKZLMOBILEColorForm", {0, 434, 385, 19}, nullptr},
    {"PageControl1", "TPageControl", "CVKZLMOBILEColorForm", {8, 8, 369, 337}, nullptr},
    {"WebColorsGrid", "TDrawGrid", "TabSheetWeb", {0, 1, 305, 305}, nullptr},
    {"SysColorsGrid", "TDrawGrid", "TabSheetSys", {0, 0, 229, 153}, nullptr},
    {"PaintBoxColor", "TPaintBox", "TabSheet1", {0, 8, 202, 202}, nullptr},
    {"TrackBright", "TTrackBar", "TabSheet1", {240, 8, 33, 225}, nullptr},
    {"Label1", "TLabel", "TabSheet1", {280, 12, 23, 13}, "Hue:"},
    {"Label2", "TLabel", "TabSheet1", {280, 36, 19, 13}, "Sat:"},
    {"Label3", "TLabel", "TabSheet1", {280, 60, 23, 13}, "Lum:"},
    {"EditHue", "TEdit", "TabSheet1", {320, 8, 33, 21}, nullptr},
    {"EditSat", "TEdit", "TabSheet1", {320, 32, 33, 21}, nullptr},
    {"EditBright", "TEdit", "TabSheet1", {320, 56, 33, 21}, nullptr},
    {"LabelR", "TLabel", "TabSheet1", {280, 92, 23, 13}, "Red:"},
    {"LabelG", "TLabel", "TabSheet1", {280, 116, 32, 13}, "Green:"},
    {"LabelB", "TLabel", "TabSheet1", {280, 140, 24, 13}, "Blue:"},
    {"editRed", "TEdit", "TabSheet1", {320, 88, 33, 21}, nullptr},
    {"editGreen", "TEdit", "TabSheet1", {320, 112, 33, 21}, nullptr},
    {"editBlue", "TEdit", "TabSheet1", {320, 136, 33, 21}, nullptr},
    {"Label4", "TLabel", "TabSheet1", {280, 160, 63, 13}, "Picked Color:"},
    {"PaintBoxPickedColor", "TPaintBox", "TabSheet1", {280, 176, 25, 25}, nullptr},
    {"ButtonAdd", "TButton", "TabSheet1", {280, 204, 75, 25}, "Add"},
    {"GridCustomColors", "TDrawGrid", "TabSheet1", {0, 240, 353, 53}, nullptr},
    {"Button1", "TButton", "CVKZLMOBILEColorForm", {209, 401, 75, 25}, "&OK"},
    {"Button2", "TButton", "CVKZLMOBILEColorForm", {305, 401, 75, 25}, "&Cancel"},
};

TEST_F(FormTest, EveryControlSitsWhereTheLayoutPutsIt)
{
    // Labels size themselves to their captions in the font at hand once shown: their stored size
    // is only where they start.
    for (int Page : {0, 1, 2})
        ShowOn(Page);
    for (const ControlRow& Row : Controls) {
        SCOPED_TRACE(Row.Name);
        auto* Control = Form.findChild<QWidget*>(Row.Name);
        ASSERT_NE(Control, nullptr);
        EXPECT_STREQ(Control->metaObject()->className(), Row.Class);
        ASSERT_NE(Control->parentWidget(), nullptr);
        EXPECT_EQ(Control->parentWidget()->objectName(), Row.Parent);
        if (qobject_cast<TLabel*>(Control)) {
            EXPECT_EQ(Control->pos(), Row.Geometry.topLeft());
            const QString Caption = Control->property("Caption").toString();
            EXPECT_GE(Control->width(), Control->fontMetrics().horizontalAdvance(Caption)) << "caption fits";
            EXPECT_GE(Control->height(), Control->fontMetrics().height());
        } else {
            EXPECT_EQ(Control->geometry(), Row.Geometry);
        }
        if (Row.Caption) {
            EXPECT_EQ(Control->property("Caption").toString(), Row.Caption);
        }
    }
}

TEST_F(FormTest, ThePublicMembersAreTheNamedControls)
{
    const std::pair<QWidget*, const char*> Members[] = {
        {Form.LabelSelection, "LabelSelection"}, {Form.PaintBoxSelection, "PaintBoxSelection"},
        {Form.LabelIdent, "LabelIdent"}, {Form.StatusBar1, "StatusBar1"}, {Form.PageControl1, "PageControl1"},
        {Form.TabSheetWeb, "TabSheetWeb"}, {Form.WebColorsGrid, "WebColorsGrid"},
        {Form.TabSheetSys, "TabSheetSys"}, {Form.SysColorsGrid, "SysColorsGrid"},
        {Form.TabSheet1, "TabSheet1"}, {Form.PaintBoxColor, "PaintBoxColor"},
        {Form.TrackBright, "TrackBright"}, {Form.EditHue, "EditHue"}, {Form.EditSat, "EditSat"},
        {Form.EditBright, "EditBright"}, {Form.editRed, "editRed"}, {Form.editGreen, "editGreen"},
        {Form.editBlue, "editBlue"}, {Form.PaintBoxPickedColor, "PaintBoxPickedColor"},
        {Form.ButtonAdd, "ButtonAdd"}, {Form.GridCustomColors, "GridCustomColors"},
        {Form.Button1, "Button1"}, {Form.Button2, "Button2"},
    };
    for (const auto& [Member, Name] : Members)
        EXPECT_EQ(Member->objectName(), Name);
}

TEST_F(FormTest, ThePagesAreWebSystemAndCustomInThatOrder)
{
    const std::tuple<QWidget*, const char*> Pages[] = {
        {Form.TabSheetWeb, "Web Colors"},
        {Form.TabSheetSys, "System Colors"},
        {Form.TabSheet1, "Custom Colors"},
    };
    ASSERT_EQ(Form.PageControl1->PageCount(), 3);
    for (int Index = 0; Index < 3; ++Index) {
        const auto& [Page, Caption] = Pages[Index];
        EXPECT_EQ(Form.PageControl1->widget(Index), Page) << Index;
        EXPECT_EQ(Form.PageControl1->tabText(Index), Caption) << Index;
    }
}

TEST_F(FormTest, TheGridsShowEveryCellWithoutScrolling)
{
    const std::tuple<TDrawGrid*, int, int> Grids[] = {
        {Form.WebColorsGrid, 12, 12},
        {Form.SysColorsGrid, 9, 6},
        {Form.GridCustomColors, 14, 2},
    };
    for (const auto& [Grid, Cols, Rows] : Grids) {
        SCOPED_TRACE(Grid->objectName().toStdString());
        EXPECT_EQ(Grid->ColCount(), Cols);
        EXPECT_EQ(Grid->RowCount(), Rows);
        EXPECT_EQ(Grid->DefaultColWidth(), 24);
        EXPECT_EQ(Grid->DefaultRowHeight(), 24);
        const TRect Last = Grid->CellRect(Cols - 1, Rows - 1);
        EXPECT_LE(Last.Right, Grid->width());
        EXPECT_LE(Last.Bottom, Grid->height());
        EXPECT_EQ(Grid->Col(), 0);
        EXPECT_EQ(Grid->Row(), 0);
    }
}

TEST_F(FormTest, TheTrackBarRunsVerticallyFrom0To199WithATickEvery10)
{
    EXPECT_EQ(Form.TrackBright->orientation(), Qt::Vertical);
    EXPECT_EQ(Form.TrackBright->Min(), 0);
    EXPECT_EQ(Form.TrackBright->Max(), 199);
    EXPECT_EQ(Form.TrackBright->Frequency(), 10);
}

TEST_F(FormTest, OkIsTheDefaultButtonAndCancelTheCancelButton)
{
    EXPECT_TRUE(Form.Button1->Default());
    EXPECT_EQ(Form.Button1->ModalResult(), mrOk);
    EXPECT_FALSE(Form.Button1->Cancel());
    EXPECT_FALSE(Form.Button2->Default());
    EXPECT_TRUE(Form.Button2->Cancel());
    EXPECT_EQ(Form.Button2->ModalResult(), mrCancel);
    EXPECT_EQ(Form.ButtonAdd->ModalResult(), mrNone) << "Add does not close the dialog";
}

// How the user leaves the modal dialog, and the result the caller sees.
struct CloseRow {
    const char* What;
    std::function<void(TCVKZLMOBILEColorForm&)> Act;
    int Result;
};

TEST_F(FormTest, ShowModalReturnsOkOrCancelAsTheUserLeaves)
{
    const CloseRow Rows[] = {
        {"click OK", [](TCVKZLMOBILEColorForm& F) { QTest::mouseClick(F.Button1, Qt::LeftButton); }, mrOk},
        {"click Cancel", [](TCVKZLMOBILEColorForm& F) { QTest::mouseClick(F.Button2, Qt::LeftButton); }, mrCancel},
        {"Enter in the hue entry",
         [](TCVKZLMOBILEColorForm& F) {
             F.EditHue->setFocus();
             QTest::keyClick(F.EditHue, Qt::Key_Return);
         },
         mrOk},
        // The keys go to whichever control holds the focus, as the user's keyboard does.
        {"Tab from OK to Cancel, then Enter",
         [](TCVKZLMOBILEColorForm& F) {
             F.activateWindow();
             ASSERT_TRUE(QTest::qWaitForWindowActive(&F));
             F.Button1->setFocus(Qt::TabFocusReason);
             QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
             ASSERT_EQ(QApplication::focusWidget(), F.Button2);
             QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
         },
         mrCancel},
        {"Enter on the focused OK",
         [](TCVKZLMOBILEColorForm& F) {
             F.activateWindow();
             ASSERT_TRUE(QTest::qWaitForWindowActive(&F));
             F.Button1->setFocus(Qt::TabFocusReason);
             QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
         },
         mrOk},
        {"Escape on the focused OK",
         [](TCVKZLMOBILEColorForm& F) {
             F.activateWindow();
             ASSERT_TRUE(QTest::qWaitForWindowActive(&F));
             F.Button1->setFocus(Qt::TabFocusReason);
             QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
         },
         mrCancel},
        {"Enter in the custom grid",
         [](TCVKZLMOBILEColorForm& F) {
             F.activateWindow();
             ASSERT_TRUE(QTest::qWaitForWindowActive(&F));
             F.GridCustomColors->setFocus(Qt::TabFocusReason);
             QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
         },
         mrOk},
        {"Escape in the red entry",
         [](TCVKZLMOBILEColorForm& F) {
             F.editRed->setFocus();
             QTest::keyClick(F.editRed, Qt::Key_Escape);
         },
         mrCancel},
        // A mnemonic works in the active window.
        {"Alt+O",
         [](TCVKZLMOBILEColorForm& F) {
             F.activateWindow();
             ASSERT_TRUE(QTest::qWaitForWindowActive(&F));
             QTest::keyClick(F.EditSat, Qt::Key_O, Qt::AltModifier);
         },
         mrOk},
        {"Alt+C",
         [](TCVKZLMOBILEColorForm& F) {
             F.activateWindow();
             ASSERT_TRUE(QTest::qWaitForWindowActive(&F));
             QTest::keyClick(F.EditSat, Qt::Key_C, Qt::AltModifier);
         },
         mrCancel},
        {"closing the window", [](TCVKZLMOBILEColorForm& F) { F.close(); }, mrCancel},
    };
    for (const CloseRow& Row : Rows) {
        SCOPED_TRACE(Row.What);
        TStringList Custom;
        TCVKZLMOBILEColorForm Dialog(nullptr, &Custom);
        bool Acted = false;
        QTimer::singleShot(0, &Dialog, [&] {
            Acted = true;
            Row.Act(Dialog);
        });
        // A dialog that did not close would hang the test: close it late as a safeguard.
        QTimer::singleShot(5000, &Dialog, [&] { Dialog.SetModalResult(99); });
        EXPECT_EQ(Dialog.ShowModal(), Row.Result);
        EXPECT_TRUE(Acted);
        EXPECT_FALSE(Dialog.isVisible());
    }
}

TEST_F(FormTest, EnterOnTheFocusedAddButtonAddsAndKeepsTheDialogOpen)
{
    bool Acted = false;
    QTimer::singleShot(0, &Form, [&] {
        Acted = true;
        Form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Form));
        Form.ButtonAdd->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_TRUE(Form.isVisible()) << "Add does not close the dialog";
        // Back in an entry, Enter presses OK again.
        Form.EditHue->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    QTimer::singleShot(5000, &Form, [&] { Form.SetModalResult(99); });
    EXPECT_EQ(Form.ShowModal(), mrOk);
    EXPECT_TRUE(Acted);
    // The focus cell of the custom grid is its first: the fresh dialog's grey 191 went there.
    EXPECT_EQ(List.Strings(0), "$00BFBFBF");
    EXPECT_EQ(List.Strings(1), "");
}

// Every event the layout binds: sender, signal and the handler it reaches.
struct BindingRow {
    const char* Sender;
    const char* Signal;
    const char* Handler;
};

const BindingRow Bindings[] = {
    {"CVKZLMOBILEColorForm", "MouseMove(TShiftState,int,int)", "FormMouseMove(TShiftState,int,int)"},
    {"PaintBoxSelection", "Paint()", "PaintBoxSelectionPaint()"},
    {"WebColorsGrid", "DrawCell(int,int,TRect,int)", "WebColorsGridDrawCell(int,int,TRect,int)"},
    {"WebColorsGrid", "SelectCell(int,int,bool&)", "WebColorsGridSelectCell(int,int,bool&)"},
    {"WebColorsGrid", "MouseMove(TShiftState,int,int)", "WebColorsGridMouseMove(TShiftState,int,int)"},
    {"SysColorsGrid", "DrawCell(int,int,TRect,int)", "SysColorsGridDrawCell(int,int,TRect,int)"},
    {"SysColorsGrid", "SelectCell(int,int,bool&)", "SysColorsGridSelectCell(int,int,bool&)"},
    {"SysColorsGrid", "MouseMove(TShiftState,int,int)", "SysColorsGridMouseMove(TShiftState,int,int)"},
    {"PaintBoxColor", "Paint()", "PaintBoxColorPaint()"},
    {"PaintBoxColor", "MouseDown(TMouseButton,TShiftState,int,int)",
     "PaintBoxColorMouseDown(TMouseButton,TShiftState,int,int)"},
    {"PaintBoxColor", "MouseMove(TShiftState,int,int)", "PaintBoxColorMouseMove(TShiftState,int,int)"},
    {"TrackBright", "Change()", "TrackBrightChange()"},
    {"EditHue", "Change()", "EditHueChange()"},
    {"EditSat", "Change()", "EditSatChange()"},
    {"EditBright", "Change()", "EditBrightChange()"},
    {"editRed", "Change()", "editRedChange()"},
    {"editGreen", "Change()", "editGreenChange()"},
    {"editBlue", "Change()", "editBlueChange()"},
    {"PaintBoxPickedColor", "Paint()", "PaintBoxPickedColorPaint()"},
    {"ButtonAdd", "Click()", "ButtonAddClick()"},
    {"GridCustomColors", "DrawCell(int,int,TRect,int)", "GridCustomColorsDrawCell(int,int,TRect,int)"},
    {"GridCustomColors", "SelectCell(int,int,bool&)", "GridCustomColorsSelectCell(int,int,bool&)"},
};

TEST_F(FormTest, EveryEventOfTheLayoutIsBoundToItsHandlerExactlyOnce)
{
    for (const BindingRow& Row : Bindings) {
        SCOPED_TRACE(std::string(Row.Sender) + "." + Row.Signal);
        QObject* Sender = Form.objectName() == Row.Sender ? &Form : Form.findChild<QObject*>(Row.Sender);
        ASSERT_NE(Sender, nullptr);
        const int SignalIndex = Sender->metaObject()->indexOfSignal(Row.Signal);
        const int HandlerIndex = Form.metaObject()->indexOfSlot(Row.Handler);
        ASSERT_GE(SignalIndex, 0);
        ASSERT_GE(HandlerIndex, 0);
        const QMetaMethod Signal = Sender->metaObject()->method(SignalIndex);
        const QMetaMethod Handler = Form.metaObject()->method(HandlerIndex);
        // Taking the binding away succeeds once when it was made once.
        EXPECT_TRUE(QObject::disconnect(Sender, Signal, &Form, Handler));
        EXPECT_FALSE(QObject::disconnect(Sender, Signal, &Form, Handler)) << "bound twice";
        // Bound again, so that the dialog works on as the layout made it (the fixture's checks).
        QObject::connect(Sender, Signal, &Form, Handler);
    }
}

TEST_F(FormTest, EntriesTheUserEditsReachTheirHandlersThroughTheBindings)
{
    // Each entry's binding reaches its own handler: a typed value lands in its own field.
    const std::tuple<TEdit*, std::function<int()>> Entries[] = {
        {Form.EditHue, [&] { return Hue(Form); }},       {Form.EditSat, [&] { return Sat(Form); }},
        {Form.EditBright, [&] { return Bright(Form); }}, {Form.editRed, [&] { return Red(Form); }},
        {Form.editGreen, [&] { return Green(Form); }},   {Form.editBlue, [&] { return Blue(Form); }},
    };
    for (const auto& [Entry, Field] : Entries) {
        SCOPED_TRACE(Entry->objectName().toStdString());
        Retype(Entry, "7");
        EXPECT_EQ(Field(), 7);
    }
}

std::vector<QString>* CapturedMessages = nullptr;

void CaptureMessage(QtMsgType, const QMessageLogContext&, const QString& Message)
{
    if (CapturedMessages)
        CapturedMessages->push_back(Message);
}

TEST(FormBuildTest, BuildingTheFormWarnsAboutNoConnection)
{
    QuietExceptionReports Reports;
    std::vector<QString> Messages;
    CapturedMessages = &Messages;
    const QtMessageHandler Previous = qInstallMessageHandler(CaptureMessage);
    {
        TStringList List;
        TCVKZLMOBILEColorForm Form(nullptr, &List);
        Form.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&Form));
    }
    qInstallMessageHandler(Previous);
    CapturedMessages = nullptr;
    for (const QString& Message : Messages) {
        EXPECT_FALSE(Message.contains("QObject::connect")) << Message.toStdString();
        EXPECT_FALSE(Message.contains("No such signal")) << Message.toStdString();
        EXPECT_FALSE(Message.contains("No such slot")) << Message.toStdString();
    }
    EXPECT_EQ(Application->ExceptionCount(), 0);
}

TEST(FormLifetimeTest, AThousandDialogsComeAndGoLeavingNoneAlive)
{
    QuietExceptionReports Reports;
    ASSERT_EQ(LiveColorForms(), 0);
    TStringList List;
    for (int I = 0; I < 1000; ++I) {
        auto Form = std::make_unique<TCVKZLMOBILEColorForm>(nullptr, &List);
        ASSERT_EQ(LiveColorForms(), 1);
        if (I % 100 == 0) {
            // Now and then one is used a little before it goes.
            Form->SetSelectedIdentifier("$00102030");
            Form->ButtonAdd->click();
        }
    }
    EXPECT_EQ(LiveColorForms(), 0);
    EXPECT_EQ(List.Count(), 28) << "every dialog found the list full";
    EXPECT_EQ(List.Strings(0), "$00102030");
    EXPECT_EQ(Application->ExceptionCount(), 0);
}

TEST(FormLifetimeTest, TheLentListIsFilledTo28AndOutlivesTheDialog)
{
    QuietExceptionReports Reports;
    TStringList List;
    List.Add("$000000FF");
    {
        TCVKZLMOBILEColorForm Form(nullptr, &List);
        EXPECT_EQ(List.Count(), 28);
        EXPECT_EQ(Form.GridCustomColors->CellName(0, 0), "$000000FF") << "the custom grid shows the lent list";
    }
    ASSERT_EQ(List.Count(), 28);
    EXPECT_EQ(List.Strings(0), "$000000FF") << "entries already there are kept";
    for (int I = 1; I < 28; ++I)
        EXPECT_EQ(List.Strings(I), String()) << I;

    // A longer list is neither cut nor padded.
    for (int I = 0; I < 5; ++I)
        List.Add("$00FFFFFF");
    {
        TCVKZLMOBILEColorForm Form(nullptr, &List);
        EXPECT_EQ(List.Count(), 33);
    }
}

TEST(FormLifetimeTest, WithoutALentListTheDialogUsesItsOwn)
{
    QuietExceptionReports Reports;
    TCVKZLMOBILEColorForm Form(nullptr, nullptr);
    // Its list has an entry, empty, for each of the 28 cells.
    EXPECT_EQ(CellNames(Form.GridCustomColors), std::vector<String>(28, "empty"));
    Form.ButtonAdd->click();
    EXPECT_EQ(Form.GridCustomColors->CellName(0, 0), "$00BFBFBF");
}

TEST(FormLifetimeTest, TheSystemListHoldsTheToolkitNamesInOrder)
{
    QuietExceptionReports Reports;
    TStringList List;
    TCVKZLMOBILEColorForm Form(nullptr, &List);
    std::vector<String> Names;
    GetColorValues([&](const String& S) { Names.push_back(S); });
    // The system grid's cells name the list's entries, and the cells past it are empty.
    const std::vector<String> Cells = CellNames(Form.SysColorsGrid);
    ASSERT_LE(Names.size(), Cells.size());
    for (int I = 0; I < int(Cells.size()); ++I)
        EXPECT_EQ(Cells[I], I < int(Names.size()) ? Names[I] : String("empty")) << I;
}

} // namespace
