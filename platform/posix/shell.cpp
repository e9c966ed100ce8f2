#include "platform/posix/shell.h"

#include "platform/posix/paths.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/text.h"

extern char** environ;

namespace platform::posix {

namespace {

constexpr int kStarted = 42;
constexpr int kNoFile = 2;
constexpr int kNoDirectory = 3;
constexpr int kNoPermission = 5;
constexpr int kNoOpener = 31;

// Children we started and have not reaped yet. Only these are waited for, so
// that children of other parts of the program are never taken from them.
std::mutex childrenMutex;
std::vector<pid_t> children;

enum class Content { Program, Document, Unreadable };

// What a regular file holds: a program starts with an ELF header or "#!".
// The execute bit alone tells nothing, since file systems such as vfat,
// NTFS and SMB mounts give it to every file.
Content sniff(const std::string& path) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return Content::Unreadable;
    char head[4] = {};
    ssize_t got = 0;
    while (got < 4) {
        ssize_t n = read(fd, head + got, sizeof head - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += n;
    }
    close(fd);
    if (got >= 2 && head[0] == '#' && head[1] == '!') return Content::Program;
    if (got == 4 && std::string_view(head, 4) == std::string_view("\x7f"
                                                                  "ELF",
                                                                  4))
        return Content::Program;
    return Content::Document;
}

// Starts `path` with `args` (args[0] included) and returns the errno of the
// failure, 0 when started. The child gets /dev/null as input, no descriptor
// beyond 0..2, an empty signal mask, default signal actions and a session of
// its own, so the launcher's terminal closing does not take it down.
int spawn(const std::string& path, const std::vector<std::string>& args, const std::string& startIn,
          pid_t* started = nullptr) {
    std::vector<char*> argv;
    argv.reserve(args.size() + 1);
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attr;
    if (int err = posix_spawn_file_actions_init(&actions)) return err;
    if (int err = posix_spawnattr_init(&attr)) {
        posix_spawn_file_actions_destroy(&actions);
        return err;
    }
    sigset_t empty, all;
    sigemptyset(&empty);
    sigfillset(&all);
    int err = 0;
    if (!startIn.empty()) err = posix_spawn_file_actions_addchdir_np(&actions, startIn.c_str());
    if (!err) err = posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (!err) err = posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    if (!err) err = posix_spawnattr_setsigmask(&attr, &empty);
    if (!err) err = posix_spawnattr_setsigdefault(&attr, &all);
    if (!err)
        err = posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSID);

    pid_t pid = 0;
    if (!err) err = posix_spawn(&pid, path.c_str(), &actions, &attr, argv.data(), environ);
    if (!err && started) {
        *started = pid;
    } else if (!err) {
        std::lock_guard lock(childrenMutex);
        children.push_back(pid);
    }
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&actions);
    return err;
}

int startProgram(const std::string& path, const std::string& asGiven, const std::string& parameters,
                 const std::string& startIn) {
    std::vector<std::string> args{asGiven};
    for (std::string& a : splitCommandLine(parameters)) args.push_back(std::move(a));
    int err = spawn(path, args, startIn);
    switch (err) {
    case 0: return kStarted;
    // The start-in folder may have gone between our check and the chdir.
    case ENOENT:
    case ENOTDIR: return !startIn.empty() && !isFolder(startIn) ? kNoDirectory : kNoFile;
    case ELOOP:
    case ENAMETOOLONG: return kNoFile;
    // EACCES, EPERM, ENOEXEC (neither "#!" nor a known binary format),
    // ETXTBSY, and lack of resources: the program cannot be run.
    default: return kNoPermission;
    }
}

// Whether the opener has not failed within `waitMs`: xdg-open ends at once
// with a non-zero status when it finds no handler, while one that has found
// it may run as long as the document is open. An opener still running then
// is reaped later with the other children.
bool watchOpener(pid_t pid, int waitMs) {
    int status = 0;
    for (int waited = 0, step = 1;; waited += step, step = std::min(step * 2, 50)) {
        pid_t r = waitpid(pid, &status, WNOHANG);
        if (r == pid) return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (r < 0 && errno != EINTR) return true;  // reaped elsewhere: nothing to tell
        if (waited >= waitMs) break;
        usleep(static_cast<useconds_t>(std::min(step, waitMs - waited)) * 1000);
    }
    std::lock_guard lock(childrenMutex);
    children.push_back(pid);
    return true;
}

