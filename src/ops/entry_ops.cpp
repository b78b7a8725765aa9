#include "ops/entry_ops.h"

#include <vector>

#include "image/hex.h"
#include "ops/reads_the_same.h"
#include "text/decode.h"
#include "text/encode.h"
#include "text/name_list.h"
#include "text/sjis.h"

namespace velk {
namespace {

std::vector<uint8_t> bytesOf(std::string_view s) { return std::vector<uint8_t>(s.begin(), s.end()); }

// The entry's line or block as the file holds it; `prefix` is how many bytes
// stand in front of the form.
struct FileSlice {
    std::vector<uint8_t> bytes;
    size_t prefix = 0;
};

FileSlice fileSlice(EntryKind kind, int index, std::string_view form) {
    FileSlice slice;
    if (kind == EntryKind::Name) {
        // Every exported line ends in CR LF, and the import keeps its first byte as the NUL.
        slice.bytes = bytesOf(std::string(form) + "\r\n");
    } else {
        const std::string header = entryLabel(kind, index) + "\n";
        slice.prefix = header.size();
        slice.bytes = bytesOf(header + std::string(form) + "//\r\n\r\n\r\n");
    }
    return slice;
}

EntryProblem entryProblem(const Problem& p, std::span<const uint8_t> form, size_t offsetInForm) {
    return {renderMessage(p), locate(form, offsetInForm)};
}

std::string kindWord(EntryKind kind) { return kind == EntryKind::Name ? "名前" : "テキスト"; }

Outcome restored(EntryKind kind, int index) {
    return doneOutcome(toCp932(kindWord(kind) + " ") + entryLabel(kind, index) + toCp932(" を読み込んだ時に戻しました"));
}

}  // namespace

std::string entryLabel(EntryKind kind, int index) {
    std::string out = kind == EntryKind::Name ? "[" : "##No.";
    const auto i = static_cast<unsigned>(index);
    appendHexByte(out, static_cast<uint8_t>(kind == EntryKind::Name ? 0xF0 + (i >> 8) : i >> 8));
    out += ' ';
    appendHexByte(out, static_cast<uint8_t>(i & 0xFF));
    if (kind == EntryKind::Name) out += ']';
    return out;
}

std::string entryForm(const EditorState& state, EntryKind kind, int index) {
    if (kind == EntryKind::Name) {
        // The line the name list writes for it (a line break inside as its escape), without label and line end.
        const std::vector<uint8_t> line = nameListBytes(ConstNameCatalogue(state.catalogues.names).subspan(static_cast<size_t>(index), 1));
        return std::string(line.begin() + kNameLabelLength, line.end() - 2);
    }
    return decodeText(state.catalogues.texts(), index, state.catalogues.names, state.tables);
}

std::optional<EntryProblem> checkEntry(const EditorState& state, EntryKind kind, int index, std::string_view form) {
    const FileSlice slice = fileSlice(kind, index, form);
    const GlyphLookup glyphs(state.tables);
    const std::span<const uint8_t> formBytes(reinterpret_cast<const uint8_t*>(form.data()), form.size());
    if (kind == EntryKind::Name) {
        std::vector<NameEntry> scratch(static_cast<size_t>(index) + 1);
        Result<int32_t> r = encodeName(scratch, index, slice.bytes, glyphs);
        if (!r) return entryProblem(r.problem(), formBytes, r.problem().offset);
        if (static_cast<size_t>(*r) < slice.bytes.size())  // a line break inside the name
            return EntryProblem{{toCp932("名前は1行です"), "名前は1行です", "a name is one line"},
                                locate(formBytes, static_cast<size_t>(*r) - 2)};
        return std::nullopt;
    }
    Result<EncodedText> r = encodeTextCode(slice.bytes, glyphs, index);
    if (!r) {
        const size_t at = r.problem().offset;
        return entryProblem(r.problem(), formBytes, at > slice.prefix ? at - slice.prefix : 0);
    }
    // As the import reads it: a lone '/' ends the text, and the rest is lost.
    const size_t slash = r->consumed - 2;
    if (slash + 1 >= slice.bytes.size() || slice.bytes[slash + 1] != '/')
        return EntryProblem{{toCp932("'/' でテキストが終わります"), "'/' でテキストが終わります",
                             "a '/' ends the text before its closing \"//\""},
                            locate(formBytes, slash - slice.prefix)};
    return std::nullopt;
}

Outcome applyEntry(EditorState& state, EntryKind kind, int index, std::string_view form) {
    if (std::optional<EntryProblem> p = checkEntry(state, kind, index, form)) return failedOutcome(p->message);
    const FileSlice slice = fileSlice(kind, index, form);
    const GlyphLookup glyphs(state.tables);
    (void)importKeepingWhatReadsTheSame(state, [&] {
        if (kind == EntryKind::Name)
            (void)encodeName(state.catalogues.names, index, slice.bytes, glyphs);
        else
            (void)encodeText(state.catalogues.texts(), index, slice.bytes, glyphs, state.image);
        return Outcome{};
    });
    return doneOutcome(toCp932(kindWord(kind) + " ") + entryLabel(kind, index) + toCp932(" を変更しました"));
}

Outcome restoreEntry(EditorState& state, int index, const NameEntry& asLoaded) {
    NameEntry& entry = state.catalogues.names[static_cast<size_t>(index)];
    entry.code = asLoaded.code;
    entry.text = asLoaded.text;
    return restored(EntryKind::Name, index);
}

Outcome restoreEntry(EditorState& state, int index, const ResourceEntry& asLoaded) {
    ResourceEntry& entry = state.catalogues.texts()[static_cast<size_t>(index)];
    entry.packed = asLoaded.packed;
    entry.unpacked = asLoaded.unpacked;
    return restored(EntryKind::Text, index);
}

}  // namespace velk
