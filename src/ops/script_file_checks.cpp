#include "ops/script_file_checks.h"

namespace velk {

Status checkScriptFileName(const std::filesystem::path& name, bool anywhere) {
    if (anywhere) return {};
    if (name.is_absolute() || name.has_root_name() || name.has_root_directory())
        return problem(ProblemCode::AbsoluteScriptPath);
    const std::filesystem::path normal = name.lexically_normal();
    if (!normal.empty() && *normal.begin() == "..")
        return problem(ProblemCode::ScriptPathLeadsOut);
    return {};
}

Status checkInsideScriptFolder(const std::filesystem::path& resolvedFile, const std::filesystem::path& resolvedFolder,
                               bool anywhere) {
    if (anywhere) return {};
    const std::filesystem::path inside = resolvedFile.lexically_relative(resolvedFolder);
    if (inside.empty() || *inside.begin() == "..") return problem(ProblemCode::ScriptPathLeadsOut);
    return {};
}

Status checkRegularFile(const std::optional<FileIdentity>& file) {
    if (!file || file->kind == FileIdentity::Kind::Regular) return {};
    return problem(file->kind == FileIdentity::Kind::Folder ? ProblemCode::IsAFolder : ProblemCode::NotARegularFile);
}

}  // namespace velk
