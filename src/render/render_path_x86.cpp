// The render paths of x86 builds: the scalar reference, SSE2, AVX2 and AVX-512, taken as the processor has them.
#include "render/column_tile.h"
#include "render/path_kernels.h"
#include "render/sprites.h"
#include "render/wall_rows.h"
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

constexpr PathKernels kScalar{false, drawFlatRunScalar, drawWallRunsScalar, findNearestWallScalar, drawSpriteRowsScalar, copyTileScalar};
constexpr PathKernels kSse2{true, drawFlatRunSse2, drawWallRunsScalar, kVectorSearch, drawSpriteRowsScalar, copyTileSse2};
constexpr PathKernels kAvx2{true, drawFlatRunAvx2, drawWallRunsAvx2, kVectorSearch, drawSpriteRowsAvx2, copyTileAvx2};
constexpr PathKernels kAvx512{true, drawFlatRunAvx512, drawWallRunsAvx512, kVectorSearch, drawSpriteRowsAvx2, copyTileAvx2};

}  // namespace

bool renderPathSupported(RenderPath path) {
    switch (path) {
        case RenderPath::Scalar: return true;
        case RenderPath::Sse2: return __builtin_cpu_supports("sse2");
        // The AVX2 and AVX-512 flat rows divide with FMA steps where they may (flat_rows_x86.h).
        case RenderPath::Avx2: return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
        case RenderPath::Avx512:
            return __builtin_cpu_supports("fma") && __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                   __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512dq") &&
                   __builtin_cpu_supports("avx512vbmi");
        case RenderPath::Simd128: return false;  // the browser's
    }
    return false;
}

const PathKernels& pathKernels(RenderPath path) {
    switch (path) {
        case RenderPath::Sse2: return kSse2;
        case RenderPath::Avx2: return kAvx2;
        case RenderPath::Avx512: return kAvx512;
        default: return kScalar;
    }
}

}  // namespace krello
