// Which code the renderer runs: the plain reference, or an x86 vector path.
#include "render/render_path.h"

#include <cstdlib>

namespace krello {

bool renderPathSupported(RenderPath path) {
    switch (path) {
        case RenderPath::Scalar:
            return true;
#ifdef KRELLO_X86_PATHS
        case RenderPath::Sse2:
            return __builtin_cpu_supports("sse2");
        case RenderPath::Avx2:
            return __builtin_cpu_supports("avx2");
#else
        case RenderPath::Sse2:
        case RenderPath::Avx2:
            return false;
#endif
    }
    return false;
}

RenderPath bestRenderPath() {
    if (renderPathSupported(RenderPath::Avx2)) return RenderPath::Avx2;
    if (renderPathSupported(RenderPath::Sse2)) return RenderPath::Sse2;
    return RenderPath::Scalar;
}

const char* renderPathName(RenderPath path) {
    switch (path) {
        case RenderPath::Scalar: return "scalar";
        case RenderPath::Sse2: return "sse2";
        case RenderPath::Avx2: return "avx2";
    }
    return "?";
}

std::string chooseRenderPath(const std::string& request, RenderPath& path) {
    if (request.empty()) {
        path = bestRenderPath();
        return {};
    }
    for (RenderPath p : {RenderPath::Scalar, RenderPath::Sse2, RenderPath::Avx2}) {
        if (request != renderPathName(p)) continue;
        if (!renderPathSupported(p)) return "render path '" + request + "' is not supported on this machine";
        path = p;
        return {};
    }
    return "render path '" + request + "' is none of scalar, sse2, avx2";
}

std::string renderPathFromEnvironment(RenderPath& path) {
    const char* request = std::getenv("KRELLO_RENDER_PATH");
    const std::string error = chooseRenderPath(request ? request : "", path);
    return error.empty() ? error : "KRELLO_RENDER_PATH: " + error;
}

}  // namespace krello
