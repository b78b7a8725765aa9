#include "cli/watch.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <map>
#include <mutex>
#include <sstream>
#include <set>

#include <cerrno>
#include <csignal>

#include <poll.h>
#include <spawn.h>
#include <sys/inotify.h>
#include <sys/signalfd.h>
#include <sys/wait.h>
#include <unistd.h>

#include "cli/cli_platform.h"
#include "ops/messages.h"

extern char** environ;

namespace velk {
namespace {

constexpr uint32_t kEvents =
    IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_CREATE | IN_DELETE | IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF;
// Within a burst, the events of one save come microseconds apart; this much
// quiet ends the burst early.
constexpr std::chrono::milliseconds kQuiet{40};

// Editors' swap, backup and probe files are not sources, nor the names the
// editor's own writes pass through on their way to an output.
bool ignoredName(const std::string& name) {
    return name.empty() || name[0] == '.' || name.back() == '~' || name == "4913" ||
           name.find(".velk-tmp-") != std::string::npos;
}

class Watches {
public:
    Watches() : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}
    ~Watches() {
        if (fd_ >= 0) close(fd_);
    }
    int fd() const { return fd_; }

    // Watches exactly these folders (with their sub-folders) and files. A
    // folder watched before keeps its watch, so that no event between two
    // runs is lost; one no longer needed loses it.
    void set(const WatchRun& r) {
        std::map<int, Folder> before = std::move(folders_);
        folders_.clear();
        for (const std::filesystem::path& f : r.folders) {
            add(f, {});
            std::error_code ec;
            for (auto it = std::filesystem::recursive_directory_iterator(f, ec);
                 !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
                if (it->is_directory(ec)) add(it->path(), {});
        }
        for (const std::filesystem::path& f : r.files) {
            const std::filesystem::path folder = f.parent_path().empty() ? "." : f.parent_path();
            if (!covered(f)) add(folder, f.filename().string());
        }
        for (const auto& [wd, folder] : before)
            if (!folders_.count(wd)) inotify_rm_watch(fd_, wd);
        ignored_.clear();
        for (const std::filesystem::path& w : r.written) ignored_.insert(std::filesystem::absolute(w).lexically_normal());
    }

    // Reads what is waiting; true when a watched file other than the last
    // run's outputs changed.
    bool drain() {
        alignas(inotify_event) char buffer[8192];
        bool changed = false;
        for (;;) {
            const ssize_t n = read(fd_, buffer, sizeof buffer);
            if (n <= 0) return changed;
            for (ssize_t at = 0; at < n;) {
                const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
                at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
                const auto it = folders_.find(e->wd);
                if (it == folders_.end()) continue;
                if (e->mask & (IN_DELETE_SELF | IN_MOVE_SELF)) {  // the folder itself went
                    changed = true;
                    continue;
                }
                const std::string name = e->len ? std::string(e->name) : std::string();
                if (ignoredName(name)) continue;
                if (ignored_.count(std::filesystem::absolute(it->second.path / name).lexically_normal())) continue;
                if (it->second.names.empty() || it->second.names.count(name)) changed = true;
            }
        }
    }

private:
    struct Folder {
        std::filesystem::path path;
        std::set<std::string> names;  // empty: every file
    };
    bool covered(const std::filesystem::path& file) const {
        for (const auto& [wd, folder] : folders_)
            if (folder.names.empty() && file.parent_path() == folder.path) return true;
        return false;
    }
    void add(const std::filesystem::path& folder, const std::string& name) {
        const int wd = inotify_add_watch(fd_, folder.c_str(), kEvents);
        if (wd < 0) {
            // A folder that is gone (removed, or between a checkout's delete
            // and its create): its return is heard in the nearest folder
            // above it that is there.
            std::filesystem::path gone = std::filesystem::absolute(folder).lexically_normal();
            if (!gone.has_filename()) gone = gone.parent_path();
            if (errno == ENOENT && gone.has_parent_path() && gone.parent_path() != gone)
                add(gone.parent_path(), gone.filename().string());
            return;
        }
        Folder& f = folders_[wd];
        if (f.path.empty()) {
            f.path = folder;
            if (!name.empty()) f.names.insert(name);
        } else if (!f.names.empty()) {
            if (name.empty())
                f.names.clear();
            else
                f.names.insert(name);
        }
    }

    int fd_;
    std::map<int, Folder> folders_;
    std::set<std::filesystem::path> ignored_;
};

std::string clock() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char s[16];
    std::strftime(s, sizeof s, "%H:%M:%S", &local);
    return s;
}

// Ends the commands still running: asked first, then made to.
void endChildren(std::vector<pid_t>& children) {
    for (const pid_t pid : children) kill(pid, SIGTERM);
    for (int tries = 0; tries < 100 && !children.empty(); ++tries) {
        std::erase_if(children, [](pid_t pid) { return waitpid(pid, nullptr, WNOHANG) != 0; });
        if (!children.empty()) usleep(10000);
    }
    for (const pid_t pid : children) kill(pid, SIGKILL), waitpid(pid, nullptr, 0);
    children.clear();
}

// Starts the command without a shell, once the previous one has ended.
void start(const std::vector<std::string>& words, std::vector<pid_t>& children, const WatchHooks& hooks) {
    endChildren(children);
    std::vector<char*> argv;
    for (const std::string& w : words) argv.push_back(const_cast<char*>(w.c_str()));
    argv.push_back(nullptr);
    // The loop blocks Ctrl+C to read it from a descriptor; the command gets
    // the usual signals back.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, argv[0], nullptr, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    if (error == 0)
        children.push_back(pid);
    else if (hooks.onLine)
        hooks.onLine("--then: cannot start '" + words[0] + "'");
}

void collect(std::vector<pid_t>& children) {
    std::erase_if(children, [](pid_t pid) { return waitpid(pid, nullptr, WNOHANG) == pid; });
}

}  // namespace

