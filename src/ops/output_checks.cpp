#include "ops/output_checks.h"

#include <sys/stat.h>

#include "platform/file_io.h"

namespace velk {
namespace {

Problem refusal(std::string reason) {
    Problem p = problem(MessageId::CannotWrite);
    p.reason = std::move(reason);
    return p;
}

}  // namespace

Status checkNotTheLoadedFile(const EditorState& state, const std::filesystem::path& out) {
    const std::optional<FileId> target = fileIdOf(out);
    if (!target) return {};
    const FileId asLoaded{state.loadedIdentity.device, state.loadedIdentity.inode};
    if (*target == asLoaded || target == fileIdOf(state.loadedPath))
        return refusal("is the loaded ROM " + state.loadedPath.filename().string() +
                       " (after following links); it is never replaced by a patch");
    return {};
}

Status checkBackupIsNotTheTarget(const std::filesystem::path& backup, const std::filesystem::path& target) {
    const std::optional<FileId> id = fileIdOf(backup);
    if (id && id == fileIdOf(target))
        return refusal("is a link to " + target.filename().string() +
                       ", the file this save replaces; the backup would not keep it. Remove or rename it");
    return {};
}

Status checkLoadedFileCanBeReadAgain(const EditorState& state) {
    struct stat st {};
    if (::stat(state.loadedPath.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        Problem p = cannotRead("was read from a pipe or a device, which cannot be read again as the patch's source; "
                               "load the ROM from a file");
        return p;
    }
    return {};
}

}  // namespace velk
