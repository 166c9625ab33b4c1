#include "form/contrast.h"

#include <array>

namespace wendle::form {

namespace {

// x to the power 1/5 by Newton's method: the table below is made by the
// compiler, so no start pays for the maths library.
constexpr double fifthRoot(double x) {
    if (x <= 0)
        return 0;
    double r = x < 1 ? 1 : x;
    for (int i = 0; i < 60; ++i)
        r -= (r * r * r * r * r - x) / (5 * r * r * r * r);
    return r;
}

constexpr double linear(int channel) {
    const double c = channel / 255.0;
    if (c <= 0.04045)
        return c / 12.92;
    const double base = (c + 0.055) / 1.055;
    // base^2.4 = base^2 * (base^2)^(1/5)
    return base * base * fifthRoot(base * base);
}

constexpr std::array<double, 256> Linear = [] {
    std::array<double, 256> table{};
    for (int i = 0; i < 256; ++i)
        table[i] = linear(i);
    return table;
}();

double luminance(std::uint32_t rgb) {
    return 0.2126 * Linear[(rgb >> 16) & 0xFF] + 0.7152 * Linear[(rgb >> 8) & 0xFF] +
           0.0722 * Linear[rgb & 0xFF];
}

std::uint32_t mixed(std::uint32_t from, std::uint32_t to, int part, int parts) {
    std::uint32_t out = 0;
    for (int shift : {16, 8, 0}) {
        const int a = int((from >> shift) & 0xFF), b = int((to >> shift) & 0xFF);
        out |= std::uint32_t(a + ((b - a) * part + parts / 2) / parts) << shift;
    }
    return out;
}

} // namespace

double contrastRatio(std::uint32_t a, std::uint32_t b) {
    const double la = luminance(a), lb = luminance(b);
    return la > lb ? (la + 0.05) / (lb + 0.05) : (lb + 0.05) / (la + 0.05);
}

std::uint32_t readableGrey(std::uint32_t grey, std::uint32_t text, std::uint32_t background,
                           double minimum) {
    constexpr int Parts = 64;
    for (int part = 0; part < Parts; ++part) {
        const std::uint32_t candidate = mixed(grey, text, part, Parts);
        if (contrastRatio(candidate, background) >= minimum)
            return candidate;
    }
    return text;
}

} // namespace wendle::form
