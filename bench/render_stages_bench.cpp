// Benchmarks of the renderer's stages on the tour: the nearest-wall search, flat rows, wall rows
// and billboards, each over every column of every tour view's first sector.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "game/frame.h"
#include "render/flat_rows.h"
#include "render/path_kernels.h"
#include "render/render_view.h"
#include "render/sector_column.h"
#include "render/sprites.h"
#include "min_statistic.h"
#include "tour_games.h"

namespace krello::bench {
namespace {

// One column of one view as the frame driver would start it, and what its first wall gives.
struct ColumnCase {
    GameState* game;
    int16_t column;
    double rayDirX, rayDirY, headingCos, headingSin;
    double firstRayX, firstRayY, rayStepX, rayStepY;  // the frame's rays, for the wall spans
    WallHit hit;
    WallColumn wall;
};

struct StageWorld {
    std::vector<std::unique_ptr<GameState>> games = tourGames();
    std::vector<ColumnCase> columns;
    std::vector<uint8_t> frame = std::vector<uint8_t>(FRAME_BYTES, 0);
    ColumnScratch scratch;
    SectorObjects objects;
    const GameState* current = nullptr;  // the view whose frame the scratch holds
    long flatPixels = 0;
    long wallPixels = 0;

    StageWorld() {
        for (auto& g : games) {
            drawStill(*g, FrameOutput{});  // the marks cleared and the objects sorted, as before a frame
            listSectorObjects(*g, objects);
            scratch.startFrame();
            RenderState rs{*g, scratch, objects};
            setUpViewRays(rs);
            const uint16_t sector = static_cast<uint16_t>(g->player.sector);
            for (int16_t c = 0; c < SCREEN_WIDTH; ++c) {
                rs.screenColumn = c;
                ColumnCase cc{g.get(), c, rs.rayDirX, rs.rayDirY, rs.headingCos, rs.headingSin,
                              rs.firstRayX, rs.firstRayY, rs.rayStepX, rs.rayStepY, {}, {}};
                cc.hit = findNearestWall(rs, sector);
                if (cc.hit.wall >= 0) {
                    cc.wall = setUpWallColumn(rs, g->sectors[sector], g->walls[cc.hit.wall], cc.hit, 0, SCREEN_HEIGHT);
                    flatPixels += cc.wall.ceilingRow + (SCREEN_HEIGHT - cc.wall.floorRow);
                    wallPixels += cc.wall.floorRow - cc.wall.ceilingRow;
                    columns.push_back(cc);
                }
                rs.rayDirX = rs.rayDirX + rs.rayStepX;
                rs.rayDirY = rs.rayDirY + rs.rayStepY;
            }
        }
    }

    // The state of a column drawn on a path; a column of another view starts that view's frame
    // afresh. A path that draws into tiles gets the column's place in the thread's tile.
    RenderState stateOf(const ColumnCase& cc, RenderPath path = RenderPath::Scalar) {
        if (cc.game != current) {
            current = cc.game;
            scratch.startFrame();
            listSectorObjects(*current, objects);
        }
        RenderState rs{*cc.game, scratch, objects};
        rs.frameBuffer = frame.data();
        rs.screenColumn = cc.column;
        rs.rayDirX = cc.rayDirX;
        rs.rayDirY = cc.rayDirY;
        rs.headingCos = cc.headingCos;
        rs.firstRayX = cc.firstRayX;
        rs.firstRayY = cc.firstRayY;
        rs.rayStepX = cc.rayStepX;
        rs.rayStepY = cc.rayStepY;
        rs.headingSin = cc.headingSin;
        rs.kernels = &pathKernels(path);
        if (rs.kernels->tiles) rs.tileColumn = scratch.tile.column(cc.column % TILE_COLUMNS);
        return rs;
    }
};

StageWorld& world() {
    static StageWorld w;
    return w;
}

// Skips a benchmark of a path this machine does not have; labels it with the path.
bool pathAvailable(benchmark::State& state, RenderPath path) {
    state.SetLabel(renderPathName(path));
    if (renderPathSupported(path)) return true;
    state.SkipWithError("not supported here");
    return false;
}

// One item is one column's search of the first sector: with the frame's wall spans (argument 0;
// the spans are made on the first column of each view, as a frame makes them), or testing every
// wall of the walk as the reference does (argument 1).
void BM_StageWallSearch(benchmark::State& state) {
    StageWorld& w = world();
    const bool spans = state.range(0) == 0;
    state.SetLabel(spans ? "spans" : "every wall");
    for (auto _ : state) {
        for (const ColumnCase& cc : w.columns) {
            RenderState rs = w.stateOf(cc);
            const uint16_t sector = static_cast<uint16_t>(cc.game->player.sector);
            benchmark::DoNotOptimize(spans ? findNearestWall(rs, sector) : findNearestWallScalar(rs, sector));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(w.columns.size()));
}
BENCHMARK(BM_StageWallSearch)->ComputeStatistics("min", minOf)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// One item is one ceiling or floor pixel of the first sector; the argument is the render path.
void BM_StageFlatRows(benchmark::State& state) {
    StageWorld& w = world();
    const RenderPath path = static_cast<RenderPath>(state.range(0));
    if (!pathAvailable(state, path)) return;
    for (auto _ : state) {
        for (const ColumnCase& cc : w.columns) {
            RenderState rs = w.stateOf(cc, path);
            const uint16_t s = static_cast<uint16_t>(cc.game->player.sector);
            drawCeilingRows(rs, s, 0, cc.wall.ceilingRow);
            drawFloorRows(rs, s, cc.wall.floorRow, SCREEN_HEIGHT);
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * w.flatPixels);
}
BENCHMARK(BM_StageFlatRows)->ComputeStatistics("min", minOf)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

// One item is one pixel of the first wall, drawn whole; the argument is the render path.
void BM_StageWallRows(benchmark::State& state) {
    StageWorld& w = world();
    const RenderPath path = static_cast<RenderPath>(state.range(0));
    if (!pathAvailable(state, path)) return;
    for (auto _ : state) {
        for (const ColumnCase& cc : w.columns) {
            RenderState rs = w.stateOf(cc, path);
            const Wall& wall = cc.game->walls[cc.hit.wall];
            const WallLook look{textureOf(*cc.game, wall.texture), textureSlot(wall.texture), cc.wall.texU,
                                cc.wall.vStep, cc.wall.shadeOffset, static_cast<uint8_t>(rampOffset(wall.texture))};
            drawWallRows(rs, look, cc.wall.ceilingRow, cc.wall.floorRow, cc.wall.upperV);
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * w.wallPixels);
}
BENCHMARK(BM_StageWallRows)->ComputeStatistics("min", minOf)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

// One item is one column's billboards of every sector that holds objects, nothing in front.
void BM_StageSprites(benchmark::State& state) {
    StageWorld& w = world();
    std::vector<uint16_t> sectors;
    const GameState& first = *w.games.front();
    for (int s = 0; s < SECTOR_COUNT; ++s)
        if (first.sectors[static_cast<size_t>(s)].objectCount != 0) sectors.push_back(static_cast<uint16_t>(s));
    for (auto _ : state) {
        for (const ColumnCase& cc : w.columns) {
            RenderState rs = w.stateOf(cc);
            for (uint16_t s : sectors) drawSectorSprites(rs, s, 0, SCREEN_HEIGHT, 20.0, 1000000.0);
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(w.columns.size()));
}
BENCHMARK(BM_StageSprites)->ComputeStatistics("min", minOf)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace krello::bench
