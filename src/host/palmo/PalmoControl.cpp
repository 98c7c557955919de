#include "host/palmo/PalmoControl.h"

TPalmoControl::TPalmoControl(int Width, int Height, QObject* Parent)
    : TPalmoPersistent(Parent), FWidth(Width), FHeight(Height)
{
}

void TPalmoControl::SetName(const QString& Value)
{
    setObjectName(Value);
    emit Changed();
}

void TPalmoControl::Own(TPalmoPersistent* Part)
{
    connect(Part, &TPalmoPersistent::Changed, this, &TPalmoPersistent::Changed);
}
