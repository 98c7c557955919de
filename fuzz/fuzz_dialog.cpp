// The colour dialog under arbitrary sequences of user actions.
//
// Each input is decoded into at most 64 actions against a fresh, shown dialog with a lent custom
// list: keystrokes and pastes into the six entries, track-bar moves, clicks and drags in the
// hue-saturation box, clicks, arrow keys and hovering in the three grids, "Add", page changes,
// repaints of the box, event processing, and SetSelectedIdentifier with any text. After every
// action the dialog must be in a state its design allows:
// - the guard flag is down, and no handler let an exception reach the event loop;
// - each entry shows its coordinate in decimal, or is empty (the user deleted its text);
// - the track bar stands at the brightness, as far as its range of 0 to 199 allows;
// - the picked colour agrees with the side edited last: after an edit of hue, saturation or
//   brightness (an entry, the track bar, the box) it is HSBtoRGB of the positions and red, green
//   and blue are its bytes; after an edit of red, green or blue (an entry, a number identifier, a
//   custom cell) it is composed of the three bytes and the positions are those of RGBToHSB; an
//   action of neither kind leaves all seven values alone; the picked swatch shows the colour;
// - once the box has been painted, the marker stands at the current hue and saturation, and the
//   box's image is the colour field with exactly one cross, at the marker: the cross's pixels
//   (centre excluded, clipped to the box) are the inverse of the field's and every other pixel is
//   the field's;
// - the custom list holds 28 entries, each empty or "$" and eight upper-case hexadecimal digits,
//   and "Add" writes the picked colour into the focus cell;
// - after SetSelectedIdentifier the label, the selected colour and its swatch follow the text.
#include "FuzzApplication.h"
#include "FuzzSupport.h"
#include "../tests/support/ColorFormProbe.h"

#include "dialog/CVKZLMOBILEDsnColorDialog.h"
#include "host/cvcolor/CVColor.h"
#include "host/vcl/Graphics.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

using fuzz::Shown;

constexpr int MaxActions = 64;
constexpr int BoxSize = HueSteps + 2; // the box is as high as it is wide: SatSteps + 2

// Reads the input from the front; an exhausted input reads as zeros.
class Reader {
public:
    Reader(const std::uint8_t* Data, std::size_t Size) : FData(Data), FSize(Size) {}
    bool AtEnd() const { return FPos >= FSize; }
    std::uint8_t Byte() { return FPos < FSize ? FData[FPos++] : 0; }
    std::uint32_t Word()
    {
        std::uint32_t Value = 0;
        for (int I = 0; I < 4; ++I)
            Value |= std::uint32_t(Byte()) << (8 * I);
        return Value;
    }
    // A length byte (at most MaxBytes are taken), then that many bytes as UTF-8.
    QString Text(int MaxBytes)
    {
        const int Length = std::min<int>(Byte(), MaxBytes);
        QByteArray Bytes;
        for (int I = 0; I < Length && !AtEnd(); ++I)
            Bytes += char(Byte());
        return QString::fromUtf8(Bytes);
    }
    // A coordinate from -Margin to Extent + Margin - 1, spread over the byte's range.
    int Coordinate(int Extent, int Margin) { return Byte() * (Extent + 2 * Margin) / 256 - Margin; }

private:
    const std::uint8_t* FData;
    std::size_t FSize;
    std::size_t FPos = 0;
};

QRgb Rgb(TColor C)
{
    return qRgb(C & 0xFF, (C >> 8) & 0xFF, (C >> 16) & 0xFF) & 0xFFFFFF;
}

// The box as its paint handler draws it: a white frame around the hue-saturation field.
std::vector<QRgb> ComputeField()
{
    std::vector<QRgb> Pixels(BoxSize * BoxSize, 0xFFFFFF);
    for (int Y = 1; Y <= SatSteps; ++Y)
        for (int X = 1; X <= HueSteps; ++X)
            Pixels[Y * BoxSize + X] =
                Rgb(HSBtoRGB(FractionOf(X - 1, HueSteps), FractionOf(SatSteps - Y, SatSteps), BoxBrightness));
    return Pixels;
}

