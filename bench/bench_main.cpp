// Speed of the operations a user waits for, on the demo image.
#include <benchmark/benchmark.h>

#include "demo_image.h"
#include "gfx/face_graphics.h"
#include "gfx/unit_graphics.h"
#include "ops/operations.h"
#include "pack/dictionary_search.h"
#include "pack/pack_profiles.h"
#include "patch/bps.h"
#include "patch/ips.h"
#include "platform/file_io.h"
#include "rom/catalogues.h"
#include "rom/free_regions.h"
#include "rom/load.h"
#include "rom/save_layout.h"
#include "script/change_script.h"
#include "text/sjis.h"
#include "text/name_list.h"
#include "text/text_collection.h"

#include <filesystem>
#include <fstream>
#include "platform/disk_platform.h"

namespace velk {
namespace {

const RomImage& image() {
    static const RomImage r = [] {
        RomImage i;
        i.bytes = makeDemoImage();
        return i;
    }();
    return r;
}

const Catalogues& catalogues() {
    static const Catalogues c = *buildCatalogues(image(), builtInCharTables());
    return c;
}

void BM_ExportTextCollection(benchmark::State& state) {
    DiskPlatform platform;
    EditorState editor;
    editor.image = image();
    editor.catalogues = catalogues();
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "velk-bench-texts.txt";
    for (auto _ : state) exportTextCollection(editor, platform, path);
    std::filesystem::remove(path);
}
BENCHMARK(BM_ExportTextCollection)->Unit(benchmark::kMillisecond);

// Encoding and packing all 5607 texts from the exported file's bytes.
void BM_ImportTextCollection(benchmark::State& state) {
    const std::vector<uint8_t> file = textCollectionBytes(catalogues().texts(), catalogues().names, builtInCharTables());
    const GlyphLookup glyphs(builtInCharTables());
    Catalogues c = catalogues();
    for (auto _ : state)
        if (!readTextCollection(c.texts(), file, glyphs, image())) state.SkipWithError("the import reported a problem");
}
BENCHMARK(BM_ImportTextCollection)->Unit(benchmark::kMillisecond);

void BM_ImportNameList(benchmark::State& state) {
    const std::vector<uint8_t> file = nameListBytes(catalogues().names);
    const GlyphLookup glyphs(builtInCharTables());
    Catalogues c = catalogues();
    for (auto _ : state)
        if (!readNameList(c.names, file, glyphs)) state.SkipWithError("the import reported a problem");
}
BENCHMARK(BM_ImportNameList)->Unit(benchmark::kMillisecond);

// A change script that replaces every name and every text, cut from the exports.
void BM_ApplyScriptAllNamesAndTexts(benchmark::State& state) {
    std::vector<uint8_t> script = {';', ';'};
    const std::string names = toCp932("単語リスト\r\n"), texts = toCp932(";;テキスト\r\n");
    script.insert(script.end(), names.begin(), names.end());
    const std::vector<uint8_t> nameFile = nameListBytes(catalogues().names);
    script.insert(script.end(), nameFile.begin(), nameFile.end());
    script.insert(script.end(), texts.begin(), texts.end());
    const std::vector<uint8_t> textFile = textCollectionBytes(catalogues().texts(), catalogues().names, builtInCharTables());
    script.insert(script.end(), textFile.begin(), textFile.end());
    struct NoFiles : ScriptFiles {
        Result<std::vector<uint8_t>> read(std::string_view, size_t) override { return systemError("no files"); }
    } files;
    EditorState editor;
    editor.image = image();
    editor.catalogues = catalogues();
    for (auto _ : state)
        if (!applyChangeScript(script, editor, files)) state.SkipWithError("the script reported a problem");
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(script.size()));
}
BENCHMARK(BM_ApplyScriptAllNamesAndTexts)->Unit(benchmark::kMillisecond);

// The patches of an unedited save against the loaded image.
template <bool kBps>
void patchOfASave(benchmark::State& state) {
    EditorState editor;
    editor.image = image();
    editor.catalogues = catalogues();
    RomImage saved = editor.image;
    if (!layOutImage(saved, editor)) state.SkipWithError("the demo image does not fit");
    writeChecksum(saved);
    size_t size = 0;
    for (auto _ : state) {
        const std::vector<uint8_t> patch = kBps ? makeBps(image().bytes, saved.bytes) : makeIps(image().bytes, saved.bytes);
        size = patch.size();
    }
    state.counters["patch_bytes"] = static_cast<double>(size);
}
void BM_MakeIpsOfASave(benchmark::State& s) { patchOfASave<false>(s); }
void BM_MakeBpsOfASave(benchmark::State& s) { patchOfASave<true>(s); }
BENCHMARK(BM_MakeIpsOfASave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MakeBpsOfASave)->Unit(benchmark::kMillisecond);

// A result is freed outside the timed part: freeing what the last load made
// is no part of the next load (nor of a read).
template <typename T>
void freeUntimed(benchmark::State& state, T& result) {
    state.PauseTiming();
    { T gone = std::move(result); }
    state.ResumeTiming();
}

// The demo image as a file in the temporary folder.
std::filesystem::path demoImageFile(const char* name) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() / name;
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(image().bytes.data()), static_cast<std::streamsize>(image().bytes.size()));
    return path;
}

