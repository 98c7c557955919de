#include "dialog/CVKZLMOBILEDsnColorDialog.h"

#include "host/cvcolor/CVColor.h"

#include <array>
#include <memory>

#include "ui_CVKZLMOBILEDsnColorDialog.h"

namespace {

// Sets the dialog's guard flag for the life of a setter and restores the value it found, also
// when a step raises, so that nested setters leave the flag as their caller had it.
class TInternalUICommand {
public:
    explicit TInternalUICommand(bool& Flag) : FFlag(Flag), FSaved(Flag) { FFlag = true; }
    ~TInternalUICommand() { FFlag = FSaved; }
    TInternalUICommand(const TInternalUICommand&) = delete;
    TInternalUICommand& operator=(const TInternalUICommand&) = delete;

private:
    bool& FFlag;
    bool FSaved;
};

int CellIndex(const TDrawGrid* Grid, int ACol, int ARow)
{
    return ARow * Grid->ColCount() + ACol;
}

// The hue-saturation field at BoxBrightness, as the box shows it inside its frame. It never
// changes, so it is computed at the first paint that needs it and every later paint copies it;
// the unit's finalisation frees it, so it goes with the package.
TBitmap* BoxField = nullptr;
int UnitInitCount = 0;

// Rows from saturation 199/200 at the top to 0 at the bottom, each from hue 0 to 199/200.
std::unique_ptr<TBitmap> NewBoxField()
{
    auto Field = std::make_unique<TBitmap>();
    Field->SetSize(HueSteps, SatSteps);
    TCanvas& Canvas = Field->Canvas();
    // What a column's hue contributes is the same on every row: worked out once, not per pixel.
    std::array<HueColumn, HueSteps> Columns;
    for (int I = 0; I < HueSteps; ++I)
        Columns[I] = HueColumnOf(FractionOf(I, HueSteps));
    std::array<TColor, HueSteps> Row;
    for (int N = SatSteps - 1; N >= 0; --N) {
        HSBtoRGBRow(Columns, FractionOf(N, SatSteps), BoxBrightness, Row);
        for (int I = 0; I < HueSteps; ++I)
            Canvas.SetPixel(I, SatSteps - 1 - N, Row[I]);
    }
    return Field;
}

}  // namespace

void CVKZLMOBILEDsnColorDialogInitialization()
{
    ++UnitInitCount;
}

void CVKZLMOBILEDsnColorDialogFinalization()
{
    if (UnitInitCount > 0 && --UnitInitCount == 0)
        FreeAndNil(BoxField);
}

const TBitmap* CVKZLMOBILEDsnColorDialogBoxField()
{
    return BoxField;
}

TCVKZLMOBILEColorForm::TCVKZLMOBILEColorForm(QWidget* AOwner, TStringList* CustomProperties)
    : TForm(AOwner), FCustomColors(CustomProperties)
{
    // The stored layout builds the controls and binds their events to the handlers by name.
    Ui::CVKZLMOBILEColorForm Layout;
    Layout.setupUi(this);
    LabelSelection = Layout.LabelSelection;
    PaintBoxSelection = Layout.PaintBoxSelection;
    LabelIdent = Layout.LabelIdent;
    StatusBar1 = Layout.StatusBar1;
    PageControl1 = Layout.PageControl1;
    TabSheetWeb = Layout.TabSheetWeb;
    WebColorsGrid = Layout.WebColorsGrid;
    TabSheetSys = Layout.TabSheetSys;
    SysColorsGrid = Layout.SysColorsGrid;
    TabSheet1 = Layout.TabSheet1;
    PaintBoxColor = Layout.PaintBoxColor;
    TrackBright = Layout.TrackBright;
    Label1 = Layout.Label1;
    Label2 = Layout.Label2;
    Label3 = Layout.Label3;
    EditHue = Layout.EditHue;
    EditSat = Layout.EditSat;
    EditBright = Layout.EditBright;
    LabelR = Layout.LabelR;
    LabelG = Layout.LabelG;
    LabelB = Layout.LabelB;
    editRed = Layout.editRed;
    editGreen = Layout.editGreen;
    editBlue = Layout.editBlue;
    Label4 = Layout.Label4;
    PaintBoxPickedColor = Layout.PaintBoxPickedColor;
    ButtonAdd = Layout.ButtonAdd;
    GridCustomColors = Layout.GridCustomColors;
    Button1 = Layout.Button1;
    Button2 = Layout.Button2;
    setObjectName(QStringLiteral("CVKZLMOBILEColorForm"));
    SetFixedClientSize(385, 453);
    SetPosition(poDesktopCenter);
    // A cell's name for the tooltip and assistive technology: its entry's, or "empty".
    WebColorsGrid->CellName = [this](int ACol, int ARow) {
        const TCVColorRec* Entry = WebColorAt(ACol, ARow);
        return Entry ? Entry->Name : String("empty");
    };
    SysColorsGrid->CellName = [this](int ACol, int ARow) { return SysColorAt(ACol, ARow).value_or("empty"); };
    GridCustomColors->CellName = [this](int ACol, int ARow) { return CustomColorAt(ACol, ARow).value_or("empty"); };
    // What the box shows, in words: the hue and saturation the marker stands on.
    PaintBoxColor->AccessibleValue = [this] {
        return String("Hue ") + IntToStr(FHue) + String(", Sat ") + IntToStr(FSat);
    };
    FX = -1;
    FY = -1;
    FIsMarkerEnabled = false;
    FormCreate();
}

