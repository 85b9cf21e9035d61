// Which code the renderer runs: the plain reference, or a vector path.
#pragma once

#include <string>

namespace krello {

// Every path draws the same bytes; they differ only in speed. Which paths a build has is the
// build's choice (the x86 vector paths are compiled for x86 targets only, simd128 for the
// browser's); which of those run is the processor's.
enum class RenderPath { Scalar, Sse2, Avx2, Avx512, Simd128 };

// Whether this build and this processor can run the path.
bool renderPathSupported(RenderPath path);

// The fastest supported path.
RenderPath bestRenderPath();

// "scalar", "sse2" or "avx2".
const char* renderPathName(RenderPath path);

// The path a request names: empty means the best one. Returns an error line (and leaves path
// alone) for a name that is no path or a path this machine cannot run.
std::string chooseRenderPath(const std::string& request, RenderPath& path);

}  // namespace krello
