// Which code draws ceiling and floor rows: the plain reference, or an x86 vector path.
#include "render/row_path.h"

#include <cstdlib>

namespace krello {

bool rowPathSupported(RowPath path) {
    switch (path) {
        case RowPath::Scalar:
            return true;
#ifdef KRELLO_X86_ROW_PATHS
        case RowPath::Sse2:
            return __builtin_cpu_supports("sse2");
        case RowPath::Avx2:
            return __builtin_cpu_supports("avx2");
#else
        case RowPath::Sse2:
        case RowPath::Avx2:
            return false;
#endif
    }
    return false;
}

RowPath bestRowPath() {
    if (rowPathSupported(RowPath::Avx2)) return RowPath::Avx2;
    if (rowPathSupported(RowPath::Sse2)) return RowPath::Sse2;
    return RowPath::Scalar;
}

const char* rowPathName(RowPath path) {
    switch (path) {
        case RowPath::Scalar: return "scalar";
        case RowPath::Sse2: return "sse2";
        case RowPath::Avx2: return "avx2";
    }
    return "?";
}

std::string chooseRowPath(const std::string& request, RowPath& path) {
    if (request.empty()) {
        path = bestRowPath();
        return {};
    }
    for (RowPath p : {RowPath::Scalar, RowPath::Sse2, RowPath::Avx2}) {
        if (request != rowPathName(p)) continue;
        if (!rowPathSupported(p)) return "render path '" + request + "' is not supported on this machine";
        path = p;
        return {};
    }
    return "render path '" + request + "' is none of scalar, sse2, avx2";
}

std::string rowPathFromEnvironment(RowPath& path) {
    const char* request = std::getenv("KRELLO_RENDER_PATH");
    const std::string error = chooseRowPath(request ? request : "", path);
    return error.empty() ? error : "KRELLO_RENDER_PATH: " + error;
}

}  // namespace krello