TCVKZLMOBILEColorForm::~TCVKZLMOBILEColorForm()
{
    FormDestroy();
}

void TCVKZLMOBILEColorForm::FormCreate()
{
    PaintBoxColor->SetWidth(HueSteps + 2);
    PaintBoxColor->SetHeight(SatSteps + 2);
    TrackBright->SetMin(0);
    TrackBright->SetMax(BrightSteps - 1);
    TrackBright->SetFrequency(10);
    SetHue(0);
    SetSat(0);
    SetBright(BrightSteps / 2 + BrightSteps / 4);
    CalcPickedColor(false);
    FSysColors = std::make_unique<TStringList>();
    if (!FCustomColors) {
        FOwnCustomColors = std::make_unique<TStringList>();
        FCustomColors = FOwnCustomColors.get();
    }
    while (FCustomColors->Count() < GridCustomColors->ColCount() * GridCustomColors->RowCount())
        FCustomColors->Add(String());
    GetColorValues([this](const String& S) { SystemColorsCallback(S); });
}

void TCVKZLMOBILEColorForm::FormDestroy()
{
    FSysColors.reset();
    // A list the dialog made for itself goes with it; a lent one stays with its owner.
    if (FOwnCustomColors) {
        FCustomColors = nullptr;
        FOwnCustomColors.reset();
    }
}

void TCVKZLMOBILEColorForm::SystemColorsCallback(const String& S)
{
    FSysColors->Add(S);
}

// ---- The six coordinates --------------------------------------------------------------------

void TCVKZLMOBILEColorForm::SetCoordinate(int& Field, int Value, TEdit* Entry, TTrackBar* Track)
{
    TInternalUICommand Guard(FIsInternalUICommand);
    Field = Value;
    if (Track)
        Track->SetPosition(Value);
    Entry->SetText(IntToStr(Value));
}

void TCVKZLMOBILEColorForm::SetHue(int Value) { SetCoordinate(FHue, Value, EditHue); }
void TCVKZLMOBILEColorForm::SetSat(int Value) { SetCoordinate(FSat, Value, EditSat); }
void TCVKZLMOBILEColorForm::SetBright(int Value) { SetCoordinate(FBright, Value, EditBright, TrackBright); }
void TCVKZLMOBILEColorForm::SetRed(int Value) { SetCoordinate(FRed, Value, editRed); }
void TCVKZLMOBILEColorForm::SetGreen(int Value) { SetCoordinate(FGreen, Value, editGreen); }
void TCVKZLMOBILEColorForm::SetBlue(int Value) { SetCoordinate(FBlue, Value, editBlue); }

void TCVKZLMOBILEColorForm::SetPickedColor(int Value)
{
    FPickedColor = Value;
    PaintBoxPickedColor->Repaint();
}

void TCVKZLMOBILEColorForm::CalcPickedColor(bool FromRGB)
{
    if (FromRGB) {
        Real Hue, Sat, Bright;
        RGBToHSB(FRed, FGreen, FBlue, Hue, Sat, Bright);
        SetHue(PositionOf(HueSteps, Hue));
        SetSat(PositionOf(SatSteps, Sat));
        SetBright(PositionOf(BrightSteps, Bright));
        SetPickedColor(FBlue << 16 | FGreen << 8 | FRed);
    } else {
        SetPickedColor(HSBtoRGB(FractionOf(FHue, HueSteps), FractionOf(FSat, SatSteps), FractionOf(FBright, BrightSteps)));
        SetRed(FPickedColor & 0xFF);
        SetGreen((FPickedColor >> 8) & 0xFF);
        SetBlue((FPickedColor >> 16) & 0xFF);
    }
}

