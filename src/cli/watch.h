// velk-cli --watch: runs the chain, then again after each change of a file
// it read, until Ctrl+C. Inotify directly: the loop needs a few directory
// watches and a poll, which the kernel interface gives in a page of code
// without another library to install; renames over a file and new files are
// seen because whole folders are watched, not files.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace velk {

struct WatchRun {
    bool ok = false;
    std::string what;                                  // "wrote test.smc, hack.bps" or the first problem
    std::vector<std::filesystem::path> folders;        // watched whole (and their sub-folders)
    std::vector<std::filesystem::path> files;          // watched by name in their folder
    std::vector<std::filesystem::path> written;        // the run's own outputs: their events start no run
};

struct WatchHooks {
    int stopFd = -1;                                   // readable: end the loop (Ctrl+C, or a test)
    std::function<void(const std::string&)> onLine;    // one line per run
    std::chrono::milliseconds burst{200};              // the longest a burst of events is gathered
};

// Splits a --then command into words as written: blanks separate words,
// single or double quotes keep blanks inside one; no other shell syntax.
std::vector<std::string> splitCommand(const std::string& command);

// Runs `run` once and after each change, printing one line a run (a change
// made while a run is under way starts the next one), and starts
// `then` (when not empty) after each run that went well, without waiting for
// it; the previous command is ended first, and the last one on return. A
// watched folder that is removed is waited for in the folder above it.
// Returns 0 once stopFd turns readable, 1 when inotify is unavailable.
int watchLoop(const std::function<WatchRun()>& run, const std::vector<std::string>& then, const WatchHooks& hooks);

class CliPlatform;

// What one run of velk-cli's chain did: its exit status, the project folders
// it built and the files it read, and what to keep once its files are
// written.
struct ChainRun {
    int code = 1;
    std::vector<std::filesystem::path> folders;
    std::vector<std::filesystem::path> files;
    std::function<void()> written;
};

// velk-cli --watch: watchLoop over `runOnce`, each run on a platform that
// keeps its messages for the run's one line and its files until the whole
// run went well (backups first, then the rest), so that a failed run leaves
// the last good outputs as they were. Without `hooks`, Ctrl+C (or a
// termination request) ends the loop and the lines go to `out`.
int watchRuns(const std::function<ChainRun(CliPlatform&, std::ostream& out, std::ostream& err)>& runOnce,
              const std::string& then, std::ostream& out, std::ostream& err, const WatchHooks* hooks);

}  // namespace velk
