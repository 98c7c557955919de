#pragma once
// The styled controls by class name: what a palette offers and what a form file names.

#include <QString>
#include <QStringList>

#include <memory>

class TPalmoControl;

// The control classes' names ("TPalmoButton", …) in palette order.
const QStringList& PalmoControlClasses();
// A new control of the named class with its defaults and an empty name; null for a name that
// is not one of PalmoControlClasses() (compared exactly).
std::unique_ptr<TPalmoControl> CreatePalmoControl(const QString& ClassName);
