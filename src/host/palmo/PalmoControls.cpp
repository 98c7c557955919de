#include "host/palmo/PalmoControls.h"
#include "host/palmo/PalmoFactory.h"

TPalmoButton::TPalmoButton(QObject* Parent)
    : TPalmoControl(96, 36, Parent), FAppearance(new TPalmoButtonAppearance(this))
{
    Own(FAppearance);
}

TPalmoOnOffButton::TPalmoOnOffButton(QObject* Parent)
    : TPalmoControl(64, 32, Parent), FAppearance(new TPalmoOnOffButtonAppearance(this))
{
    Own(FAppearance);
}

TPalmoTrackbar::TPalmoTrackbar(QObject* Parent)
    : TPalmoControl(160, 28, Parent), FAppearance(new TPalmoTrackbarAppearance(this))
{
    Own(FAppearance);
}

TPalmoListItem::TPalmoListItem(QObject* Parent)
    : TPalmoControl(200, 28, Parent), FAppearance(new TPalmoListItemAppearance(this))
{
    Own(FAppearance);
}

TPalmoPageIndicator::TPalmoPageIndicator(QObject* Parent)
    : TPalmoControl(80, 16, Parent), FAppearance(new TPalmoIndicator(this))
{
    Own(FAppearance);
}

TPalmoSpinner::TPalmoSpinner(QObject* Parent)
    : TPalmoControl(180, 120, Parent),
      FAppearance(new TPalmoSpinnerAppearance(this)),
      FSlots(new TPalmoCollection(TPalmoSpinnerSlot::staticMetaObject,
                                  [](QObject* Owner) { return new TPalmoSpinnerSlot(Owner); }, DefaultSlotCount, this))
{
    Own(FAppearance);
    Own(FSlots);
}

TPalmoSpinnerSlot* TPalmoSpinner::Slot(int Index) const
{
    return static_cast<TPalmoSpinnerSlot*>(FSlots->Item(Index));
}

TPalmoPopup::TPalmoPopup(QObject* Parent)
    : TPalmoControl(240, 160, Parent), FAppearance(new TPalmoPopupAppearance(this))
{
    Own(FAppearance);
}

namespace {

struct TControlClass {
    const QMetaObject* Meta;
    TPalmoControl* (*New)();
};

template <class T>
TControlClass ControlClass()
{
    return {&T::staticMetaObject, [] { return static_cast<TPalmoControl*>(new T); }};
}

const std::vector<TControlClass>& ControlClassTable()
{
    static const std::vector<TControlClass> Table{
        ControlClass<TPalmoButton>(),   ControlClass<TPalmoOnOffButton>(),   ControlClass<TPalmoTrackbar>(),
        ControlClass<TPalmoListItem>(), ControlClass<TPalmoPageIndicator>(), ControlClass<TPalmoSpinner>(),
        ControlClass<TPalmoPopup>(),
    };
    return Table;
}

}  // namespace

const QStringList& PalmoControlClasses()
{
    static const QStringList Names = [] {
        QStringList List;
        for (const TControlClass& Class : ControlClassTable())
            List << QString::fromLatin1(Class.Meta->className());
        return List;
    }();
    return Names;
}

std::unique_ptr<TPalmoControl> CreatePalmoControl(const QString& ClassName)
{
    for (const TControlClass& Class : ControlClassTable())
        if (ClassName == QLatin1String(Class.Meta->className()))
            return std::unique_ptr<TPalmoControl>(Class.New());
    return nullptr;
}
