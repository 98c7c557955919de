#pragma once
// The form being designed: one styled control of each kind, each with its appearance object.

#include <QObject>
#include <QString>

#include <vector>

class TPalmoButtonAppearance;
class TPalmoOnOffButtonAppearance;
class TPalmoTrackbarAppearance;
class TPalmoListItemAppearance;
class TPalmoIndicator;
class TPalmoSpinnerSlot;
class TPalmoSpinnerAppearance;
class TPalmoPopupAppearance;

class SampleForm : public QObject {
    Q_OBJECT
public:
    explicit SampleForm(QObject* parent = nullptr);

    struct Item {
        QString caption;   // what the designer lists
        QObject* object;   // the object whose properties the inspector shows
    };
    const std::vector<Item>& items() const { return m_items; }
    QObject* find(const QString& caption) const;

    TPalmoButtonAppearance* button;
    TPalmoOnOffButtonAppearance* onOffButton;
    TPalmoTrackbarAppearance* trackbar;
    TPalmoListItemAppearance* listItem;
    TPalmoIndicator* indicator;
    TPalmoSpinnerAppearance* spinner;
    TPalmoSpinnerSlot* spinnerSlot;
    TPalmoPopupAppearance* popup;

signals:
    // Some property of some control changed.
    void changed();

private:
    void add(const QString& caption, QObject* object);
    std::vector<Item> m_items;
};
