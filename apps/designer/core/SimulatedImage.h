#pragma once
// An image as a person with a colour vision deficiency sees it (ColorVision.h), pixel by pixel.
// QtGui only.

#include "core/ColorVision.h"

class QImage;

// Converts the image in place. Every pixel becomes what simulate gives its colour, alpha kept.
// An image in a format other than RGB32 or ARGB32 is first converted to one of them (ARGB32 when
// it has an alpha channel): a premultiplied colour is not the colour that is seen.
void simulateImage(Vision vision, QImage& image);
