// How full a save would leave the image: per place the save fills, the bytes
// used and left, and the largest record without room when it would fail.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "rom/catalogues.h"
#include "rom/face_rules.h"
#include "rom/free_regions.h"

namespace velk {

struct RegionUse {
    int index;  // in its table
    RomRange range;
    int64_t used = 0;
    int64_t left() const { return range.size() - used; }
};

struct LayoutPlan {
    RegionUse colourSets;            // the colour sets' stretch
    std::vector<RegionUse> names;    // the two name regions
    std::vector<RegionUse> regions;  // the free regions records go to, in table order
    bool fits = true;
    // The largest record that found no room, and by how many bytes it misses
    // the largest room left anywhere.
    struct Shortfall {
        int32_t id;
        int32_t length;
        int64_t missing;
    };
    std::optional<Shortfall> shortfall;
    bool namesFit = true;
    // The pinned faces a save writes in their own room; one longer than its
    // room means the save would not fit.
    std::vector<PinnedFaceEdit> pinnedFaces;
};

LayoutPlan layoutPlan(const RomImage& image, const Catalogues& catalogues);

}  // namespace velk
