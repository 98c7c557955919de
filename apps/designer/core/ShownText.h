#pragma once
// A form may hold texts of millions of characters (a form file has up to 16 MiB), and shaping or
// measuring such a text takes seconds and a gigabyte on every paint. Whatever paints a text from
// the form first cuts it to what could show in the room it has: no character is less than a pixel
// wide nor a line less than a pixel high, so no more than the room's width in characters fits on
// a line. A cut text ends in an ellipsis, so it never passes for the whole.

#include <QFontMetricsF>
#include <QString>

// text when it could fit width (pixels) by lines lines; otherwise as much of its start as could,
// with "…" after it. Never splits a surrogate pair.
QString cutToRoom(const QString& text, qreal width, qreal lines = 1);

// text on one line in width pixels, elided at the right when it does not fit; measured only as
// far as it could show.
QString elidedToRoom(const QFontMetricsF& metrics, const QString& text, qreal width);

// What a control paints of a one-line text: the text itself while it could fit (drawn and clipped
// as it always was), else as much of its start as fits, elided.
QString lineToRoom(const QFontMetricsF& metrics, const QString& text, qreal width);
