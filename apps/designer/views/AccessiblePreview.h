#pragma once
// What assistive technology sees of the preview: the form as one object with a child per
// control, in the form's order. A child has the role its class plays (a button, a toggle
// button, a slider, a list item, a page tab list, a spin box, a dialog), a name (the control's
// name and its caption or text: "OkButton, OK"), its bounds on the screen, and the selected and
// focused states; its description says where it is and how large ("Left 16, Top 252, Width 96,
// Height 36"). The preview's accessibility object raises focus and selection events as the
// selection changes, and a location change with the new place when a selected control moves or is
// sized.

#include <QAccessible>
#include <QHash>
#include <QObject>

#include <array>
#include <vector>

class FormModel;
class PreviewWidget;
class TPalmoControl;

class PreviewAccessibility : public QObject {
    Q_OBJECT
public:
    // Installs, once per process, the factory that gives every preview its accessible object.
    PreviewAccessibility(PreviewWidget* preview, FormModel* form);

    // The preview's selection changed from before to what it shows now.
    void selectionChanged(const std::vector<TPalmoControl*>& before);
    // The control the screen reader's focus is on while the preview has the keyboard: the one
    // last added to the selection, or the first selected.
    TPalmoControl* current() const;

    static QAccessible::Role roleOf(const TPalmoControl& control);
    // "OkButton, OK"; the control's name alone when it shows no text.
    static QString nameOf(const TPalmoControl& control);
    // "Left 16, Top 252, Width 96, Height 36", with "hidden" or "disabled" after it when so.
    static QString descriptionOf(const TPalmoControl& control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void raiseFor(TPalmoControl* control, QAccessible::Event type);
    // Raises a location change for each selected control whose place changed since it was told.
    void formChanged();
    void rememberPlaces();

    PreviewWidget* m_preview;
    FormModel* m_form;
    TPalmoControl* m_current = nullptr;
    // The places of the selected controls as last told.
    QHash<const TPalmoControl*, std::array<int, 4>> m_places;
    bool m_changePending = false;
};
