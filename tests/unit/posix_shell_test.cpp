#include "platform/posix/shell.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using platform::ShellRequest;
using platform::posix::reapChildren;
using platform::posix::shellExecute;
using platform::posix::ShellSettings;
using Lines = std::vector<std::string>;

namespace {

class PosixShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/posix_shell_test.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        if (const char* p = std::getenv("PATH")) savedPath = p;
    }
    void TearDown() override {
        if (savedPath) setenv("PATH", savedPath->c_str(), 1);
        else unsetenv("PATH");
        fs::remove_all(dir);
    }

    std::string write(const std::string& name, const std::string& text, fs::perms mode) {
        std::string p = dir + "/" + name;
        fs::create_directories(fs::path(p).parent_path());
        std::ofstream(p, std::ios::binary) << text;
        fs::permissions(p, mode);
        return p;
    }
    std::string script(const std::string& name, const std::string& body) {
        return write(name, "#!/bin/sh\n" + body, fs::perms::owner_all);
    }

    // Polls (bounded) for a file the child writes, then returns its lines.
    static Lines waitForLines(const std::string& p, std::size_t atLeast = 1) {
        Lines lines;
        for (int i = 0; i < 1000; ++i) {
            lines.clear();
            std::ifstream in(p);
            for (std::string l; std::getline(in, l);) lines.push_back(l);
            if (lines.size() >= atLeast) break;
            usleep(10000);
        }
        return lines;
    }

    static int run(const std::string& file, const std::string& params = "", const std::string& directory = "",
                   const ShellSettings& settings = {}) {
        return shellExecute(ShellRequest{"OPEN", file, params, directory, 5}, settings);
    }

    std::string dir;
    std::optional<std::string> savedPath;
};

// Children of this process as {total, zombies}, from /proc/*/stat.
std::pair<int, int> ownChildren() {
    int total = 0, zombies = 0;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        std::ifstream in(entry.path() / "stat");
        std::string stat;
        if (!std::getline(in, stat)) continue;
        std::size_t close = stat.rfind(')');  // the command name may hold blanks and parentheses
        if (close == std::string::npos) continue;
        char state = 0;
        int ppid = 0;
        if (std::sscanf(stat.c_str() + close + 1, " %c %d", &state, &ppid) != 2 || ppid != getpid()) continue;
        ++total;
        if (state == 'Z') ++zombies;
    }
    return {total, zombies};
}

