// Looks at the X screen from outside, as the end-to-end test's eyes: grabs the whole root window
// once and answers questions about it.
//
//   cve2eprobe [--shot FILE] [--pixel X,Y]... [--find RRGGBB:X0,Y0,X1,Y1]...
//
// --shot   saves the grab as PNG;
// --pixel  prints "pixel X,Y RRGGBB";
// --find   prints "find RRGGBB X Y W H COUNT": the bounding box of the pixels of exactly that
//          colour inside the rectangle (corners included), and how many there are; W and H are
//          0 when there is none.
// Exits 2 on bad arguments, 3 when the screen cannot be grabbed or the shot cannot be saved.

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QScreen>
#include <QStringList>

#include <cstdio>

namespace {

bool ParsePoint(const QString& Text, QPoint& Point)
{
    const QStringList Parts = Text.split(QLatin1Char(','));
    bool Ok[2] = {false, false};
    if (Parts.size() != 2)
        return false;
    Point = QPoint(Parts[0].toInt(&Ok[0]), Parts[1].toInt(&Ok[1]));
    return Ok[0] && Ok[1];
}

bool ParseFind(const QString& Text, QRgb& Color, QRect& Area)
{
    const QStringList Parts = Text.split(QLatin1Char(':'));
    if (Parts.size() != 2 || Parts[0].size() != 6)
        return false;
    bool Ok = false;
    Color = Parts[0].toUInt(&Ok, 16) & 0xFFFFFFu;
    const QStringList Corners = Parts[1].split(QLatin1Char(','));
    if (!Ok || Corners.size() != 4)
        return false;
    int Values[4];
    for (int I = 0; I < 4; ++I) {
        Values[I] = Corners[I].toInt(&Ok);
        if (!Ok)
            return false;
    }
    Area = QRect(QPoint(Values[0], Values[1]), QPoint(Values[2], Values[3]));
    return Area.isValid();
}

int Usage()
{
    std::fprintf(stderr, "usage: cve2eprobe [--shot FILE] [--pixel X,Y]... [--find RRGGBB:X0,Y0,X1,Y1]...\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    // The probe looks at the X server's screen whatever platform the caller's environment names
    // (an offscreen platform would grab an empty screen of its own).
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication App(argc, argv);
    const QStringList Args = QGuiApplication::arguments().mid(1);
    QScreen* Screen = QGuiApplication::primaryScreen();
    if (!Screen) {
        std::fprintf(stderr, "cve2eprobe: no screen\n");
        return 3;
    }
    const QImage Image = Screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    if (Image.isNull()) {
        std::fprintf(stderr, "cve2eprobe: the screen could not be grabbed\n");
        return 3;
    }
    for (qsizetype I = 0; I < Args.size(); ++I) {
        const QString& Option = Args[I];
        if (I + 1 >= Args.size())
            return Usage();
        const QString Value = Args[++I];
        if (Option == QLatin1String("--shot")) {
            if (!Image.save(Value, "PNG")) {
                std::fprintf(stderr, "cve2eprobe: cannot save %s\n", qPrintable(Value));
                return 3;
            }
        } else if (Option == QLatin1String("--pixel")) {
            QPoint Point;
            if (!ParsePoint(Value, Point) || !Image.rect().contains(Point))
                return Usage();
            std::printf("pixel %d,%d %06X\n", Point.x(), Point.y(), Image.pixel(Point) & 0xFFFFFFu);
        } else if (Option == QLatin1String("--find")) {
            QRgb Color = 0;
            QRect Area;
            if (!ParseFind(Value, Color, Area))
                return Usage();
            Area &= Image.rect();
            QRect Found;
            long Count = 0;
            for (int Y = Area.top(); Y <= Area.bottom(); ++Y) {
                const auto* Line = reinterpret_cast<const QRgb*>(Image.constScanLine(Y));
                for (int X = Area.left(); X <= Area.right(); ++X) {
                    if ((Line[X] & 0xFFFFFFu) != Color)
                        continue;
                    Found |= QRect(X, Y, 1, 1);
                    ++Count;
                }
            }
            std::printf("find %06X %d %d %d %d %ld\n", Color, Found.x(), Found.y(), Found.width(), Found.height(),
                        Count);
        } else {
            return Usage();
        }
    }
    return 0;
}
