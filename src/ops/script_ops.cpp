#include <filesystem>

#include "ops/dialog_options.h"
#include "ops/file_dialogs.h"
#include "ops/operations.h"
#include "ops/script_file_checks.h"
#include "script/change_script.h"
#include "text/sjis.h"

namespace velk {

Result<std::vector<uint8_t>> ScriptFolderFiles::read(std::string_view name, size_t maxBytes) {
    const std::filesystem::path asWritten(std::string{name});
    if (Status s = checkScriptFileName(asWritten, anywhere_); !s) return std::move(s.problem());
    std::filesystem::path path = asWritten.is_absolute() ? asWritten : folder_ / asWritten;
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        // A Linux user saves a Japanese file name in UTF-8.
        if (const std::optional<std::string> utf8 = fromCp932Strict(name); utf8 && *utf8 != name) {
            const std::filesystem::path converted(*utf8);
            const std::filesystem::path alternative = converted.is_absolute() ? converted : folder_ / converted;
            if (std::filesystem::exists(alternative, ec)) path = alternative;
        }
    }
    if (Status s = checkRegularFile(path); !s) return std::move(s.problem());
    return platform_.readFile(path, maxBytes);
}

bool applyChangeScript(EditorState& state, Platform& platform) {
    const std::optional<ChosenFile> file = platform.openFileDialog(changeScriptDialogOptions());
    if (!file) return false;
    std::optional<TextFile> script = readTextFile(platform, *file);
    if (!script) return false;
    ScriptFolderFiles files(platform, file->path.parent_path(), state.scriptFilesAnywhere);
    std::vector<Warning> warnings;
    const Status s = applyChangeScript(script->bytes, state, files, &warnings);
    const SourceText source = script->source();
    showWarnings(platform, source, warnings);
    if (!s) showProblem(platform, s.problem(), &source);
    return true;
}

}  // namespace velk
