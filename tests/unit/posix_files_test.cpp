#include "platform/posix/files.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>

#include "platform/errors.h"

namespace fs = std::filesystem;
using platform::IOError;
using platform::posix::safeWrite;

namespace {

const uid_t kNobody = 65534;
const int kDefinedCodes[] = {2, 3, 4, 5, 29, 30, 100, 101, 106};

class PosixFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/posix_files_test.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override {
        fs::permissions(dir, fs::perms::owner_all);
        fs::remove_all(dir);
    }

    std::string path(const std::string& name) const { return dir + "/" + name; }
    static std::string slurp(const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static void put(const std::string& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }
    std::set<std::string> names() const {
        std::set<std::string> out;
        for (const auto& entry : fs::directory_iterator(dir)) out.insert(entry.path().filename().string());
        return out;
    }
    static int errorCode(const std::function<void()>& action) {
        try {
            action();
        } catch (const IOError& e) {
            return e.code();
        }
        return 0;
    }

    std::string dir;
};

// Lets the next writes fail with EFBIG past `bytes`, which works even as root.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit saved_{};
    void (*oldHandler_)(int);
};

}  // namespace

TEST(WindowsErrorCode, MapsErrnoToTheFrameworkCodes) {
    using platform::posix::Access;
    using platform::posix::windowsErrorCode;
    const std::pair<int, int> cases[] = {{ENOENT, 2}, {ENOTDIR, 3},  {ENAMETOOLONG, 3}, {EMFILE, 4},
                                         {ENFILE, 4}, {EACCES, 5},   {EPERM, 5},        {EROFS, 5},
                                         {EISDIR, 5}, {ENOSPC, 101}, {EDQUOT, 101},     {EFBIG, 101}};
    std::set<int> mapped;
    for (const auto& [err, code] : cases) {
        EXPECT_EQ(windowsErrorCode(err, Access::Reading), code) << err;
        EXPECT_EQ(windowsErrorCode(err, Access::Writing), code) << err;
        mapped.insert(err);
    }
    EXPECT_EQ(windowsErrorCode(EIO, Access::Writing), 29);
    EXPECT_EQ(windowsErrorCode(EIO, Access::Reading), 30);
    mapped.insert(EIO);
    // Every other errno (EINTR is 4, ENXIO 6 ...) shows under a text of its own.
    std::set<std::string> definedTexts;
    for (int code : kDefinedCodes) definedTexts.insert(platform::ioErrorText(code));
    for (int err = 1; err < 200; ++err) {
        if (mapped.count(err)) continue;
        for (Access access : {Access::Reading, Access::Writing}) {
            int code = windowsErrorCode(err, access);
            EXPECT_EQ(definedTexts.count(platform::ioErrorText(code)), 0u) << err << " shows as " << code;
            EXPECT_EQ(platform::ioErrorText(code), "I/O ｴﾗｰ (" + std::to_string(1000 + err) + ")") << err;
        }
    }
}

TEST_F(PosixFilesTest, CarriesCp932NamesAndReportsWindowsCodes) {
    platform::posix::PosixFiles files;
    const std::string name = dir + "/ﾌｧｲﾙ表.ini";
    const std::string utf8Name = "\xEF\xBE\x8C\xEF\xBD\xA7\xEF\xBD\xB2\xEF\xBE\x99\xE8\xA1\xA8.ini";
    files.write(name, "[s]\r\nk=v\r\n");
    EXPECT_TRUE(files.exists(name));
    EXPECT_EQ(files.read(name), "[s]\r\nk=v\r\n");
    EXPECT_EQ(slurp(path(utf8Name)), "[s]\r\nk=v\r\n");

    fs::create_symlink(utf8Name, path("link"));
    EXPECT_TRUE(files.exists(path("link")));
    EXPECT_FALSE(files.exists(dir));
    EXPECT_FALSE(files.exists(path("missing")));
    EXPECT_FALSE(files.exists(""));

    EXPECT_EQ(errorCode([&] { files.read(""); }), 3);
    EXPECT_EQ(errorCode([&] { files.write("", "x"); }), 3);
    EXPECT_EQ(errorCode([&] { files.read(path("missing")); }), 2);
    EXPECT_EQ(errorCode([&] { files.read(path("no-folder/x.ini")); }), 3);
    EXPECT_EQ(errorCode([&] { files.write(path("no-folder/x.ini"), "x"); }), 3);
    EXPECT_EQ(errorCode([&] { files.read(dir); }), 5);
    EXPECT_EQ(errorCode([&] { files.write(dir, "x"); }), 5);
    // A lead byte without its trail cannot name a file.
    EXPECT_EQ(errorCode([&] { files.write(path("bad\x81"), "x"); }), 3);
    EXPECT_EQ(names(), (std::set<std::string>{utf8Name, "link"}));
}

