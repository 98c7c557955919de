#include "core/SrgbSpace.h"

#include <array>
#include <cmath>

namespace {

std::array<double, 256> linearLevels()
{
    std::array<double, 256> levels{};
    for (int n = 0; n < 256; ++n) {
        const double c = n / 255.0;
        levels[static_cast<std::size_t>(n)] = c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    }
    return levels;
}

}  // namespace

double linearOf(std::uint8_t level)
{
    static const std::array<double, 256> levels = linearLevels();
    return levels[level];
}

std::uint8_t levelOf(double linear)
{
    if (!(linear > 0))
        return 0;
    if (linear >= 1)
        return 255;
    const double c = linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
    return static_cast<std::uint8_t>(std::lround(c * 255));
}
