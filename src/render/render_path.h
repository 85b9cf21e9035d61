// Which code the renderer runs: the plain reference, or an x86 vector path.
#pragma once

#include <string>

// The vector paths are compiled for x86 targets only (x86-64 and i686); everywhere else, such as
// the browser, the scalar path is the only one.
#if defined(__x86_64__) || defined(__i386__)
#define KRELLO_X86_PATHS 1
// Where SSE2 is the compiler's baseline (x86-64, and i686 built with -msse2), g++'s vector
// paths also search walls with x and y side by side: g++ makes slower code of the plain search,
// which clang++ turns into that form by itself (and clang++ is slower with the written one).
#if defined(__SSE2__) && defined(__GNUC__) && !defined(__clang__)
#define KRELLO_SSE2_WALL_SEARCH 1
#endif
#endif

namespace krello {

// Every path draws the same bytes; they differ only in speed. The vector paths exist only in
// x86 builds and are taken only where the processor has them.
enum class RenderPath { Scalar, Sse2, Avx2 };

// Whether this build and this processor can run the path.
bool renderPathSupported(RenderPath path);

// The fastest supported path.
RenderPath bestRenderPath();

// "scalar", "sse2" or "avx2".
const char* renderPathName(RenderPath path);

// The path a request names: empty means the best one. Returns an error line (and leaves path
// alone) for a name that is no path or a path this machine cannot run.
std::string chooseRenderPath(const std::string& request, RenderPath& path);

// chooseRenderPath of the KRELLO_RENDER_PATH environment variable (unset or empty: the best path).
std::string renderPathFromEnvironment(RenderPath& path);

}  // namespace krello
