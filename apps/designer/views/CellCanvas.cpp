#include "views/CellCanvas.h"

#include "host/vcl/ColorType.h"

#include <QPainter>

void paintCell(QPainter* painter, const QStyleOptionViewItem& option, const QRect& cell,
               const std::function<void(TCanvas& canvas, const TRect& rect, bool selected)>& draw)
{
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorGroup group = option.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    const QColor background = option.palette.color(group, selected ? QPalette::Highlight : QPalette::Base);
    const QColor foreground = option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
    painter->save();
    painter->fillRect(option.rect, background);
    {
        TCanvas canvas(*painter);
        canvas.Font = option.font;
        canvas.Brush.Color = TColorOf(background);
        canvas.FontColor = TColorOf(foreground);
        draw(canvas, Rect(cell.left(), cell.top(), cell.right() + 1, cell.bottom() + 1), selected);
    }
    painter->restore();
}
