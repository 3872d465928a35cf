#include "generate/KVErosion.h"

#include "terrain/clsTerrain.h"

void ErodeDroplets(clsTerrain& ter, float& strength, std::optional<int32_t> extent, int32_t x0, int32_t y0,
                   int32_t zMin, int32_t zMax)
{
    (void)ter; (void)strength; (void)extent; (void)x0; (void)y0; (void)zMin; (void)zMax;
}
