#include <filesystem>

#include "ops/file_steps.h"
#include "ops/operations.h"
#include "ops/script_file_checks.h"
#include "script/change_script.h"
#include "text/sjis.h"

namespace velk {

Result<std::vector<uint8_t>> ScriptFolderFiles::read(std::string_view name, size_t maxBytes) {
    const std::filesystem::path asWritten(std::string{name});
    if (Status s = checkScriptFileName(asWritten, anywhere_); !s) return std::move(s.problem());
    std::filesystem::path path = asWritten.is_absolute() ? asWritten : folder_ / asWritten;
    if (!platform_.fileIdentity(path)) {
        // A Linux user saves a Japanese file name in UTF-8.
        if (const std::optional<std::string> utf8 = fromCp932Strict(name); utf8 && *utf8 != name) {
            const std::filesystem::path converted(*utf8);
            const std::filesystem::path alternative = converted.is_absolute() ? converted : folder_ / converted;
            if (platform_.fileIdentity(alternative)) path = alternative;
        }
    }
    // A script named without a folder lies in the current one.
    const std::filesystem::path folder = folder_.empty() ? std::filesystem::path(".") : folder_;
    if (Status s = checkInsideScriptFolder(platform_.resolvedPath(path), platform_.resolvedPath(folder), anywhere_); !s)
        return std::move(s.problem());
    if (Status s = checkRegularFile(platform_.fileIdentity(path)); !s) return std::move(s.problem());
    return platform_.readFile(path, maxBytes);
}

Outcome applyChangeScript(EditorState& state, Platform& platform, const std::filesystem::path& path) {
    Result<TextFile> script = readTextFile(platform, path);
    if (!script) return failedWith(script.problem());
    ScriptFolderFiles files(platform, path.parent_path(), state.options.scriptFilesAnywhere);
    std::vector<Warning> warnings;
    size_t applied = 0;
    const Status s = applyChangeScript(script->bytes, state, files, &warnings, &applied, state.options.fullWidth);
    const SourceText source = script->source();
    if (!s) return failedWith(s.problem(), &source, warningLines(source, warnings));
    return doneOutcome(toCp932("変更スクリプトを適用しました: " + std::to_string(applied) + " 件"),
                       warningLines(source, warnings));
}

}  // namespace velk