std::vector<std::string> splitCommand(const std::string& command) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    char quote = 0;
    for (const char c : command) {
        if (quote) {
            if (c == quote)
                quote = 0;
            else
                word += c;
        } else if (c == '\'' || c == '"') {
            quote = c, inWord = true;
        } else if (c == ' ' || c == '\t') {
            if (inWord) words.push_back(std::move(word)), word.clear();
            inWord = false;
        } else {
            word += c, inWord = true;
        }
    }
    if (inWord) words.push_back(std::move(word));
    return words;
}

int watchLoop(const std::function<WatchRun()>& run, const std::vector<std::string>& then, const WatchHooks& hooks) {
    Watches watches;
    if (watches.fd() < 0) {
        if (hooks.onLine) hooks.onLine("--watch: inotify is not available");
        return 1;
    }
    std::vector<pid_t> children;
    for (int n = 1;; ++n) {
        const auto started = std::chrono::steady_clock::now();
        const WatchRun r = run();
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
        watches.set(r);
        // A change made while the run was under way (its own outputs aside)
        // starts the next run at once.
        bool changed = watches.drain();
        if (hooks.onLine)
            hooks.onLine(clock() + " run " + std::to_string(n) + " (" + std::to_string(ms.count()) + " ms): " +
                         (r.ok ? r.what : "failed, outputs kept: " + r.what));
        if (r.ok && !then.empty()) start(then, children, hooks);
        // Wait for a change, then gather the rest of its burst.
        while (!changed) {
            pollfd fds[2] = {{watches.fd(), POLLIN, 0}, {hooks.stopFd, POLLIN, 0}};
            if (poll(fds, hooks.stopFd >= 0 ? 2 : 1, -1) < 0) continue;
            collect(children);
            if (fds[1].revents) return endChildren(children), 0;
            changed = watches.drain();
        }
        const auto burstEnd = std::chrono::steady_clock::now() + hooks.burst;
        for (;;) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(burstEnd - std::chrono::steady_clock::now());
            if (left.count() <= 0) break;
            pollfd fds[2] = {{watches.fd(), POLLIN, 0}, {hooks.stopFd, POLLIN, 0}};
            const int ready = poll(fds, hooks.stopFd >= 0 ? 2 : 1, static_cast<int>(std::min(left, kQuiet).count()));
            if (ready > 0 && fds[1].revents) return endChildren(children), 0;
            if (ready <= 0) break;
            watches.drain();
        }
    }
}

