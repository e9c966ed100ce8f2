#include "app/Settings.h"

#include "app/TForm1.h"
#include "platform/errors.h"
#include "platform/services.h"
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

void TForm1::ReadIniFileValue() {
    platform::Profile& ini = platform::backend().profile();
    const std::string file = settingsFile();
    auto text = [&](const char* section, const char* key, const std::string& fallback) {
        return ini.getString(file, section, key, fallback);
    };
    auto integer = [&](const char* section, const char* key, int fallback) {
        return parseSettingsInteger(text(section, key, ""), fallback);
    };
    SettingsRecord defaults;
    settings.Left = integer(kFormMain, "Left", defaults.Left);
    settings.Top = integer(kFormMain, "Top", defaults.Top);
    settings.Width = integer(kFormMain, "Width", defaults.Width);
    settings.Height = integer(kFormMain, "Height", defaults.Height);
    settings.PosSet = integer(kFormMain, "PosSet", defaults.PosSet ? 1 : 0) != 0;
    settings.StateSet = text(kFormMain, "StateSet", defaults.StateSet);
    settings.WindowsDir = text(kFormMain, "WindowsDir", defaults.WindowsDir);
    settings.TarvoDir = text(kFormMain, "TarvoDir", programDirectory());
    settings.Japanese = integer(kLanguage, "Japanese", defaults.Japanese);
    settings.English = integer(kLanguage, "English", defaults.English);
}

void TForm1::WriteIniFileValue() {
    platform::Profile& ini = platform::backend().profile();
    const std::string file = settingsFile();
    auto write = [&](const char* section, const char* key, const std::string& value) {
        if (!ini.writeString(file, section, key, value)) throw platform::FrameworkError(file + " に書き込めません");
    };
    write(kFormMain, "Left", std::to_string(settings.Left));
    write(kFormMain, "Top", std::to_string(settings.Top));
    write(kFormMain, "Width", std::to_string(settings.Width));
    write(kFormMain, "Height", std::to_string(settings.Height));
    write(kFormMain, "PosSet", settings.PosSet ? "1" : "0");
    write(kFormMain, "StateSet", settings.StateSet);
    write(kFormMain, "WindowsDir", settings.WindowsDir);
    write(kFormMain, "TarvoDir", settings.TarvoDir);
    write(kLanguage, "Japanese", std::to_string(settings.Japanese));
    write(kLanguage, "English", std::to_string(settings.English));
}

}  // namespace app
