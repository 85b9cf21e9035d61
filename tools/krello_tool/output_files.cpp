// The files krello-tool writes: pictures as PNG, raw bytes and text, each whole or not at all.
#include "krello_tool/output_files.h"

#include "io/file_bytes.h"
#include "io/png_encode.h"
#include "krello_tool/commands.h"

namespace krello::tool {
namespace {

void writePng(const std::string& path, const io::PngBytes& png) {
    if (!png.error.empty()) throw ToolError{path + ": cannot be written: " + png.error};
    writeOutputFile(path, png.bytes);
}

}  // namespace

void writeIndexedPng(const std::string& path, int width, int height, const uint8_t* indices,
                     const Palette& palette) {
    writePng(path, io::encodeIndexedPng(width, height, indices, rgbColourMap(palette)));
}

void writeRgbPng(const std::string& path, int width, int height, const uint8_t* rgb) {
    writePng(path, io::encodeRgbPng(width, height, rgb));
}

void writeOutputFile(const std::string& path, std::span<const uint8_t> bytes) {
    const std::string error = io::writeFile(path, bytes);
    if (!error.empty()) throw ToolError{error};
}

void writeOutputFile(const std::string& path, std::string_view text) {
    writeOutputFile(path, {reinterpret_cast<const uint8_t*>(text.data()), text.size()});
}

}  // namespace krello::tool
