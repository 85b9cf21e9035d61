// A tiny 3x5 digit font for labelling pictures the tool writes.
#pragma once

#include <cstdint>

namespace krello::tool {

constexpr int DIGIT_WIDTH = 3;
constexpr int DIGIT_HEIGHT = 5;

// Whether pixel (row, column) of a digit's 3x5 glyph is lit. Anything outside is unlit.
bool digitPixel(int digit, int row, int column);

// Draws a non-negative number into an RGB picture of the given width and height, each font
// pixel as a scale x scale square, its top left corner at (x, y). Pixels off the picture are
// skipped.
void drawNumber(uint8_t* rgb, int width, int height, int x, int y, int number, int scale,
                const uint8_t colour[3]);

}  // namespace krello::tool
