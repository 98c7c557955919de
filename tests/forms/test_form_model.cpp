// The form as a list of styled controls: names given on adding, renaming with its checks, removal,
// and the walk over every property in the inspector's order.
#include "core/FormModel.h"
#include "core/FormProperties.h"

#include "host/palmo/PalmoControls.h"
#include "host/palmo/PalmoFactory.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <set>

namespace {

QStringList PathsOf(QObject* control)
{
    QStringList paths;
    for (const FormProperty& property : propertiesOf(control))
        paths << property.path;
    return paths;
}

TEST(FormModel, PaletteListsTheSevenControlClassesInOrder)
{
    EXPECT_EQ(PalmoControlClasses(), (QStringList{"TPalmoButton", "TPalmoOnOffButton", "TPalmoTrackbar", "TPalmoListItem",
                                                  "TPalmoPageIndicator", "TPalmoSpinner", "TPalmoPopup"}));
    for (const QString& name : PalmoControlClasses()) {
        const auto control = CreatePalmoControl(name);
        ASSERT_TRUE(control) << name.toStdString();
        EXPECT_EQ(QLatin1String(control->metaObject()->className()), name);
    }
    EXPECT_FALSE(CreatePalmoControl(QStringLiteral("tpalmobutton")));
    EXPECT_FALSE(CreatePalmoControl(QStringLiteral("TPalmoButtonAppearance")));
}

TEST(FormModel, AddingNamesControlsWithTheSmallestFreeNumber)
{
    FormModel form;
    EXPECT_EQ(form.add(QStringLiteral("TPalmoButton"))->Name(), QStringLiteral("PalmoButton1"));
    EXPECT_EQ(form.add(QStringLiteral("TPalmoButton"))->Name(), QStringLiteral("PalmoButton2"));
    EXPECT_EQ(form.add(QStringLiteral("TPalmoSpinner"))->Name(), QStringLiteral("PalmoSpinner1"));
    EXPECT_EQ(form.add(QStringLiteral("TPalmoNothing")), nullptr);
    ASSERT_EQ(form.count(), 3);

    ASSERT_TRUE(form.remove(form.find(QStringLiteral("PalmoButton1"))));
    EXPECT_EQ(form.count(), 2);
    EXPECT_EQ(form.find(QStringLiteral("PalmoButton1")), nullptr);
    // The freed number is given again; a renamed control frees its number too.
    EXPECT_EQ(form.add(QStringLiteral("TPalmoButton"))->Name(), QStringLiteral("PalmoButton1"));
    EXPECT_EQ(form.rename(form.find(QStringLiteral("PalmoButton2")), QStringLiteral("OkButton")), QString());
    EXPECT_EQ(form.add(QStringLiteral("TPalmoButton"))->Name(), QStringLiteral("PalmoButton2"));
    EXPECT_EQ(form.control(0)->Name(), QStringLiteral("OkButton"));
    EXPECT_EQ(form.control(1)->Name(), QStringLiteral("PalmoSpinner1"));
}

TEST(FormModel, RenameRefusesBadNamesAndKeepsTheOldOne)
{
    FormModel form;
    TPalmoControl* button = form.add(QStringLiteral("TPalmoButton"));
    form.add(QStringLiteral("TPalmoTrackbar"));
    QSignalSpy renamed(&form, &FormModel::controlRenamed);

    struct Case {
        QString name;
        QString says;
    };
    const Case refused[] = {
        {QString(), QStringLiteral("needs a name")},
        {QStringLiteral("1Button"), QStringLiteral("not a valid name")},
        {QStringLiteral("Ok Button"), QStringLiteral("not a valid name")},
        {QStringLiteral("Ok.Button"), QStringLiteral("not a valid name")},
        {QStringLiteral("Knöpfchen"), QStringLiteral("not a valid name")},
        {QStringLiteral("PalmoTrackbar1"), QStringLiteral("already exists")},
        {QStringLiteral("palmotrackbar1"), QStringLiteral("already exists")},
        {QString(256, u'a'), QStringLiteral("at most 255")},
    };
    for (const Case& c : refused) {
        const QString message = form.rename(button, c.name);
        EXPECT_TRUE(message.contains(c.says)) << c.name.toStdString() << ": " << message.toStdString();
        EXPECT_EQ(button->Name(), QStringLiteral("PalmoButton1"));
        EXPECT_EQ(form.find(QStringLiteral("PalmoButton1")), button);
    }
    EXPECT_EQ(renamed.count(), 0);

    EXPECT_EQ(form.rename(button, QStringLiteral("_ok_2")), QString());
    EXPECT_EQ(button->Name(), QStringLiteral("_ok_2"));
    EXPECT_EQ(form.find(QStringLiteral("_OK_2")), button);
    EXPECT_EQ(form.find(QStringLiteral("PalmoButton1")), nullptr);
    // A change of case only is no clash with itself.
    EXPECT_EQ(form.rename(button, QStringLiteral("_OK_2")), QString());
    EXPECT_EQ(form.rename(button, QString(255, u'b')), QString());
    EXPECT_EQ(renamed.count(), 3);

    TPalmoButton stranger;
    EXPECT_FALSE(form.rename(&stranger, QStringLiteral("Other")).isEmpty());
}

TEST(FormModel, TakenControlGoesBackUnderItsNameOnlyWhileTheNameIsFree)
{
    FormModel form;
    form.add(QStringLiteral("TPalmoPopup"));
    form.add(QStringLiteral("TPalmoListItem"));
    std::unique_ptr<TPalmoControl> taken = form.take(0);
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->parent(), nullptr);
    form.add(QStringLiteral("TPalmoPopup"));  // takes the name PalmoPopup1 again
    EXPECT_TRUE(form.insert(0, std::move(taken)).contains(QStringLiteral("already exists")));
    ASSERT_TRUE(taken) << "a refused control stays with the caller";
    ASSERT_EQ(form.rename(form.control(1), QStringLiteral("Other")), QString());
    EXPECT_EQ(form.insert(0, std::move(taken)), QString());
    EXPECT_FALSE(taken);
    EXPECT_EQ(form.control(0)->Name(), QStringLiteral("PalmoPopup1"));
    EXPECT_EQ(form.control(0)->parent(), &form);
}

