// The settings record and the rules of its INI file.
#pragma once

#include <string>
#include <string_view>

namespace app {

struct SettingsRecord {
    int Left = -1;
    int Top = -1;
    int Width = -1;
    int Height = -1;
    bool PosSet = false;
    std::string StateSet;
    std::string WindowsDir = "C:\\WINDOWS\\";
    std::string TarvoDir;  // defaults to the program's directory
    int Japanese = 1;
    int English = 0;
};

// The program file's path with its extension replaced by ".INI" (appended
// when the file name has none).
std::string settingsFilePath(std::string_view programPath);

// Reads the settings file once; what it lacks, or all of it when it cannot
// be read, takes the defaults (TarvoDir: the program's directory).
SettingsRecord readSettings(const std::string& file, const std::string& programDirectory);

// Writes every key in one safe write; a failure raises the framework's
// "%s に書き込めません" and leaves the file as it was.
void writeSettings(const std::string& file, const SettingsRecord& settings);

// An INI number: "0x"/"0X" and more than two characters is hexadecimal,
// anything else decimal; empty or unreadable text gives the fallback.
int parseSettingsInteger(std::string_view text, int fallback);

}  // namespace app
