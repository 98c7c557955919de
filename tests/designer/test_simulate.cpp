// View > Simulate: the preview as people with a colour vision deficiency see it, and nothing else
// changes. A red button seen with a red-green dichromacy loses what sets red apart from green
// (its red and green channels come close); seen without colour, it is grey. The form's values
// and its unsaved state stay as they were.
#include "core/FormFile.h"
#include "core/FormModel.h"
#include "views/MainWindow.h"
#include "views/PreviewWidget.h"
#include "views/PropertyInspector.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>

#include <cstdlib>

namespace {

TEST(SimulateVision, ThePreviewShowsTheDeficiencyAndTheFormStaysAsItWas)
{
    MainWindow window{QStringLiteral(CV_PACKAGE_PATH)};
    window.show();
    TPalmoControl* button = window.addControl(QStringLiteral("TPalmoButton"));
    ASSERT_TRUE(button);
    ASSERT_TRUE(window.selectControl(button->Name()));
    PropertyInspector& inspector = *window.inspector();
    ASSERT_TRUE(inspector.commitText(inspector.rowOf(QStringLiteral("Appearance.Color")), QStringLiteral("Red")));
    const QStringList before = FormFile::dump(*window.form());
    const bool modified = window.isWindowModified();
    // A point well inside the button's body, away from its caption.
    const QPoint inside(button->FLeft + 6, button->FTop + button->FHeight / 2);
    const auto pixel = [&] {
        QApplication::processEvents();
        // The pane the preview is seen in, which the simulation paints.
        QWidget* pane = window.preview()->parentWidget();
        return pane->grab().toImage().pixel(window.preview()->mapTo(pane, inside));
    };
    auto* menu = window.findChild<QMenu*>(QStringLiteral("simulateMenu"));
    ASSERT_TRUE(menu);
    const auto choose = [&](const char* name) {
        QAction* action = menu->findChild<QAction*>(QLatin1String(name));
        ASSERT_TRUE(action) << name;
        action->trigger();
        EXPECT_TRUE(action->isChecked()) << name;
    };

    EXPECT_EQ(pixel(), qRgb(255, 0, 0));
    for (const char* redGreen : {"simulateProtanopia", "simulateDeuteranopia"}) {
        choose(redGreen);
        const QRgb seen = pixel();
        EXPECT_LT(std::abs(qRed(seen) - qGreen(seen)), 40) << redGreen << " " << std::hex << seen;
    }
    choose("simulateAchromatopsia");
    const QRgb grey = pixel();
    EXPECT_TRUE(qRed(grey) == qGreen(grey) && qGreen(grey) == qBlue(grey)) << std::hex << grey;
    choose("simulateNormal");
    EXPECT_EQ(pixel(), qRgb(255, 0, 0));
    EXPECT_EQ(FormFile::dump(*window.form()), before);
    EXPECT_EQ(window.isWindowModified(), modified);
}

}  // namespace