TEST_F(PosixFilesTest, SafeWriteKeepsPermissionsAndWritesThroughLinks) {
    put(path("target"), "old");
    chmod(path("target").c_str(), 0640);
    fs::create_directory(path("sub"));
    fs::create_symlink("../target", path("sub/hop"));
    fs::create_symlink("sub/hop", path("link"));

    safeWrite(path("link"), std::string("new\0bytes", 9));
    EXPECT_EQ(slurp(path("target")), std::string("new\0bytes", 9));
    EXPECT_EQ(fs::status(path("target")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_TRUE(fs::is_symlink(path("link")));
    EXPECT_TRUE(fs::is_symlink(path("sub/hop")));

    // Link contents are read whole, however long.
    std::string far;
    while (far.size() < 4000) far += "./";
    fs::create_symlink(far + "target", path("far"));
    safeWrite(path("far"), "far");
    EXPECT_EQ(slurp(path("target")), "far");
    fs::remove(path("far"));

    fs::create_symlink("created", path("dangling"));
    safeWrite(path("dangling"), "made");
    EXPECT_EQ(slurp(path("created")), "made");
    EXPECT_EQ(names(), (std::set<std::string>{"target", "sub", "link", "dangling", "created"}));
}

TEST_F(PosixFilesTest, FailedSafeWriteLeavesTheOldFileAndNoTempFile) {
    const std::string old = "old\r\ncontents\xFF\r\n";
    put(path("a.ini"), old);
    {
        FileSizeLimit limit(4096);
        EXPECT_EQ(errorCode([&] { safeWrite(path("a.ini"), std::string(100000, 'n')); }), 101);
    }
    EXPECT_EQ(slurp(path("a.ini")), old);
    EXPECT_EQ(names(), (std::set<std::string>{"a.ini"}));
}

// A folder that refuses a new file refuses the write: the file is never
// rewritten in place, since a crash halfway would lose it.
TEST_F(PosixFilesTest, ReadOnlyFolderRefusesTheWriteAndKeepsTheFile) {
    const std::string old = "old contents";
    put(path("writable"), old);
    put(path("locked"), old);
    auto body = [&] {
        chmod(path("locked").c_str(), 0444);
        chmod(dir.c_str(), 0555);
        EXPECT_EQ(errorCode([&] { safeWrite(path("locked"), "new"); }), 5);
        EXPECT_EQ(slurp(path("locked")), old);
        EXPECT_EQ(errorCode([&] { safeWrite(path("fresh"), "new"); }), 5);
        EXPECT_EQ(errorCode([&] { safeWrite(path("writable"), "new"); }), 5);
        EXPECT_EQ(slurp(path("writable")), old);
        EXPECT_EQ(names(), (std::set<std::string>{"writable", "locked"}));
    };
    if (geteuid() != 0) {
        body();
        return;
    }
    // Permission checks do not apply to root: run the case as an ordinary user.
    for (const std::string& p : {dir, path("writable"), path("locked")})
        ASSERT_EQ(chown(p.c_str(), kNobody, kNobody), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(3);
        body();
        _exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}

// As Windows refuses a read-only file, even to an administrator; a rename
// would need only the folder to be writable.
TEST_F(PosixFilesTest, FileWithoutOwnerWriteBitIsRefusedEvenForRoot) {
    const std::string old = "[FormMain]\r\nStateSet=/C\r\n";
    for (const char* name : {"ro", "others-may"}) put(path(name), old);
    chmod(path("ro").c_str(), 0444);
    chmod(path("others-may").c_str(), 0466);
    fs::create_symlink("ro", path("link"));
    platform::posix::PosixFiles files;
    for (const char* name : {"ro", "others-may", "link"}) {
        EXPECT_EQ(errorCode([&] { files.write(path(name), "new"); }), 5) << name;
    }
    EXPECT_EQ(slurp(path("ro")), old);
    EXPECT_EQ(slurp(path("others-may")), old);
    EXPECT_EQ(names(), (std::set<std::string>{"ro", "others-may", "link"}));
}

// Each fault keeps a text of its own: EIO is no "access denied", a full
// disk includes a file too large, and an errno without a code of its own
// shows as an I/O error numbered apart from every defined code.
TEST_F(PosixFilesTest, ErrorsReportTheirOwnCodes) {
    platform::posix::PosixFiles files;
    // Address 0 is never mapped: reading this process's memory there is EIO.
    int readFault = errorCode([&] { files.read("/proc/self/mem"); });
    EXPECT_EQ(readFault, 30);
    EXPECT_EQ(platform::ioErrorText(readFault), "I/O ｴﾗｰ (30)");

    put(path("a.ini"), "old");
    {
        FileSizeLimit limit(4096);
        EXPECT_EQ(errorCode([&] { files.write(path("a.ini"), std::string(100000, 'n')); }), 101);
    }
    EXPECT_EQ(slurp(path("a.ini")), "old");

    fs::create_symlink("loop2", path("loop1"));
    fs::create_symlink("loop1", path("loop2"));
    int loop = errorCode([&] { files.read(path("loop1")); });
    EXPECT_EQ(loop, 1000 + ELOOP);
    for (int defined : kDefinedCodes) EXPECT_NE(platform::ioErrorText(loop), platform::ioErrorText(defined));
}

// A write killed halfway leaves its new file; that file already has the old
// file's mode, owner and group, and the next write of the file removes it.
TEST_F(PosixFilesTest, NewFileTakesTheOldModeBeforeAnyDataAndIsClearedLater) {
    put(path("a.ini"), "old");
    chmod(path("a.ini").c_str(), 0640);
    const bool root = geteuid() == 0;
    if (root) {
        ASSERT_EQ(chown(path("a.ini").c_str(), kNobody, kNobody), 0);
    }
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The file-size limit kills the writer once 4096 bytes are in.
        umask(022);
        std::signal(SIGXFSZ, SIG_DFL);
        rlimit limit{4096, RLIM_INFINITY};
        setrlimit(RLIMIT_FSIZE, &limit);
        try {
            safeWrite(path("a.ini"), std::string(100000, 'n'));
        } catch (...) {}
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << "status " << status;

    EXPECT_EQ(slurp(path("a.ini")), "old");
    std::set<std::string> left = names();
    ASSERT_EQ(left.size(), 2u);
    left.erase("a.ini");
    const std::string temp = path(*left.begin());
    struct stat st {};
    ASSERT_EQ(stat(temp.c_str(), &st), 0);
    EXPECT_EQ(st.st_size, 4096);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(st.st_uid, kNobody);
        EXPECT_EQ(st.st_gid, kNobody);
    }

    safeWrite(path("a.ini"), "next");
    EXPECT_EQ(names(), (std::set<std::string>{"a.ini"}));
    ASSERT_EQ(stat(path("a.ini").c_str(), &st), 0);
    EXPECT_EQ(slurp(path("a.ini")), "next");
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(st.st_uid, kNobody);
        EXPECT_EQ(st.st_gid, kNobody);
    }
}

// Two launchers may write one file: only new files of writers that are gone
// are removed, and only those named as ours for this very file.
TEST_F(PosixFilesTest, LeftoversOfLiveWritersAndOtherFilesAreKept) {
    pid_t gone = fork();
    ASSERT_GE(gone, 0);
    if (gone == 0) _exit(0);
    ASSERT_EQ(waitpid(gone, nullptr, 0), gone);
    const std::string dead = std::to_string(gone), alive = std::to_string(getppid()), self = std::to_string(getpid());
    put(path("a.ini"), "old");
    const std::set<std::string> kept = {
        ".a.ini." + alive + "-1-0", ".a.ini." + self + "-2-0",   ".b.ini." + dead + "-3-0",
        ".a.ini." + dead + "-x-0",  ".a.ini." + dead + "-4",     ".a.ini.bak",
        "a.ini." + dead + "-5-0",   ".a.ini." + dead + "-6-0.x", ".a.ini." + dead + "-7-0.l"};
    for (const std::string& name : kept) put(path(name), "kept");
    put(path(".a.ini." + dead + "-8-1"), "left over");
    fs::create_symlink("a.ini", path(".a.ini." + dead + "-9-2"));
    fs::create_directory(path(".a.ini." + dead + "-10-3"));

    safeWrite(path("a.ini"), "new");
    std::set<std::string> expected = kept;
    expected.insert({"a.ini", ".a.ini." + dead + "-9-2", ".a.ini." + dead + "-10-3"});
    EXPECT_EQ(names(), expected);
    EXPECT_EQ(slurp(path("a.ini")), "new");
}

// A file-size limit ends the write with an error, never the program.
TEST_F(PosixFilesTest, FileSizeLimitFailsTheWriteInsteadOfKillingTheProgram) {
    put(path("a.ini"), "old");
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_DFL);
        platform::posix::PosixFiles files;
        rlimit limit{4096, RLIM_INFINITY};
        setrlimit(RLIMIT_FSIZE, &limit);
        try {
            files.write(path("a.ini"), std::string(100000, 'n'));
        } catch (const IOError& e) {
            _exit(e.code() == 101 ? 0 : 1);
        }
        _exit(2);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    EXPECT_EQ(slurp(path("a.ini")), "old");
    EXPECT_EQ(names(), (std::set<std::string>{"a.ini"}));
}

