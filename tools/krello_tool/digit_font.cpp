// A tiny 3x5 digit font for labelling pictures the tool writes.
#include "krello_tool/digit_font.h"

namespace krello::tool {
namespace {

// One row per entry, three bits per row, the leftmost pixel in the highest bit.
constexpr uint8_t GLYPHS[10][DIGIT_HEIGHT] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 2, 2, 2}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
};

void fillSquare(uint8_t* rgb, int width, int height, int x, int y, int scale,
                const uint8_t colour[3]) {
    for (int py = y; py < y + scale; ++py) {
        for (int px = x; px < x + scale; ++px) {
            if (px < 0 || py < 0 || px >= width || py >= height) continue;
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
    for (int i = 0; i < count; ++i) {
        const int left = x + (count - 1 - i) * advance;
        for (int row = 0; row < DIGIT_HEIGHT; ++row)
            for (int column = 0; column < DIGIT_WIDTH; ++column)
                if (digitPixel(digits[i], row, column))
                    fillSquare(rgb, width, height, left + column * scale, y + row * scale, scale, colour);
    }
}

}  // namespace krello::tool
