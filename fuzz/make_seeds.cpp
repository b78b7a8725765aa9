// fuzz_seeds DIR: writes a seed corpus for every fuzz target under DIR/<target>,
// cut from the demo image and its exports.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "demo_script.h"
#include "fuzz_support.h"
#include "gfx/face_graphics.h"
#include "text/name_list.h"
#include "text/sjis.h"
#include "text/text_collection.h"

namespace {

using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;

void put(const fs::path& dir, const std::string& name, const Bytes& bytes) {
    fs::create_directories(dir);
    std::ofstream(dir / name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes sjis(const char* utf8) {
    const std::string s = velk::toCp932(utf8);
    return Bytes(s.begin(), s.end());
}

// `head`, then the bytes [from, from + n) of `from`'s bytes.
Bytes cut(Bytes head, const Bytes& bytes, size_t from, size_t n) {
    head.insert(head.end(), bytes.begin() + static_cast<std::ptrdiff_t>(from), bytes.begin() + static_cast<std::ptrdiff_t>(from + n));
    return head;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace velk;
    if (argc != 2) return std::fprintf(stderr, "usage: fuzz_seeds DIR\n"), 2;
    const fs::path dir = argv[1];
    const EditorState& state = fuzz::demoState();
    const Bytes& image = state.image.bytes;
    put(dir / "text_files", "names.txt", cut({}, nameListBytes(state.catalogues.names), 0, 600));
    put(dir / "text_files", "name-escapes.txt", sjis("[F0 00] (主人公)の剣\r\n[F0 01] ?1B 05?!11!\r\n[F0 02] (旗\r\n"));
    put(dir / "text_files", "texts.txt",
        cut({}, textCollectionBytes(state.catalogues.texts(), state.catalogues.names, state.tables), 0, 4000));
    put(dir / "text_files", "text-escapes.txt", sjis("##No.00 00\n[F1 23:(名前)]?1B 0A?!13!\r\n(ハート)//\r\n"));
    const std::vector<DemoScriptFile> example = makeDemoScript();
    put(dir / "change_script", "example.txt", example[0].bytes);
    Bytes withFiles = sjis(";;文字追加 @@a @@b\n;;単語リスト\n[F0 05] 鬱ア\n;;テキスト\n##No.00 00\n鬱//\n"
                           ";;IPSパッチ @@c\n;;Sクラスキャラグラ @@d @@b # .00.00.00.00.00\n;;アイテムグラ @@d #.00.00.4B\n;;終了\n");
    for (const Bytes& file : {Bytes(64, 0x11), sjis("鬱熊"), example[6].bytes, Bytes(512, 0x5A)})
        withFiles = cut(cut(withFiles, Bytes(2, 0), 0, 2), file, 0, file.size());
    put(dir / "change_script", "sections.bin", withFiles);
    put(dir / "patches", "tweak.ips", example[6].bytes);
    // Source and target: a stretch of the demo image and the same moved and changed.
    Bytes pair = cut(cut({128, 7}, image, 0x118000, 0x200), image, 0x118100, 0x200);
    pair[300] ^= 0xFF;
    put(dir / "patches", "moved.bin", pair);
    put(dir / "graphics", "faces.bin", cut({}, faceFileBytes(state.catalogues.faces()), 0, 2048));
    put(dir / "graphics", "units.bin", Bytes(1024, 0x42));
    put(dir / "load_image", "text_pointers.bin", cut({1, 0x01, 0x80, 0x00}, image, 0x118000, 0x40));
    put(dir / "load_image", "name_pointers.bin", cut({3, 0x06, 0x40, 0xC7}, image, 0x640C7, 0x40));
    put(dir / "load_image", "short.smc", cut({}, image, 0, 512));
    const std::string rules = "# c\nあ\tか\nre:(?<n>\\w)\\R?$\t${n}$1$$\r\nre:.*|\\?\tX\n";
    put(dir / "replace_rules", "rules.tsv", Bytes(rules.begin(), rules.end()));
}
