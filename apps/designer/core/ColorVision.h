#pragma once
// How colours look to people with a colour vision deficiency: each 8-bit sRGB colour as a
// dichromat or a rod monochromat would see it, shown as the sRGB colour a person with normal
// vision matches it with. Plain C++, no Qt; SimulatedImage.h applies it to an image.
//
// Every model works in linear light: the channels are decoded with the sRGB transfer function
// (IEC 61966-2-1), mixed by a 3 × 3 matrix, encoded back the same way, rounded to the nearest
// level and clipped to 0 … 255. White, black and every grey are left as they are by each model.
//
//   Protanopia, Deuteranopia: the L (or M) cone's signal is replaced from the other two, on the
//     single plane of Viénot, Brettel and Mollon (1999) through black, white and the blue primary.
//   Tritanopia: the S cone's signal is replaced on one of the two half-planes of Brettel, Viénot
//     and Mollon (1997), anchored at 485 nm (blues and greens) and 660 nm (reds and purples).
//   Achromatopsia: every channel is the colour's relative luminance (rod monochromacy).
//
// ColorVision.cpp names the matrices' sources.

#include "core/SrgbSpace.h"

#include <cstddef>
#include <cstdint>

enum class Vision { Normal, Protanopia, Deuteranopia, Tritanopia, Achromatopsia };

// "Normal vision", "Protanopia", "Deuteranopia", "Tritanopia", "Achromatopsia".
const char* visionName(Vision vision);

// The colour as a person with the given vision sees it.
Rgb8 simulate(Vision vision, Rgb8 color);
// The same for count pixels 0xAARRGGBB (QRgb) in place; alpha is kept. Each pixel gets exactly
// what simulate gives its colour.
void simulatePixels(Vision vision, std::uint32_t* pixels, std::size_t count);

