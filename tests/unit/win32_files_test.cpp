#include "platform/win32/Win32Files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <set>
#include <string>

#include "platform/text.h"
#include "platform/win32/win32.h"
#include "win32_folder.h"

#include <tlhelp32.h>

using platform::win32::frameworkErrorCode;
using platform::win32::Win32Files;
using win32test::attributesOf;
using win32test::errorCode;
using win32test::makeFolder;
using win32test::put;
using win32test::setAttributes;
using win32test::slurp;
using win32test::wide;
using Names = std::set<std::string>;

namespace {

bool isDefinedCode(int code) {
    for (int defined : {2, 3, 4, 5, 100, 101, 106})
        if (code == defined) return true;
    return false;
}

// Another process that is running now: one that a leftover new file may name.
DWORD someOtherProcess() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    DWORD found = 0;
    for (BOOL more = Process32First(snapshot, &entry); more && !found; more = Process32Next(snapshot, &entry)) {
        if (entry.th32ProcessID != 0 && entry.th32ProcessID != GetCurrentProcessId()) found = entry.th32ProcessID;
    }
    CloseHandle(snapshot);
    return found;
}

// Runs a Unix command line from under Wine, which starts Unix programs too,
// and waits until `done` holds: Wine's handle of a Unix process does not
// wait for it.
bool runUnix(const std::string& utf8, const std::function<bool()>& done) {
    std::wstring command(utf8.size() + 1, L'\0');
    command.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                                                command.data(), static_cast<int>(command.size()))));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    for (int i = 0; i < 500 && !done(); ++i) Sleep(10);
    return done();
}

// A symbolic link to a file beside it: under Wine a Unix link (Wine shows it
// as the file it leads to, and deleting it deletes that file, so it is
// removed as a Unix link too), else a Windows one.
class SymbolicLink {
public:
    SymbolicLink(const std::string& link, const std::string& target) : link_(link) {
        if (!win32test::underWine()) {
            made_ = CreateSymbolicLinkW(wide(link).c_str(), wide(target).c_str(),
                                        SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
            return;
        }
        using UnixName = char*(CDECL*)(LPCWSTR);
        auto unixName = reinterpret_cast<UnixName>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
        char* name = unixName ? unixName(wide(link).c_str()) : nullptr;
        if (!name) return;
        unixLink_ = name;
        HeapFree(GetProcessHeap(), 0, name);
        made_ = runUnix("Z:\\bin\\ln -s " + target + " " + unixLink_, [this] { return visible(); });
    }
    ~SymbolicLink() {
        if (!unixLink_.empty()) {
            runUnix("Z:\\bin\\rm -f " + unixLink_, [this] { return !visible(); });
        } else if (made_) {
            DeleteFileW(wide(link_).c_str());
        }
    }
    SymbolicLink(const SymbolicLink&) = delete;
    SymbolicLink& operator=(const SymbolicLink&) = delete;
    bool made() const { return made_; }

private:
    // While its target exists.
    bool visible() const { return attributesOf(link_) != INVALID_FILE_ATTRIBUTES; }

    std::string link_;
    std::string unixLink_;
    bool made_ = false;
};

// Another launcher, in a thread of its own: takes the lock on `path` at
// once, then holds it until told to let go or to end without letting go.
class LockHolder {
public:
    explicit LockHolder(std::string path) : path_(std::move(path)) {
        thread_ = CreateThread(nullptr, 0, &LockHolder::run, this, 0, nullptr);
        WaitForSingleObject(held_, 10000);
    }
    ~LockHolder() {
        finish(true);
        CloseHandle(held_);
        CloseHandle(go_);
    }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;
    bool holding() const { return lock_ != nullptr; }
    void finish(bool release) {
        if (!thread_) return;
        release_ = release;
        SetEvent(go_);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        thread_ = nullptr;
    }

private:
    static DWORD WINAPI run(void* self) {
        auto* holder = static_cast<LockHolder*>(self);
        holder->lock_ = Win32Files().lockForWriting(holder->path_, 0);
        SetEvent(holder->held_);
        WaitForSingleObject(holder->go_, INFINITE);
        if (holder->release_) holder->lock_.reset();
        return 0;
    }

    std::string path_;
    HANDLE held_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE go_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread_ = nullptr;
    bool release_ = true;
    std::unique_ptr<platform::FileLock> lock_;
};

}  // namespace

