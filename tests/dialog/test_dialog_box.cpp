// The hue-saturation box: the field it paints, the inverting marker cross, and picking hue and
// saturation with the mouse.
#include "DialogTestSupport.h"

#include <QMouseEvent>

using namespace dialogtest;

namespace {

constexpr int BoxSize = 202;

// What the box shows without a marker: a white frame around hue left to right and saturation
// bottom to top, all at brightness 150 / 200.
QImage FieldModel()
{
    QImage Field(BoxSize, BoxSize, QImage::Format_RGB32);
    Field.fill(Qt::white);
    for (int N = 0; N < 200; ++N)
        for (int I = 0; I < 200; ++I)
            Field.setPixel(I + 1, 200 - N, Rgb(HSBtoRGB(FractionOf(I, 200), FractionOf(N, 200), FractionOf(150, 200))));
    return Field;
}

const QImage& Field()
{
    static const QImage Model = FieldModel();
    return Model;
}

// Inverts the marker cross centred at (X, Y): a column from Y - 10 to Y + 9 and a row from
// X - 10 to X + 9; the centre lies on both and keeps its colour. What lies outside is clipped.
void InvertCross(QImage& Image, int X, int Y)
{
    const auto Invert = [&](int PX, int PY) {
        if (PX >= 0 && PY >= 0 && PX < Image.width() && PY < Image.height())
            Image.setPixel(PX, PY, 0xFF000000 | Inverse(Pixel(Image, PX, PY)));
    };
    for (int PY = Y - 10; PY < Y + 10; ++PY)
        Invert(X, PY);
    for (int PX = X - 10; PX < X + 10; ++PX)
        Invert(PX, Y);
}

QImage FieldWithCross(int X, int Y)
{
    QImage Image = Field().copy();
    InvertCross(Image, X, Y);
    return Image;
}

// Every pixel of Actual against Expected; on failure, how many differ and the first one.
::testing::AssertionResult SameImage(const QImage& Actual, const QImage& Expected)
{
    if (Actual.size() != Expected.size())
        return ::testing::AssertionFailure() << "size " << Actual.width() << "x" << Actual.height();
    int Differences = 0;
    QPoint First;
    for (int Y = 0; Y < Actual.height(); ++Y) {
        for (int X = 0; X < Actual.width(); ++X) {
            if (Pixel(Actual, X, Y) != Pixel(Expected, X, Y) && Differences++ == 0)
                First = QPoint(X, Y);
        }
    }
    if (Differences == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << Differences << " pixels differ, first at " << First.x() << "," << First.y()
                                         << ": " << Hex(Pixel(Actual, First.x(), First.y())) << " instead of "
                                         << Hex(Pixel(Expected, First.x(), First.y()));
}

class BoxTest : public DialogTest {
protected:
    const QImage& Box() const { return Form.PaintBoxColor->Image(); }

    ::testing::AssertionResult ShowsOneCrossAt(int X, int Y)
    {
        if (ViewOfBox(Form).Marker.x() != X || ViewOfBox(Form).Marker.y() != Y)
            return ::testing::AssertionFailure() << "marker at " << ViewOfBox(Form).Marker.x() << "," << ViewOfBox(Form).Marker.y();
        return SameImage(Box(), FieldWithCross(X, Y));
    }

    void Click(QPoint At, Qt::MouseButton Button = Qt::LeftButton)
    {
        QTest::mouseClick(Form.PaintBoxColor, Button, Qt::NoModifier, At);
    }

    // A move with buttons held, as the window system sends it during a drag.
    void DragTo(QPoint At, Qt::MouseButtons Held)
    {
        const QPointF Local(At);
        QMouseEvent Move(QEvent::MouseMove, Local, Form.PaintBoxColor->mapToGlobal(Local), Qt::NoButton, Held,
                         Qt::NoModifier);
        QApplication::sendEvent(Form.PaintBoxColor, &Move);
    }

    void TypeHueAndSat(const char* Hue, const char* Sat)
    {
        Focus(Form.EditHue);
        Retype(Form.EditHue, Hue);
        Focus(Form.EditSat);
        Retype(Form.EditSat, Sat);
    }
};

TEST_F(BoxTest, TheFieldIsComputedOnceKeptForEveryDialogAndFreedByTheUnitFinalisation)
{
    // As the package loader runs it: the unit's initialisation, then its finalisation at unload.
    CVKZLMOBILEDsnColorDialogInitialization();
    CVKZLMOBILEDsnColorDialogFinalization();
    ASSERT_EQ(CVKZLMOBILEDsnColorDialogBoxField(), nullptr) << "a freshly loaded package holds no field";
    CVKZLMOBILEDsnColorDialogInitialization();
    ShowOn(2);
    const TBitmap* Field = CVKZLMOBILEDsnColorDialogBoxField();
    ASSERT_NE(Field, nullptr) << "the first paint computed it";
    EXPECT_EQ(Field->Width(), 200);
    EXPECT_EQ(Field->Height(), 200);
    const QImage First = Box().copy();
    {
        TStringList Other;
        TCVKZLMOBILEColorForm Second(nullptr, &Other);
        Second.PaintBoxColor->Repaint();
        EXPECT_EQ(CVKZLMOBILEDsnColorDialogBoxField(), Field) << "a second dialog copies the same field";
        EXPECT_EQ(Second.PaintBoxColor->Image(), First);
    }
    CVKZLMOBILEDsnColorDialogFinalization();
    EXPECT_EQ(CVKZLMOBILEDsnColorDialogBoxField(), nullptr) << "unloading frees it";
    // Loaded again, the next paint computes it anew, pixel for pixel the same.
    CVKZLMOBILEDsnColorDialogInitialization();
    Form.PaintBoxColor->Repaint();
    EXPECT_NE(CVKZLMOBILEDsnColorDialogBoxField(), nullptr);
    EXPECT_EQ(Box(), First);
    CVKZLMOBILEDsnColorDialogFinalization();
}

TEST_F(BoxTest, TheFieldIsHueAcrossAndSaturationUpInAWhiteFrame)
{
    ShowOn(2);
    ASSERT_EQ(Box().size(), QSize(BoxSize, BoxSize));
    // Anchors that do not depend on the model above.
    EXPECT_EQ(Hex(Pixel(Field(), 1, 200)), Hex(0xBFBFBF)) << "saturation 0 is grey 191";
    EXPECT_EQ(Hex(Pixel(Field(), 101, 1)), Hex(qRgb(1, 191, 191) & 0xFFFFFF)) << "hue 1/2 at saturation 199/200";
    EXPECT_EQ(Hex(Pixel(Field(), 1, 1)), Hex(qRgb(191, 1, 1) & 0xFFFFFF)) << "hue 0 at saturation 199/200";
    // The first paint draws the marker at hue 0, saturation 0.
    EXPECT_TRUE(ViewOfBox(Form).Painted);
    EXPECT_TRUE(ShowsOneCrossAt(1, 200));
    for (int I = 0; I < BoxSize; ++I) {
        for (const QPoint P : {QPoint(I, 0), QPoint(201, I), QPoint(I, 201), QPoint(0, I)}) {
            if (std::abs(P.x() - 1) <= 10 && std::abs(P.y() - 200) <= 10)
                continue; // the marker's arm crosses the frame here
            ASSERT_EQ(Hex(Pixel(Box(), P.x(), P.y())), Hex(0xFFFFFF)) << "frame at " << P.x() << "," << P.y();
        }
    }
    // The screen shows the image.
    const QImage Shown = Form.PaintBoxColor->grab().toImage();
    EXPECT_TRUE(SameImage(Shown, Box()));
}

TEST_F(BoxTest, TheFieldIgnoresTheCurrentBrightness)
{
    ShowOn(2);
    Focus(Form.EditBright);
    Retype(Form.EditBright, "20");
    Form.PaintBoxColor->Repaint();
    EXPECT_TRUE(ShowsOneCrossAt(1, 200));
}

TEST_F(BoxTest, TheCrossInvertsItsArmsAndKeepsItsCentre)
{
    ShowOn(2);
    TypeHueAndSat("100", "100");
    ASSERT_TRUE(ShowsOneCrossAt(101, 100));
    const QImage& Image = Box();
    EXPECT_EQ(Pixel(Image, 101, 100), Pixel(Field(), 101, 100)) << "centre";
    // Arms from 10 before to 9 after the centre; the end pixels of the strokes stay.
    for (const auto& [X, Y, Inverted] : std::initializer_list<std::tuple<int, int, bool>>{
             {101, 90, true}, {101, 109, true}, {101, 110, false}, {101, 89, false},
             {91, 100, true}, {110, 100, true}, {111, 100, false}, {90, 100, false}, {102, 101, false}}) {
        const QRgb Under = Pixel(Field(), X, Y);
        EXPECT_EQ(Hex(Pixel(Image, X, Y)), Hex(Inverted ? Inverse(Under) : Under)) << X << "," << Y;
    }
}

TEST_F(BoxTest, MovingTheCrossRestoresWhereItWas)
{
    ShowOn(2);
    // Hue and saturation one at a time: after every keystroke exactly one cross is left.
    const std::tuple<const char*, const char*, int, int> Steps[] = {
        {"150", "100", 151, 100}, {"3", "190", 4, 10}, {"199", "199", 200, 1},
        {"0", "0", 1, 200},       {"57", "58", 58, 142},
    };
    for (const auto& [Hue, Sat, X, Y] : Steps) {
        SCOPED_TRACE(std::string(Hue) + "," + Sat);
        TypeHueAndSat(Hue, Sat);
        EXPECT_TRUE(ShowsOneCrossAt(X, Y));
    }
}

TEST_F(BoxTest, AfterAnyRepaintThereIsExactlyOneCross)
{
    ShowOn(2);
    TypeHueAndSat("40", "60");
    ASSERT_TRUE(ShowsOneCrossAt(41, 140));
    const std::pair<const char*, std::function<void()>> Repaints[] = {
        {"Repaint", [&] { Form.PaintBoxColor->Repaint(); }},
        {"Repaint twice", [&] { Form.PaintBoxColor->Repaint(); Form.PaintBoxColor->Repaint(); }},
        {"another page and back",
         [&] {
             Form.PageControl1->SetActivePageIndex(0);
             QApplication::processEvents();
             Form.PageControl1->SetActivePageIndex(2);
             QApplication::processEvents();
         }},
        {"hidden and shown",
         [&] {
             Form.hide();
             Form.show();
             ASSERT_TRUE(QTest::qWaitForWindowExposed(&Form));
             QApplication::processEvents();
         }},
        {"update", [&] { Form.PaintBoxColor->update(); QApplication::processEvents(); }},
    };
    for (const auto& [Name, Repaint] : Repaints) {
        SCOPED_TRACE(Name);
        Repaint();
        EXPECT_TRUE(ShowsOneCrossAt(41, 140));
    }
}

// Clicks into the box: the point, the hue and saturation it picks (or none for a point off the
// interior), and where the marker then is.
struct ClickRow {
    QPoint At;
    bool Picks;
    int Hue;
    int Sat;
};

TEST_F(BoxTest, ALeftClickInsidePicksHueAndSaturation)
{
    ShowOn(2);
    const ClickRow Rows[] = {
        {{1, 200}, true, 0, 0},      {{200, 1}, true, 199, 199}, {{101, 100}, true, 100, 100},
        {{0, 100}, false, 0, 0},     {{201, 100}, false, 0, 0},  {{100, 0}, false, 0, 0},
        {{100, 201}, false, 0, 0},   {{37, 164}, true, 36, 36},
    };
    for (const ClickRow& Row : Rows) {
        SCOPED_TRACE(std::to_string(Row.At.x()) + "," + std::to_string(Row.At.y()));
        TypeHueAndSat("17", "23");
        const std::vector<String> Before = EntryTexts();
        Click(Row.At);
        if (!Row.Picks) {
            EXPECT_EQ(EntryTexts(), Before) << "a point off the interior is ignored";
            EXPECT_TRUE(ShowsOneCrossAt(18, 177));
            continue;
        }
        EXPECT_EQ(Hue(Form), Row.Hue);
        EXPECT_EQ(Sat(Form), Row.Sat);
        EXPECT_EQ(Form.EditHue->Text(), QString::number(Row.Hue));
        EXPECT_EQ(Form.EditSat->Text(), QString::number(Row.Sat));
        const TColor Picked = HSBtoRGB(FractionOf(Row.Hue, 200), FractionOf(Row.Sat, 200), FractionOf(150, 200));
        EXPECT_EQ(PickedColor(Form), Picked);
        EXPECT_EQ(Form.editRed->Text(), QString::number(Picked & 0xFF));
        EXPECT_EQ(Form.editBlue->Text(), QString::number(Picked >> 16 & 0xFF));
        EXPECT_TRUE(ShowsOneCrossAt(Row.At.x(), Row.At.y()));
    }
}

TEST_F(BoxTest, TheRightButtonPicksNothing)
{
    ShowOn(2);
    TypeHueAndSat("17", "23");
    const std::vector<String> Before = EntryTexts();
    Click({50, 50}, Qt::RightButton);
    QTest::mousePress(Form.PaintBoxColor, Qt::RightButton, Qt::NoModifier, QPoint(60, 60));
    DragTo({70, 80}, Qt::RightButton);
    DragTo({90, 100}, Qt::RightButton | Qt::MiddleButton);
    QTest::mouseRelease(Form.PaintBoxColor, Qt::RightButton, Qt::NoModifier, QPoint(90, 100));
    QTest::mouseMove(Form.PaintBoxColor, QPoint(120, 120));
    EXPECT_EQ(EntryTexts(), Before);
    EXPECT_TRUE(ShowsOneCrossAt(18, 177));
}

TEST_F(BoxTest, ALeftDragFollowsThePointerAndKeepsTheLastPointInside)
{
    ShowOn(2);
    QTest::mousePress(Form.PaintBoxColor, Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    EXPECT_EQ(Hue(Form), 49);
    EXPECT_EQ(Sat(Form), 150);
    DragTo({60, 70}, Qt::LeftButton);
    EXPECT_EQ(Hue(Form), 59);
    EXPECT_EQ(Sat(Form), 130);
    EXPECT_TRUE(ShowsOneCrossAt(60, 70));
    const std::vector<String> Inside = EntryTexts();
    // Out of the interior in every direction, and onto the frame.
    for (const QPoint P : {QPoint(250, 70), QPoint(201, 70), QPoint(60, 0), QPoint(0, 70), QPoint(60, 201),
                           QPoint(-5, -5), QPoint(60, 400)}) {
        DragTo(P, Qt::LeftButton);
        EXPECT_EQ(EntryTexts(), Inside) << P.x() << "," << P.y();
    }
    QTest::mouseRelease(Form.PaintBoxColor, Qt::LeftButton, Qt::NoModifier, QPoint(60, 400));
    EXPECT_EQ(Hue(Form), 59);
    EXPECT_EQ(Sat(Form), 130);
    EXPECT_TRUE(ShowsOneCrossAt(60, 70));
    // Back inside with the button held again, the drag picks once more.
    QTest::mousePress(Form.PaintBoxColor, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    DragTo({200, 200}, Qt::LeftButton);
    QTest::mouseRelease(Form.PaintBoxColor, Qt::LeftButton, Qt::NoModifier, QPoint(200, 200));
    EXPECT_EQ(Hue(Form), 199);
    EXPECT_EQ(Sat(Form), 0);
    EXPECT_TRUE(ShowsOneCrossAt(200, 200));
}

TEST_F(BoxTest, ThePickedColourUsesTheCurrentBrightness)
{
    ShowOn(2);
    // Brightness 200 from a colour entry: brighter than the field under the pointer.
    Focus(Form.editRed);
    Retype(Form.editRed, "255");
    ASSERT_EQ(Bright(Form), 200);
    Click({101, 50});
    EXPECT_EQ(Hue(Form), 100);
    EXPECT_EQ(Sat(Form), 150);
    EXPECT_EQ(PickedColor(Form), 0x00FFFF40) << "red 64, green 255, blue 255";
    EXPECT_EQ(EntryTexts(), (std::vector<String>{"100", "150", "200", "64", "255", "255"}));
    EXPECT_EQ(Hex(Pixel(Box(), 101, 50)), Hex(qRgb(48, 191, 191) & 0xFFFFFF)) << "the field under the pointer";
    // Brightness 199 typed.
    Focus(Form.EditBright);
    Retype(Form.EditBright, "199");
    Click({51, 20});
    EXPECT_EQ(PickedColor(Form), HSBtoRGB(FractionOf(50, 200), FractionOf(180, 200), FractionOf(199, 200)));
    EXPECT_NE(Rgb(PickedColor(Form)), Pixel(Box(), 51, 20));
}

TEST_F(BoxTest, BeforeTheFirstPaintNoCrossIsDrawn)
{
    // The dialog is not shown: the box has never been painted.
    ASSERT_FALSE(ViewOfBox(Form).Painted);
    const QImage Blank = Box().copy();
    Retype(Form.EditHue, "100");
    Retype(Form.EditSat, "50");
    Retype(Form.editGreen, "7");
    Form.DrawMarker();
    Form.SetSelectedIdentifier("$00336699");
    EXPECT_EQ(ViewOfBox(Form).Marker.x(), -1);
    EXPECT_EQ(ViewOfBox(Form).Marker.y(), -1);
    EXPECT_FALSE(ViewOfBox(Form).Painted);
    EXPECT_TRUE(SameImage(Box(), Blank)) << "nothing was drawn";
    // The first paint draws the cross at the hue and saturation reached meanwhile.
    Form.PaintBoxColor->Repaint();
    EXPECT_TRUE(ViewOfBox(Form).Painted);
    EXPECT_TRUE(ShowsOneCrossAt(18, 67)); // $00336699: hue 17, saturation 133
}

TEST_F(BoxTest, HueOrSaturation200PutsTheCrossOnTheFrame)
{
    ShowOn(2);
    const std::tuple<const char*, const char*, const char*, int, int> Colours[] = {
        {"255", "0", "1", 201, 0},   // hue 200, saturation 200: the top right corner
        {"0", "0", "0", 1, 200},     // back to the bottom left
        {"0", "0", "255", 134, 0},   // saturation 200: the top edge
        {"255", "0", "2", 201, 0},   // hue Round(199.74) = 200
        {"90", "90", "90", 1, 200},
    };
    for (const auto& [Red, Green, Blue, X, Y] : Colours) {
        SCOPED_TRACE(std::string(Red) + "," + Green + "," + Blue);
        Focus(Form.editRed);
        Retype(Form.editRed, Red);
        Focus(Form.editGreen);
        Retype(Form.editGreen, Green);
        Focus(Form.editBlue);
        Retype(Form.editBlue, Blue);
        EXPECT_TRUE(ShowsOneCrossAt(X, Y));
    }
    Form.PaintBoxColor->Repaint();
    EXPECT_TRUE(ShowsOneCrossAt(1, 200));
}

TEST_F(BoxTest, AChosenCustomColourMovesTheMarkerAtOnce)
{
    // The custom grid shares the page with the box: choosing a colour there must not leave the
    // marker at the old hue and saturation while the entries show the new ones.
    List.Put(5, "$00336699");
    ShowOn(2);
    ASSERT_TRUE(ShowsOneCrossAt(1, 200));
    QTest::mouseClick(Form.GridCustomColors, Qt::LeftButton, Qt::NoModifier,
                      QPoint(Form.GridCustomColors->CellRect(5, 0).Left + 12, 12));
    ASSERT_EQ(Form.SelectedIdentifier(), "$00336699");
    ASSERT_EQ(Hue(Form), 17);
    ASSERT_EQ(Sat(Form), 133);
    EXPECT_TRUE(ShowsOneCrossAt(18, 67));
    // The same for a number handed in from outside while the page is shown.
    Form.SetSelectedIdentifier("$000000FF");
    EXPECT_TRUE(ShowsOneCrossAt(1, 0));
    // A name leaves the marker alone.
    Form.SetSelectedIdentifier("Tomato");
    EXPECT_TRUE(ShowsOneCrossAt(1, 0));
}

TEST_F(BoxTest, ANumberChosenFromAnotherPageShowsOneCrossOnCustomColors)
{
    ShowOn(0);
    Form.SetSelectedIdentifier("$00336699");
    ASSERT_EQ(Form.PageControl1->ActivePageIndex(), 2);
    QApplication::processEvents();
    EXPECT_TRUE(ShowsOneCrossAt(18, 67));
}

TEST_F(BoxTest, AtTwiceTheDensityEveryPixelBecomesAUniformBlock)
{
    ShowOn(2);
    TypeHueAndSat("120", "80");
    QImage Device(2 * BoxSize, 2 * BoxSize, QImage::Format_RGB32);
    Device.setDevicePixelRatio(2);
    Device.fill(Qt::green);
    Form.PaintBoxColor->render(&Device);
    const QImage& Logical = Box();
    for (int Y = 0; Y < 2 * BoxSize; ++Y)
        for (int X = 0; X < 2 * BoxSize; ++X)
            ASSERT_EQ(Hex(Pixel(Device, X, Y)), Hex(Pixel(Logical, X / 2, Y / 2))) << X << "," << Y;
}

} // namespace