const std::vector<QRgb>* Field = nullptr;

// The harness's own checks need no coverage feedback: it would only slow every input down.
#define CV_NO_COVERAGE [[clang::no_sanitize("coverage")]]

CV_NO_COVERAGE bool OnCross(int X, int Y, int CX, int CY)
{
    // Each arm leaves out its end pixel; the centre lies on both and is inverted twice.
    const bool Vertical = X == CX && Y >= CY - 10 && Y < CY + 10;
    const bool Horizontal = Y == CY && X >= CX - 10 && X < CX + 10;
    return Vertical != Horizontal;
}

enum class Side { None, HSB, RGB };

struct Coordinates {
    int Hue, Sat, Bright, Red, Green, Blue, Picked;
    friend bool operator==(const Coordinates&, const Coordinates&) = default;
};

namespace probe = colorformprobe;

// An entry's field: its text, or, while it is empty, the number its handler writes back for a
// refused text. (Reading every field that way would clear the entries' undo history at each
// check, and undo is one of the actions.)
int FieldOf(TEdit* Entry)
{
    return Entry->Text().isEmpty() ? probe::FieldBehind(Entry) : Entry->Text().toInt();
}

Coordinates CoordinatesOf(const TCVKZLMOBILEColorForm& F)
{
    return {FieldOf(F.EditHue), FieldOf(F.EditSat), FieldOf(F.EditBright), FieldOf(F.editRed),
            FieldOf(F.editGreen), FieldOf(F.editBlue), probe::PickedColor(F)};
}

QString Describe(const Coordinates& C)
{
    return QStringLiteral("hue %1 sat %2 bright %3 red %4 green %5 blue %6 picked $%7")
        .arg(C.Hue).arg(C.Sat).arg(C.Bright).arg(C.Red).arg(C.Green).arg(C.Blue)
        .arg(QString::asprintf("%08X", unsigned(C.Picked)));
}

// A keystroke into an entry: a character (ASCII, or any other typed as its text) or an editing key.
struct Keystroke {
    char Ascii;
    char16_t Unicode;
    Qt::Key Key;
    Qt::KeyboardModifiers Modifiers;
};

constexpr Keystroke EntryKeys[] = {
    {'0', 0, {}, {}}, {'1', 0, {}, {}}, {'2', 0, {}, {}}, {'3', 0, {}, {}}, {'4', 0, {}, {}},
    {'5', 0, {}, {}}, {'6', 0, {}, {}}, {'7', 0, {}, {}}, {'8', 0, {}, {}}, {'9', 0, {}, {}},
    {'-', 0, {}, {}}, {'$', 0, {}, {}}, {'+', 0, {}, {}}, {' ', 0, {}, {}},
    {'a', 0, {}, {}}, {'F', 0, {}, {}}, {'x', 0, {}, {}}, {'#', 0, {}, {}},
    {0, u'\u0661', {}, {}}, // ARABIC-INDIC DIGIT ONE
    {0, u'\uFF15', {}, {}}, // FULLWIDTH DIGIT FIVE
    {0, u'\u00B2', {}, {}}, // SUPERSCRIPT TWO
    {0, u'\u00E9', {}, {}},
    {0, 0, Qt::Key_Backspace, {}}, {0, 0, Qt::Key_Delete, {}}, {0, 0, Qt::Key_Left, {}},
    {0, 0, Qt::Key_Right, {}}, {0, 0, Qt::Key_Home, {}}, {0, 0, Qt::Key_End, {}},
    {0, 0, Qt::Key_Left, Qt::ShiftModifier}, {0, 0, Qt::Key_End, Qt::ShiftModifier},
    {0, 0, Qt::Key_A, Qt::ControlModifier}, {0, 0, Qt::Key_Z, Qt::ControlModifier},
    {0, 0, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier}, {0, 0, Qt::Key_X, Qt::ControlModifier},
    {0, 0, Qt::Key_C, Qt::ControlModifier}, {0, 0, Qt::Key_V, Qt::ControlModifier},
};

