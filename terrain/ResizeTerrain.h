#pragma once
// Doubling and halving the grid of a terrain in place. Both build the new grid
// in a scratch terrain of their own, keep every header value but the grid
// size, are busy while they run, and report progress on the terrain they
// resize.

#include <cstdint>

class clsTerrain;

namespace KVTools2 {

// How the in-between points of a doubled grid are found (settings key
// [Start] OptZoom).
enum ResizeModes : int16_t {
    ResizeRandomStep = 0,  // a step towards each neighbour with a small random divisor
    ResizeMean = 1,        // means of the neighbours, times a random roughness factor
    ResizeRepeat = 2,      // each point becomes a 2 x 2 block
};

// src of Size + 1 points becomes one of 2 * Size + 1 points. roughness is the
// generator panel's roughness slider (0..10): the random factor of mode 1 is
// 1 + Rnd * roughness / 200. Another mode leaves the new grid flat at 0.
void ResizeTerrain(clsTerrain& src, int16_t mode = ResizeMean, int roughness = 0);

// src of Size + 1 points becomes one of Size / 2 + 1 points (halves to even),
// each new point the mean of a 2 x 2 block of the old grid.
void ResizeTerrainAlt(clsTerrain& src);

} // namespace KVTools2

using KVTools2::ResizeTerrain;
using KVTools2::ResizeTerrainAlt;
