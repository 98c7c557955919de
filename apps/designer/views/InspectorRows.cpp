#include "views/InspectorRows.h"

#include <algorithm>

QRect InspectorRows::resetButtonRect(const QRect& nameCell)
{
    const int side = std::max(8, nameCell.height() - 4);
    return QRect(nameCell.right() - side - 1, nameCell.top() + (nameCell.height() - side) / 2, side, side);
}