constexpr Qt::Key GridKeys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down,
                                Qt::Key_Home, Qt::Key_End, Qt::Key_PageUp, Qt::Key_PageDown};

constexpr Qt::Key TrackKeys[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End};

QString KeyName(Qt::Key Key, Qt::KeyboardModifiers Modifiers = Qt::NoModifier)
{
    return QKeySequence(QKeyCombination(Modifiers, Key)).toString();
}

bool IsCustomEntry(const QString& S)
{
    static const QRegularExpression Pattern(QStringLiteral("^\\$[0-9A-F]{8}$"));
    return S.isEmpty() || Pattern.match(S).hasMatch();
}

QStringList ToolkitNames()
{
    QStringList Names;
    GetColorValues([&](const String& S) { Names << S; });
    return Names;
}

// One dialog driven by one input.
class Session {
public:
    explicit Session(Reader& Input) : In(Input)
    {
        fuzz::FailureContext = [this] { return QStringLiteral("actions:\n  ") + Log.join(QStringLiteral("\n  ")); };
        // The custom list as the editor lends it: up to 28 entries that earlier dialogs added.
        const int Preset = In.Byte() % 29;
        for (int I = 0; I < Preset; ++I) {
            const std::uint32_t Value = In.Word();
            List.Add(Value == 0 ? String() : QString::asprintf("$%08X", Value));
        }
        Form = std::make_unique<TCVKZLMOBILEColorForm>(nullptr, &List);
        Form->show();
        Form->activateWindow();
        QApplication::processEvents();
        Note(QStringLiteral("shown with %1 custom entries").arg(Preset));
        Check(Side::None, CoordinatesOf(*Form));
    }

    ~Session() { fuzz::FailureContext = nullptr; }

    void Run()
    {
        for (int N = 0; N < MaxActions && !In.AtEnd(); ++N) {
            const Coordinates Before = CoordinatesOf(*Form);
            const Side Acted = Act(In.Byte() % 12);
            Check(Acted, Before);
        }
    }

private:
    // Records an action for the failure message; CV_FUZZ_TRACE=1 also prints it at once, to read
    // what a seed does or what led to a sanitizer's report.
    void Note(const QString& Action)
    {
        static const bool Trace = qEnvironmentVariableIsSet("CV_FUZZ_TRACE");
        if (Trace)
            std::fprintf(stderr, "  %s\n", qPrintable(Action));
        Log << Action;
    }

    TEdit* Entry(int Index) const
    {
        TEdit* const Entries[] = {Form->EditHue, Form->EditSat, Form->EditBright,
                                  Form->editRed, Form->editGreen, Form->editBlue};
        return Entries[Index % 6];
    }

    static Side SideOf(int EntryIndex) { return EntryIndex % 6 < 3 ? Side::HSB : Side::RGB; }

    TDrawGrid* Grid(int Index) const
    {
        TDrawGrid* const Grids[] = {Form->WebColorsGrid, Form->SysColorsGrid, Form->GridCustomColors};
        return Grids[Index % 3];
    }

    // A user reaches a control on another page by choosing that page first.
    void ShowPageOf(QWidget* Control)
    {
        for (int Page = 0; Page < Form->PageControl1->PageCount(); ++Page) {
            if (Form->PageControl1->widget(Page)->isAncestorOf(Control) && Form->PageControl1->ActivePageIndex() != Page) {
                Form->PageControl1->SetActivePageIndex(Page);
                Note(QStringLiteral("page %1").arg(Page));
            }
        }
    }

