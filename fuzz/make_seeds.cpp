// fuzz_seeds DIR: writes a seed corpus for every fuzz target under DIR/<target>,
// cut from the demo image and its exports.
#include <cstdio>
#include <filesystem>
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
    if (std::FILE* f = std::fopen((dir / name).c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
}

Bytes firstLines(const Bytes& file, size_t lines) {
    size_t end = 0;
    for (size_t n = 0; end < file.size() && n < lines; ++end) n += file[end] == '\n';
    return Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(end));
}

Bytes sjis(const char* utf8) {
    const std::string s = velk::toCp932(utf8);
    return Bytes(s.begin(), s.end());
}

// `head` followed by the image's bytes [from, to).
Bytes imageSlice(Bytes head, const Bytes& image, size_t from, size_t to) {
    head.insert(head.end(), image.begin() + static_cast<std::ptrdiff_t>(from), image.begin() + static_cast<std::ptrdiff_t>(to));
    return head;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace velk;
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds DIR\n");
        return 2;
    }
    const fs::path dir = argv[1];
    const EditorState& state = fuzz::demoState();
    const Bytes& image = state.image.bytes;
    put(dir / "name_list", "names40.txt", firstLines(nameListBytes(state.catalogues.names), 40));
    put(dir / "name_list", "escapes.txt", sjis("[F0 00] (主人公)の剣\r\n[F0 01] ?1B 05?!11!\r\n[F0 02] (旗\r\n"));
    put(dir / "text_collection", "texts100.txt",
        firstLines(textCollectionBytes(state.catalogues.texts(), state.catalogues.names, state.tables), 100));
    put(dir / "text_collection", "escapes.txt", sjis("##No.00 00\n[F1 23:(名前)]?1B 0A?!13!\r\n(ハート)//\r\n"));

    const std::vector<DemoScriptFile> example = makeDemoScript();
    put(dir / "change_script", "example.txt", example[0].bytes);
    Bytes withFiles = sjis(";;文字追加 @@a @@b\n;;単語リスト\n[F0 05] 鬱ア\n;;テキスト\n##No.00 00\n鬱//\n"
                           ";;IPSパッチ @@c\n;;Sクラスキャラグラ @@d @@b # .00.00.00.00.00\n;;アイテムグラ @@d #.00.00.4B\n;;終了\n");
    for (const Bytes& file : {Bytes(64, 0x11), sjis("鬱熊"), example[6].bytes, Bytes(512, 0x5A)}) {
        withFiles.insert(withFiles.end(), {0, 0});
        withFiles.insert(withFiles.end(), file.begin(), file.end());
    }
    put(dir / "change_script", "sections.bin", withFiles);
    put(dir / "ips", "tweak.ips", example[6].bytes);
    put(dir / "ips", "eof.ips", Bytes{'P', 'A', 'T', 'C', 'H', 'E', 'O', 'F'});

    // Source and target: a stretch of the demo image and the same moved and changed.
    Bytes pair = imageSlice(imageSlice({128, 7}, image, 0x118000, 0x118200), image, 0x118100, 0x118300);
    pair[300] ^= 0xFF;
    put(dir / "patches", "moved.bin", pair);

    const Bytes faces = faceFileBytes(state.catalogues.faces());
    put(dir / "graphics", "faces.bin", Bytes(faces.begin(), faces.begin() + 2048));
    put(dir / "graphics", "units.bin", Bytes(1024, 0x42));
    put(dir / "load_image", "text_pointers.bin", imageSlice({1, 0x01, 0x80, 0x00}, image, 0x118000, 0x118040));
    put(dir / "load_image", "name_pointers.bin", imageSlice({3, 0x06, 0x40, 0xC7}, image, 0x640C7, 0x64107));
    put(dir / "load_image", "short.smc", Bytes(image.begin(), image.begin() + 512));
    return 0;
}
