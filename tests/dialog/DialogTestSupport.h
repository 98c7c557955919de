#pragma once
// Shared pieces of the colour dialog's tests: a fixture holding a dialog with a lent custom list,
// typing into entries as a user does, and pixel helpers.

#include "dialog/CVKZLMOBILEDsnColorDialog.h"
#include "support/ColorFormProbe.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTest>

#include <functional>
#include <ostream>
#include <vector>
#include <string>

// Failure messages show texts as texts.
inline void PrintTo(const QString& S, std::ostream* Out)
{
    *Out << '"' << S.toStdString() << '"';
}

namespace dialogtest {

using namespace colorformprobe;

// The toolkit's colour names in the order it gives them: what the system grid shows.
inline std::vector<String> ToolkitColorNames()
{
    std::vector<String> Names;
    GetColorValues([&](const String& S) { Names.push_back(S); });
    return Names;
}

// The 24-bit RGB of a colour value as a widget's image holds it.
inline QRgb Rgb(TColor C)
{
    return qRgb(C & 0xFF, (C >> 8) & 0xFF, (C >> 16) & 0xFF) & 0xFFFFFF;
}

inline QRgb Pixel(const QImage& Image, int X, int Y)
{
    return Image.pixel(X, Y) & 0xFFFFFF;
}

inline QRgb Inverse(QRgb P)
{
    return ~P & 0xFFFFFF;
}

inline std::string Hex(QRgb P)
{
    return QString::asprintf("#%06X", P & 0xFFFFFF).toStdString();
}

// Exception reports of the toolkit's event loop are recorded quietly for the life of the object.
class QuietExceptionReports {
public:
    QuietExceptionReports() : FSaved(Application->OnException)
    {
        Application->OnException = [](const String&) {};
        Application->ClearExceptions();
    }
    ~QuietExceptionReports()
    {
        Application->OnException = FSaved;
        Application->ClearExceptions();
    }
    QuietExceptionReports(const QuietExceptionReports&) = delete;
    QuietExceptionReports& operator=(const QuietExceptionReports&) = delete;

private:
    std::function<void(const String&)> FSaved;
};

// One dialog per test, created as the editor creates it: no owner, the custom list lent.
class DialogTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        EXPECT_FALSE(GuardIsUp(Form)) << "the guard flag is down after every operation";
        EXPECT_EQ(Application->ExceptionCount(), 0)
            << "no handler raised: " << Application->LastExceptionMessage().toStdString();
    }

    // Shows the dialog, active, on the given page (0 web, 1 system, 2 custom).
    void ShowOn(int Page)
    {
        Form.PageControl1->SetActivePageIndex(Page);
        Form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Form));
        Form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Form));
        QApplication::processEvents();
    }

    // Gives an entry the keyboard focus, as a click into it would.
    static void Focus(QWidget* Control)
    {
        Control->setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
    }

    // Selects the whole text and deletes it: two keystrokes.
    static void ClearEntry(TEdit* Entry)
    {
        QTest::keyClick(Entry, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(Entry, Qt::Key_Backspace);
    }

    // One keystroke per character at the caret.
    static void Type(TEdit* Entry, const char* Keys)
    {
        for (const char* K = Keys; *K; ++K)
            QTest::keyClick(Entry, *K);
    }

    // Selects the whole text and types over it, a keystroke at a time.
    static void Retype(TEdit* Entry, const char* Keys)
    {
        QTest::keyClick(Entry, Qt::Key_A, Qt::ControlModifier);
        Type(Entry, Keys);
    }

    // The six entries' texts, hue first, blue last.
    std::vector<String> EntryTexts() const
    {
        return {Form.EditHue->Text(), Form.EditSat->Text(), Form.EditBright->Text(),
                Form.editRed->Text(), Form.editGreen->Text(), Form.editBlue->Text()};
    }

    QuietExceptionReports Reports;
    TStringList List;
    TCVKZLMOBILEColorForm Form{nullptr, &List};
};

} // namespace dialogtest
