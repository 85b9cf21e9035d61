// Which code the renderer runs: the names of the paths, the choice among them, and the one
// reading of KRELLO_RENDER_PATH.
#include "render/render_path.h"

#include <cstdlib>

#include "render/render_threads.h"

namespace krello {

RenderPath bestRenderPath() {
    if (renderPathSupported(RenderPath::Simd128)) return RenderPath::Simd128;
    if (renderPathSupported(RenderPath::Avx512)) return RenderPath::Avx512;
    if (renderPathSupported(RenderPath::Avx2)) return RenderPath::Avx2;
    if (renderPathSupported(RenderPath::Sse2)) return RenderPath::Sse2;
    return RenderPath::Scalar;
}

const char* renderPathName(RenderPath path) {
    switch (path) {
        case RenderPath::Scalar: return "scalar";
        case RenderPath::Sse2: return "sse2";
        case RenderPath::Avx2: return "avx2";
        case RenderPath::Avx512: return "avx512";
        case RenderPath::Simd128: return "simd128";
    }
    return "?";
}

std::string chooseRenderPath(const std::string& request, RenderPath& path) {
    if (request.empty()) {
        path = bestRenderPath();
        return {};
    }
    for (RenderPath p : {RenderPath::Scalar, RenderPath::Sse2, RenderPath::Avx2, RenderPath::Avx512, RenderPath::Simd128}) {
        if (request != renderPathName(p)) continue;
        if (!renderPathSupported(p)) return "render path '" + request + "' is not supported on this machine";
        path = p;
        return {};
    }
    return "render path '" + request + "' is none of scalar, sse2, avx2, avx512, simd128";
}

std::unique_ptr<RenderThreads> startRenderThreads(int count, std::string& error) {
    const char* request = std::getenv("KRELLO_RENDER_PATH");
    RenderPath path = RenderPath::Scalar;
    if (std::string bad = chooseRenderPath(request ? request : "", path); !bad.empty()) {
        error = "KRELLO_RENDER_PATH: " + bad;
        return nullptr;
    }
    return std::make_unique<RenderThreads>(count, path);
}

}  // namespace krello
