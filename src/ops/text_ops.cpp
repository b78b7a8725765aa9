#include "ops/dialog_options.h"
#include "ops/file_dialogs.h"
#include "ops/operations.h"
#include "text/name_list.h"
#include "text/text_collection.h"

namespace velk {

void exportNameList(ConstCatalogue names, Platform& platform) {
    askAndWriteFile(platform, nameListDialogOptions(), [&] { return nameListBytes(names); });
}

void importNameList(Catalogue names, const CharTables& tables, Platform& platform) {
    const std::optional<FileContents> data = askAndReadFile(platform, nameListDialogOptions());
    if (!data) return;
    if (Status s = readNameList(names, data->bytes, GlyphLookup(tables)); !s) showProblem(platform, s.problem());
}

void exportTextCollection(ConstCatalogue texts, ConstCatalogue names, const CharTables& tables, Platform& platform) {
    askAndWriteFile(platform, textCollectionExportOptions(), [&] { return textCollectionBytes(texts, names, tables); });
}

void importTextCollection(Catalogue texts, const CharTables& tables, const RomImage& image, Platform& platform) {
    const std::optional<FileContents> data = askAndReadFile(platform, textCollectionImportOptions());
    if (!data) return;
    if (Status s = readTextCollection(texts, data->bytes, GlyphLookup(tables), image); !s)
        showProblem(platform, s.problem());
}

}  // namespace velk