TEST(FormModel, EveryChangeOfAControlOrItsPartsReachesTheForm)
{
    FormModel form;
    auto* spinner = static_cast<TPalmoSpinner*>(form.add(QStringLiteral("TPalmoSpinner")));
    QSignalSpy changed(&form, &FormModel::changed);
    spinner->setProperty("Left", 5);
    spinner->Appearance()->setProperty("Color", QVariant::fromValue(TCVColor{0x123456}));
    spinner->Slot(2)->setProperty("Width", 61);
    spinner->Slots()->SetCount(5);
    EXPECT_EQ(changed.count(), 4);
    spinner->Slot(4)->setProperty("Width", 62);
    EXPECT_EQ(changed.count(), 5);
}

TEST(FormModel, WalkListsOwnPropertiesThenPartsThenItems)
{
    TPalmoSpinner spinner;
    QStringList expected{"Name", "Left", "Top", "Width", "Height", "Enabled", "Visible", "Hint", "VisibleRows",
                         "Appearance.Color", "Appearance.FrameColor", "Appearance.SelectionColor", "Appearance.TextColor",
                         "Appearance.HighlightColor", "Appearance.ShadeColor", "Slots.Count"};
    for (int i = 0; i < 3; ++i)
        for (const char* name : {"Color", "TextColor", "SelectedTextColor", "Width"})
            expected << QStringLiteral("Slots[%1].%2").arg(i).arg(QLatin1String(name));
    EXPECT_EQ(PathsOf(&spinner), expected);

    const std::vector<FormProperty> properties = propertiesOf(&spinner);
    EXPECT_EQ(properties[9].owner, spinner.Appearance());
    EXPECT_EQ(properties.back().owner, spinner.Slot(2));
    EXPECT_STREQ(properties.back().property.name(), "Width");

    spinner.Slots()->SetCount(1);
    EXPECT_EQ(PathsOf(&spinner).size(), 16 + 4);

    TPalmoButton button;
    EXPECT_EQ(PathsOf(&button), (QStringList{"Name", "Left", "Top", "Width", "Height", "Enabled", "Visible", "Hint",
                                             "ModalResult", "Appearance.Color", "Appearance.PressedColor",
                                             "Appearance.BorderColor", "Appearance.TextColor", "Appearance.ShadowColor",
                                             "Appearance.CornerRadius", "Appearance.Caption"}));
}

