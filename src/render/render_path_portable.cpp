// The render paths of builds for processors other than x86 (the browser's): the scalar reference only.
#include "render/column_tile.h"
#include "render/flat_rows.h"
#include "render/path_kernels.h"
#include "render/sector_column.h"
#include "render/wall_rows.h"

namespace krello {
namespace {

constexpr PathKernels kScalar{false, drawFlatRunScalar, drawWallRunsScalar, findNearestWallScalar, copyTileScalar};

}  // namespace

bool renderPathSupported(RenderPath path) { return path == RenderPath::Scalar; }

const PathKernels& pathKernels(RenderPath) { return kScalar; }

}  // namespace krello
