// The files krello-tool writes: pictures as PNG, raw bytes and text; all of a command's files together or none.
#include "krello_tool/output_files.h"

#include "io/png_encode.h"
#include "krello_tool/commands.h"

namespace krello::tool {
namespace {

void orFail(const std::string& error) {
    if (!error.empty()) throw ToolError{error};
}

// PNG bytes are made in memory and written like any other output, so no encoder ever opens,
// truncates or removes the target itself.
std::span<const uint8_t> pngBytes(const std::string& path, const io::PngBytes& png) {
    if (!png.error.empty()) throw ToolError{path + ": cannot be written: " + png.error};
    return png.bytes;
}

}  // namespace

void OutputFiles::check(const std::string& path) { orFail(staged_.check(path)); }

void OutputFiles::createFolder(const std::string& folder) { orFail(staged_.createFolder(folder)); }

void OutputFiles::add(const std::string& path, std::span<const uint8_t> bytes) { orFail(staged_.add(path, bytes)); }

void OutputFiles::add(const std::string& path, std::string_view text) { orFail(staged_.add(path, text)); }

void OutputFiles::addIndexedPng(const std::string& path, int width, int height, const uint8_t* indices,
                                const Palette& palette) {
    const io::PngBytes png = io::encodeIndexedPng(width, height, indices, rgbColourMap(palette));
    add(path, pngBytes(path, png));
}

void OutputFiles::addRgbPng(const std::string& path, int width, int height, const uint8_t* rgb) {
    const io::PngBytes png = io::encodeRgbPng(width, height, rgb);
    add(path, pngBytes(path, png));
}

std::FILE* OutputFiles::open(const std::string& path) {
    std::string error;
    std::FILE* f = staged_.open(path, error);
    orFail(error);
    return f;
}

void OutputFiles::commit() { orFail(staged_.commit()); }

void writeIndexedPng(const std::string& path, int width, int height, const uint8_t* indices,
                     const Palette& palette) {
    OutputFiles out;
    out.addIndexedPng(path, width, height, indices, palette);
    out.commit();
}

void writeRgbPng(const std::string& path, int width, int height, const uint8_t* rgb, const std::string& input) {
    OutputFiles out;
    out.input(input);
    out.addRgbPng(path, width, height, rgb);
    out.commit();
}

void writeOutputFile(const std::string& path, std::span<const uint8_t> bytes) {
    OutputFiles out;
    out.add(path, bytes);
    out.commit();
}

void writeOutputFile(const std::string& path, std::string_view text) {
    OutputFiles out;
    out.add(path, text);
    out.commit();
}

}  // namespace krello::tool