namespace {

// A watch run's platform: messages kept for the run's one line, and files
// written only when the whole run went well, so a failed run leaves the last
// good outputs as they were. Writes may come from several threads at once.
class WatchRunPlatform : public CliPlatform {
public:
    explicit WatchRunPlatform(std::ostream& err) : CliPlatform(err) {}
    void showMessage(const Message& message) override {
        if (first.empty()) first = message.detail.empty() ? message.display : message.display + ": " + message.detail;
        CliPlatform::showMessage(message);
    }
    Status writeFile(const std::filesystem::path& path, std::span<const uint8_t> bytes) override {
        const std::lock_guard lock(mutex_);
        staged[path].assign(bytes.begin(), bytes.end());
        return {};
    }
    Result<std::vector<uint8_t>> readFile(const std::filesystem::path& path, size_t maxBytes = SIZE_MAX) override {
        {
            const std::lock_guard lock(mutex_);
            if (const auto it = staged.find(path); it != staged.end())
                return std::vector<uint8_t>(it->second.begin(),
                                            it->second.begin() + static_cast<std::ptrdiff_t>(std::min(maxBytes, it->second.size())));
        }
        return CliPlatform::readFile(path, maxBytes);
    }
    // A staged file is dropped; the last good one on disk stays.
    Status removeFile(const std::filesystem::path& path) override {
        const std::lock_guard lock(mutex_);
        staged.erase(path);
        return {};
    }
    std::string first;
    std::map<std::filesystem::path, std::vector<uint8_t>> staged;

private:
    std::mutex mutex_;
};

// A file descriptor that turns readable on Ctrl+C (or a termination request).
int interruptFd() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    if (sigprocmask(SIG_BLOCK, &signals, nullptr) != 0) return -1;
    return signalfd(-1, &signals, SFD_CLOEXEC);
}

}  // namespace

int watchRuns(const std::function<ChainRun(CliPlatform&, std::ostream&, std::ostream&)>& runOnce, const std::string& then,
              std::ostream& out, std::ostream& err, const WatchHooks* given) {
    WatchHooks hooks = given ? *given : WatchHooks{};
    int ownFd = -1;
    if (!given) {
        hooks.stopFd = ownFd = interruptFd();
        hooks.onLine = [&out](const std::string& line) { out << line << std::endl; };
    }
    auto run = [&]() {
        std::ostringstream runErr, runOut;
        WatchRunPlatform platform(runErr);
        ChainRun chain = runOnce(platform, runOut, runErr);
        WatchRun r;
        r.ok = chain.code == 0;
        r.folders = std::move(chain.folders);
        r.files = std::move(chain.files);
        if (!r.ok) {
            r.what = platform.first.empty() ? "a warning, with --strict" : platform.first;
            return r;
        }
        r.what = "wrote";
        // Backups first: the file a save replaces is kept before it is replaced.
        std::vector<std::filesystem::path> order;
        for (const bool backups : {true, false})
            for (const auto& [path, bytes] : platform.staged)
                if ((path.extension() == ".bak") == backups) order.push_back(path);
        for (const std::filesystem::path& path : order) {
            r.written.push_back(path);
            if (Status s = CliPlatform(err).writeFile(path, platform.staged[path]); !s) {
                r.ok = false;
                r.what = path.string() + ": " + problemReason(s.problem());
                return r;
            }
            r.what += ' ';
            r.what += path.string();
        }
        if (platform.staged.empty()) r.what = "nothing to write";
        if (chain.written) chain.written();
        return r;
    };
    const int code = watchLoop(run, splitCommand(then), hooks);
    if (ownFd >= 0) close(ownFd);
    return code;
}

}  // namespace velk