TEST(Win32ErrorCode, MapsWindowsCodesToTheFrameworkCodes) {
    const std::pair<unsigned long, int> cases[] = {
        {ERROR_FILE_NOT_FOUND, 2}, {ERROR_PATH_NOT_FOUND, 3},       {ERROR_INVALID_NAME, 3},
        {ERROR_BAD_PATHNAME, 3},   {ERROR_FILENAME_EXCED_RANGE, 3}, {ERROR_DIRECTORY, 3},
        {ERROR_INVALID_DRIVE, 3},  {ERROR_TOO_MANY_OPEN_FILES, 4},  {ERROR_ACCESS_DENIED, 5},
        {ERROR_DISK_FULL, 101},    {ERROR_HANDLE_DISK_FULL, 101},   {ERROR_WRITE_FAULT, 29},
        {ERROR_READ_FAULT, 30},    {ERROR_SHARING_VIOLATION, 32},   {ERROR_GEN_FAILURE, 31}};
    for (const auto& [windows, code] : cases) EXPECT_EQ(frameworkErrorCode(windows), code) << windows;
    // Windows codes that share a number with the framework's own texts get
    // a number of their own, so "disk full" never stands for a semaphore error.
    std::set<int> moved;
    for (unsigned long windows : {100UL, 101UL, 106UL}) {
        int code = frameworkErrorCode(windows);
        EXPECT_FALSE(isDefinedCode(code)) << windows;
        EXPECT_EQ(platform::ioErrorText(code), "I/O ｴﾗｰ (" + std::to_string(code) + ")");
        moved.insert(code);
    }
    EXPECT_EQ(moved.size(), 3u);
}

TEST(Win32Files, CarriesCp932NamesAndReportsWindowsCodes) {
    win32test::TempFolder dir;
    Win32Files files;
    const std::string name = "ﾌｧｲﾙ表.ini";  // 表 ends in 0x5C
    files.write(dir / name, "[s]\r\nk=v\r\n");
    EXPECT_TRUE(files.exists(dir / name));
    EXPECT_EQ(files.read(dir / name), "[s]\r\nk=v\r\n");
    EXPECT_EQ(slurp(dir / name), "[s]\r\nk=v\r\n");
    EXPECT_EQ(dir.names(), Names{name});

    makeFolder(dir / "sub");
    EXPECT_FALSE(files.exists(dir / "sub"));
    EXPECT_FALSE(files.exists(dir / "missing"));
    EXPECT_FALSE(files.exists(""));

    EXPECT_EQ(errorCode([&] { files.read(""); }), 3);
    EXPECT_EQ(errorCode([&] { files.write("", "x"); }), 3);
    EXPECT_EQ(errorCode([&] { files.read(dir / "missing"); }), 2);
    EXPECT_EQ(errorCode([&] { files.read(dir / "no-folder\\x.ini"); }), 3);
    EXPECT_EQ(errorCode([&] { files.write(dir / "no-folder\\x.ini", "x"); }), 3);
    EXPECT_EQ(errorCode([&] { files.read(dir / (name + "\\x.ini")); }), 3);  // a file taken for a folder
    EXPECT_EQ(errorCode([&] { files.write(dir / "a?b.ini", "x"); }), 3);     // a name Windows refuses
    EXPECT_EQ(errorCode([&] { files.write(dir / std::string(300, 'n'), "x"); }), 3);
    // A folder in the file's place is refused, reading or writing.
    EXPECT_EQ(errorCode([&] { files.read(dir / "sub"); }), 5);
    EXPECT_EQ(errorCode([&] { files.write(dir / "sub", "x"); }), 5);
    EXPECT_EQ(dir.names(), (Names{name, "sub"}));
}

TEST(Win32Files, KindsAndBoundedReads) {
    win32test::TempFolder dir;
    Win32Files files;
    put(dir / "a.prg", std::string(100, 'x'));
    makeFolder(dir / "sub");
    EXPECT_EQ(files.kind(dir / "a.prg"), platform::FileKind::File);
    EXPECT_EQ(files.kind(dir / "sub"), platform::FileKind::Other);
    EXPECT_EQ(files.kind(dir / "missing"), platform::FileKind::Missing);
    EXPECT_EQ(files.kind(dir / "no-folder\\x"), platform::FileKind::Missing);
    EXPECT_EQ(files.kind(dir / "a?b"), platform::FileKind::Missing);
    EXPECT_EQ(files.kind(""), platform::FileKind::Missing);
    EXPECT_EQ(files.kind("NUL"), platform::FileKind::Other);  // a device

    platform::FileBytes part = files.readAtMost(dir / "a.prg", 10);
    EXPECT_EQ(part.bytes, std::string(10, 'x'));
    EXPECT_FALSE(part.whole);
    for (std::size_t limit : {100u, 101u, 4096u}) {
        platform::FileBytes all = files.readAtMost(dir / "a.prg", limit);
        EXPECT_EQ(all.bytes, std::string(100, 'x'));
        EXPECT_TRUE(all.whole) << limit;
    }
    EXPECT_EQ(errorCode([&] { files.readAtMost(dir / "sub", 10); }), 5);
    EXPECT_EQ(errorCode([&] { files.readAtMost("NUL", 10); }), 5);
    EXPECT_EQ(errorCode([&] { files.readAtMost(dir / "missing", 10); }), 2);
}

