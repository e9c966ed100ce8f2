#include "platform/win32/Win32Host.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/cp932.h"
#include "platform/text.h"
#include "platform/win32/win32.h"
#include "win32_folder.h"

#include <shellapi.h>

using platform::win32::parametersOfCommandLine;
using platform::win32::Win32Host;
using Args = std::vector<std::string>;

TEST(Win32CommandLine, SkipsTheProgramNameAsWindowsDoes) {
    EXPECT_EQ(parametersOfCommandLine(L"\"C:\\Program Files\\T\\TARVO.EXE\" SUB.PRG /C"), (Args{"SUB.PRG", "/C"}));
    EXPECT_EQ(parametersOfCommandLine(L"C:\\T\\TARVO.EXE\t \"A B.PRG\" /i 10 20"), (Args{"A B.PRG", "/i", "10", "20"}));
    // The quoted name ends at its closing quote even without a blank after it.
    EXPECT_EQ(parametersOfCommandLine(L"\"C:\\T\\TARVO.EXE\"SUB.PRG"), Args{"SUB.PRG"});
    // An unquoted name runs to the first blank, quotes and all.
    EXPECT_EQ(parametersOfCommandLine(L"C:\\a\"b c\"\\TARVO.EXE x"), (Args{"c\\TARVO.EXE x"}));
    EXPECT_EQ(parametersOfCommandLine(L"\"C:\\never closed"), Args{});
    EXPECT_EQ(parametersOfCommandLine(L"TARVO.EXE"), Args{});
    EXPECT_EQ(parametersOfCommandLine(L"TARVO.EXE   "), Args{});
    EXPECT_EQ(parametersOfCommandLine(L""), Args{});
    // Backslashes stay as they are; "表" ends in 0x5C in CP932.
    EXPECT_EQ(parametersOfCommandLine(L"C:\\表\\TARVO.EXE 表\\ \"C:\\dir\\\" x"), (Args{"表\\", "C:\\dir\\", "x"}));
}

TEST(Win32CommandLine, ParametersAreCp932OrRefused) {
    EXPECT_EQ(parametersOfCommandLine(L"TARVO.EXE 日本語メニュー.PRG /C"), (Args{"日本語メニュー.PRG", "/C"}));
    // Only the parameters count: the program's own name is not taken.
    EXPECT_EQ(parametersOfCommandLine(L"\"C:\\caf\u00E9\\TARVO.EXE\" SUB.PRG"), Args{"SUB.PRG"});
    // "é" and the wave dash, which a best fit would make "e" and "～".
    EXPECT_EQ(parametersOfCommandLine(L"TARVO.EXE caf\u00E9.PRG"), std::nullopt);
    EXPECT_EQ(parametersOfCommandLine(L"TARVO.EXE A.PRG \"x\u301Cy\""), std::nullopt);
    EXPECT_EQ(platform::win32::argumentsOfCommandLine(L"\"C:\\T\\TARVO.EXE\" caf\u00E9.PRG"), L" caf\u00E9.PRG");
}

TEST(Win32Host, ProgramPathAndParametersOfThisProcess) {
    std::optional<std::string> path = platform::fromWide(platform::win32::moduleFileName());
    ASSERT_TRUE(path.has_value());
    EXPECT_EQ(platform::upperAscii(platform::fileNamePart(*path)), "UNIT_TESTS.EXE");
    EXPECT_EQ(path->substr(1, 2), ":\\");
    Win32Host host(*path, {});
    EXPECT_TRUE(host.files().exists(host.programPath()));

    // The same parameters as Windows' own split of this process's command
    // line, which holds no quotes here (ctest names one test).
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    ASSERT_NE(wide, nullptr);
    Args expected;
    for (int i = 1; i < count; ++i) expected.push_back(platform::fromWide(wide[i]).value_or("<lost>"));
    LocalFree(wide);
    EXPECT_EQ(parametersOfCommandLine(GetCommandLineW()), expected);
}

TEST(Win32Host, EnvironmentVariables) {
    Win32Host host("C:\\TARVO.EXE", {});
    SetEnvironmentVariableW(L"TARVO_TEST_VALUE", L"C:\\表\\WINDOWS");
    EXPECT_EQ(host.environmentVariable("TARVO_TEST_VALUE"), "C:\\表\\WINDOWS");
    EXPECT_EQ(host.environmentVariable("tarvo_test_value"), "C:\\表\\WINDOWS");  // names ignore case on Windows
    SetEnvironmentVariableW(L"TARVO_表", L"ｶﾅ");
    EXPECT_EQ(host.environmentVariable("TARVO_表"), "ｶﾅ");
    SetEnvironmentVariableW(L"TARVO_表", nullptr);
    // A value CP932 cannot hold is no value: nothing wrong is taken from it.
    SetEnvironmentVariableW(L"TARVO_TEST_VALUE", L"C:\\caf\u00E9");
    EXPECT_EQ(host.environmentVariable("TARVO_TEST_VALUE"), std::nullopt);
    const std::wstring longValue(3000, L'v');
    SetEnvironmentVariableW(L"TARVO_TEST_VALUE", longValue.c_str());
    EXPECT_EQ(host.environmentVariable("TARVO_TEST_VALUE"), std::string(3000, 'v'));
    SetEnvironmentVariableW(L"TARVO_TEST_VALUE", L"");
    EXPECT_EQ(host.environmentVariable("TARVO_TEST_VALUE"), "");
    SetEnvironmentVariableW(L"TARVO_TEST_VALUE", nullptr);
    EXPECT_EQ(host.environmentVariable("TARVO_TEST_VALUE"), std::nullopt);
}

TEST(Win32Host, ShellExecuteResults) {
    Win32Host host("C:\\TARVO.EXE", {});
    EXPECT_EQ(host.shellExecute({"OPEN", "C:\\no-such-folder\\no-such.exe", "", "", 5}), 2);
    // Names CP932 does not map start nothing at all.
    EXPECT_EQ(host.shellExecute({"OPEN", "cmd\x85\x40.exe", "", "", SW_HIDE}), 2);
    EXPECT_EQ(host.shellExecute({"OPEN", "cmd.exe", "/c exit 0", "C:\\\x85\x40", SW_HIDE}), 3);
    // A program that ends at once, started hidden; empty fields are empty
    // strings. Under Wine its console window brings up Wine's desktop
    // process, which takes this process's standard streams and can outlive
    // it when this process goes on running: ctest runs each case on its own.
    EXPECT_GT(host.shellExecute({"OPEN", "cmd.exe", "/c exit 0", "", SW_HIDE}), 32);

    // A batch file with a Japanese name, run in a folder with a Japanese
    // name, leaves its mark there: both names reached the system as they are.
    win32test::TempFolder dir;
    const std::string folder = dir / "表示";
    ASSERT_TRUE(win32test::makeFolder(folder));
    win32test::put(folder + "\\記録.bat", "@echo ran>mark.txt\r\n");
    EXPECT_GT(host.shellExecute({"OPEN", folder + "\\記録.bat", "", folder, SW_HIDE}), 32);
    bool ran = false;
    for (int i = 0; i < 200 && !ran; ++i) {
        ran = win32test::attributesOf(folder + "\\mark.txt") != INVALID_FILE_ATTRIBUTES;
        if (!ran) Sleep(50);
    }
    EXPECT_TRUE(ran);
}
