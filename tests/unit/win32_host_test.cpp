#include "platform/win32/Win32Host.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/encoding.h"
#include "platform/text.h"
#include "platform/win32/win32.h"

#include <shellapi.h>

using platform::win32::parametersOfCommandLine;
using platform::win32::Win32Host;
using Args = std::vector<std::string>;

TEST(Win32CommandLine, SkipsTheProgramNameAsWindowsDoes) {
    EXPECT_EQ(parametersOfCommandLine("\"C:\\Program Files\\T\\TARVO.EXE\" SUB.PRG /C"), (Args{"SUB.PRG", "/C"}));
    EXPECT_EQ(parametersOfCommandLine("C:\\T\\TARVO.EXE\t \"A B.PRG\" /i 10 20"), (Args{"A B.PRG", "/i", "10", "20"}));
    // The quoted name ends at its closing quote even without a blank after it.
    EXPECT_EQ(parametersOfCommandLine("\"C:\\T\\TARVO.EXE\"SUB.PRG"), Args{"SUB.PRG"});
    // An unquoted name runs to the first blank, quotes and all.
    EXPECT_EQ(parametersOfCommandLine("C:\\a\"b c\"\\TARVO.EXE x"), (Args{"c\\TARVO.EXE x"}));
    EXPECT_EQ(parametersOfCommandLine("\"C:\\never closed"), Args{});
    EXPECT_EQ(parametersOfCommandLine("TARVO.EXE"), Args{});
    EXPECT_EQ(parametersOfCommandLine("TARVO.EXE   "), Args{});
    EXPECT_EQ(parametersOfCommandLine(""), Args{});
    // Backslashes stay as they are; "表" ends in 0x5C.
    EXPECT_EQ(parametersOfCommandLine("C:\\表\\TARVO.EXE 表\\ \"C:\\dir\\\" x"), (Args{"表\\", "C:\\dir\\", "x"}));
}

TEST(Win32Host, ProgramPathAndParametersOfThisProcess) {
    Win32Host host;
    const std::string path = host.programPath();
    EXPECT_EQ(platform::upperAscii(platform::fileNamePart(path)), "UNIT_TESTS.EXE");
    EXPECT_EQ(path.substr(1, 2), ":\\");
    EXPECT_TRUE(host.files().exists(path));

    // The same parameters as Windows' own split of this process's command
    // line, which holds no quotes here (ctest names one test).
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    ASSERT_NE(wide, nullptr);
    Args expected;
    for (int i = 1; i < count; ++i) {
        char buffer[4096];
        WideCharToMultiByte(CP_ACP, 0, wide[i], -1, buffer, sizeof buffer, nullptr, nullptr);
        expected.push_back(buffer);
    }
    LocalFree(wide);
    EXPECT_EQ(host.programParameters(), expected);
}

TEST(Win32Host, EnvironmentVariables) {
    Win32Host host;
    SetEnvironmentVariableA("TARVO_TEST_VALUE", "C:\\表\\WINDOWS");
    EXPECT_EQ(host.environmentVariable("TARVO_TEST_VALUE"), "C:\\表\\WINDOWS");
    EXPECT_EQ(host.environmentVariable("tarvo_test_value"), "C:\\表\\WINDOWS");  // names ignore case on Windows
    const std::string longValue(3000, 'v');
    SetEnvironmentVariableA("TARVO_TEST_VALUE", longValue.c_str());
    EXPECT_EQ(host.environmentVariable("TARVO_TEST_VALUE"), longValue);
    SetEnvironmentVariableA("TARVO_TEST_VALUE", "");
    EXPECT_EQ(host.environmentVariable("TARVO_TEST_VALUE"), "");
    SetEnvironmentVariableA("TARVO_TEST_VALUE", nullptr);
    EXPECT_EQ(host.environmentVariable("TARVO_TEST_VALUE"), std::nullopt);
}

TEST(Win32Host, ShellExecuteResults) {
    Win32Host host;
    EXPECT_EQ(host.shellExecute({"OPEN", "C:\\no-such-folder\\no-such.exe", "", "", 5}), 2);
    // A program that ends at once, started hidden; empty fields are empty
    // strings. Under Wine its console window brings up Wine's desktop
    // process, which takes this process's standard streams and can outlive
    // it when this process goes on running: ctest runs each case on its own.
    EXPECT_GT(host.shellExecute({"OPEN", "cmd.exe", "/c exit 0", "", SW_HIDE}), 32);
}