TEST(Win32Files, SafeWriteReplacesWhollyAndKeepsAttributes) {
    win32test::TempFolder dir;
    Win32Files files;
    put(dir / "a.ini", std::string(5000, 'o'));
    setAttributes(dir / "a.ini", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
    files.write(dir / "a.ini", std::string("new\0bytes", 9));
    EXPECT_EQ(slurp(dir / "a.ini"), std::string("new\0bytes", 9));
    EXPECT_EQ(attributesOf(dir / "a.ini") & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY), FILE_ATTRIBUTE_HIDDEN);
    files.write(dir / "a.ini", "");
    EXPECT_EQ(slurp(dir / "a.ini"), "");
    // A new file goes in by a move; "/" separates as "\\" does.
    files.write(dir.path() + "/fresh.prg", "made");
    EXPECT_EQ(slurp(dir / "fresh.prg"), "made");
    EXPECT_EQ(dir.names(), (Names{"a.ini", "fresh.prg"}));
}

TEST(Win32Files, WritesThroughASymbolicLink) {
    win32test::TempFolder dir;
    Win32Files files;
    put(dir / "target.ini", "old");
    SymbolicLink link(dir / "link.ini", "target.ini");
    if (!link.made()) GTEST_SKIP() << "cannot make a symbolic link here";
    files.write(dir / "link.ini", "new");
    EXPECT_EQ(slurp(dir / "target.ini"), "new");
    // Still a link: writing through it again reaches the target again.
    files.write(dir / "link.ini", "newer");
    EXPECT_EQ(slurp(dir / "target.ini"), "newer");
    EXPECT_EQ(dir.names(), (Names{"link.ini", "target.ini"}));
}

