// The Readability view follows any run of changes to the form (colours, controls leaving and
// coming back, a new order, a burst of many, another filter) and lists exactly what the
// readability report says, in form order, as a view that follows the model's notices sees it; the
// notices stay consistent throughout (Qt's model tester, whose complaints fail the test).
#include "../contrast/ContrastForms.h"
#include "core/FormModel.h"
#include "core/Readability.h"
#include "views/ContrastView.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QSortFilterProxyModel>

#include <random>

namespace {

// What the report says, as the view shows it with its filter and thresholds.
QStringList Expected(const FormModel& Form, const ContrastView& View)
{
    QStringList Out;
    const int Kind = View.filter()->currentIndex();
    const ReadabilityThresholds Thresholds{View.minimumDeltaE()->value(), View.minimumLuminanceRatio()->value()};
    const std::optional<FindingKind> Kinds[] = {std::nullopt, FindingKind::TextContrast, FindingKind::StateDifference,
                                                FindingKind::WithoutColour};
    for (const Finding& F : Readability::findings(Form, Thresholds))
        if (!Kinds[Kind] || F.kind == *Kinds[Kind])
            Out << F.control->Name() + u' ' + F.firstPath + u' ' + F.secondPath + u' ' + Readability::measureText(F);
    return Out;
}

QStringList Shown(const QAbstractItemModel& Lines)
{
    QStringList Out;
    for (int Row = 0; Row < Lines.rowCount(); ++Row) {
        QStringList Cells;
        for (int Column : {ReadabilityLines::ControlColumn, ReadabilityLines::TextColumn, ReadabilityLines::BackgroundColumn,
                           ReadabilityLines::MeasureColumn})
            Cells << Lines.index(Row, Column).data().toString();
        Out << Cells.join(u' ');
    }
    return Out;
}

TEST(ReadabilityLines, AnyRunOfChangesListsWhatTheReportSays)
{
    FormModel Form;
    const char* Classes[] = {"TPalmoButton", "TPalmoListItem", "TPalmoOnOffButton", "TPalmoPopup"};
    const char* Paths[] = {"Appearance.Color", "Appearance.TextColor", "Appearance.OnColor", "Appearance.OffColor",
                           "Appearance.PressedColor", "Appearance.SelectedColor", "Appearance.TitleColor"};
    const char* Colors[] = {"White", "Black", "Gray", "Silver", "Tomato", "SeaGreen", "Navy"};
    for (int I = 0; I < 90; ++I)
        ASSERT_NE(Form.add(QLatin1String(Classes[I % 4])), nullptr);
    ContrastView View(&Form);
    QAbstractItemModelTester Tester(View.lines(), QAbstractItemModelTester::FailureReportingMode::Warning);
    // The lines as a view knows them: kept from the model's notices alone, so that rows changed
    // without one show.
    QSortFilterProxyModel Mirror;
    Mirror.setSourceModel(View.lines());
    std::mt19937 Random(7);
    const auto Pick = [&](std::size_t N) { return static_cast<std::size_t>(Random() % N); };
    std::vector<std::unique_ptr<TPalmoControl>> Away;
    for (int Step = 0; Step < 150; ++Step) {
        const std::size_t Count = Form.controls().size();
        switch (Pick(8)) {
        case 0:  // a control leaves the form, or one comes back
            if (Away.empty() || Pick(2))
                Away.push_back(Form.take(static_cast<int>(Pick(Count))));
            else {
                ASSERT_TRUE(Form.insert(static_cast<int>(Pick(Count + 1)), std::move(Away.back())).isEmpty());
                Away.pop_back();
            }
            break;
        case 1: {  // a new order
            std::vector<TPalmoControl*> Order = Form.controls();
            std::shuffle(Order.begin(), Order.end(), Random);
            ASSERT_TRUE(Form.reorder(Order));
            break;
        }
        case 2:  // a colour for most of the form at once
            for (TPalmoControl* Control : Form.controls())
                if (Pick(4))
                    SetColor(*Control, QLatin1String(Paths[Pick(7)]), Colors[Pick(7)]);
            break;
        case 3:
            View.filter()->setCurrentIndex(static_cast<int>(Pick(4)));
            break;
        default:  // a few colours, a pass of the event loop or not
            for (std::size_t N = 1 + Pick(3); N-- > 0;)
                SetColor(*Form.controls()[Pick(Count)], QLatin1String(Paths[Pick(7)]), Colors[Pick(7)]);
        }
        if (Pick(3) == 0)
            continue;  // the next change joins this one's update
        QApplication::processEvents();
        ASSERT_EQ(Shown(Mirror), Expected(Form, View)) << "after step " << Step;
    }
}

}  // namespace
