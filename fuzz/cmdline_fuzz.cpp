// Command-line splitting as the shell service uses it for an item's options:
// any arguments, written with the quoting rule, split back into themselves;
// a line without double quotes splits at blanks and tabs alone; splitting
// never makes text out of nothing.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "check.h"
#include "platform/text.h"

namespace {

void printArgs(const char* label, const std::vector<std::string>& args) {
    std::fprintf(stderr, "  %s: %zu arguments\n", label, args.size());
    for (const std::string& a : args) fuzz::printBytes("argument", a);
}

// Blanks and tabs, and nothing else, separate when there are no quotes.
std::vector<std::string> splitAtBlanks(std::string_view line) {
    std::vector<std::string> out;
    std::size_t pos = 0;
    while (pos < line.size()) {
        std::size_t start = line.find_first_not_of(" \t", pos);
        if (start == std::string_view::npos) break;
        std::size_t end = line.find_first_of(" \t", start);
        if (end == std::string_view::npos) end = line.size();
        out.emplace_back(line.substr(start, end - start));
        pos = end;
    }
    return out;
}

// The quoting rule: a group in double quotes, a double quote inside it
// written twice; an argument with no blank, tab or quote may go bare.
std::string quoteArgument(const std::string& arg, bool bare) {
    if (bare && !arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
    std::string out = "\"";
    for (char c : arg) {
        if (c == '"') out += "\"\"";
        else out += c;
    }
    return out + "\"";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view raw(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> split = platform::splitCommandLine(raw);
    std::size_t total = 0;
    for (const std::string& a : split) total += a.size();
    FUZZ_CHECK(total <= raw.size(), "the arguments hold no more bytes than the line", fuzz::printBytes("line", raw),
               printArgs("split", split));
    if (raw.find('"') == std::string_view::npos) {
        FUZZ_CHECK(split == splitAtBlanks(raw), "a line without quotes splits at blanks and tabs",
                   fuzz::printBytes("line", raw), printArgs("split", split));
    }

    FuzzedDataProvider in(data, size);
    std::vector<std::string> args(in.ConsumeIntegralInRange<std::size_t>(0, 8));
    std::string line = in.PickValueInArray({"", " ", "\t"});
    for (std::string& a : args) {
        a = in.ConsumeRandomLengthString(40);
        line += quoteArgument(a, in.ConsumeBool());
        line += in.PickValueInArray({" ", "\t", "  ", " \t "});
    }
    const std::vector<std::string> back = platform::splitCommandLine(line);
    FUZZ_CHECK(back == args, "quoted arguments split back into themselves", fuzz::printBytes("line", line),
               printArgs("arguments", args), printArgs("split", back));
    return 0;
}
