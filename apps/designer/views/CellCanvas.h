#pragma once
// Paints a cell of a view through a property editor's drawing hook: the cell's background first,
// then the hook on a canvas whose brush is that background and whose text colour is the cell's.

#include "host/vcl/Graphics.h"

#include <QStyleOptionViewItem>

#include <functional>

class QPainter;

void paintCell(QPainter* painter, const QStyleOptionViewItem& option, const QRect& cell,
               const std::function<void(TCanvas& canvas, const TRect& rect, bool selected)>& draw);