TEST(FormModel, EveryAppearanceClassIsPartOfSomeControl)
{
    std::set<std::string> owners;
    for (const QString& name : PalmoControlClasses()) {
        const auto control = CreatePalmoControl(name);
        for (const FormProperty& property : propertiesOf(control.get()))
            owners.insert(property.owner->metaObject()->className());
    }
    for (const char* appearance : {"TPalmoButtonAppearance", "TPalmoOnOffButtonAppearance", "TPalmoTrackbarAppearance",
                                   "TPalmoListItemAppearance", "TPalmoIndicator", "TPalmoSpinnerAppearance",
                                   "TPalmoSpinnerSlot", "TPalmoPopupAppearance"})
        EXPECT_TRUE(owners.count(appearance)) << appearance;
}

TEST(FormModel, CollectionCountIsClampedAndNewItemsHaveTheirDefaults)
{
    TPalmoSpinner spinner;
    EXPECT_EQ(spinner.Slots()->Count(), 3);
    spinner.Slot(0)->FWidth = 99;
    spinner.Slots()->SetCount(1000);
    EXPECT_EQ(spinner.Slots()->Count(), TPalmoCollection::MaxCount);
    spinner.Slots()->SetCount(-4);
    EXPECT_EQ(spinner.Slots()->Count(), 0);
    spinner.Slots()->SetCount(2);
    EXPECT_EQ(spinner.Slot(0)->FWidth, 60);
    EXPECT_EQ(spinner.Slot(1)->parent(), spinner.Slots());
}

// Views ask the form for each control's place after every change of the list: through any run
// of adds, inserts and takes at the ends and in the middle, and reorders, the place given is the
// control's place in the list, and a control taken off has none.
TEST(FormModel, EachControlsIndexFollowsEveryChangeOfTheList)
{
    FormModel form;
    std::mt19937 random(11);
    std::vector<std::unique_ptr<TPalmoControl>> off;
    for (int step = 0; step < 400; ++step) {
        const int count = form.count();
        switch (random() % 4) {
        case 0:
            form.add(QStringLiteral("TPalmoButton"));
            break;
        case 1:
            if (!off.empty()) {
                const int at = random() % 2 ? count : int(random() % (count + 1));
                // Its name may have gone to a control added meanwhile: then it stays off.
                if (form.insert(at, std::move(off.back())).isEmpty())
                    off.pop_back();
            }
            break;
        case 2:
            if (count > 0)
                off.push_back(form.take(random() % 2 ? count - 1 : int(random() % count)));
            break;
        default: {
            std::vector<TPalmoControl*> order = form.controls();
            std::shuffle(order.begin(), order.end(), random);
            form.reorder(order);
        }
        }
        for (int i = 0; i < form.count(); ++i)
            ASSERT_EQ(form.indexOf(form.control(i)), i) << "step " << step;
        for (const std::unique_ptr<TPalmoControl>& taken : off)
            ASSERT_EQ(form.indexOf(taken.get()), -1) << "step " << step;
    }
}

}  // namespace
