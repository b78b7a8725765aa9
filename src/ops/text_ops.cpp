#include <algorithm>

#include "ops/dialog_options.h"
#include "ops/file_dialogs.h"
#include "ops/operations.h"
#include "text/name_list.h"
#include "text/text_collection.h"

namespace velk {
Outcome exportNameList(ConstNameCatalogue names, Platform& platform) {
    return askAndWriteFile(
        platform, nameListDialogOptions(), [&] { return textFileBytes(platform, nameListBytes(names)); },
        countSummary("名前", names.size(), "書き出しました"));
}

Outcome importNameList(NameCatalogue names, const CharTables& tables, Platform& platform, bool fullWidth) {
    Step<TextFile> file = askAndReadTextFile(platform, nameListDialogOptions());
    if (!file) return std::move(file).stop();
    std::vector<Warning> warnings;
    const Status s = readNameList(names, file->bytes, GlyphLookup(tables, fullWidth), &warnings);
    const SourceText source = file->source();
    if (!s) return failedWith(s.problem(), &source, warningLines(source, warnings));
    const size_t read = std::min(linesStartingWith(file->bytes, ""), names.size());
    return doneOutcome(countSummary("名前", read, "読み込みました"), warningLines(source, warnings));
}

Outcome exportTextCollection(ConstCatalogue texts, ConstNameCatalogue names, const CharTables& tables,
                             Platform& platform) {
    return askAndWriteFile(
        platform, textCollectionExportOptions(),
        [&] { return textFileBytes(platform, textCollectionBytes(texts, names, tables)); },
        countSummary("テキスト", texts.size(), "書き出しました"));
}

Outcome importTextCollection(Catalogue texts, const CharTables& tables, const RomImage& image, Platform& platform,
                             bool fullWidth) {
    Step<TextFile> file = askAndReadTextFile(platform, textCollectionImportOptions());
    if (!file) return std::move(file).stop();
    std::vector<Warning> warnings;
    const Status s = readTextCollection(texts, file->bytes, GlyphLookup(tables, fullWidth), image, &warnings);
    const SourceText source = file->source();
    if (!s) return failedWith(s.problem(), &source, warningLines(source, warnings));
    const size_t read = std::min(linesStartingWith(file->bytes, "##"), texts.size());
    return doneOutcome(countSummary("テキスト", read, "読み込みました"), warningLines(source, warnings));
}

}  // namespace velk
