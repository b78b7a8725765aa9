#include <algorithm>

#include "image/hex.h"
#include "image/parallel.h"
#include "pack/pack_profiles.h"
#include "script/script_scan.h"
#include "text/encode.h"
#include "text/name_list.h"

namespace velk {
namespace {

// Two hexadecimal numbers read as scanf's "%X %X" from `at`; nothing when
// either cannot be read.
std::optional<int64_t> entryNumber(std::span<const uint8_t> script, size_t at) {
    if (at > script.size()) return std::nullopt;
    const std::optional<int64_t> high = scanHex(script, at);
    if (!high) return std::nullopt;
    const std::optional<int64_t> low = scanHex(script, at);
    if (!low) return std::nullopt;
    return *high * 256 + *low;
}

// Where a sign stands in front of either of the two numbers at `at`: an
// entry is numbered in plain hexadecimal, and "-1" is no entry number.
std::optional<size_t> signInEntryNumber(std::span<const uint8_t> script, size_t at) {
    for (int n = 0; n < 2 && at < script.size(); ++n) {
        while (at < script.size() && isScanfSpace(script[at])) ++at;
        if (at < script.size() && (script[at] == '-' || script[at] == '+')) return at;
        if (!scanHex(script, at)) break;
    }
    return std::nullopt;
}

}  // namespace

Result<size_t> applyWordListSection(ScriptRun& run, size_t start) {
    const std::span<const uint8_t> script = run.script;
    return forEachEntry(run, start, '[', 'F', [&](size_t mark) -> Result<size_t> {
        // [F1 23] name: the high number is read from the 'F' on.
        const std::optional<int64_t> number = entryNumber(script, mark + 1);
        if (!number) return mark + 1;  // not an entry
        if (const std::optional<size_t> sign = signInEntryNumber(script, mark + 1))
            return run.outOfRange(*sign, ProblemCode::NameEntryUnsigned);
        const int64_t entry = *number - 0xF0 * 256;
        if (*number < 0xF0 * 256 || entry >= kNameCount)
            return run.outOfRange(mark, ProblemCode::NameEntryOutOfRange);
        const size_t text = std::min(mark + kNameLabelLength, script.size());
        Result<int32_t> consumed =
            encodeName(run.state.catalogues.names, static_cast<int>(entry), script.subspan(text), run.glyphLookup());
        if (!consumed) {
            consumed.problem().offset += text;
            return std::move(consumed.problem());
        }
        return text + static_cast<size_t>(*consumed);
    });
}

namespace {

// The section's texts, encoded one after the other in file order, and packed
// together when the section ends, on every core. Nothing in the section
// changes the image, so one dictionary serves every text.
Result<size_t> encodeTexts(ScriptRun& run, size_t start, std::vector<size_t>& touched) {
    const std::span<const uint8_t> script = run.script;
    return forEachEntry(run, start, '#', '#', [&](size_t mark) -> Result<size_t> {
        // ##No.0A 1F: three bytes not examined, then the two numbers.
        const std::optional<int64_t> number = entryNumber(script, mark + 5);
        if (!number) return mark + 1;  // not an entry
        if (const std::optional<size_t> sign = signInEntryNumber(script, mark + 5))
            return run.outOfRange(*sign, ProblemCode::TextEntryUnsigned);
        if (*number < 0 || *number >= kTextCount)
            return run.outOfRange(mark, ProblemCode::TextEntryOutOfRange);
        Result<EncodedText> encoded = encodeTextCode(script.subspan(mark), run.glyphLookup(), static_cast<int>(*number));
        if (!encoded) {
            encoded.problem().offset += mark;
            return std::move(encoded.problem());
        }
        run.state.catalogues.texts()[static_cast<size_t>(*number)].unpacked = std::move(encoded->code);
        touched.push_back(static_cast<size_t>(*number));
        return mark + encoded->consumed;
    });
}

}  // namespace

Result<size_t> applyTextSection(ScriptRun& run, size_t p) {
    std::vector<size_t> touched;
    Result<size_t> end = encodeTexts(run, p, touched);
    // The texts stored before a failing entry stay stored, so they are packed too.
    std::sort(touched.begin(), touched.end());
    touched.erase(std::unique(touched.begin(), touched.end()), touched.end());
    const std::shared_ptr<const DictionaryIndex> dictionary = dictionaryFor(run.state.image, kTextProfile);
    Catalogue texts = run.state.catalogues.texts();
    parallelFor(touched.size(), [&](size_t i) {
        ResourceEntry& entry = texts[touched[i]];
        entry.packed = packWithProfile(entry.unpacked, *dictionary, kTextProfile);
    });
    return end;
}

}  // namespace velk
