#pragma once
// The colour picker: web colours, the toolkit's colours, and a custom page where hue, saturation
// and brightness or red, green and blue are picked and kept in step.

#include "color/ColorModel.h"
#include "host/rtl/Classes.h"
#include "host/vcl/ComCtrls.h"
#include "host/vcl/ExtCtrls.h"
#include "host/vcl/Forms.h"
#include "host/vcl/Grids.h"
#include "host/vcl/StdCtrls.h"

#include <memory>
#include <optional>

struct TCVColorRec;

// The unit's initialisation and finalisation, run by the package loader. The finalisation frees
// the box's field, which the first paint of a box computes and every later paint copies.
void CVKZLMOBILEDsnColorDialogInitialization();
void CVKZLMOBILEDsnColorDialogFinalization();
// The kept field, null until a box has been painted since the package was loaded.
const TBitmap* CVKZLMOBILEDsnColorDialogBoxField();

class TCVKZLMOBILEColorForm : public TForm {
    Q_OBJECT

public:
    // The controls of the stored layout, by their names in it; the form owns them.
    TLabel* LabelSelection = nullptr;
    TPaintBox* PaintBoxSelection = nullptr;
    TLabel* LabelIdent = nullptr;
    TStatusBar* StatusBar1 = nullptr;
    TPageControl* PageControl1 = nullptr;
    QWidget* TabSheetWeb = nullptr;
    TDrawGrid* WebColorsGrid = nullptr;
    QWidget* TabSheetSys = nullptr;
    TDrawGrid* SysColorsGrid = nullptr;
    QWidget* TabSheet1 = nullptr;
    TPaintBox* PaintBoxColor = nullptr;
    TTrackBar* TrackBright = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TEdit* EditHue = nullptr;
    TEdit* EditSat = nullptr;
    TEdit* EditBright = nullptr;
    TLabel* LabelR = nullptr;
    TLabel* LabelG = nullptr;
    TLabel* LabelB = nullptr;
    TEdit* editRed = nullptr;
    TEdit* editGreen = nullptr;
    TEdit* editBlue = nullptr;
    TLabel* Label4 = nullptr;
    TPaintBox* PaintBoxPickedColor = nullptr;
    TButton* ButtonAdd = nullptr;
    TDrawGrid* GridCustomColors = nullptr;
    TButton* Button1 = nullptr;
    TButton* Button2 = nullptr;

    // CustomProperties is lent: the dialog reads and fills it but never frees or replaces it.
    TCVKZLMOBILEColorForm(QWidget* AOwner, TStringList* CustomProperties);
    ~TCVKZLMOBILEColorForm() override;

    String SelectedIdentifier() const { return FSelectedIdentifier; }
    void SetSelectedIdentifier(const String& Value);

    void SetHue(int Value);
    void SetSat(int Value);
    void SetBright(int Value);
    void SetRed(int Value);
    void SetGreen(int Value);
    void SetBlue(int Value);
    void SetPickedColor(int Value);
    void CalcPickedColor(bool FromRGB);
    void DrawMarker();

    TColor HSBtoRGB(Real Hue, Real Sat, Real Bright) const { return ::HSBtoRGB(Hue, Sat, Bright); }
    void RGBToHSB(int R, int G, int B, Real& Hue, Real& Sat, Real& Bright) const { ::RGBToHSB(R, G, B, Hue, Sat, Bright); }

    int HueToX(int Hue) const { return Hue + 1; }
    int XToHue(int X) const { return X - 1; }
    int SatToY(int Sat) const { return SatSteps - Sat; }
    int YToSat(int Y) const { return SatSteps - Y; }

    void SystemColorsCallback(const String& S);

public slots:
    void FormCreate();
    void FormDestroy();
    void FormMouseMove(TShiftState Shift, int X, int Y);

    void EditHueChange();
    void EditSatChange();
    void EditBrightChange();
    void editRedChange();
    void editGreenChange();
    void editBlueChange();
    void TrackBrightChange();

    void PaintBoxPickedColorPaint();
    void PaintBoxSelectionPaint();

    void PaintBoxColorPaint();
    void PaintBoxColorMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    void PaintBoxColorMouseMove(TShiftState Shift, int X, int Y);

    void WebColorsGridDrawCell(int ACol, int ARow, TRect Rect, int State);
    void WebColorsGridSelectCell(int ACol, int ARow, bool& CanSelect);
    void WebColorsGridMouseMove(TShiftState Shift, int X, int Y);
    void SysColorsGridDrawCell(int ACol, int ARow, TRect Rect, int State);
    void SysColorsGridSelectCell(int ACol, int ARow, bool& CanSelect);
    void SysColorsGridMouseMove(TShiftState Shift, int X, int Y);
    void GridCustomColorsDrawCell(int ACol, int ARow, TRect Rect, int State);
    void GridCustomColorsSelectCell(int ACol, int ARow, bool& CanSelect);
    void ButtonAddClick();

private:
    // The six coordinates, in the order of the entry table's rows.
    enum TCoordinate { coHue, coSat, coBright, coRed, coGreen, coBlue };
    // What an accepted entry value is followed by.
    enum TFollowUp { fuFromHSB, fuFromHSBAndMarker, fuFromRGBAndMarker };
    // One row of the entry table: the entry, its bound, its field, its setter and its follow-up.
    struct TEntryRow {
        TEdit* TCVKZLMOBILEColorForm::*Entry;
        int Steps;
        int TCVKZLMOBILEColorForm::*Field;
        void (TCVKZLMOBILEColorForm::*Setter)(int);
        TFollowUp FollowUp;
    };
    static const TEntryRow EntryRows[6];

    // Stores one coordinate and shows it in its entry (and in Track, when given) with the guard
    // flag set, so the controls' own change handlers stay out.
    void SetCoordinate(int& Field, int Value, TEdit* Entry, TTrackBar* Track = nullptr);
    // The body of the six entry handlers: reads the entry of one row of the table.
    void EntryChange(TCoordinate Coordinate);
    void DrawCross(int X, int Y);
    void DrawEmptyCell(TCanvas& Canvas, const TRect& Rect);

    // Each grid's entry at a cell, or nothing: the web colour, the toolkit colour's name, the
    // custom entry's text (an empty entry is none).
    const TCVColorRec* WebColorAt(int ACol, int ARow) const;
    std::optional<String> SysColorAt(int ACol, int ARow) const;
    std::optional<String> CustomColorAt(int ACol, int ARow) const;

    int FBlue = 0;
    int FRed = 0;
    int FGreen = 0;
    bool FIsInternalUICommand = false;
    std::unique_ptr<TStringList> FSysColors;
    // Lent by the caller; or, when none was lent, the list FOwnCustomColors holds.
    TStringList* FCustomColors = nullptr;
    String FSelectedIdentifier;
    int FSelectedColor = 0;
    int FHue = 0;
    int FSat = 0;
    int FBright = 0;
    int FPickedColor = 0;
    int FX = -1;
    int FY = -1;
    bool FIsMarkerEnabled = false;
    std::unique_ptr<TStringList> FOwnCustomColors;
};