    Side Act(int Kind)
    {
        switch (Kind) {
        case 0: return TypeKeys();
        case 1: return Paste();
        case 2: return MoveTrackBar();
        case 3: return UseMouseInBox();
        case 4: return ClickGrid();
        case 5: return KeyInGrid();
        case 6: return ClickAdd();
        case 7: return ChangePage();
        case 8: return RepaintBox();
        case 9: return SelectIdentifier();
        case 10: return ProcessEvents();
        default: return Hover();
        }
    }

    Side TypeKeys()
    {
        const int Index = In.Byte() % 6;
        const int Count = 1 + In.Byte() % 8;
        TEdit* Target = Entry(Index);
        ShowPageOf(Target);
        QString Keys;
        for (int I = 0; I < Count; ++I) {
            const Keystroke& K = EntryKeys[In.Byte() % std::size(EntryKeys)];
            if (K.Ascii) {
                QTest::keyClick(Target, K.Ascii);
                Keys += QLatin1Char(K.Ascii);
            } else if (K.Unicode) {
                for (const QEvent::Type Type : {QEvent::KeyPress, QEvent::KeyRelease}) {
                    QKeyEvent Event(Type, Qt::Key_unknown, Qt::NoModifier, QString(QChar(K.Unicode)));
                    QApplication::sendEvent(Target, &Event);
                }
                Keys += QChar(K.Unicode);
            } else {
                QTest::keyClick(Target, K.Key, K.Modifiers);
                Keys += QLatin1Char('<') + KeyName(K.Key, K.Modifiers) + QLatin1Char('>');
            }
        }
        Note(QStringLiteral("keys into %1: %2 -> %3").arg(Target->objectName(), Shown(Keys), Shown(Target->Text())));
        return SideOf(Index);
    }

