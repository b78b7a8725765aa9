// What a change script may name: files in its own folder or below it, and
// only regular files, so that a shared script cannot pull other files into
// the image (and into the patches made from it), nor wait on a FIFO.
#pragma once

#include <filesystem>
#include <optional>

#include "image/result.h"
#include "ops/editor_state.h"

namespace velk {

// A problem (CannotRead, with the reason) for a name that is absolute or
// whose ".." leads out of the script's folder, unless `anywhere` is set.
Status checkScriptFileName(const std::filesystem::path& name, bool anywhere);

// A problem when the file, its links followed, lies outside the script's
// folder (both resolved), unless `anywhere` is set: a link in a shared
// folder may not lead a script out of it.
Status checkInsideScriptFolder(const std::filesystem::path& resolvedFile, const std::filesystem::path& resolvedFolder,
                               bool anywhere);

// A problem for an existing file that is not a regular file (a FIFO, a
// device, a folder), given what the platform knows of it. A missing file
// passes: reading it says so.
Status checkRegularFile(const std::optional<FileIdentity>& file);

}  // namespace velk
