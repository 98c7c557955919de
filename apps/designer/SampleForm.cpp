#include "SampleForm.h"

#include "host/palmo/PalmoBase.h"
#include "host/palmo/PalmoSpinner.h"

SampleForm::SampleForm(QObject* parent)
    : QObject(parent),
      button(new TPalmoButtonAppearance(this)),
      onOffButton(new TPalmoOnOffButtonAppearance(this)),
      trackbar(new TPalmoTrackbarAppearance(this)),
      listItem(new TPalmoListItemAppearance(this)),
      indicator(new TPalmoIndicator(this)),
      spinner(new TPalmoSpinnerAppearance(this)),
      spinnerSlot(new TPalmoSpinnerSlot(this)),
      popup(new TPalmoPopupAppearance(this))
{
    add(QStringLiteral("PalmoButton1.Appearance"), button);
    add(QStringLiteral("PalmoOnOffButton1.Appearance"), onOffButton);
    add(QStringLiteral("PalmoTrackbar1.Appearance"), trackbar);
    add(QStringLiteral("PalmoListItem1.Appearance"), listItem);
    add(QStringLiteral("PalmoIndicator1"), indicator);
    add(QStringLiteral("PalmoSpinner1.Appearance"), spinner);
    add(QStringLiteral("PalmoSpinner1.Slots[0]"), spinnerSlot);
    add(QStringLiteral("PalmoPopup1.Appearance"), popup);
}

void SampleForm::add(const QString& caption, QObject* object)
{
    object->setObjectName(caption);
    connect(object, SIGNAL(Changed()), this, SIGNAL(changed()));
    m_items.push_back({caption, object});
}

QObject* SampleForm::find(const QString& caption) const
{
    for (const Item& item : m_items)
        if (item.caption == caption)
            return item.object;
    return nullptr;
}
