#include "app/SettingsFile.h"

#include "platform/errors.h"
#include "platform/host.h"
#include "platform/profile.h"
#include "platform/text.h"

namespace app {

std::string settingsFilePath(std::string_view programPath) {
    std::size_t nameStart = 0;
    std::size_t sep = platform::findLastOfChars(programPath, platform::folderSeparators());
    if (sep != std::string_view::npos) nameStart = sep + 1;
    std::size_t dot = platform::findLastOfChars(programPath.substr(nameStart), ".");
    std::string_view stem = dot == std::string_view::npos ? programPath : programPath.substr(0, nameStart + dot);
    return std::string(stem) + ".INI";
}

int parseSettingsInteger(std::string_view text, int fallback) {
    std::optional<int> value;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        value = platform::parseHex(text.substr(2));
    } else {
        value = platform::parseDecimal(text);
    }
    return value.value_or(fallback);
}

namespace {
constexpr const char* kFormMain = "FormMain";
constexpr const char* kLanguage = "Language";
}  // namespace

SettingsRecord readSettings(const std::string& file, const std::string& programDirectory, bool& unreadable) {
    const platform::IniFile ini(platform::files(), file);
    unreadable = !ini.readable();
    auto integer = [&](const char* section, const char* key, int fallback) {
        return parseSettingsInteger(ini.get(section, key, ""), fallback);
    };
    const SettingsRecord defaults;
    SettingsRecord s;
    s.Left = integer(kFormMain, "Left", defaults.Left);
    s.Top = integer(kFormMain, "Top", defaults.Top);
    s.Width = integer(kFormMain, "Width", defaults.Width);
    s.Height = integer(kFormMain, "Height", defaults.Height);
    s.PosSet = integer(kFormMain, "PosSet", defaults.PosSet ? 1 : 0) != 0;
    s.StateSet = ini.get(kFormMain, "StateSet", defaults.StateSet);
    s.WindowsDir = ini.get(kFormMain, "WindowsDir", defaults.WindowsDir);
    s.TarvoDir = ini.get(kFormMain, "TarvoDir", programDirectory);
    s.Japanese = integer(kLanguage, "Japanese", defaults.Japanese);
    s.English = integer(kLanguage, "English", defaults.English);
    return s;
}

platform::FrameworkError settingsNotWritten(const std::string& file) {
    return platform::FrameworkError(file + " に書き込めません");
}

platform::WriteResult writeSettings(const std::string& file, const SettingsRecord& s) {
    platform::IniFile ini(platform::files(), file);
    ini.set(kFormMain, "Left", std::to_string(s.Left));
    ini.set(kFormMain, "Top", std::to_string(s.Top));
    ini.set(kFormMain, "Width", std::to_string(s.Width));
    ini.set(kFormMain, "Height", std::to_string(s.Height));
    ini.set(kFormMain, "PosSet", s.PosSet ? "1" : "0");
    ini.set(kFormMain, "StateSet", s.StateSet);
    ini.set(kFormMain, "WindowsDir", s.WindowsDir);
    ini.set(kFormMain, "TarvoDir", s.TarvoDir);
    ini.set(kLanguage, "Japanese", std::to_string(s.Japanese));
    ini.set(kLanguage, "English", std::to_string(s.English));
    std::optional<platform::WriteResult> written = ini.save();
    if (!written) throw settingsNotWritten(file);
    return *written;
}

}  // namespace app
