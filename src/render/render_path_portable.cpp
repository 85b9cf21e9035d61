// The render paths of builds for processors other than x86: the scalar reference, and in the
// browser's build WebAssembly SIMD (chosen when the page is built): flat rows, wall and billboard
// rows drawn into tiles, and the tiles' copy into the frame.
#include "render/column_tile.h"
#include "render/flat_rows.h"
#include "render/path_kernels.h"
#include "render/sprites.h"
#include "render/sector_column.h"
#ifdef KRELLO_WASM_SIMD
#include "render/simd128_kernels.h"
#endif
#include "render/wall_rows.h"

namespace krello {
namespace {

constexpr PathKernels kScalar{false, drawFlatRunScalar, drawWallRunsScalar, findNearestWallScalar, drawSpriteRowsScalar, copyTileScalar};
#ifdef KRELLO_WASM_SIMD
constexpr bool kHasSimd128 = true;
constexpr PathKernels kSimd128{true, drawFlatRunSimd128, drawWallRunsSimd128, findNearestWallScalar, drawSpriteRowsSimd128, copyTileSimd128};
#else
constexpr bool kHasSimd128 = false;
constexpr const PathKernels& kSimd128 = kScalar;
#endif

}  // namespace

bool renderPathSupported(RenderPath path) {
    return path == RenderPath::Scalar || (kHasSimd128 && path == RenderPath::Simd128);
}

const PathKernels& pathKernels(RenderPath path) { return path == RenderPath::Simd128 ? kSimd128 : kScalar; }

}  // namespace krello