// Only reading the 4 MiB file: what a load cannot go below.
void BM_ReadDemoImageFile(benchmark::State& state) {
    const std::filesystem::path path = demoImageFile("velk-bench-read.smc");
    for (auto _ : state) {
        Result<std::vector<uint8_t>> bytes = readWholeFile(path, kRomSize + 513);
        benchmark::DoNotOptimize(bytes);
        freeUntimed(state, bytes);
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_ReadDemoImageFile)->Unit(benchmark::kMillisecond);

void BM_LoadDemoImageFromFile(benchmark::State& state) {
    const std::filesystem::path path = demoImageFile("velk-bench-demo.smc");
    for (auto _ : state) {
        Result<std::vector<uint8_t>> bytes = readWholeFile(path, kRomSize + 513);
        Result<LoadedRom> rom = loadRom(std::move(*bytes), builtInCharTables());
        benchmark::DoNotOptimize(rom);
        freeUntimed(state, rom);
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_LoadDemoImageFromFile)->Unit(benchmark::kMillisecond);

void BM_BuildCatalogues(benchmark::State& state) {
    for (auto _ : state) {
        Result<Catalogues> c = buildCatalogues(image(), builtInCharTables());
        benchmark::DoNotOptimize(c);
        freeUntimed(state, c);
    }
}
BENCHMARK(BM_BuildCatalogues)->Unit(benchmark::kMillisecond);

// Every search a packer makes for one catalogue, by the literal steps or by the index.
template <bool kReference>
void searchAll(benchmark::State& state, ConstCatalogue entries, const PackProfile& p, int32_t window, int32_t maxLength) {
    const int32_t limit = windowLimitFor(p.dictionaryBase, window);
    const DictionaryIndex index(std::span(image().at(p.dictionaryBase), static_cast<size_t>(limit)));
    int64_t searches = 0;
    for (auto _ : state) {
        for (const ResourceEntry& e : entries)
            for (int32_t pos = 0, size = static_cast<int32_t>(e.unpacked.size()); pos + 3 <= size; ++pos) {
                const int32_t m = std::min(maxLength, size - pos);
                const uint8_t* pattern = e.unpacked.data() + pos;
                if constexpr (kReference)
                    benchmark::DoNotOptimize(findLongestMatchReference(pattern, image().at(p.dictionaryBase), m, limit));
                else
                    benchmark::DoNotOptimize(index.find(pattern, m));
                ++searches;
            }
    }
    state.SetItemsProcessed(searches);
}

void BM_FindLongestMatchReference_Text(benchmark::State& s) { searchAll<true>(s, catalogues().texts().first(500), kTextProfile, 8192, 10); }
void BM_FindLongestMatchIndexed_Text(benchmark::State& s) { searchAll<false>(s, catalogues().texts().first(500), kTextProfile, 8192, 10); }
void BM_FindLongestMatchReference_Tiles(benchmark::State& s) { searchAll<true>(s, catalogues().unitGraphics().first(500), kUnitGraphicProfile, 4096, 18); }
void BM_FindLongestMatchIndexed_Tiles(benchmark::State& s) { searchAll<false>(s, catalogues().unitGraphics().first(500), kUnitGraphicProfile, 4096, 18); }
BENCHMARK(BM_FindLongestMatchReference_Text)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindLongestMatchIndexed_Text)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindLongestMatchReference_Tiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindLongestMatchIndexed_Tiles)->Unit(benchmark::kMillisecond);

