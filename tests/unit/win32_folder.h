// A fresh folder for a Windows test, removed with its contents afterwards;
// names are CP932, as the program has them, and reach the system through
// the program's own table and the W calls, so that the tests hold on every
// code page.
#pragma once

#include <functional>
#include <set>
#include <string>

#include "platform/cp932.h"
#include "platform/errors.h"
#include "platform/win32/win32.h"

namespace win32test {

// A CP932 name as the W calls take it (the test's own names always convert).
inline std::wstring wide(const std::string& cp932) { return platform::toWide(cp932).value(); }

class TempFolder {
public:
    TempFolder() {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        static unsigned counter = 0;
        for (;;) {
            path_ = platform::fromWide(temp).value() + "tarvo-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                    std::to_string(counter++);
            if (CreateDirectoryW(wide(path_).c_str(), nullptr)) break;
        }
    }
    ~TempFolder() { removeTree(wide(path_)); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

    // The names in the folder in CP932; one CP932 cannot hold as "<lost>".
    std::set<std::string> names() const {
        std::set<std::string> out;
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((wide(path_) + L"\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return out;
        do {
            std::wstring name = found.cFileName;
            if (name != L"." && name != L"..") out.insert(platform::fromWide(name).value_or("<lost>"));
        } while (FindNextFileW(search, &found));
        FindClose(search);
        return out;
    }

private:
    static void removeTree(const std::wstring& folder) {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                std::wstring name = found.cFileName;
                if (name == L"." || name == L"..") continue;
                std::wstring full = folder + L"\\" + name;
                SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    removeTree(full);
                } else {
                    DeleteFileW(full.c_str());
                }
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
        RemoveDirectoryW(folder.c_str());
    }

    std::string path_;
};

inline std::string slurp(const std::string& path) {
    std::string out;
    HANDLE file = CreateFileW(wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(file, buffer, sizeof buffer, &n, nullptr) && n > 0) out.append(buffer, n);
    CloseHandle(file);
    return out;
}

inline void put(const std::string& path, const std::string& bytes) {
    HANDLE file =
        CreateFileW(wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD n = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    CloseHandle(file);
}

inline bool makeFolder(const std::string& path) { return CreateDirectoryW(wide(path).c_str(), nullptr) != 0; }

inline DWORD attributesOf(const std::string& path) { return GetFileAttributesW(wide(path).c_str()); }

inline bool setAttributes(const std::string& path, DWORD attributes) {
    return SetFileAttributesW(wide(path).c_str(), attributes) != 0;
}

// The code of the IOError an action throws; 0 when it throws none.
inline int errorCode(const std::function<void()>& action) {
    try {
        action();
    } catch (const platform::IOError& e) {
        return e.code();
    }
    return 0;
}

// Wine answers wine_get_version from its ntdll; Windows has no such export.
inline bool underWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

}  // namespace win32test
