#include "rom/layout_plan.h"

#include <algorithm>

#include "rom/save_layout.h"

namespace velk {

LayoutPlan layoutPlan(const RomImage& image, const Catalogues& catalogues) {
    const SavePlan plan = planSave(catalogues);
    LayoutPlan out;
    out.colourSets = {0, {kColourSetData, kColourSetDataEnd}, 0};
    for (const ResourceEntry& e : catalogues.colourSets) out.colourSets.used += static_cast<int32_t>(e.packed.size());

    const std::span<const RomRange> nameRanges = nameRegions();
    for (size_t r = 0; r < nameRanges.size(); ++r) out.names.push_back({static_cast<int>(r), nameRanges[r], 0});
    for (size_t i = 0; i < plan.nameAt.size() && i < catalogues.names.size(); ++i)
        for (RegionUse& r : out.names)
            if (r.range.contains(plan.nameAt[i])) r.used += static_cast<int32_t>(catalogues.names[i].code.size()) + 1;

    for (int r = 0; r < kFreeRegionCount; ++r)
        if (r != kFreeRegionInColourDictionary) out.regions.push_back({r, kFreeRegionTable[static_cast<size_t>(r)], 0});
    std::vector<size_t> byStart(out.regions.size());
    for (size_t r = 0; r < byStart.size(); ++r) byStart[r] = r;
    std::sort(byStart.begin(), byStart.end(),
              [&](size_t a, size_t b) { return out.regions[a].range.start < out.regions[b].range.start; });
    int64_t largestLeft = 0;
    for (size_t i = 0; i < plan.recordAt.size(); ++i) {
        const int32_t at = plan.recordAt[i];
        const ResourceEntry& e = catalogues.resources[i];
        if (at < 0) {
            const bool pinned = static_cast<int>(i) >= kFirstPinnedFace && static_cast<int>(i) < kFaceCount;
            if (!pinned && (!out.shortfall || static_cast<int32_t>(e.packed.size()) > out.shortfall->length))
                out.shortfall = LayoutPlan::Shortfall{e.id, static_cast<int32_t>(e.packed.size()), 0};
            continue;
        }
        auto it = std::upper_bound(byStart.begin(), byStart.end(), at,
                                   [&](int32_t a, size_t r) { return a < out.regions[r].range.start; });
        if (it != byStart.begin()) out.regions[*std::prev(it)].used += static_cast<int32_t>(e.packed.size());
    }
    for (const RegionUse& r : out.regions) largestLeft = std::max(largestLeft, r.left());
    if (out.shortfall) out.shortfall->missing = out.shortfall->length - largestLeft;
    out.namesFit = plan.namesFit;
    if (catalogues.resources.size() == kResourceCount) out.pinnedFaces = editedPinnedFaces(image, catalogues.faces());
    const bool pinnedFit = std::all_of(out.pinnedFaces.begin(), out.pinnedFaces.end(), [](const PinnedFaceEdit& e) { return e.fits(); });
    out.fits = plan.namesFit && plan.recordsFit && out.colourSets.left() >= 0 && pinnedFit;
    return out;
}

}  // namespace velk
