#include <algorithm>
#include <array>

#include "gfx/colours.h"
#include "gfx/unit_graphics.h"
#include "pack/pack_profiles.h"
#include "script/script_scan.h"

namespace velk {
namespace {

constexpr size_t kSheetBytes = 16384;  // 32 rows of 16 tiles
constexpr size_t kPaletteBytes = 768;
constexpr size_t kUnitBytes = 128;     // a quarter row: four tiles
constexpr int64_t kLeaveAlone = 0xFF;
constexpr int32_t kRawGraphicEnd = kRawGraphicBlock + static_cast<int32_t>(kRawGraphicBlockBytes);

using Sheet = std::vector<uint8_t>;

// The file's first `size` bytes, zeros behind a shorter file's data.
Sheet filled(std::vector<uint8_t> bytes, size_t size) {
    bytes.resize(size, 0);
    return bytes;
}

std::span<const uint8_t> unit(const Sheet& sheet, int u) {
    return std::span(sheet).subspan(kUnitBytes * static_cast<size_t>(u), kUnitBytes);
}

void setUnitGraphic(ScriptRun& run, int64_t entry, std::span<const uint8_t> bytes) {
    ResourceEntry& e = run.state.catalogues.unitGraphics()[static_cast<size_t>(entry)];
    storeAndPack(run.state.image, e, std::vector<uint8_t>(bytes.begin(), bytes.end()), kUnitGraphicProfile);
}

// ---------------------------------------------------------------- S class

// Table A: entry 8 * U1 + offset takes sheet unit `unit`.
struct UnitRow {
    int offset;
    int unit;
};
constexpr std::array<UnitRow, 32> kTableA = {{
    {8, 48}, {10, 52}, {9, 56}, {11, 60}, {12, 49}, {14, 53}, {13, 57}, {15, 61},
    {648, 40}, {650, 44}, {649, 41}, {651, 45}, {652, 42}, {654, 46}, {653, 43}, {655, 47},
    {1288, 1}, {1290, 5}, {1289, 2}, {1291, 6}, {1292, 17}, {1294, 21}, {1293, 18}, {1295, 22},
    {1928, 9}, {1930, 13}, {1929, 10}, {1931, 14}, {1932, 25}, {1934, 29}, {1933, 26}, {1935, 30},
}};

// Table B: entry multiplier * U2 + base takes sheet unit `unit`.
struct ScaledRow {
    int multiplier;
    int base;
    int unit;
};
constexpr std::array<ScaledRow, 10> kTableB = {{
    {8, 2560, 3}, {8, 2561, 11}, {8, 2562, 7}, {8, 2563, 15}, {8, 2564, 19},
    {8, 2565, 27}, {8, 2566, 23}, {8, 2567, 31}, {2, 2648, 67}, {2, 2649, 71},
}};

// Table C: entry 24 * U3 + 2680 + j takes sheet unit kTableC[j].
constexpr std::array<int, 24> kTableC = {64, 72, 65, 73, 66, 74, 68, 76, 69, 77, 70, 78,
                                         80, 88, 81, 89, 82, 90, 84, 92, 85, 93, 86, 94};

// The image blocks of U1 and U2, each inside the raw graphics block.
constexpr int32_t u1Block1(int64_t u1) { return static_cast<int32_t>(0x1C6600 + 1536 * u1); }  // 1024 bytes
constexpr int32_t u1Block2(int64_t u1) { return static_cast<int32_t>(0x1C6A00 + 1536 * u1); }  // 512 bytes
constexpr int32_t u1Block3(int64_t u1) { return static_cast<int32_t>(0x1E2080 + 128 * u1); }   // 128 bytes
constexpr int32_t u2Block1(int64_t u2) { return static_cast<int32_t>(0x1E0000 + 128 * u2); }   // 128 bytes
constexpr int32_t u2Block2(int64_t u2) { return static_cast<int32_t>(0x1E4000 + 512 * u2); }   // 512 bytes

bool insideRawBlock(int64_t at, int64_t size) { return at >= kRawGraphicBlock && at + size <= kRawGraphicEnd; }
bool isUnitGraphic(int64_t entry) { return entry >= 0 && entry < kUnitGraphicCount; }

bool faceInRange(int64_t f) { return f >= 0 && f < kFaceCount; }
bool colourSetsInRange(int64_t c) { return c >= 0 && 8 * c + 7 < kColourSetCount; }
bool u1InRange(int64_t u1) {
    if (u1 < 0 || !insideRawBlock(u1Block1(u1), 1024) || !insideRawBlock(u1Block2(u1), 512) ||
        !insideRawBlock(u1Block3(u1), 128))
        return false;
    return std::all_of(kTableA.begin(), kTableA.end(), [&](const UnitRow& r) { return isUnitGraphic(8 * u1 + r.offset); });
}
bool u2InRange(int64_t u2) {
    if (u2 < 0 || !insideRawBlock(u2Block1(u2), 128) || !insideRawBlock(u2Block2(u2), 512)) return false;
    return std::all_of(kTableB.begin(), kTableB.end(),
                       [&](const ScaledRow& r) { return isUnitGraphic(r.multiplier * u2 + r.base); });
}
bool u3InRange(int64_t u3) { return u3 >= 0 && isUnitGraphic(24 * u3 + 2680 + 23); }

void copyToImage(RomImage& image, int32_t at, std::span<const uint8_t> bytes) {
    std::copy(bytes.begin(), bytes.end(), image.at(at));
}

void applyClassS(ScriptRun& run, const Sheet& sheet, const std::vector<uint8_t>& palette, const int64_t (&n)[5]) {
    Document& state = run.state;
    RomImage& image = state.image;
    const auto [f, c, u1, u2, u3] = n;
    if (f != kLeaveAlone) {
        std::vector<uint8_t> face(768);
        for (size_t i = 0; i < face.size(); ++i) face[i] = sheet[512 * (i / 128) + i % 128];
        storeAndPack(image, state.catalogues.faces()[static_cast<size_t>(f)], std::move(face), kFaceProfile);
    }
    if (c != kLeaveAlone) {
        for (int s = 0; s < 8; ++s) {
            std::vector<uint8_t> colours;
            for (int k = 1; k <= 15; ++k) {
                const size_t at = static_cast<size_t>(48 * s + 3 * k);
                const uint16_t console = rgbToConsole({palette[at], palette[at + 1], palette[at + 2]});
                colours.push_back(static_cast<uint8_t>(console & 0xFF));
                colours.push_back(static_cast<uint8_t>(console >> 8));
            }
            storeAndPack(image, state.catalogues.colourSets[static_cast<size_t>(8 * c + s)], std::move(colours),
                         kColourSetProfile);
        }
    }
    if (u1 != kLeaveAlone) {
        for (int i = 0; i < 1024; ++i) {
            const int q = i / 128, h = i / 64 % 2, b = i % 64;
            image[u1Block1(u1) + i] = sheet[static_cast<size_t>(4096 + 512 * h + 64 * q + b)];
        }
        for (int i = 0; i < 512; ++i) {
            const int q = i / 128, h = i / 64 % 2, b = i % 64;
            image[u1Block2(u1) + i] = sheet[static_cast<size_t>(6400 + 512 * h + 64 * q + b)];
        }
        copyToImage(image, u1Block3(u1), std::span(sheet).subspan(3072, 128));
        for (const UnitRow& r : kTableA) setUnitGraphic(run, 8 * u1 + r.offset, unit(sheet, r.unit));
    }
    if (u2 != kLeaveAlone) {
        copyToImage(image, u2Block1(u2), std::span(sheet).subspan(3584, 128));
        copyToImage(image, u2Block2(u2), std::span(sheet).subspan(7424, 256));
        copyToImage(image, u2Block2(u2) + 256, std::span(sheet).subspan(7936, 256));
        for (const ScaledRow& r : kTableB) setUnitGraphic(run, r.multiplier * u2 + r.base, unit(sheet, r.unit));
    }
    if (u3 != kLeaveAlone)
        for (size_t j = 0; j < kTableC.size(); ++j)
            setUnitGraphic(run, 24 * u3 + 2680 + static_cast<int64_t>(j), unit(sheet, kTableC[j]));
}

// ---------------------------------------------------------------- items

struct ItemRow {
    int offset;
    int row;
    int tile;  // the first of four
};
// The 64 x 64 picture's upper half; the lower half is the same 2048 bytes on.
constexpr std::array<ItemRow, 8> kLargeItem = {{
    {0, 0, 6}, {2, 1, 6}, {1, 2, 6}, {3, 3, 6}, {4, 0, 10}, {6, 1, 10}, {5, 2, 10}, {7, 3, 10},
}};
constexpr int64_t kLargeItemFirst = 0x4B;  // G3 of base 3744

constexpr int64_t largeItemBase(int64_t g3) { return 3744 + 8 * (g3 - kLargeItemFirst); }

bool smallItemInRange(int64_t g1) { return g1 >= 0 && isUnitGraphic(5632 + g1); }
bool mediumItemInRange(int64_t g2) { return g2 >= 0 && isUnitGraphic(4096 + 4 * g2 + 3); }
bool largeItemInRange(int64_t g3) { return g3 >= kLargeItemFirst && isUnitGraphic(largeItemBase(g3) + 15); }

std::span<const uint8_t> fourTiles(const Sheet& sheet, int row, int tile) {
    return std::span(sheet).subspan(static_cast<size_t>(512 * row + 32 * tile), kUnitBytes);
}

void applyItems(ScriptRun& run, const Sheet& sheet, const int64_t (&g)[3]) {
    if (g[0] != kLeaveAlone) {
        std::vector<uint8_t> small(sheet.begin(), sheet.begin() + 64);
        small.insert(small.end(), sheet.begin() + 512, sheet.begin() + 576);
        setUnitGraphic(run, 5632 + g[0], small);
    }
    if (g[1] != kLeaveAlone) {
        constexpr std::array<int, 4> kOffsetOfRow = {0, 2, 1, 3};
        for (int row = 0; row < 4; ++row)
            setUnitGraphic(run, 4096 + 4 * g[1] + kOffsetOfRow[static_cast<size_t>(row)], fourTiles(sheet, row, 2));
    }
    if (g[2] != kLeaveAlone) {
        const int64_t base = largeItemBase(g[2]);
        for (const ItemRow& r : kLargeItem) setUnitGraphic(run, base + r.offset, fourTiles(sheet, r.row, r.tile));
        for (const ItemRow& r : kLargeItem) setUnitGraphic(run, base + 8 + r.offset, fourTiles(sheet, r.row + 4, r.tile));
    }
}

// Reads `count` numbers behind '#': each behind the next '.'. Nothing (the
// entry is cut short) when the '#' or a '.' is missing before the next marker.
template <size_t N>
std::optional<size_t> readNumbers(const ScriptRun& run, size_t from, int64_t (&values)[N], size_t (&dots)[N]) {
    const std::optional<size_t> hash = run.findByteBeforeMarker(from, '#');
    if (!hash) return std::nullopt;
    size_t p = *hash;
    for (size_t i = 0; i < N; ++i) {
        const std::optional<ScriptRun::Number> n = run.nextNumber(p);
        if (!n) return std::nullopt;
        values[i] = n->value;
        dots[i] = n->dot;
        p = n->dot + 1;
    }
    return p;
}

}  // namespace

Result<size_t> applyClassSGraphicsSection(ScriptRun& run, size_t start) {
    return forEachFileEntry(run, start, [&](size_t mark) -> Result<size_t> {
        // Both files are read before any number, so nothing of a failing entry is applied.
        Result<std::vector<uint8_t>> sheetFile = run.readNamedFile(mark, kSheetBytes);
        if (!sheetFile) return std::move(sheetFile.problem());
        const std::optional<size_t> paletteMark = run.findBeforeMarker(mark + 1, '@', '@');
        if (!paletteMark) return run.incomplete(mark, ProblemCode::SheetWithoutPalette);
        Result<std::vector<uint8_t>> paletteFile = run.readNamedFile(*paletteMark, kPaletteBytes);
        if (!paletteFile) return std::move(paletteFile.problem());
        int64_t n[5];
        size_t dots[5];
        const std::optional<size_t> behind = readNumbers(run, *paletteMark, n, dots);
        if (!behind) return run.incomplete(mark, ProblemCode::EntryNeedsFiveNumbers);
        using Check = bool (*)(int64_t);
        constexpr Check kChecks[5] = {faceInRange, colourSetsInRange, u1InRange, u2InRange, u3InRange};
        for (size_t i = 0; i < 5; ++i)
            if (n[i] != kLeaveAlone && !kChecks[i](n[i]))
                return run.outOfRange(dots[i], ProblemCode::ClassNumberOutOfRange, static_cast<int64_t>(i));
        applyClassS(run, filled(std::move(*sheetFile), kSheetBytes), filled(std::move(*paletteFile), kPaletteBytes), n);
        return *behind;
    });
}

Result<size_t> applyItemGraphicsSection(ScriptRun& run, size_t start) {
    return forEachFileEntry(run, start, [&](size_t mark) -> Result<size_t> {
        Result<std::vector<uint8_t>> sheetFile = run.readNamedFile(mark, kSheetBytes);
        if (!sheetFile) return std::move(sheetFile.problem());
        int64_t g[3];
        size_t dots[3];
        const std::optional<size_t> behind = readNumbers(run, mark + 2, g, dots);
        if (!behind) return run.incomplete(mark, ProblemCode::EntryNeedsThreeNumbers);
        using Check = bool (*)(int64_t);
        constexpr Check kChecks[3] = {smallItemInRange, mediumItemInRange, largeItemInRange};
        for (size_t i = 0; i < 3; ++i)
            if (g[i] != kLeaveAlone && !kChecks[i](g[i]))
                return run.outOfRange(dots[i], ProblemCode::ItemNumberOutOfRange, static_cast<int64_t>(i));
        applyItems(run, filled(std::move(*sheetFile), kSheetBytes), g);
        return *behind;
    });
}

}  // namespace velk
