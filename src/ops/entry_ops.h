// One name or one text at a time: the form its file gives it, a check of an
// edited form with the import's own encoder, and storing it as an import of
// a file that differs only in that entry would.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "image/resource_entry.h"
#include "ops/messages.h"
#include "ops/outcome.h"
#include "ops/editor_state.h"
#include "text/glyph_lookup.h"
#include "text/line_width.h"

namespace velk {

enum class EntryKind { Name, Text };

// What the name list holds behind the entry's label, or what the text
// collection holds between the entry's header line and its closing "//"
// (line breaks as CR LF). Shift-JIS.
std::string entryForm(const EditorState& state, EntryKind kind, int index);

// The entry's file label: "[F1 23]" for a name, "##No.01 23" for a text.
std::string entryLabel(EntryKind kind, int index);

// Why an edited form cannot be stored: the message, and where in the form
// (1-based line, column in characters).
struct EntryProblem {
    Message message;
    Location at;
    Problem problem;  // for the window's own sentence (windowMessage)
};

// Why a form cannot be stored, as the import's encoder finds it with these
// glyphs: the problem, and its offset into the form (bytes).
struct FormProblem {
    Problem problem;
    size_t offset;
};
std::optional<FormProblem> formProblem(EntryKind kind, int index, std::string_view form, const GlyphLookup& glyphs);
// Encodes and packs a form that formProblem passes into the entry.
void storeForm(EditorState& state, EntryKind kind, int index, std::string_view form, const GlyphLookup& glyphs);

// Encodes the form as the import would, storing nothing. With
// takeFullWidth (or the state's option), a one-byte character without a
// glyph of its own is typed as its full-width form.
std::optional<EntryProblem> checkEntry(const EditorState& state, EntryKind kind, int index, std::string_view form,
                                       bool takeFullWidth = false);

// Encodes and packs the form into the entry as the import does; the entry
// keeps its bytes when the form has a problem, and when its new code reads
// the same as the old (importKeepingWhatReadsTheSame).
Outcome applyEntry(EditorState& state, EntryKind kind, int index, std::string_view form, bool takeFullWidth = false);

// The form with every one-byte character that has no glyph of its own, but
// whose full-width form has one, typed full-width, as far as the encoder
// gets before another problem stops it.
std::string fullWidthForm(const EditorState& state, EntryKind kind, int index, std::string_view form);

// How a form that encodes falls into its box: its code, its lines, and what
// keeps it from fitting (fitProblems, with offsets into the form).
struct FormFit {
    std::vector<uint8_t> code;
    std::vector<uint32_t> offsets;  // each code byte's item, where it starts in the form
    size_t formSize = 0;
    std::vector<TextLine> lines;    // a name's one line with its width
    std::vector<Problem> problems;
    // Where code offset `at` stands in the form (the form's end past the code).
    size_t formOffset(size_t at) const { return at < offsets.size() ? offsets[at] : formSize; }
};
// Nothing when the form does not encode.
std::optional<FormFit> formFit(EntryKind kind, int index, std::string_view form, const GlyphLookup& glyphs,
                               std::span<const int> nameWidths, const BoxRules& rules);

// Gives the name or text back its bytes as they were loaded.
Outcome restoreEntry(EditorState& state, int index, const NameEntry& asLoaded);
Outcome restoreEntry(EditorState& state, int index, const ResourceEntry& asLoaded);

}  // namespace velk