void BM_PackAllTexts(benchmark::State& state) {
    std::vector<ResourceEntry> texts(catalogues().texts().begin(), catalogues().texts().end());
    for (auto _ : state)
        for (ResourceEntry& e : texts) storeAndPack(image(), e, e.unpacked, kTextProfile);
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(texts.size()));
}
BENCHMARK(BM_PackAllTexts)->Unit(benchmark::kMillisecond);

void BM_PackAllUnitGraphics(benchmark::State& state) {
    std::vector<ResourceEntry> units(catalogues().unitGraphics().begin(), catalogues().unitGraphics().end());
    for (auto _ : state)
        for (ResourceEntry& e : units) storeAndPack(image(), e, e.unpacked, kUnitGraphicProfile);
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(units.size()));
}
BENCHMARK(BM_PackAllUnitGraphics)->Unit(benchmark::kMillisecond);

// The load's unpacking alone, on one core: every face, unit graphic and text
// unpacked again into its record.
void BM_UnpackAllResources(benchmark::State& state) {
    std::vector<ResourceEntry> all(catalogues().resources.begin(), catalogues().resources.end());
    int64_t bytes = 0;
    for (const ResourceEntry& e : all) bytes += static_cast<int64_t>(e.unpacked.size());
    for (auto _ : state) {
        for (ResourceEntry& e : all) {
            const PackProfile& p = e.id < kFirstUnitGraphicId ? kFaceProfile
                                   : e.id < kFirstTextId      ? kUnitGraphicProfile
                                                              : kTextProfile;
            if (!unpackEntry(image(), e, p)) state.SkipWithError("a record did not unpack");
        }
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(BM_UnpackAllResources)->Unit(benchmark::kMillisecond);

// The save's layout of every resource, without the file write.
void BM_LayOutImage(benchmark::State& state) {
    EditorState editor;
    editor.image = image();
    editor.catalogues = catalogues();
    for (auto _ : state) {
        RomImage copy = editor.image;
        if (!layOutImage(copy, editor)) state.SkipWithError("the demo image does not fit");
    }
    int64_t used = 0;
    for (const ResourceEntry& e : editor.catalogues.resources)
        if (e.id < 127 || e.id >= kFaceCount) used += static_cast<int64_t>(e.packed.size());
    int64_t space = 0;
    for (int r = 0; r < kFreeRegionCount; ++r)
        if (r != kFreeRegionInColourDictionary) space += kFreeRegionTable[static_cast<size_t>(r)].size();
    state.counters["free_bytes_used"] = static_cast<double>(used);
    state.counters["free_bytes"] = static_cast<double>(space);
}
BENCHMARK(BM_LayOutImage)->Unit(benchmark::kMillisecond);

void BM_SaveRomToFile(benchmark::State& state) {
    EditorState editor;
    editor.image = image();
    editor.catalogues = catalogues();
    DiskPlatform platform;
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "velk-bench-save.smc";
    for (auto _ : state) saveRom(editor, platform, path);
    std::filesystem::remove(path);
}
BENCHMARK(BM_SaveRomToFile)->Unit(benchmark::kMillisecond);

// Reading the faces and their 157 palettes back: 157 faces and 1256 colour sets repacked.
void BM_WriteFaceGraphics(benchmark::State& state) {
    DiskPlatform platform;
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "velk-bench-faces";
    std::filesystem::create_directories(folder);
    EditorState editor;
    editor.image = image();
    editor.catalogues = catalogues();
    extractFaceGraphics(editor, platform, folder / "face.fig");
    for (auto _ : state)
        if (!writeFaceGraphics(editor, platform, folder / "face.fig").done())
            state.SkipWithError("the write reported a problem");
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_WriteFaceGraphics)->Unit(benchmark::kMillisecond);

// Reading the unit graphics back: the raw block and 5900 unit graphics repacked.
void BM_WriteUnitGraphics(benchmark::State& state) {
    DiskPlatform platform;
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "velk-bench-units";
    std::filesystem::create_directories(folder);
    EditorState editor;
    editor.image = image();
    editor.catalogues = catalogues();
    extractUnitGraphics(editor, platform, folder / "unit.fig");
    for (auto _ : state)
        if (!writeUnitGraphics(editor, platform, folder / "unit.fig").done()) state.SkipWithError("the write reported a problem");
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_WriteUnitGraphics)->Unit(benchmark::kMillisecond);

void BM_MakeDemoImage(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(makeDemoImage());
}
BENCHMARK(BM_MakeDemoImage)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velk
