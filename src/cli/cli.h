// velk-cli: the editor's operations, chained on one in-memory image.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace velk {

// velk-cli [OPTION]... ROM VERB [ARG] [VERB [ARG]...]. Returns 0 on success,
// 1 as soon as an operation shows a message (with -k: after every verb has
// run, if any showed one), 2 for a usage error.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace velk