// The six entries, in the order of TCoordinate.
const TCVKZLMOBILEColorForm::TEntryRow TCVKZLMOBILEColorForm::EntryRows[6] = {
    {&TCVKZLMOBILEColorForm::EditHue, HueSteps, &TCVKZLMOBILEColorForm::FHue, &TCVKZLMOBILEColorForm::SetHue, fuFromHSBAndMarker},
    {&TCVKZLMOBILEColorForm::EditSat, SatSteps, &TCVKZLMOBILEColorForm::FSat, &TCVKZLMOBILEColorForm::SetSat, fuFromHSBAndMarker},
    {&TCVKZLMOBILEColorForm::EditBright, BrightSteps, &TCVKZLMOBILEColorForm::FBright, &TCVKZLMOBILEColorForm::SetBright, fuFromHSB},
    {&TCVKZLMOBILEColorForm::editRed, RedSteps, &TCVKZLMOBILEColorForm::FRed, &TCVKZLMOBILEColorForm::SetRed, fuFromRGBAndMarker},
    {&TCVKZLMOBILEColorForm::editGreen, GreenSteps, &TCVKZLMOBILEColorForm::FGreen, &TCVKZLMOBILEColorForm::SetGreen, fuFromRGBAndMarker},
    {&TCVKZLMOBILEColorForm::editBlue, BlueSteps, &TCVKZLMOBILEColorForm::FBlue, &TCVKZLMOBILEColorForm::SetBlue, fuFromRGBAndMarker},
};

void TCVKZLMOBILEColorForm::EntryChange(TCoordinate Coordinate)
{
    if (FIsInternalUICommand)
        return;
    const TEntryRow& Row = EntryRows[Coordinate];
    TEdit* const Entry = this->*Row.Entry;
    int Value = 0;
    bool Accepted = false;
    try {
        Value = StrToInt(Entry->Text());
        Accepted = 0 <= Value && Value < Row.Steps;
    } catch (...) {
        Accepted = false;
    }
    // An empty entry is the user part-way through typing: nothing changes.
    if (Entry->Text().isEmpty())
        return;
    if (!Accepted) {
        // Rewrites the previous number, which undoes the keystroke.
        (this->*Row.Setter)(this->*Row.Field);
        return;
    }
    (this->*Row.Setter)(Value);
    CalcPickedColor(Row.FollowUp == fuFromRGBAndMarker);
    if (Row.FollowUp != fuFromHSB)
        DrawMarker();
}

void TCVKZLMOBILEColorForm::EditHueChange() { EntryChange(coHue); }
void TCVKZLMOBILEColorForm::EditSatChange() { EntryChange(coSat); }
void TCVKZLMOBILEColorForm::EditBrightChange() { EntryChange(coBright); }
void TCVKZLMOBILEColorForm::editRedChange() { EntryChange(coRed); }
void TCVKZLMOBILEColorForm::editGreenChange() { EntryChange(coGreen); }
void TCVKZLMOBILEColorForm::editBlueChange() { EntryChange(coBlue); }

void TCVKZLMOBILEColorForm::TrackBrightChange()
{
    if (FIsInternalUICommand)
        return;
    SetBright(TrackBright->Position());
    CalcPickedColor(false);
}

void TCVKZLMOBILEColorForm::FormMouseMove(TShiftState, int, int)
{
    StatusBar1->SetSimpleText(String());
}

void TCVKZLMOBILEColorForm::PaintBoxPickedColorPaint()
{
    TCanvas& Canvas = PaintBoxPickedColor->Canvas();
    Canvas.Brush.Color = FPickedColor;
    Canvas.FillRect(Rect(0, 0, PaintBoxPickedColor->Width() - 1, PaintBoxPickedColor->Height() - 1));
}

// ---- The selected identifier ----------------------------------------------------------------

