#pragma once
// The status bar's readout of where things are: the selected controls' position and size (for
// several, the rectangle around them all), and while the preview shows a drag, the places it
// shows as the pointer goes, also in the inspector's Left, Top, Width and Height rows. A
// permanent part of the status bar: the bar's messages never hide it, and it never replaces one.
// Hidden while there is nothing to show.

#include "core/IntRange.h"  // ::Box: inside a QLabel, Box names QFrame::Box

#include <QLabel>

#include <optional>
#include <vector>

class FormModel;
class FormSelection;
class PreviewWidget;
class PropertyModel;

class PlaceReadout : public QLabel {
    Q_OBJECT
public:
    PlaceReadout(PreviewWidget* preview, FormModel* form, FormSelection* selection, PropertyModel* inspector,
                 QWidget* parent = nullptr);

    // "Left 120, Top 48, Width 75, Height 25"; for several controls "3 controls: " first.
    static QString placeText(const ::Box& place, std::size_t count = 1);
    // The rectangle around the boxes, its edges within the range; none for no box.
    static std::optional<::Box> boundsOf(const std::vector<::Box>& boxes);

private:
    // Shows what the preview shows now.
    void showPlaces();
    // The same once the event loop runs: an undo of a thousand steps' changes is read once.
    void showPlacesSoon();

    PreviewWidget* m_preview;
    FormSelection* m_selection;
    PropertyModel* m_inspector;
    bool m_pending = false;
};
