#include "ops/output_checks.h"

namespace velk {
namespace {

Problem refusal(ProblemCode code, const std::filesystem::path& other) {
    Problem p = problem(code);
    p.words = other.filename().string();
    return p;
}

bool same(const std::optional<FileIdentity>& a, const std::optional<FileIdentity>& b) {
    return a && b && a->sameFileAs(*b);
}

}  // namespace

Status checkNotTheLoadedFile(const EditorState& state, Platform& platform, const std::filesystem::path& out) {
    const std::optional<FileIdentity> target = platform.fileIdentity(out);
    if (!target || state.loaded.path.empty()) return {};
    if (target->sameFileAs(state.loaded.identity) || same(target, platform.fileIdentity(state.loaded.path)))
        return refusal(ProblemCode::IsTheLoadedRom, state.loaded.path);
    return {};
}

Status checkBackupIsNotTheTarget(Platform& platform, const std::filesystem::path& backup,
                                 const std::filesystem::path& target) {
    if (same(platform.fileIdentity(backup), platform.fileIdentity(target)))
        return refusal(ProblemCode::BackupIsALink, target);
    return {};
}

Status checkLoadedFileCanBeReadAgain(const EditorState& state, Platform& platform) {
    const std::optional<FileIdentity> loaded = platform.fileIdentity(state.loaded.path);
    if (loaded && loaded->kind != FileIdentity::Kind::Regular)
        return problem(ProblemCode::LoadedFromPipe);
    return {};
}

}  // namespace velk
