// velk-cli: the editor's operations, chained on one in-memory image.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace velk {

struct WatchHooks;

// velk-cli [OPTION]... ROM VERB [ARG] [VERB [ARG]...]. Returns 0 on success,
// 1 as soon as a verb's outcome is not done (with --strict: or has a warning;
// with -k: after every verb has run, if any was so), 2 for a usage error. With --watch, `hooks` (when
// given) replace Ctrl+C and the printed lines.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const WatchHooks* hooks = nullptr);

}  // namespace velk
