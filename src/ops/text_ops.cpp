#include <algorithm>

#include "ops/file_steps.h"
#include "ops/loaded_rom_guard.h"
#include "ops/operations.h"
#include "text/name_list.h"
#include "text/text_collection.h"

namespace velk {

Outcome exportNameList(EditorState& state, Platform& platform, const std::filesystem::path& path) {
    LoadedRomGuard guarded(state, platform);
    const ConstNameCatalogue names = state.catalogues.names;
    return writeNamedFile(guarded, path, textFileBytes(platform, nameListBytes(names)),
                          countSummary("名前", names.size(), "書き出しました"));
}

Outcome importNameList(EditorState& state, Platform& platform, const std::filesystem::path& path) {
    Result<TextFile> file = readTextFile(platform, path);
    if (!file) return failedWith(file.problem());
    std::vector<Warning> warnings;
    const NameCatalogue names = state.catalogues.names;
    const Status s = readNameList(names, file->bytes, GlyphLookup(state.tables, state.options.fullWidth), &warnings);
    const SourceText source = file->source();
    if (!s) return failedWith(s.problem(), &source, warningLines(source, warnings));
    const size_t read = std::min(linesStartingWith(file->bytes, ""), names.size());
    return doneOutcome(countSummary("名前", read, "読み込みました"), warningLines(source, warnings));
}

Outcome exportTextCollection(EditorState& state, Platform& platform, const std::filesystem::path& path) {
    LoadedRomGuard guarded(state, platform);
    const ConstCatalogue texts = std::as_const(state.catalogues).texts();
    return writeNamedFile(guarded, path,
                          textFileBytes(platform, textCollectionBytes(texts, state.catalogues.names, state.tables)),
                          countSummary("テキスト", texts.size(), "書き出しました"));
}

Outcome importTextCollection(EditorState& state, Platform& platform, const std::filesystem::path& path) {
    Result<TextFile> file = readTextFile(platform, path);
    if (!file) return failedWith(file.problem());
    std::vector<Warning> warnings;
    const Catalogue texts = state.catalogues.texts();
    const Status s = readTextCollection(texts, file->bytes, GlyphLookup(state.tables, state.options.fullWidth),
                                        state.image, &warnings);
    const SourceText source = file->source();
    if (!s) return failedWith(s.problem(), &source, warningLines(source, warnings));
    const size_t read = std::min(linesStartingWith(file->bytes, "##"), texts.size());
    return doneOutcome(countSummary("テキスト", read, "読み込みました"), warningLines(source, warnings));
}

}  // namespace velk
