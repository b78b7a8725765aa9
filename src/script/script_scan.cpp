#include "script/script_scan.h"

#include <algorithm>

#include "image/hex.h"

namespace velk {

int64_t scriptLineOf(std::span<const uint8_t> script, size_t offset) {
    offset = std::min(offset, script.size());
    return 1 + std::count(script.begin(), script.begin() + static_cast<std::ptrdiff_t>(offset), uint8_t{'\n'});
}

const GlyphLookup& ScriptRun::glyphLookup() {
    if (!glyphs) glyphs.emplace(state.tables, fullWidth);
    return *glyphs;
}

std::optional<size_t> ScriptRun::findBeforeMarker(size_t from, uint8_t a, uint8_t b) const {
    for (size_t q = from; q < script.size(); ++q) {
        if (isMarker(q)) return std::nullopt;
        if (hasPair(q, a, b)) return q;
    }
    return std::nullopt;
}

std::optional<size_t> ScriptRun::findByteBeforeMarker(size_t from, uint8_t c) const {
    for (size_t q = from; q < script.size(); ++q) {
        if (isMarker(q)) return std::nullopt;
        if (script[q] == c) return q;
    }
    return std::nullopt;
}

std::string ScriptRun::tokenAt(size_t from) const {
    constexpr size_t kMaxToken = 999;
    size_t p = from;
    while (p < script.size() && isScriptSpace(script[p])) ++p;
    std::string token;
    while (p < script.size() && !isScriptSpace(script[p]) && script[p] != 0 && token.size() < kMaxToken)
        token += static_cast<char>(script[p++]);
    return token;
}

Result<std::vector<uint8_t>> ScriptRun::readNamedFile(size_t mark, size_t maxBytes) {
    const std::string name = tokenAt(mark + 2);
    if (name.empty()) return incomplete(mark, ProblemCode::NoFileName);
    Result<std::vector<uint8_t>> bytes = files.read(name, maxBytes);
    if (!bytes) {
        Problem& p = bytes.problem();
        p.writing = false;
        p.file = name;
        p.offset = mark + 2;
    }
    return bytes;
}

std::optional<ScriptRun::Number> ScriptRun::nextNumber(size_t from) const {
    const std::optional<size_t> dot = findByteBeforeMarker(from, '.');
    if (!dot) return std::nullopt;
    size_t p = *dot + 1;
    const std::optional<int64_t> value = scanHex(script, p);
    return Number{value.value_or(0xFF), *dot};
}

Problem ScriptRun::incomplete(size_t at, ProblemCode code, int64_t which) const {
    Problem p = problem(code, at);
    p.line = lineOf(at);
    p.entry = which;
    return p;
}

}  // namespace velk