// Starts the desktop's opener on `target`; its process id, or 0.
pid_t spawnOpener(const std::string& target, const std::string& startIn, const std::string& cwd,
                  const ShellSettings& settings) {
    std::optional<std::string> opener;
    if (settings.opener.find('/') != std::string::npos) {
        opener = absolute(settings.opener, cwd);
        if (!isExecutableFile(*opener)) opener.reset();
    } else if (!settings.opener.empty()) {
        opener = searchPath(settings.opener, cwd);
    }
    pid_t pid = 0;
    if (!opener || spawn(*opener, {settings.opener, target}, startIn, &pid) != 0) return 0;
    return pid;
}

// Folders and documents go to the desktop's opener; parameters do not apply.
int openWithOpener(const std::string& target, const std::string& startIn, const std::string& cwd,
                   const ShellSettings& settings) {
    pid_t pid = spawnOpener(target, startIn, cwd, settings);
    if (pid == 0) return kNoOpener;
    return watchOpener(pid, settings.openerWaitMs) ? kStarted : kNoOpener;
}

}  // namespace

int shellExecute(const ShellRequest& request, const ShellSettings& settings) {
    reapChildren();

    // The default verb is "open"; no other verb has a handler here.
    if (!request.operation.empty() && !equalsIgnoreAsciiCase(request.operation, "open")) return kNoOpener;

    std::string cwd = workingFolder();
    std::string startIn;
    if (!request.directory.empty()) {
        startIn = absolute(request.directory, cwd);
        if (!isFolder(startIn)) return kNoDirectory;
    }

    const std::string& file = request.file;
    if (file.empty()) return kNoFile;
    if (file.find('/') == std::string::npos) {
        std::optional<std::string> found = searchPath(file, cwd);
        return found ? startProgram(*found, file, request.parameters, startIn) : kNoFile;
    }

    std::string path = absolute(file, startIn.empty() ? cwd : startIn);
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return errno == EACCES ? kNoPermission : kNoFile;
    if (S_ISDIR(st.st_mode)) return openWithOpener(path, startIn, cwd, settings);
    // Devices, pipes and sockets are neither programs nor documents.
    if (!S_ISREG(st.st_mode)) return kNoPermission;
    bool executable = faccessat(AT_FDCWD, path.c_str(), X_OK, AT_EACCESS) == 0;
    switch (sniff(path)) {
    case Content::Document: return openWithOpener(path, startIn, cwd, settings);
    // A program without execute permission was meant to be run, not
    // opened; one we may run but not read is left to the system to load.
    case Content::Program:
    case Content::Unreadable: break;
    }
    return executable ? startProgram(path, file, request.parameters, startIn) : kNoPermission;
}

StartedOpener startOpener(const std::string& document, const ShellSettings& settings) {
    reapChildren();
    pid_t pid = spawnOpener(document, "", workingFolder(), settings);
    return {pid == 0 ? kNoOpener : kStarted, pid};
}

std::optional<bool> openerEnded(pid_t pid) {
    int status = 0;
    pid_t r;
    do r = waitpid(pid, &status, WNOHANG);
    while (r < 0 && errno == EINTR);
    if (r == 0) return std::nullopt;
    if (r < 0) return true;  // reaped elsewhere: nothing to tell
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void reapChildren() {
    std::lock_guard lock(childrenMutex);
    std::erase_if(children, [](pid_t pid) {
        int status = 0;
        pid_t r;
        do r = waitpid(pid, &status, WNOHANG);
        while (r < 0 && errno == EINTR);
        // ECHILD: someone else reaped it (or SIGCHLD is ignored); forget it.
        return r == pid || (r < 0 && errno == ECHILD);
    });
}

}  // namespace platform::posix
