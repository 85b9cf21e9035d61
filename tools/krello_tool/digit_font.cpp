// A tiny 3x5 digit font for labelling pictures the tool writes.
#include "krello_tool/digit_font.h"

#include <algorithm>

namespace krello::tool {
namespace {

// One row per entry, three bits per row, the leftmost pixel in the highest bit.
constexpr uint8_t GLYPHS[10][DIGIT_HEIGHT] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 2, 2, 2}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
};

void fillSquare(uint8_t* rgb, int width, int height, int x, int y, int scale,
                const uint8_t colour[3]) {
    const int x0 = std::max(x, 0), x1 = std::min(x + scale, width);
    const int y0 = std::max(y, 0), y1 = std::min(y + scale, height);
    for (int py = y0; py < y1; ++py) {
        for (int px = x0; px < x1; ++px) {
            uint8_t* p = rgb + (static_cast<long>(py) * width + px) * 3;
            p[0] = colour[0];
            p[1] = colour[1];
            p[2] = colour[2];
        }
    }
}

}  // namespace

bool digitPixel(int digit, int row, int column) {
    if (digit < 0 || digit > 9 || row < 0 || row >= DIGIT_HEIGHT || column < 0 || column >= DIGIT_WIDTH)
        return false;
    return (GLYPHS[digit][row] >> (DIGIT_WIDTH - 1 - column)) & 1;
}

void drawNumber(uint8_t* rgb, int width, int height, int x, int y, int number, int scale,
                const uint8_t colour[3]) {
    if (number < 0) return;
    int digits[10];
    int count = 0;
    do {
        digits[count++] = number % 10;
        number /= 10;
    } while (number > 0);
    const int advance = (DIGIT_WIDTH + 1) * scale;
    // A number wholly off the picture draws nothing; a small map's labels mostly are.
    if (x >= width || y >= height || x + count * advance <= 0 || y + DIGIT_HEIGHT * scale <= 0) return;
    for (int i = 0; i < count; ++i) {
        const int left = x + (count - 1 - i) * advance;
        for (int row = 0; row < DIGIT_HEIGHT; ++row)
            for (int column = 0; column < DIGIT_WIDTH; ++column)
                if (digitPixel(digits[i], row, column))
                    fillSquare(rgb, width, height, left + column * scale, y + row * scale, scale, colour);
    }
}

}  // namespace krello::tool
