#include "ops/script_file_checks.h"

namespace velk {

Status checkScriptFileName(const std::filesystem::path& name, bool anywhere) {
    if (anywhere) return {};
    if (name.is_absolute() || name.has_root_name() || name.has_root_directory())
        return cannotRead("is an absolute path; a script names files in its own folder or below it "
                          "(--script-files-anywhere allows any)");
    const std::filesystem::path normal = name.lexically_normal();
    if (!normal.empty() && *normal.begin() == "..")
        return cannotRead("leads out of the script's folder; a script names files in its own folder or below it "
                          "(--script-files-anywhere allows any)");
    return {};
}

Status checkRegularFile(const std::optional<FileIdentity>& file) {
    if (!file || file->kind == FileIdentity::Kind::Regular) return {};
    return cannotRead(file->kind == FileIdentity::Kind::Folder
                          ? "is a folder, not a file"
                          : "is not a regular file (a FIFO or a device); a script names regular files only");
}

}  // namespace velk
