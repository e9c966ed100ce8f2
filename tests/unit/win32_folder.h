// A fresh folder for a Windows test, removed with its contents afterwards;
// names are CP932, as the ANSI calls take them.
#pragma once

#include <functional>
#include <set>
#include <string>

#include "platform/errors.h"
#include "platform/win32/win32.h"

namespace win32test {

class TempFolder {
public:
    TempFolder() {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        static unsigned counter = 0;
        for (;;) {
            path_ = std::string(temp) + "tarvo-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                    std::to_string(counter++);
            if (CreateDirectoryA(path_.c_str(), nullptr)) break;
        }
    }
    ~TempFolder() { removeTree(path_); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

    std::set<std::string> names() const {
        std::set<std::string> out;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((path_ + "\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return out;
        do {
            std::string name = found.cFileName;
            if (name != "." && name != "..") out.insert(name);
        } while (FindNextFileA(search, &found));
        FindClose(search);
        return out;
    }

private:
    static void removeTree(const std::string& folder) {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                std::string name = found.cFileName;
                if (name == "." || name == "..") continue;
                std::string full = folder + "\\" + name;
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    removeTree(full);
                } else {
                    DeleteFileA(full.c_str());
                }
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        RemoveDirectoryA(folder.c_str());
    }

    std::string path_;
};

inline std::string slurp(const std::string& path) {
    std::string out;
    HANDLE file =
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(file, buffer, sizeof buffer, &n, nullptr) && n > 0) out.append(buffer, n);
    CloseHandle(file);
    return out;
}

inline void put(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD n = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    CloseHandle(file);
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
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

}  // namespace win32test
