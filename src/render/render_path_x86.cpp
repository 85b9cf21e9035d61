// The render paths of x86 builds: the scalar reference, SSE2 and AVX2, taken as the processor has them.
#include "render/path_kernels.h"
#include "render/x86_kernels.h"

namespace krello {
namespace {

// g++ makes slower code of the plain search than of the one with each wall's x and y side by
// side; clang++ turns the plain search into that form by itself and is slower with the written
// one. Both compile both, and every path gives the reference's hit either way.
#if defined(__clang__)
constexpr auto kVectorSearch = findNearestWallScalar;
#else
constexpr auto kVectorSearch = findNearestWallSse2;
#endif

constexpr PathKernels kScalar{drawFlatRunScalar, findNearestWallScalar};
constexpr PathKernels kSse2{drawFlatRunSse2, kVectorSearch};
constexpr PathKernels kAvx2{drawFlatRunAvx2, kVectorSearch};

}  // namespace

bool renderPathSupported(RenderPath path) {
    switch (path) {
        case RenderPath::Scalar: return true;
        case RenderPath::Sse2: return __builtin_cpu_supports("sse2");
        case RenderPath::Avx2: return __builtin_cpu_supports("avx2");
    }
    return false;
}

const PathKernels& pathKernels(RenderPath path) {
    switch (path) {
        case RenderPath::Sse2: return kSse2;
        case RenderPath::Avx2: return kAvx2;
        default: return kScalar;
    }
}

}  // namespace krello