void TCVKZLMOBILEColorForm::SetSelectedIdentifier(const String& Value)
{
    FSelectedIdentifier = Value;
    LabelIdent->SetCaption(String("Identifier: ") + FSelectedIdentifier);
    if (!IdentToCVColor(FSelectedIdentifier, FSelectedColor)) {
        FSelectedColor = StrToInt(FSelectedIdentifier);
        if (PageControl1->ActivePageIndex() != 2)
            PageControl1->SetActivePageIndex(2);
        SetRed(FSelectedColor & 0xFF);
        SetGreen((FSelectedColor & 0xFF00) >> 8);
        SetBlue((FSelectedColor & 0xFF0000) >> 16);
        SetPickedColor(FSelectedColor);
        CalcPickedColor(true);
        // The custom grid sits beside the box: a colour chosen there must move the marker now,
        // not at the box's next paint, or it would show the old hue and saturation.
        DrawMarker();
    }
    PaintBoxSelection->Repaint();
}

void TCVKZLMOBILEColorForm::PaintBoxSelectionPaint()
{
    if (FSelectedIdentifier.isEmpty())
        return;
    TCanvas& Canvas = PaintBoxSelection->Canvas();
    Canvas.Brush.Color = FSelectedColor;
    Canvas.FillRect(Rect(0, 0, PaintBoxSelection->Width() - 1, PaintBoxSelection->Height() - 1));
}

// ---- The hue-saturation box -----------------------------------------------------------------

void TCVKZLMOBILEColorForm::DrawCross(int X, int Y)
{
    TCanvas& Canvas = PaintBoxColor->Canvas();
    Canvas.MoveTo(X, Y - 10);
    Canvas.LineTo(X, Y + 10);
    Canvas.MoveTo(X - 10, Y);
    Canvas.LineTo(X + 10, Y);
}

void TCVKZLMOBILEColorForm::DrawMarker()
{
    if (!FIsMarkerEnabled)
        return;
    TCanvas& Canvas = PaintBoxColor->Canvas();
    const TPenMode OldMode = Canvas.Pen.Mode;
    Canvas.Pen.Mode = pmNot;
    Canvas.Pen.Color = clBlack;
    if (FX != -1)
        DrawCross(FX, FY);  // inverting again removes the old cross
    FX = HueToX(FHue);
    FY = SatToY(FSat);
    DrawCross(FX, FY);
    Canvas.Pen.Mode = OldMode;
}

void TCVKZLMOBILEColorForm::PaintBoxColorPaint()
{
    TCanvas& Canvas = PaintBoxColor->Canvas();
    const int Width = PaintBoxColor->Width();
    const int Height = PaintBoxColor->Height();
    // The field: pixel (i + 1, SatSteps - n) is HSBtoRGB(i / HueSteps, n / SatSteps, BoxBrightness).
    if (!BoxField)
        BoxField = NewBoxField().release();
    Canvas.Draw(1, 1, *BoxField);
    Canvas.Pen.Color = clWhite;
    Canvas.MoveTo(0, 0);
    Canvas.LineTo(Width - 1, 0);
    Canvas.LineTo(Width - 1, Height - 1);
    Canvas.LineTo(0, Height - 1);
    Canvas.LineTo(0, 0);
    FIsMarkerEnabled = true;
    FX = -1;  // the repaint wiped the old cross
    FY = -1;
    DrawMarker();
}

void TCVKZLMOBILEColorForm::PaintBoxColorMouseMove(TShiftState Shift, int X, int Y)
{
    if (!(Shift & ssLeft))
        return;
    if (0 < X && X <= PaintBoxColor->Width() - 2 && 0 < Y && Y <= PaintBoxColor->Height() - 2) {
        SetHue(XToHue(X));
        SetSat(YToSat(Y));
        DrawMarker();
        CalcPickedColor(false);
    }
}

void TCVKZLMOBILEColorForm::PaintBoxColorMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft)
        PaintBoxColorMouseMove(Shift, X, Y);
}

// ---- The swatch grids -----------------------------------------------------------------------

void TCVKZLMOBILEColorForm::DrawEmptyCell(TCanvas& Canvas, const TRect& Rect)
{
    Canvas.Pen.Color = clBlack;
    Canvas.MoveTo(Rect.Left, Rect.Top);
    Canvas.LineTo(Rect.Right, Rect.Bottom);
    Canvas.MoveTo(Rect.Right, Rect.Top);
    Canvas.LineTo(Rect.Left, Rect.Bottom);
}

