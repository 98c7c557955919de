#pragma once
// What a property editor's row stands for on the form, asked of its objects: the controls it
// writes, what it accepts, whether a change of it adds or removes rows. An object that has gone
// counts for nothing.

#include "host/designide/DesignIntf.h"

#include <QString>

#include <vector>

class TPalmoControl;

// The controls whose values an editor writes (its objects may be parts or collection items).
std::vector<TPalmoControl*> controlsOf(TPropertyEditor* editor);
// What a row accepts, said after a refused text ("It takes True or False."); "" for any text.
QString acceptedValues(TPropertyEditor* editor);
// Whether a change of the editor's property adds or removes rows: a collection's Count does.
bool changesRows(TPropertyEditor* editor);
