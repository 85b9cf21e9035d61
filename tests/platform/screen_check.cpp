// Checks a screen grab of the running game: the score box, the world, that the view moved or
// stayed, and the red tint of game over.
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "png_reader.h"

namespace {

using krello::testing::PngImage;

struct Pixel {
    int r, g, b;
};

Pixel at(const PngImage& image, int x, int y) {
    const size_t i = (static_cast<size_t>(y) * image.width + x) * 3;
    return Pixel{image.rgb[i], image.rgb[i + 1], image.rgb[i + 2]};
}

bool load(const char* path, PngImage& image) {
    std::string reason;
    if (krello::testing::readPng(path, image, reason)) return true;
    std::fprintf(stderr, "screen_check: %s\n", reason.c_str());
    return false;
}

// Every pixel of the box is near white or near black, and there is plenty of each.
bool checkScoreBox(const PngImage& image, int x0, int y0, int x1, int y1) {
    int white = 0, black = 0, other = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const Pixel p = at(image, x, y);
            if (p.r > 180 && p.g > 180 && p.b > 180) {
                ++white;
            } else if (p.r < 40 && p.g < 40 && p.b < 40) {
                ++black;
            } else {
                ++other;
            }
        }
    }
    const int total = (x1 - x0) * (y1 - y0);
    std::printf("score box: %d white, %d black, %d other of %d\n", white, black, other, total);
    return other == 0 && white * 10 >= total && black * 10 >= total;
}

// The world below the text: many colours, none covering nearly everything.
bool checkWorld(const PngImage& image, int fromRow) {
    std::set<int> colours;
    for (int y = fromRow; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const Pixel p = at(image, x, y);
            colours.insert((p.r << 16) | (p.g << 8) | p.b);
        }
    }
    std::printf("world: %zu colours\n", colours.size());
    return colours.size() >= 16;
}

// The view changed between two grabs: a good part of the world's pixels differ.
bool checkDiffer(const PngImage& a, const PngImage& b, int fromRow) {
    if (a.width != b.width || a.height != b.height) return false;
    long differ = 0, total = 0;
    for (int y = fromRow; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x, ++total) {
            const Pixel p = at(a, x, y), q = at(b, x, y);
            differ += (p.r != q.r || p.g != q.g || p.b != q.b) ? 1 : 0;
        }
    }
    std::printf("differ: %ld of %ld pixels\n", differ, total);
    return differ * 20 >= total;
}

// At least `percent` of the pixels of the box are the same in both pictures.
bool checkSame(const PngImage& a, const PngImage& b, int x0, int y0, int x1, int y1, int percent) {
    if (a.width != b.width || a.height != b.height || x1 > a.width || y1 > a.height) return false;
    long same = 0, total = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x, ++total) {
            const Pixel p = at(a, x, y), q = at(b, x, y);
            same += (p.r == q.r && p.g == q.g && p.b == q.b) ? 1 : 0;
        }
    }
    std::printf("same: %ld of %ld pixels\n", same, total);
    return total > 0 && same * 100 >= total * percent;
}

// After game over every colour ramp starts at red: at least `percent` of the pixels are reddish.
bool checkTinted(const PngImage& image, int percent) {
    long red = 0, total = 0;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x, ++total) {
            const Pixel p = at(image, x, y);
            red += (p.r >= 120 && p.r > p.g + 60 && p.r > p.b + 60) ? 1 : 0;
        }
    }
    std::printf("tinted: %ld of %ld pixels reddish\n", red, total);
    return red * 100 >= total * percent;
}

int usage() {
    std::fprintf(stderr,
                 "usage: screen_check score SHOT X0 Y0 X1 Y1 | world SHOT ROW | differ SHOT_A SHOT_B ROW |\n"
                 "       same SHOT_A SHOT_B X0 Y0 X1 Y1 PERCENT | tinted SHOT PERCENT\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return usage();
    const std::string what = argv[1];
    PngImage a, b;
    if (!load(argv[2], a)) return 2;
    bool ok = false;
    if (what == "score" && argc == 7) {
        ok = checkScoreBox(a, std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]), std::atoi(argv[6]));
    } else if (what == "world" && argc == 4) {
        ok = checkWorld(a, std::atoi(argv[3]));
    } else if (what == "differ" && argc == 5) {
        if (!load(argv[3], b)) return 2;
        ok = checkDiffer(a, b, std::atoi(argv[4]));
    } else if (what == "same" && argc == 9) {
        if (!load(argv[3], b)) return 2;
        ok = checkSame(a, b, std::atoi(argv[4]), std::atoi(argv[5]), std::atoi(argv[6]), std::atoi(argv[7]),
                       std::atoi(argv[8]));
    } else if (what == "tinted" && argc == 4) {
        ok = checkTinted(a, std::atoi(argv[3]));
    } else {
        return usage();
    }
    std::printf("%s: %s\n", what.c_str(), ok ? "ok" : "FAILED");
    return ok ? 0 : 1;
}
