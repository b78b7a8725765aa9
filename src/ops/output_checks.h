// Refusals before a save writes anything: outputs that are the loaded ROM
// under another name, backups that are the file they should keep.
#pragma once

#include <filesystem>

#include "image/result.h"
#include "platform/platform.h"
#include "ops/editor_state.h"

namespace velk {

// A patch (or any output other than the ROM saved over itself) must not
// replace the loaded ROM: refused when `out`, links followed, is the file
// that was loaded or the one that now stands at its path.
Status checkNotTheLoadedFile(const EditorState& state, Platform& platform, const std::filesystem::path& out);

// A backup that is the file the save replaces (a link to it, or a hard
// link) would lose the original the moment the save replaces it.
Status checkBackupIsNotTheTarget(Platform& platform, const std::filesystem::path& backup,
                                 const std::filesystem::path& target);

// A patch is made against the loaded file read again; a pipe or a device
// cannot be read again.
Status checkLoadedFileCanBeReadAgain(const EditorState& state, Platform& platform);

}  // namespace velk
