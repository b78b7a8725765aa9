// The change script with a small set of named files in memory. The input is
// the script, then "\0\0" and the content of the files a, b, c and d, each
// behind the next "\0\0" (an absent part is an empty file).
#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <string>

#include "fuzz_support.h"
#include "script/change_script.h"

namespace {

struct MemoryFiles : velk::ScriptFiles {
    std::map<std::string, std::vector<uint8_t>> files;
    velk::Result<std::vector<uint8_t>> read(std::string_view name, size_t maxBytes) override {
        const auto it = files.find(std::string(name));
        if (it == files.end()) return velk::systemError("no such file");
        std::vector<uint8_t> bytes = it->second;
        if (bytes.size() > maxBytes) bytes.resize(maxBytes);
        return bytes;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velk;
    std::vector<std::span<const uint8_t>> parts;
    size_t start = 0;
    for (size_t i = 0; i + 1 < size && parts.size() < 4; ++i)
        if (data[i] == 0 && data[i + 1] == 0) {
            parts.emplace_back(data + start, i - start);
            start = i + 2;
            ++i;
        }
    parts.emplace_back(data + start, size - start);
    MemoryFiles files;
    const char* names[] = {"a", "b", "c", "d"};
    for (size_t k = 1; k < parts.size(); ++k) files.files[names[k - 1]] = {parts[k].begin(), parts[k].end()};
    static EditorState state = fuzz::demoState();
    (void)applyChangeScript(parts[0], state, files);
    return 0;
}
