// A project's names and texts as gettext PO files for a team: one message
// per entry, keyed by the entry's number, the base's text as msgid and the
// translation as msgstr; and the way back into the image.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ops/outcome.h"
#include "platform/platform.h"
#include "ops/editor_state.h"
#include "text/desk_status.h"

namespace velk {

constexpr const char* kPoFolder = "po";
constexpr const char* kNamesPo = "names.po";
constexpr const char* kTextsPo = "texts.po";
constexpr const char* kNamesPot = "names.pot";
constexpr const char* kTextsPot = "texts.pot";

// The stable key of an entry, its msgctxt: "name 02 0A", "text 15 98".
std::string poEntryKey(CodeKind kind, size_t index);

// The entry a msgctxt names, among `names` names and `texts` texts.
struct EntryKey {
    CodeKind kind;
    size_t index;
};
std::optional<EntryKey> parsePoEntryKey(std::string_view key, size_t names, size_t texts);

// The UTF-8 offset of the character at a Shift-JIS offset of the same text.
size_t poUtf8OffsetOf(std::string_view sjis, std::string_view utf8, size_t sjisOffset);

struct PoExportOptions {
    // PO-Revision-Date of a file whose messages changed, "YYYY-MM-DD HH:MM+0000";
    // empty: the clock's time, in UTC.
    std::string revisionDate;
    // The project as built and its statuses, when a window holds them
    // (edited since): nothing is built or read again.
    const EditorState* built = nullptr;
    const DeskBook* book = nullptr;
};

// Writes DIR/po/names.pot, texts.pot (the originals) and names.po, texts.po
// (with the translations) for the project in DIR, built on `base`, the
// loaded base ROM. A .po file whose messages are those it already holds is
// left byte for byte as it is, its PO-Revision-Date included.
Outcome exportPoTo(const EditorState& base, Platform& platform, const std::filesystem::path& dir,
                   const PoExportOptions& options = {});

// The files of a project that keeps its names or texts as PO from the start:
// `kind`'s .po and .pot of the state as its own base (nothing translated).
Outcome exportPoStep(const EditorState& state, Platform& platform, const std::filesystem::path& dir, CodeKind kind);

// Reads a PO file into the names and texts its messages name: a msgstr
// replaces its entry's text unless the two read the same; an empty one
// stands for the original. Any msgstr that does not encode stops the import
// before anything changes, at FILE.po:LINE:COL. With a project around the
// file (FILE in DIR/po/), the entries' statuses follow in DIR/status.tsv:
// a fuzzy message is a draft.
Outcome importPoFrom(EditorState& state, Platform& platform, const std::filesystem::path& file);

// The same, without touching status.tsv: what a build does.
Outcome importPoIntoState(EditorState& state, Platform& platform, const std::filesystem::path& file);

}  // namespace velk