TEST(Win32Files, ReadOnlyFileIsRefusedAndKept) {
    win32test::TempFolder dir;
    Win32Files files;
    put(dir / "locked.ini", "old");
    setAttributes(dir / "locked.ini", FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(errorCode([&] { files.write(dir / "locked.ini", "new"); }), 5);
    EXPECT_EQ(slurp(dir / "locked.ini"), "old");
    EXPECT_TRUE(attributesOf(dir / "locked.ini") & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(files.read(dir / "locked.ini"), "old");  // reading it is fine
    EXPECT_EQ(dir.names(), Names{"locked.ini"});
}

TEST(Win32Files, FailedReplaceKeepsTheOldFile) {
    win32test::TempFolder dir;
    Win32Files files;
    put(dir / "busy.ini", "old contents");
    // Another program holds the file open and lets nobody delete or rename it.
    HANDLE held =
        CreateFileW(wide(dir / "busy.ini").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    int code = errorCode([&] { files.write(dir / "busy.ini", "new contents"); });
    CloseHandle(held);
    EXPECT_NE(code, 0);
    EXPECT_EQ(slurp(dir / "busy.ini"), "old contents");
    Names left = dir.names();
    // Wine's ReplaceFileW moves the old file aside under a GetTempFileName
    // name ("rf" + hex + ".tmp") and leaves that empty file behind when the
    // move fails; Windows leaves nothing. Our own new file must be gone.
    if (win32test::underWine()) {
        std::erase_if(left, [](const std::string& n) { return n.rfind("rf", 0) == 0 && n.ends_with(".tmp"); });
    }
    EXPECT_EQ(left, Names{"busy.ini"});
    files.write(dir / "busy.ini", "new contents");
    EXPECT_EQ(slurp(dir / "busy.ini"), "new contents");
}

TEST(Win32Files, LeftoversOfGoneWritersAreRemoved) {
    win32test::TempFolder dir;
    Win32Files files;
    const DWORD living = someOtherProcess();
    ASSERT_NE(living, 0u);
    DWORD gone = 4000000;  // process ids are multiples of 4 far below this
    while (HANDLE p = OpenProcess(SYNCHRONIZE, FALSE, gone)) {
        CloseHandle(p);
        gone += 4;
    }
    const std::string dead = std::to_string(gone), alive = std::to_string(living);
    const std::string self = std::to_string(GetCurrentProcessId());
    // Only names of the form ".a.ini.PID-N-N" whose process has gone go.
    const Names kept = {".a.ini." + alive + "-1-0", ".a.ini." + self + "-2-0",  ".b.ini." + dead + "-3-0",
                        ".a.ini." + dead + "-x-0",  ".a.ini." + dead + "-4",    ".a.ini.notes",
                        "a.ini." + dead + "-5-0",   ".a.ini." + dead + "-6-0.x"};
    for (const std::string& n : kept) put(dir / n, "kept");
    put(dir / (".a.ini." + dead + "-8-1"), "left over");
    makeFolder(dir / (".a.ini." + dead + "-9-2"));
    files.write(dir / "a.ini", "new");
    Names expected = kept;
    expected.insert({"a.ini", ".a.ini." + dead + "-9-2"});
    EXPECT_EQ(dir.names(), expected);
    EXPECT_EQ(slurp(dir / "a.ini"), "new");
}

TEST(Win32Files, PreparedWriteLeavesTheOldFileUntilCommitted) {
    win32test::TempFolder dir;
    Win32Files files;
    put(dir / "a.ini", "old");
    auto pending = files.prepareWrite(dir / "a.ini", "new");
    // Other launchers still read the old file in the meantime.
    EXPECT_EQ(files.read(dir / "a.ini"), "old");
    EXPECT_EQ(dir.names().size(), 2u);
    EXPECT_EQ(pending->commit(), platform::WriteResult::Durable);
    EXPECT_EQ(slurp(dir / "a.ini"), "new");
    EXPECT_EQ(dir.names(), Names{"a.ini"});
    // Dropped uncommitted, a write leaves nothing behind, old file or new.
    files.prepareWrite(dir / "a.ini", "dropped").reset();
    files.prepareWrite(dir / "fresh.ini", "dropped").reset();
    EXPECT_EQ(slurp(dir / "a.ini"), "new");
    EXPECT_EQ(dir.names(), Names{"a.ini"});
}

TEST(Win32Files, CommitKeepsDataWhenTheFileChangedMeanwhile) {
    win32test::TempFolder dir;
    Win32Files files;
    put(dir / "gone.ini", "old");
    put(dir / "locked.ini", "old");
    auto toGone = files.prepareWrite(dir / "gone.ini", "new");
    auto toLocked = files.prepareWrite(dir / "locked.ini", "new");
    DeleteFileW(wide(dir / "gone.ini").c_str());
    setAttributes(dir / "locked.ini", FILE_ATTRIBUTE_READONLY);
    // Deleted: the new file is the only copy left, so it takes the name.
    EXPECT_EQ(toGone->commit(), platform::WriteResult::Durable);
    EXPECT_EQ(slurp(dir / "gone.ini"), "new");
    // Made read-only: refused and kept, as before the new file was made.
    EXPECT_EQ(errorCode([&] { toLocked->commit(); }), 5);
    EXPECT_EQ(slurp(dir / "locked.ini"), "old");
    EXPECT_EQ(dir.names(), (Names{"gone.ini", "locked.ini"}));
}

TEST(Win32FileLock, OneLauncherAtATimeHoweverTheFileIsNamed) {
    win32test::TempFolder dir;
    Win32Files files;
    put(dir / "a.ini", "old");
    put(dir / "b.ini", "");
    makeFolder(dir / "sub");
    LockHolder other(dir / "a.ini");
    ASSERT_TRUE(other.holding());
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(files.lockForWriting(dir / "a.ini", 200), nullptr);
    EXPECT_GE(GetTickCount64() - start, 150u);  // it did wait
    for (const std::string& same :
         {dir / "A.INI", platform::upperAscii(dir.path()) + "\\a.ini", dir.path() + "/a.ini", dir / "sub\\..\\a.ini"}) {
        EXPECT_EQ(files.lockForWriting(same, 100), nullptr) << same;
    }
    EXPECT_EQ(files.read(dir / "a.ini"), "old");  // readers go on reading
    EXPECT_NE(files.lockForWriting(dir / "b.ini", 100), nullptr);
    other.finish(true);
    EXPECT_NE(files.lockForWriting(dir / "a.ini", 200), nullptr);
}

TEST(Win32FileLock, HolderThatEndsWithoutReleasingGivesItUp) {
    win32test::TempFolder dir;
    Win32Files files;
    LockHolder other(dir / "new.ini");  // a file not made yet
    ASSERT_TRUE(other.holding());
    EXPECT_EQ(files.lockForWriting(dir / "NEW.ini", 100), nullptr);
    other.finish(false);
    EXPECT_NE(files.lockForWriting(dir / "new.ini", 200), nullptr);
}

// Run by win32_size_limit.sh, which starts the tests under a file size limit
// (Wine turns the failing write into ERROR_GEN_FAILURE).
TEST(Win32FilesUnderSizeLimit, FailedWriteKeepsTheOldFileAndNoNewFile) {
    const char* limit = std::getenv("TARVO_FILE_SIZE_LIMIT");
    if (!limit) GTEST_SKIP() << "needs the file size limit that win32_size_limit.sh sets";
    win32test::TempFolder dir;
    Win32Files files;
    const std::string old = "old\r\ncontents\xFF\r\n";
    put(dir / "a.ini", old);
    const std::string big(4 * std::strtoul(limit, nullptr, 10), 'n');
    int code = errorCode([&] { files.write(dir / "a.ini", big); });
    EXPECT_NE(code, 0);
    EXPECT_EQ(slurp(dir / "a.ini"), old);
    EXPECT_EQ(errorCode([&] { files.write(dir / "new.ini", big); }), code);
    EXPECT_EQ(dir.names(), Names{"a.ini"});
}

// The program's CP932 names reach the system as the characters they stand
// for, whatever the system's code page: a file it writes is named in
// Unicode, and a name CP932 does not map names no file at all rather than
// whatever the code page would make of its bytes.
TEST(Win32Files, NamesAreTheSameCharactersOnEveryCodePage) {
    win32test::TempFolder dir;
    Win32Files files;
    files.write(dir / "日本語メニュー.PRG", "x");
    EXPECT_NE(GetFileAttributesW((wide(dir.path()) + L"\\日本語メニュー.PRG").c_str()), INVALID_FILE_ATTRIBUTES);
    // Made by another program under its Unicode name, found by its CP932 one.
    HANDLE other = CreateFileW((wide(dir.path()) + L"\\表ソ十.INI").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(other, "[s]", 3, &written, nullptr);
    CloseHandle(other);
    EXPECT_TRUE(files.exists(dir / "表ソ十.INI"));
    EXPECT_EQ(files.read(dir / "表ソ十.INI"), "[s]");
    EXPECT_EQ(files.kind(dir / "表ソ十.INI"), platform::FileKind::File);
    EXPECT_NE(files.lockForWriting(dir / "表ソ十.ini", 100), nullptr);

    // "é" as a byte is the start of a CP932 character, never "é".
    other = CreateFileW((wide(dir.path()) + L"\\caf\u00E9.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    CloseHandle(other);
    const std::string notCp932 = dir / "caf\xE9.ini";
    EXPECT_FALSE(files.exists(notCp932));
    EXPECT_EQ(files.kind(notCp932), platform::FileKind::Missing);
    EXPECT_EQ(errorCode([&] { files.read(notCp932); }), 3);
    EXPECT_EQ(errorCode([&] { files.readAtMost(notCp932, 10); }), 3);
    EXPECT_EQ(errorCode([&] { files.write(notCp932, "new"); }), 3);
    EXPECT_EQ(errorCode([&] { files.lockForWriting(notCp932, 0); }), 3);
    EXPECT_EQ(dir.names(), (Names{"日本語メニュー.PRG", "表ソ十.INI", "<lost>"}));
}

// The W calls' own limits, not the ANSI calls' MAX_PATH: a new file's name
// is cut so that it fits wherever the file's own name fits.
TEST(Win32Files, LongNamesAndPaths) {
    win32test::TempFolder dir;
    Win32Files files;
    // 80 characters: 160 bytes in CP932, 240 in UTF-8, of Wine's 255.
    std::string name;
    for (int i = 0; i < 79; ++i) name += "表";
    name += "x";
    files.write(dir / name, "old");
    files.write(dir / name, "new");
    EXPECT_EQ(files.read(dir / name), "new");
    EXPECT_EQ(dir.names(), Names{name});

    // Windows stops programs that are not long-path aware at MAX_PATH.
    if (!win32test::underWine()) return;
    std::string deep = dir.path();
    while (deep.size() < 2 * MAX_PATH) {
        deep += "\\フォルダ" + std::to_string(deep.size());
        ASSERT_TRUE(makeFolder(deep));
    }
    const std::string file = deep + "\\SET.PRG";
    files.write(file, "old");
    files.write(file, "new");
    EXPECT_EQ(files.read(file), "new");
    EXPECT_TRUE(files.exists(file));
    LockHolder other(file);
    ASSERT_TRUE(other.holding());
    EXPECT_EQ(files.lockForWriting(deep + "\\..\\" + platform::fileNamePart(deep) + "\\set.prg", 100), nullptr);
}
