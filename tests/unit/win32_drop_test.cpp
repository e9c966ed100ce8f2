// Dropped paths as the shell hands them over, in UTF-16.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32ui/FormWindow.h"

#include <shlobj.h>

namespace {

// What the shell puts on the clipboard for a drop: DROPFILES, then each
// wide path ended by a NUL, then one more NUL.
HDROP makeDrop(const std::vector<std::wstring>& paths) {
    std::wstring names;
    for (const std::wstring& p : paths) names += p + L'\0';
    names += L'\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::copy(names.begin(), names.end(), reinterpret_cast<wchar_t*>(header + 1));
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

}  // namespace

TEST(Win32Drop, PathsArriveInCp932OrEmpty) {
    std::wstring longPath = L"C:\\a";
    for (int i = 0; i < 130; ++i) longPath += L"表";
    platform::win32ui::NativeDrop drop(makeDrop({L"C:\\表ソ十\\報告書.txt", L"C:\\caf\u00E9.txt", longPath}));
    ASSERT_EQ(drop.count(), 3);
    EXPECT_EQ(drop.query(0, 256), "C:\\表ソ十\\報告書.txt");
    // What CP932 cannot hold arrives empty, for the program to refuse.
    EXPECT_EQ(drop.query(1, 256), "");
    // Cut to the buffer's 255 bytes on a character boundary.
    std::string cut = "C:\\a";
    for (int i = 0; i < 125; ++i) cut += "表";
    EXPECT_EQ(drop.query(2, 256), cut);
    EXPECT_EQ(drop.query(3, 256), "");
    EXPECT_EQ(drop.query(0, 0), "");
}