    Side Paste()
    {
        const int Index = In.Byte() % 6;
        const bool SelectAll = In.Byte() & 1;
        const QString Text = In.Text(12);
        TEdit* Target = Entry(Index);
        ShowPageOf(Target);
        QGuiApplication::clipboard()->setText(Text);
        if (SelectAll)
            QTest::keyClick(Target, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(Target, Qt::Key_V, Qt::ControlModifier);
        Note(QStringLiteral("paste %1 into %2%3 -> %4").arg(Shown(Text), Target->objectName(),
                                                             SelectAll ? QStringLiteral(" (all selected)") : QString(),
                                                             Shown(Target->Text())));
        return SideOf(Index);
    }

    Side MoveTrackBar()
    {
        const int Mode = In.Byte();
        ShowPageOf(Form->TrackBright);
        if (Mode % 2 == 0) {
            const int Position = In.Byte() - 28;
            Form->TrackBright->setSliderPosition(Position);
            Note(QStringLiteral("track bar dragged to %1").arg(Position));
        } else {
            const Qt::Key Key = TrackKeys[In.Byte() % std::size(TrackKeys)];
            QTest::keyClick(Form->TrackBright, Key);
            Note(QStringLiteral("track bar key ") + KeyName(Key));
        }
        return Side::HSB;
    }

    Side UseMouseInBox()
    {
        const bool Left = In.Byte() % 4 != 0;
        const Qt::MouseButton Button = Left ? Qt::LeftButton : Qt::RightButton;
        const int Moves = In.Byte() % 6;
        TPaintBox* Box = Form->PaintBoxColor;
        ShowPageOf(Box);
        QPoint At(In.Coordinate(BoxSize, 0), In.Coordinate(BoxSize, 0));
        QString Path = QStringLiteral("(%1,%2)").arg(At.x()).arg(At.y());
        QTest::mousePress(Box, Button, {}, At);
        for (int I = 0; I < Moves; ++I) {
            // A drag may leave the box; the box keeps the mouse until the button is released.
            At = QPoint(In.Coordinate(BoxSize, 24), In.Coordinate(BoxSize, 24));
            QTest::mouseMove(Box, At);
            Path += QStringLiteral(" (%1,%2)").arg(At.x()).arg(At.y());
        }
        QTest::mouseRelease(Box, Button, {}, At);
        Note(QStringLiteral("%1 drag in the box %2").arg(Left ? QStringLiteral("left") : QStringLiteral("right"), Path));
        return Side::HSB;
    }

    Side ClickGrid()
    {
        const int Index = In.Byte() % 3;
        const bool Left = In.Byte() % 4 != 0;
        TDrawGrid* Target = Grid(Index);
        ShowPageOf(Target);
        const QPoint At(In.Coordinate(Target->width(), 0), In.Coordinate(Target->height(), 0));
        const QString Before = Form->SelectedIdentifier();
        QTest::mouseClick(Target, Left ? Qt::LeftButton : Qt::RightButton, {}, At);
        Note(QStringLiteral("%1 click in %2 at (%3,%4) -> cell (%5,%6)")
                   .arg(Left ? QStringLiteral("left") : QStringLiteral("right"), Target->objectName())
                   .arg(At.x()).arg(At.y()).arg(Target->Col()).arg(Target->Row()));
        NoteSelection(Before);
        // Only the custom grid's cells hold numbers; web and toolkit names change no coordinate.
        return Target == Form->GridCustomColors ? Side::RGB : Side::None;
    }

    Side KeyInGrid()
    {
        const int Index = In.Byte() % 3;
        const int Choice = In.Byte();
        TDrawGrid* Target = Grid(Index);
        ShowPageOf(Target);
        const Qt::Key Key = GridKeys[Choice % std::size(GridKeys)];
        const Qt::KeyboardModifiers Modifiers = Choice & 0x80 ? Qt::ControlModifier : Qt::NoModifier;
        const QString Before = Form->SelectedIdentifier();
        QTest::keyClick(Target, Key, Modifiers);
        Note(QStringLiteral("key %1 in %2 -> cell (%3,%4)")
                   .arg(KeyName(Key, Modifiers), Target->objectName()).arg(Target->Col()).arg(Target->Row()));
        NoteSelection(Before);
        return Target == Form->GridCustomColors ? Side::RGB : Side::None;
    }

    Side ClickAdd()
    {
        ShowPageOf(Form->ButtonAdd);
        QTest::mouseClick(Form->ButtonAdd, Qt::LeftButton);
        const TDrawGrid* Custom = Form->GridCustomColors;
        const int Index = Custom->Row() * Custom->ColCount() + Custom->Col();
        const QString Expected = QString::asprintf("$%08X", unsigned(probe::PickedColor(*Form)));
        Note(QStringLiteral("Add into cell %1").arg(Index));
        FUZZ_CHECK(List.Strings(Index) == Expected,
                   QStringLiteral("Add wrote ") + Shown(List.Strings(Index)) + QStringLiteral(", picked is ") + Expected);
        return Side::None;
    }

    Side ChangePage()
    {
        const int Page = In.Byte() % 5 - 1;
        Form->PageControl1->SetActivePageIndex(Page);
        Note(QStringLiteral("page %1 -> %2").arg(Page).arg(Form->PageControl1->ActivePageIndex()));
        return Side::None;
    }

    Side RepaintBox()
    {
        Form->PaintBoxColor->Repaint();
        Note(QStringLiteral("repaint the box"));
        return Side::None;
    }

    Side SelectIdentifier()
    {
        const int Mode = In.Byte() % 4;
        QString Text;
        if (Mode == 0) {
            Text = In.Text(24);
        } else if (Mode == 1) {
            Text = CVColors[In.Byte() % CVColorCount].Name;
        } else if (Mode == 2) {
            Text = Toolkit[In.Byte() % Toolkit.size()];
        } else {
            const std::uint32_t Value = In.Word();
            Text = Value & 1 ? QString::number(int(Value)) : QString::asprintf("$%08X", Value);
        }
        const TColor SwatchBefore = probe::ColorAt(Form->PaintBoxSelection);
        bool Raised = false;
        try {
            Form->SetSelectedIdentifier(Text);
        } catch (const Exception&) {
            Raised = true;
        }
        Note(QStringLiteral("SetSelectedIdentifier(%1)%2").arg(Shown(Text), Raised ? QStringLiteral(" raised") : QString()));
        int Color = 0;
        const bool Named = IdentToCVColor(Text, Color);
        const bool Number = TryStrToInt(Text, Color);
        FUZZ_CHECK(Raised == !(Named || Number), QStringLiteral("SetSelectedIdentifier raised: %1").arg(Raised));
        FUZZ_CHECK(Form->SelectedIdentifier() == Text, QStringLiteral("the identifier is ") + Shown(Form->SelectedIdentifier()));
        // Once the lookup has refused the text and raised, the label has changed but the colour
        // and its swatch have not: that is how the dialog is designed to fail.
        SelectionComplete = !Raised;
        if (Raised)
            FUZZ_CHECK(probe::ColorAt(Form->PaintBoxSelection) == SwatchBefore, QStringLiteral("a refused identifier changed the selection swatch"));
        if (Number && !Named)
            FUZZ_CHECK(Form->PageControl1->ActivePageIndex() == 2, QStringLiteral("a number identifier left the custom page hidden"));
        return Named ? Side::None : Number ? Side::RGB : Side::None;
    }

    Side ProcessEvents()
    {
        QApplication::processEvents();
        Note(QStringLiteral("process events"));
        return Side::None;
    }

    Side Hover()
    {
        const int Index = In.Byte() % 3;
        QWidget* Target = Index < 2 ? static_cast<QWidget*>(Grid(Index)) : static_cast<QWidget*>(Form.get());
        ShowPageOf(Target);
        const QPoint At(In.Coordinate(Target->width(), 8), In.Coordinate(Target->height(), 8));
        QMouseEvent Move(QEvent::MouseMove, QPointF(At), QPointF(Target->mapToGlobal(At)), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(Target, &Move);
        const QString Status = Form->StatusBar1->SimpleText();
        Note(QStringLiteral("hover over %1 at (%2,%3) -> %4").arg(Target->objectName()).arg(At.x()).arg(At.y()).arg(Shown(Status)));
        QString Expected;
        if (Index < 2) {
            const TDrawGrid* Hovered = Grid(Index);
            int Col = -1, Row = -1;
            Hovered->MouseToCell(At.x(), At.y(), Col, Row);
            const int Cell = Row * Hovered->ColCount() + Col;
            if (Col >= 0 && Index == 0 && Cell < WebColorCount)
                Expected = CVColors[Cell].Name;
            else if (Col >= 0 && Index == 1 && Cell < Toolkit.size())
                Expected = Toolkit[Cell];
        }
        FUZZ_CHECK(Status == Expected, QStringLiteral("the status line shows ") + Shown(Status) + QStringLiteral(", expected ") + Shown(Expected));
        return Side::None;
    }

    // A grid that chose a cell went through SetSelectedIdentifier with the cell's text, which is a
    // name or a number text, so it completed (a raise there would show in the exception count).
    void NoteSelection(const QString& Before)
    {
        if (Form->SelectedIdentifier() != Before)
            SelectionComplete = true;
    }

    // ---- Invariants --------------------------------------------------------------------------

    CV_NO_COVERAGE void Check(Side Acted, const Coordinates& Before)
    {
        FUZZ_CHECK(!probe::GuardIsUp(*Form), QStringLiteral("the guard flag is still up"));
        FUZZ_CHECK(Application->ExceptionCount() == 0,
                   QStringLiteral("a handler raised: ") + Application->LastExceptionMessage());

        const Coordinates Now = CoordinatesOf(*Form);
        if (!(Now == Before)) {
            FUZZ_CHECK(Acted != Side::None, QStringLiteral("an action of neither side changed ") + Describe(Before)
                                                 + QStringLiteral(" into ") + Describe(Now));
            LastEdited = Acted;
        }
        CheckRanges(Now);
        CheckEntries(Now);
        CheckPickedColor(Now);
        CheckBox();
        CheckCustomList();
        CheckSelection();
    }

    CV_NO_COVERAGE void CheckRanges(const Coordinates& C)
    {
        FUZZ_CHECK(0 <= C.Hue && C.Hue <= HueSteps && 0 <= C.Sat && C.Sat <= SatSteps && 0 <= C.Bright && C.Bright <= BrightSteps
                       && 0 <= C.Red && C.Red < RedSteps && 0 <= C.Green && C.Green < GreenSteps && 0 <= C.Blue && C.Blue < BlueSteps,
                   QStringLiteral("out of range: ") + Describe(C));
        const int Track = std::min(C.Bright, Form->TrackBright->Max());
        FUZZ_CHECK(Form->TrackBright->Position() == Track,
                   QStringLiteral("track bar at %1, brightness %2").arg(Form->TrackBright->Position()).arg(C.Bright));
    }

    CV_NO_COVERAGE void CheckEntries(const Coordinates& C)
    {
        const int Fields[] = {C.Hue, C.Sat, C.Bright, C.Red, C.Green, C.Blue};
        for (int I = 0; I < 6; ++I) {
            const QString Text = Entry(I)->Text();
            FUZZ_CHECK(Text.isEmpty() || Text == QString::number(Fields[I]),
                       Entry(I)->objectName() + QStringLiteral(" shows ") + Shown(Text) + QStringLiteral(", its field is %1").arg(Fields[I]));
        }
    }

    CV_NO_COVERAGE void CheckPickedColor(const Coordinates& C)
    {
        if (LastEdited == Side::RGB) {
            FUZZ_CHECK(C.Picked == (C.Blue << 16 | C.Green << 8 | C.Red),
                       QStringLiteral("after an RGB edit: ") + Describe(C));
            Real H, S, B;
            RGBToHSB(C.Red, C.Green, C.Blue, H, S, B);
            FUZZ_CHECK(C.Hue == PositionOf(HueSteps, H) && C.Sat == PositionOf(SatSteps, S) && C.Bright == PositionOf(BrightSteps, B),
                       QStringLiteral("after an RGB edit: ") + Describe(C) + QStringLiteral("; RGBToHSB gives %1 %2 %3")
                           .arg(PositionOf(HueSteps, H)).arg(PositionOf(SatSteps, S)).arg(PositionOf(BrightSteps, B)));
        } else {
            const TColor Expected = HSBtoRGB(FractionOf(C.Hue, HueSteps), FractionOf(C.Sat, SatSteps), FractionOf(C.Bright, BrightSteps));
            FUZZ_CHECK(C.Picked == Expected && C.Red == (Expected & 0xFF) && C.Green == ((Expected >> 8) & 0xFF)
                           && C.Blue == ((Expected >> 16) & 0xFF),
                       QStringLiteral("after an HSB edit: ") + Describe(C) + QString::asprintf("; HSBtoRGB gives $%08X", unsigned(Expected)));
        }
        const QImage& Swatch = Form->PaintBoxPickedColor->Image();
        FUZZ_CHECK(!Swatch.isNull() && (Swatch.pixel(0, 0) & 0xFFFFFF) == Rgb(C.Picked),
                   QString::asprintf("the picked swatch shows #%06X for $%08X", Swatch.isNull() ? 0u : Swatch.pixel(0, 0) & 0xFFFFFF,
                                     unsigned(C.Picked)));
    }

    CV_NO_COVERAGE void CheckBox()
    {
        // Until its first paint the box shows no field; from then on it shows the field with the
        // marker, always.
        const probe::BoxView Box = probe::ViewOfBox(*Form);
        if (!Box.Painted) {
            FUZZ_CHECK(!BoxPainted, QStringLiteral("the painted box no longer shows the field with one marker"));
            return;
        }
        BoxPainted = true;
        const QImage& Image = Form->PaintBoxColor->Image();
        FUZZ_CHECK(Image.width() == BoxSize && Image.height() == BoxSize && Image.format() == QImage::Format_RGB32,
                   QStringLiteral("the box image is %1 x %2, format %3").arg(Image.width()).arg(Image.height()).arg(int(Image.format())));
        FUZZ_CHECK(Box.Marker != QPoint(-1, -1), QStringLiteral("the painted box shows no marker"));
        const int CX = Box.Marker.x();
        const int CY = Box.Marker.y();
        const int Hue = FieldOf(Form->EditHue);
        const int Sat = FieldOf(Form->EditSat);
        // Every path that moves hue or saturation redraws the marker, a number chosen as the
        // identifier included.
        FUZZ_CHECK(CX == Form->HueToX(Hue) && CY == Form->SatToY(Sat),
                   QStringLiteral("the marker is at (%1,%2), hue %3 and saturation %4 put it at (%5,%6)")
                       .arg(CX).arg(CY).arg(Hue).arg(Sat).arg(Form->HueToX(Hue)).arg(Form->SatToY(Sat)));
        int Wrong = 0;
        QPoint First;
        for (int Y = 0; Y < BoxSize; ++Y) {
            const QRgb* Line = reinterpret_cast<const QRgb*>(Image.constScanLine(Y));
            for (int X = 0; X < BoxSize; ++X) {
                const QRgb Plain = (*Field)[Y * BoxSize + X];
                const QRgb Expected = OnCross(X, Y, CX, CY) ? ~Plain & 0xFFFFFF : Plain;
                if ((Line[X] & 0xFFFFFF) != Expected && Wrong++ == 0)
                    First = QPoint(X, Y);
            }
        }
        FUZZ_CHECK(Wrong == 0, QStringLiteral("%1 pixels of the box differ from the field with one cross at (%2,%3); the first at (%4,%5)")
                                   .arg(Wrong).arg(CX).arg(CY).arg(First.x()).arg(First.y()));
    }

    CV_NO_COVERAGE void CheckCustomList()
    {
        FUZZ_CHECK(List.Count() == 28, QStringLiteral("the custom list holds %1 entries").arg(List.Count()));
        for (int I = 0; I < List.Count(); ++I)
            FUZZ_CHECK(IsCustomEntry(List.Strings(I)), QStringLiteral("custom entry %1 is ").arg(I) + Shown(List.Strings(I)));
    }

    CV_NO_COVERAGE void CheckSelection()
    {
        const QString Identifier = Form->SelectedIdentifier();
        if (!SelectionComplete || Identifier.isEmpty())
            return;
        FUZZ_CHECK(Form->LabelIdent->Caption() == QStringLiteral("Identifier: ") + Identifier,
                   QStringLiteral("the label shows ") + Shown(Form->LabelIdent->Caption()));
        int Color = 0;
        FUZZ_CHECK(IdentToCVColor(Identifier, Color) || TryStrToInt(Identifier, Color),
                   QStringLiteral("the dialog holds the unreadable identifier ") + Shown(Identifier));
        const QImage& Swatch = Form->PaintBoxSelection->Image();
        FUZZ_CHECK(!Swatch.isNull() && (Swatch.pixel(0, 0) & 0xFFFFFF) == Rgb(ColorToRGB(Color)),
                   QStringLiteral("the selection swatch of ") + Shown(Identifier) + QStringLiteral(" is wrong"));
    }

    Reader& In;
    TStringList List;
    std::unique_ptr<TCVKZLMOBILEColorForm> Form;
    const QStringList Toolkit = ToolkitNames();
    Side LastEdited = Side::HSB; // FormCreate computes the picked colour from the positions
    bool SelectionComplete = true;
    bool BoxPainted = false;
    QStringList Log;
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzz::StartApplication(argc, argv, "fuzz_dialog");
    static const std::vector<QRgb> Pixels = ComputeField();
    Field = &Pixels;
    Application->OnException = [](const String&) {};
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    Application->ClearExceptions();
    Reader In(Data, Size);
    Session(In).Run();
    return 0;
}
