#include "host/palmo/PalmoPersistent.h"

TPalmoPersistent::TPalmoPersistent(QObject* Parent) : QObject(Parent)
{
    // Property values of both colour types convert to and from integers for the designer.
    RegisterCVColorType();
    RegisterColorValueType();
}

TCVColor CVColorOf(const char* Ident)
{
    return TCVColor{StringToCVColor(String::fromLatin1(Ident))};
}
