#pragma once
// What assistive technology sees of the owner-drawn controls: the draw grid as a list of cells,
// each named by the grid's CellName, and the paint box with its name and value.

#include <functional>

class QAccessibleEvent;
class TDrawGrid;

// Installs, once per process, the factory that gives the draw grid and the paint box their
// accessible objects. The controls call it when they are created.
void InstallControlAccessibility();

// Tells assistive technology that the grid's current cell has the focus now: raised when the
// cursor moves to another cell, by key or click, and when the grid gets the keyboard focus.
void NotifyCurrentCellFocused(TDrawGrid* Grid);

// Hands every event these controls raise to Tap as well, before Qt gets it; none when empty. Qt
// passes events on (to its update handler too) only while a screen reader is listening, which an
// offscreen test never has: the tap lets a test see what a screen reader would be told.
void SetAccessibleEventTap(std::function<void(QAccessibleEvent*)> Tap);
