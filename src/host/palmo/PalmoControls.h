#pragma once
// The styled controls. Each owns the appearance object it paints with (one of the eight
// appearance classes) as its Appearance property; the spinner also owns its slots.

#include "host/palmo/PalmoBase.h"
#include "host/palmo/PalmoCollection.h"
#include "host/palmo/PalmoControl.h"
#include "host/palmo/PalmoSpinner.h"

class TPalmoButton : public TPalmoControl {
    Q_OBJECT
    Q_PROPERTY(int ModalResult MEMBER FModalResult NOTIFY Changed)
    Q_PROPERTY(TPalmoButtonAppearance* Appearance READ Appearance CONSTANT)
public:
    Q_INVOKABLE explicit TPalmoButton(QObject* Parent = nullptr);
    TPalmoButtonAppearance* Appearance() const { return FAppearance; }
    int FModalResult = 0;

private:
    TPalmoButtonAppearance* FAppearance;
};

class TPalmoOnOffButton : public TPalmoControl {
    Q_OBJECT
    Q_PROPERTY(QString OnText MEMBER FOnText NOTIFY Changed)
    Q_PROPERTY(QString OffText MEMBER FOffText NOTIFY Changed)
    Q_PROPERTY(TPalmoOnOffButtonAppearance* Appearance READ Appearance CONSTANT)
public:
    Q_INVOKABLE explicit TPalmoOnOffButton(QObject* Parent = nullptr);
    TPalmoOnOffButtonAppearance* Appearance() const { return FAppearance; }
    QString FOnText = QStringLiteral("ON");
    QString FOffText = QStringLiteral("OFF");

private:
    TPalmoOnOffButtonAppearance* FAppearance;
};

class TPalmoTrackbar : public TPalmoControl {
    Q_OBJECT
    Q_PROPERTY(int Min MEMBER FMin NOTIFY Changed)
    Q_PROPERTY(int Max MEMBER FMax NOTIFY Changed)
    Q_PROPERTY(TPalmoTrackbarAppearance* Appearance READ Appearance CONSTANT)
public:
    Q_INVOKABLE explicit TPalmoTrackbar(QObject* Parent = nullptr);
    TPalmoTrackbarAppearance* Appearance() const { return FAppearance; }
    int FMin = 0;
    int FMax = 100;

private:
    TPalmoTrackbarAppearance* FAppearance;
};

class TPalmoListItem : public TPalmoControl {
    Q_OBJECT
    Q_PROPERTY(QString Text MEMBER FText NOTIFY Changed)
    Q_PROPERTY(QString Detail MEMBER FDetail NOTIFY Changed)
    Q_PROPERTY(bool Selected MEMBER FSelected NOTIFY Changed)
    Q_PROPERTY(TPalmoListItemAppearance* Appearance READ Appearance CONSTANT)
public:
    Q_INVOKABLE explicit TPalmoListItem(QObject* Parent = nullptr);
    TPalmoListItemAppearance* Appearance() const { return FAppearance; }
    QString FText = QStringLiteral("Item");
    QString FDetail;
    bool FSelected = false;

private:
    TPalmoListItemAppearance* FAppearance;
};

// A row of dots showing which page is active; TPalmoIndicator holds its colours, count and
// active index.
class TPalmoPageIndicator : public TPalmoControl {
    Q_OBJECT
    Q_PROPERTY(int Spacing MEMBER FSpacing NOTIFY Changed)
    Q_PROPERTY(TPalmoIndicator* Appearance READ Appearance CONSTANT)
public:
    Q_INVOKABLE explicit TPalmoPageIndicator(QObject* Parent = nullptr);
    TPalmoIndicator* Appearance() const { return FAppearance; }
    int FSpacing = 8;

private:
    TPalmoIndicator* FAppearance;
};

// A picker of one value per wheel; each wheel is a TPalmoSpinnerSlot of Slots.
class TPalmoSpinner : public TPalmoControl {
    Q_OBJECT
    Q_PROPERTY(int VisibleRows MEMBER FVisibleRows NOTIFY Changed)
    Q_PROPERTY(TPalmoSpinnerAppearance* Appearance READ Appearance CONSTANT)
    Q_PROPERTY(TPalmoCollection* Slots READ Slots CONSTANT)
public:
    static constexpr int DefaultSlotCount = 3;
    Q_INVOKABLE explicit TPalmoSpinner(QObject* Parent = nullptr);
    TPalmoSpinnerAppearance* Appearance() const { return FAppearance; }
    TPalmoCollection* Slots() const { return FSlots; }
    TPalmoSpinnerSlot* Slot(int Index) const;
    int FVisibleRows = 5;

private:
    TPalmoSpinnerAppearance* FAppearance;
    TPalmoCollection* FSlots;
};

class TPalmoPopup : public TPalmoControl {
    Q_OBJECT
    Q_PROPERTY(QString Message MEMBER FMessage NOTIFY Changed)
    Q_PROPERTY(bool Modal MEMBER FModal NOTIFY Changed)
    Q_PROPERTY(TPalmoPopupAppearance* Appearance READ Appearance CONSTANT)
public:
    Q_INVOKABLE explicit TPalmoPopup(QObject* Parent = nullptr);
    TPalmoPopupAppearance* Appearance() const { return FAppearance; }
    QString FMessage;
    bool FModal = true;

private:
    TPalmoPopupAppearance* FAppearance;
};
