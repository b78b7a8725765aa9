// The change script: a text file of ";;" sections that edit names, texts,
// added characters, graphics and image bytes in one go.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "image/result.h"
#include "rom/document.h"

namespace velk {

// The largest IPS patch a script names that is read.
constexpr size_t kMaxScriptBytes = size_t{64} << 20;

// How the script reaches the files it names. `name` is the name as written in
// the script (Shift-JIS bytes); at most maxBytes are read. A problem (its
// reason filled in) when the file cannot be read; the script fills in the name.
class ScriptFiles {
public:
    virtual ~ScriptFiles() = default;
    virtual Result<std::vector<uint8_t>> read(std::string_view name, size_t maxBytes) = 0;
};

// Applies the script's sections in file order to the editor's state. Stops at
// the first section that fails and returns its problem (offset into the
// script); what was applied before stays applied. A script without "終了"
// ends quietly at the end of its data.
// With `warnings`, notes a section word that begins with a keyword but is not
// one (it is skipped like any unknown section).
// With `applied`, counts the sections that were applied. With `fullWidth`, a
// character without a glyph of its own is tried in its full-width form.
Status applyChangeScript(std::span<const uint8_t> script, Document& state, ScriptFiles& files,
                         std::vector<Warning>* warnings = nullptr, size_t* applied = nullptr, bool fullWidth = false);

// The script line (1 + the LF bytes before it) of a byte offset.
int64_t scriptLineOf(std::span<const uint8_t> script, size_t offset);

}  // namespace velk
