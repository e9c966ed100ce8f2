// The settings record and the rules of its INI file.
#pragma once

#include <string>
#include <string_view>

#include "platform/errors.h"
#include "platform/host.h"

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
// `unreadable` tells whether the file exists but could not be read whole:
// such a file is never to be written in that run, which would lose it.
SettingsRecord readSettings(const std::string& file, const std::string& programDirectory, bool& unreadable);

// Writes every key in one safe write; a failure raises the framework's
// "%s に書き込めません" and leaves the file as it was.
platform::WriteResult writeSettings(const std::string& file, const SettingsRecord& settings);

// The framework's error for a settings file that is not written.
platform::FrameworkError settingsNotWritten(const std::string& file);

// An INI number: "0x"/"0X" and more than two characters is hexadecimal,
// anything else decimal; empty or unreadable text gives the fallback.
int parseSettingsInteger(std::string_view text, int fallback);

}  // namespace app