const TCVColorRec* TCVKZLMOBILEColorForm::WebColorAt(int ACol, int ARow) const
{
    const int Index = CellIndex(WebColorsGrid, ACol, ARow);
    return 0 <= Index && Index < WebColorCount ? &CVColors[Index] : nullptr;
}

std::optional<String> TCVKZLMOBILEColorForm::SysColorAt(int ACol, int ARow) const
{
    const int Index = CellIndex(SysColorsGrid, ACol, ARow);
    if (!FSysColors || Index < 0 || Index >= FSysColors->Count())
        return std::nullopt;
    return FSysColors->Strings(Index);
}

std::optional<String> TCVKZLMOBILEColorForm::CustomColorAt(int ACol, int ARow) const
{
    const int Index = CellIndex(GridCustomColors, ACol, ARow);
    if (!FCustomColors || Index < 0 || Index >= FCustomColors->Count() || FCustomColors->Strings(Index).isEmpty())
        return std::nullopt;
    return FCustomColors->Strings(Index);
}

void TCVKZLMOBILEColorForm::WebColorsGridDrawCell(int ACol, int ARow, TRect Rect, int)
{
    TCanvas& Canvas = WebColorsGrid->Canvas();
    if (const TCVColorRec* Entry = WebColorAt(ACol, ARow)) {
        Canvas.Brush.Color = Entry->Value;
        Canvas.FillRect(Rect);
    } else {
        DrawEmptyCell(Canvas, Rect);
    }
}

void TCVKZLMOBILEColorForm::WebColorsGridSelectCell(int ACol, int ARow, bool&)
{
    if (const TCVColorRec* Entry = WebColorAt(ACol, ARow))
        SetSelectedIdentifier(Entry->Name);
}

void TCVKZLMOBILEColorForm::WebColorsGridMouseMove(TShiftState, int X, int Y)
{
    int ACol = -1, ARow = -1;
    WebColorsGrid->MouseToCell(X, Y, ACol, ARow);
    const TCVColorRec* Entry = WebColorAt(ACol, ARow);
    StatusBar1->SetSimpleText(Entry ? Entry->Name : String());
}

void TCVKZLMOBILEColorForm::SysColorsGridDrawCell(int ACol, int ARow, TRect Rect, int)
{
    TCanvas& Canvas = SysColorsGrid->Canvas();
    if (const std::optional<String> Name = SysColorAt(ACol, ARow)) {
        int Color = clBlack;
        IdentToColor(*Name, Color);
        Canvas.Brush.Color = Color;
        Canvas.FillRect(Rect);
    } else {
        DrawEmptyCell(Canvas, Rect);
    }
}

void TCVKZLMOBILEColorForm::SysColorsGridSelectCell(int ACol, int ARow, bool&)
{
    if (const std::optional<String> Name = SysColorAt(ACol, ARow))
        SetSelectedIdentifier(*Name);
}

void TCVKZLMOBILEColorForm::SysColorsGridMouseMove(TShiftState, int X, int Y)
{
    int ACol = -1, ARow = -1;
    SysColorsGrid->MouseToCell(X, Y, ACol, ARow);
    StatusBar1->SetSimpleText(SysColorAt(ACol, ARow).value_or(String()));
}

void TCVKZLMOBILEColorForm::GridCustomColorsDrawCell(int ACol, int ARow, TRect Rect, int)
{
    TCanvas& Canvas = GridCustomColors->Canvas();
    if (const std::optional<String> Entry = CustomColorAt(ACol, ARow)) {
        Canvas.Brush.Color = StrToInt(*Entry);
        Canvas.FillRect(Rect);
    } else {
        Canvas.Brush.Color = clWhite;
        Canvas.FillRect(Rect);
        DrawEmptyCell(Canvas, Rect);
    }
}

void TCVKZLMOBILEColorForm::GridCustomColorsSelectCell(int ACol, int ARow, bool&)
{
    if (const std::optional<String> Entry = CustomColorAt(ACol, ARow))
        SetSelectedIdentifier(*Entry);
}

void TCVKZLMOBILEColorForm::ButtonAddClick()
{
    const int Index = CellIndex(GridCustomColors, GridCustomColors->Col(), GridCustomColors->Row());
    FCustomColors->Put(Index, String("$") + IntToHex(FPickedColor, 8));
    GridCustomColors->Repaint();
}
