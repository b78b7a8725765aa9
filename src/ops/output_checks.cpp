#include "ops/output_checks.h"

namespace velk {
namespace {

Problem refusal(std::string reason) {
    Problem p = problem(MessageId::CannotWrite);
    p.reason = std::move(reason);
    return p;
}

bool same(const std::optional<FileIdentity>& a, const std::optional<FileIdentity>& b) {
    return a && b && a->sameFileAs(*b);
}

}  // namespace

Status checkNotTheLoadedFile(const EditorState& state, Platform& platform, const std::filesystem::path& out) {
    const std::optional<FileIdentity> target = platform.fileIdentity(out);
    if (!target || state.loadedPath.empty()) return {};
    if (target->sameFileAs(state.loadedIdentity) || same(target, platform.fileIdentity(state.loadedPath)))
        return refusal("is the loaded ROM " + state.loadedPath.filename().string() +
                       " (after following links); it is never replaced by a patch");
    return {};
}

Status checkBackupIsNotTheTarget(Platform& platform, const std::filesystem::path& backup,
                                 const std::filesystem::path& target) {
    if (same(platform.fileIdentity(backup), platform.fileIdentity(target)))
        return refusal("is a link to " + target.filename().string() +
                       ", the file this save replaces; the backup would not keep it. Remove or rename it");
    return {};
}

Status checkLoadedFileCanBeReadAgain(const EditorState& state, Platform& platform) {
    const std::optional<FileIdentity> loaded = platform.fileIdentity(state.loadedPath);
    if (loaded && loaded->kind != FileIdentity::Kind::Regular)
        return cannotRead("was read from a pipe or a device, which cannot be read again as the patch's source; "
                          "load the ROM from a file");
    return {};
}

}  // namespace velk
