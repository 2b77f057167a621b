#pragma once

#include <QString>
#include <cstdint>

struct RenderSettings;
struct RenderAssets;

// The memory one picture holds while it is rendered, worked out from its
// header and the settings before a byte of it is decoded.
struct RenderCost {
    int64_t peak = 0;    // bytes at the height of its rendering
    int64_t result = 0;  // bytes its finished picture keeps until it is taken
};

RenderCost estimateRenderCost(const QString& path, const RenderSettings& s, const RenderAssets& a);

// A share of the memory the machine has free now (MemAvailable): what the
// pictures in flight of a run may hold together.
int64_t defaultMemoryBudget();
