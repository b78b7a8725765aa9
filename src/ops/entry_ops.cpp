#include "ops/entry_ops.h"

#include <algorithm>
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

Outcome restored(EntryKind kind, int index) {
    return doneOutcome(entrySummary(kind, index, true));
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

std::optional<FormProblem> formProblem(EntryKind kind, int index, std::string_view form, const GlyphLookup& glyphs) {
    const FileSlice slice = fileSlice(kind, index, form);
    auto inForm = [&](Problem p, size_t offset) {
        return FormProblem{std::move(p), std::min(offset > slice.prefix ? offset - slice.prefix : 0, form.size())};
    };
    if (kind == EntryKind::Name) {
        std::vector<NameEntry> scratch(static_cast<size_t>(index) + 1);
        Result<int32_t> r = encodeName(scratch, index, slice.bytes, glyphs);
        if (!r) return inForm(r.problem(), r.problem().offset);
        if (static_cast<size_t>(*r) < slice.bytes.size()) {  // a line break inside the name
            const size_t lineEnd = static_cast<size_t>(*r) - 2;
            Problem p = problem(ProblemCode::NameIsOneLine, lineEnd);
            p.record = Record::Name, p.entry = index;
            return inForm(std::move(p), lineEnd);
        }
        return std::nullopt;
    }
    Result<EncodedText> r = encodeTextCode(slice.bytes, glyphs, index);
    if (!r) return inForm(r.problem(), r.problem().offset);
    // As the import reads it: any '/' in the form ends the text, and the rest is lost.
    const size_t slash = r->consumed - 2;
    if (slash != slice.prefix + form.size()) {
        Problem p = problem(ProblemCode::SlashEndsText, slash);
        p.record = Record::Text, p.entry = index;
        return inForm(std::move(p), slash);
    }
    return std::nullopt;
}

void storeForm(EditorState& state, EntryKind kind, int index, std::string_view form, const GlyphLookup& glyphs) {
    const FileSlice slice = fileSlice(kind, index, form);
    if (kind == EntryKind::Name)
        (void)encodeName(state.catalogues.names, index, slice.bytes, glyphs);
    else
        (void)encodeText(state.catalogues.texts(), index, slice.bytes, glyphs, state.image);
}

std::optional<EntryProblem> checkEntry(const EditorState& state, EntryKind kind, int index, std::string_view form,
                                       bool takeFullWidth) {
    const GlyphLookup glyphs(state.tables, takeFullWidth || state.options.fullWidth);
    const std::optional<FormProblem> p = formProblem(kind, index, form, glyphs);
    if (!p) return std::nullopt;
    const std::span<const uint8_t> formBytes(reinterpret_cast<const uint8_t*>(form.data()), form.size());
    return EntryProblem{renderMessage(p->problem), locate(formBytes, p->offset), p->problem};
}

std::string fullWidthForm(const EditorState& state, EntryKind kind, int index, std::string_view form) {
    const GlyphLookup glyphs(state.tables);
    std::string out(form);
    // Each round widens one character, so at most one round a byte of the form.
    for (size_t round = 0; round < form.size(); ++round) {
        const std::optional<FormProblem> p = formProblem(kind, index, out, glyphs);
        if (!p || p->problem.code != ProblemCode::CharacterNotInTable || p->problem.fullWidth.size() != 2) break;
        out.replace(p->offset, 1, p->problem.fullWidth);
    }
    return out;
}

Outcome applyEntry(EditorState& state, EntryKind kind, int index, std::string_view form, bool takeFullWidth) {
    if (std::optional<EntryProblem> p = checkEntry(state, kind, index, form, takeFullWidth)) return failedOutcome(p->message);
    const GlyphLookup glyphs(state.tables, takeFullWidth || state.options.fullWidth);
    storeKeepingWhatReadsTheSame(state, kind, index, [&] { storeForm(state, kind, index, form, glyphs); });
    return doneOutcome(entrySummary(kind, index, false));
}

std::optional<FormFit> formFit(EntryKind kind, int index, std::string_view form, const GlyphLookup& glyphs,
                               std::span<const int> nameWidths, const BoxRules& rules) {
    const FileSlice slice = fileSlice(kind, index, form);
    FormFit fit;
    fit.formSize = form.size();
    if (kind == EntryKind::Name) {
        std::vector<NameEntry> scratch(1);
        if (!encodeName(scratch, 0, slice.bytes, glyphs, &fit.offsets)) return std::nullopt;
        fit.code = std::move(scratch[0].code);
        TextLine line{0, fit.code.size(), 0, 0, 0, SIZE_MAX};
        for (const CodeItem& item : codeItems(fit.code, CodeKind::Name, {}, rules))
            if ((line.width += item.width) > rules.nameColumns && line.firstPast == SIZE_MAX) line.firstPast = item.offset;
        fit.lines = {line};
        fit.problems = fitProblems(fit.code, CodeKind::Name, {}, rules);
    } else {
        Result<EncodedText> r = encodeTextCode(slice.bytes, glyphs, index, &fit.offsets);
        if (!r) return std::nullopt;
        fit.code = std::move(r->code);
        fit.lines = textLines(fit.code, nameWidths, rules);
        fit.problems = fitProblems(fit.lines, fit.code.size(), rules);
    }
    fit.offsets.resize(fit.code.size());
    for (uint32_t& o : fit.offsets) o = static_cast<uint32_t>(std::min<size_t>(o > slice.prefix ? o - slice.prefix : 0, form.size()));
    for (Problem& p : fit.problems) p.offset = fit.formOffset(p.offset);
    return fit;
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