namespace {
// Bytes this process has read through read(2) and its kin so far.
long long bytesReadSoFar() {
    std::ifstream io("/proc/self/io");
    std::string key;
    long long value = 0;
    while (io >> key >> value) {
        if (key == "rchar:") return value;
    }
    return -1;
}
}  // namespace

TEST_F(PosixFilesTest, BoundedReadsStopAtTheirLimitAndTellKindsApart) {
    platform::posix::PosixFiles files;
    // A sparse file of 4 GiB costs nothing on disk; reading it whole would.
    const std::string big = path("big.PRG");
    { std::ofstream(big, std::ios::binary); }
    fs::resize_file(big, 4ull << 30);
    const long long before = bytesReadSoFar();
    platform::FileBytes got = files.readAtMost(big, 1000);
    const long long read = bytesReadSoFar() - before;
    EXPECT_EQ(got.bytes.size(), 1000u);
    EXPECT_FALSE(got.whole);
    ASSERT_GE(before, 0) << "no /proc/self/io";
    EXPECT_LE(read, 1001 + 4096);  // /proc/self/io itself is read too

    put(path("small"), "abc");
    got = files.readAtMost(path("small"), 3);
    EXPECT_EQ(got.bytes, "abc");
    EXPECT_TRUE(got.whole);

    using platform::FileKind;
    ASSERT_EQ(mkfifo(path("fifo").c_str(), 0600), 0);
    fs::create_directory(path("folder"));
    fs::create_symlink("loop2", path("loop1"));
    fs::create_symlink("loop1", path("loop2"));
    fs::create_symlink("nowhere", path("dangling"));
    EXPECT_EQ(files.kind(path("small")), FileKind::File);
    EXPECT_EQ(files.kind(path("none")), FileKind::Missing);
    EXPECT_EQ(files.kind(path("dangling")), FileKind::Missing);
    EXPECT_EQ(files.kind(path("fifo")), FileKind::Other);
    EXPECT_EQ(files.kind(path("folder")), FileKind::Other);
    EXPECT_EQ(files.kind(path("loop1")), FileKind::Other);
    // Reading a FIFO never waits for a writer.
    EXPECT_EQ(errorCode([&] { files.readAtMost(path("fifo"), 10); }), 5);
}