TEST_F(PosixShellTest, OptionsArriveLiterallyAndStartInIsTheWorkingFolder) {
    script("work/probe.sh", "printf '%s\\n' \"$@\" > " + dir + "/args\npwd -P > " + dir + "/cwd\n");
    const std::string options = R"(plain "two  words" ;rm $(id) `id` | "say ""hi""" 'q' a\b)";
    // The relative target is found in the start-in folder, not in ours.
    EXPECT_GT(run("./probe.sh", options, dir + "/work"), 32);
    EXPECT_EQ(waitForLines(dir + "/cwd"), Lines{fs::canonical(dir + "/work").string()});
    EXPECT_EQ(waitForLines(dir + "/args"),
              (Lines{"plain", "two  words", ";rm", "$(id)", "`id`", "|", "say \"hi\"", "'q'", "a\\b"}));
}

TEST_F(PosixShellTest, FailuresMapToWindowsCodes) {
    std::string probe = script("probe.sh", ":\n");
    EXPECT_EQ(run(""), 2);
    EXPECT_EQ(run(dir + "/missing"), 2);
    EXPECT_EQ(run("./probe.sh"), 2);  // relative to our folder, where it is not
    EXPECT_EQ(run(probe, "", dir + "/nowhere"), 3);
    EXPECT_EQ(run(probe, "", probe), 3);  // start-in is a file

    // Programs without execute permission are refused, not opened as documents.
    ShellSettings opener{script("opener.sh", ":\n")};
    EXPECT_EQ(run(write("noexec.sh", "#!/bin/sh\n:\n", fs::perms::owner_read), "", "", opener), 5);
    fs::copy_file("/bin/true", dir + "/true");
    fs::permissions(dir + "/true", fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(run(dir + "/true", "", "", opener), 5);
    EXPECT_EQ(shellExecute(ShellRequest{"print", probe, "", "", 5}), 31);
}

TEST_F(PosixShellTest, BareNamesAreSearchedOnPath) {
    write("a/tool", "#!/bin/sh\necho a > " + dir + "/which\n", fs::perms::owner_read);  // not executable: skipped
    std::string tool = script("b/tool", "echo \"$0\" > " + dir + "/which\n");
    setenv("PATH", (dir + "/a:" + dir + "/b").c_str(), 1);
    EXPECT_EQ(run("no-such-tool"), 2);
    EXPECT_GT(run("tool"), 32);
    EXPECT_EQ(waitForLines(dir + "/which"), Lines{tool});

    // A relative entry belongs to our folder, not to the child's start-in.
    fs::remove(dir + "/which");
    fs::create_directory(dir + "/elsewhere");
    fs::path ours = fs::current_path();
    fs::current_path(dir);
    setenv("PATH", "b", 1);
    int result = run("tool", "", dir + "/elsewhere");
    fs::current_path(ours);
    EXPECT_GT(result, 32);
    EXPECT_EQ(waitForLines(dir + "/which"), Lines{tool});
}

TEST_F(PosixShellTest, FoldersAndDocumentsGoToTheOpener) {
    script("bin/fake-open", "printf '%s\\n' \"$@\" >> " + dir + "/opened\n");
    write("doc.txt", "just text\n", fs::perms::owner_read | fs::perms::owner_write);
    fs::create_directory(dir + "/folder");
    setenv("PATH", (dir + "/bin").c_str(), 1);
    ShellSettings settings{"fake-open"};

    EXPECT_GT(run("./doc.txt", "ignored options", dir, settings), 32);
    EXPECT_EQ(waitForLines(dir + "/opened", 1), Lines{dir + "/doc.txt"});
    EXPECT_GT(run(dir + "/folder", "", "", settings), 32);
    EXPECT_EQ(waitForLines(dir + "/opened", 2), (Lines{dir + "/doc.txt", dir + "/folder"}));

    EXPECT_EQ(run(dir + "/doc.txt", "", "", ShellSettings{"no-such-opener"}), 31);
    EXPECT_EQ(run(dir + "/folder", "", "", ShellSettings{dir + "/missing/opener"}), 31);
}

// On vfat, NTFS and SMB mounts every file has an execute bit: only a file
// that also looks like a program is run, anything else is a document.
TEST_F(PosixShellTest, FilesThatAreNoProgramsGoToTheOpenerWhateverTheirMode) {
    script("bin/fake-open", "printf '%s\\n' \"$@\" >> " + dir + "/opened\n");
    setenv("PATH", (dir + "/bin").c_str(), 1);
    ShellSettings settings{"fake-open"};
    std::string doc = write("doc.txt", "just text\n", fs::perms::owner_all | fs::perms::group_exec);
    std::string empty = write("empty", "", fs::perms::owner_all);
    std::string probe = script("probe.sh", "echo ran > " + dir + "/ran\n");

    EXPECT_GT(run(doc, "", "", settings), 32);
    EXPECT_GT(run(empty, "", "", settings), 32);
    EXPECT_EQ(waitForLines(dir + "/opened", 2), (Lines{doc, empty}));
    EXPECT_GT(run(probe, "", "", settings), 32);
    EXPECT_EQ(waitForLines(dir + "/ran"), Lines{"ran"});
    EXPECT_EQ(waitForLines(dir + "/opened", 2).size(), 2u);
}

// The opener's own failure (no handler for the document) is reported; an
// opener still running after the short wait counts as started, and the
// wait never grows beyond it.
TEST_F(PosixShellTest, OpenerThatFailsSoonGivesNoOpener) {
    std::string doc = write("doc.txt", "text\n", fs::perms::owner_read | fs::perms::owner_write);
    auto now = [] {
        timespec t{};
        clock_gettime(CLOCK_MONOTONIC, &t);
        return t.tv_sec * 1000LL + t.tv_nsec / 1000000;
    };
    auto timed = [&](const std::string& body, int& result) {
        ShellSettings settings{script("opener-" + std::to_string(body.size()), body), 500};
        long long start = now();
        result = run(doc, "", "", settings);
        return now() - start;
    };
    int result = 0;
    EXPECT_LT(timed("exit 3\n", result), 450);
    EXPECT_EQ(result, 31);
    EXPECT_LT(timed("exit 0\n", result), 450);
    EXPECT_GT(result, 32);
    long long waited = timed("sleep 1\n", result);
    EXPECT_GT(result, 32);
    EXPECT_GE(waited, 450);
    EXPECT_LT(waited, 950);
}

TEST_F(PosixShellTest, ChildrenAreReapedAndStartClean) {
    std::string probe = script("probe.sh", "/bin/ls /proc/self/fd > " + dir +
                                               "/fds\n"
                                               "readlink /proc/self/fd/0 > " +
                                               dir + "/stdin\n");
    // What the child must not inherit: a plain descriptor, a pipe as input,
    // a blocked signal and an ignored one.
    int extra = open("/dev/null", O_RDONLY);
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    int savedStdin = dup(0);
    dup2(pipeFds[0], 0);
    sigset_t usr1, oldMask;
    sigemptyset(&usr1);
    sigaddset(&usr1, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &usr1, &oldMask);
    struct sigaction ignore {
    }, oldPipe{};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, &oldPipe);

    int result = run(probe);
    // Not through a shell here: dash clears its signal mask itself.
    int copied = run("/bin/cp", "/proc/self/status " + dir + "/status");

    sigaction(SIGPIPE, &oldPipe, nullptr);
    pthread_sigmask(SIG_SETMASK, &oldMask, nullptr);
    dup2(savedStdin, 0);
    for (int fd : {savedStdin, pipeFds[0], pipeFds[1], extra}) close(fd);

    EXPECT_GT(result, 32);
    EXPECT_GT(copied, 32);
    // ls's own descriptor for the folder it lists is 3.
    EXPECT_EQ(waitForLines(dir + "/fds", 4), (Lines{"0", "1", "2", "3"}));
    Lines sig;
    for (const std::string& line : waitForLines(dir + "/status", 50))
        if (line.starts_with("SigBlk:") || line.starts_with("SigIgn:")) sig.push_back(line);
    ASSERT_EQ(sig.size(), 2u);
    EXPECT_EQ(sig[0], "SigBlk:\t0000000000000000");
    // glibc's spawn always leaves its two internal signals (32, 33) ignored.
    EXPECT_EQ(std::stoull(sig[1].substr(sig[1].find('\t') + 1), nullptr, 16) & ~0x180000000ull, 0u) << sig[1];
    EXPECT_EQ(waitForLines(dir + "/stdin"), Lines{"/dev/null"});

    for (int i = 0; i < 200; ++i) ASSERT_GT(run("/bin/true"), 32);
    std::pair<int, int> left = ownChildren();
    for (int i = 0; i < 1000 && left.first > 0; ++i) {
        usleep(10000);
        reapChildren();
        left = ownChildren();
    }
    EXPECT_EQ(left.second, 0) << "zombies";
    EXPECT_EQ(left.first, 0) << "children still there";
}

}  // namespace
