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
    const std::pair<int, int> cases[] = {{ENOENT, 2}, {ENOTDIR, 3}, {ENAMETOOLONG, 3}, {EMFILE, 4}, {ENFILE, 4},
                                         {EACCES, 5}, {EPERM, 5},   {EROFS, 5},        {ENOSPC, 101}, {EDQUOT, 101},
                                         {EIO, EIO},  {EFBIG, EFBIG}};
    for (const auto& [err, code] : cases) EXPECT_EQ(platform::posix::windowsErrorCode(err), code) << err;
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
        EXPECT_EQ(errorCode([&] { safeWrite(path("a.ini"), std::string(100000, 'n')); }), EFBIG);
    }
    EXPECT_EQ(slurp(path("a.ini")), old);
    EXPECT_EQ(names(), (std::set<std::string>{"a.ini"}));
}

TEST_F(PosixFilesTest, ReadOnlyFolderWritesInPlaceAndRestoresOnFailure) {
    const std::string old = "old contents";
    put(path("writable"), old);
    put(path("locked"), old);
    auto body = [&] {
        chmod(path("locked").c_str(), 0444);
        chmod(dir.c_str(), 0555);
        EXPECT_EQ(errorCode([&] { safeWrite(path("locked"), "new"); }), 5);
        EXPECT_EQ(slurp(path("locked")), old);
        EXPECT_EQ(errorCode([&] { safeWrite(path("fresh"), "new"); }), 5);
        {
            FileSizeLimit limit(4096);
            EXPECT_EQ(errorCode([&] { safeWrite(path("writable"), std::string(100000, 'n')); }), EFBIG);
        }
        EXPECT_EQ(slurp(path("writable")), old);
        safeWrite(path("writable"), "in place");
        EXPECT_EQ(slurp(path("writable")), "in place");
        EXPECT_EQ(names(), (std::set<std::string>{"writable", "locked"}));
    };
    if (geteuid() != 0) {
        body();
        return;
    }
    // Permission checks do not apply to root: run the case as an ordinary user.
    const uid_t nobody = 65534;
    for (const std::string& p : {dir, path("writable"), path("locked")}) ASSERT_EQ(chown(p.c_str(), nobody, nobody), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (setgid(nobody) != 0 || setuid(nobody) != 0) _exit(3);
        body();
        _exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
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
