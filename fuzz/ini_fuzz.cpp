// The private-profile rules on any file contents: a read never returns more
// than 1023 bytes or half a character; a value set reads back as set, leaves
// every other key as it read before, and setting it again changes nothing.
// IniFile over a file in memory keeps the same promises and never writes back
// a file it could not read.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "check.h"
#include "platform/errors.h"
#include "platform/profile.h"
#include "platform/text.h"

namespace {

constexpr std::size_t kMaxValue = 1023;
const std::string kFallback = "\x01no such key";

bool holdsLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }
bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool trimmed(std::string_view s) { return s.empty() || (!isBlank(s.front()) && !isBlank(s.back())); }
// True when a byte written right after `s` is a character of its own, not
// the second byte of a double-byte character that `s` ends with a lead of.
bool followedByOwnCharacter(std::string_view s) {
    const std::string t = std::string(s) + "]";
    std::size_t last = 0;
    for (std::size_t i = 0; i < t.size(); i += platform::charLength(t, i)) last = i;
    return last == s.size();
}

// Blanks around a section's name do not count.
std::string_view withoutBlanks(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

// A "]" of its own ends a section's name.
bool holdsBracket(std::string_view s) {
    for (std::size_t i = 0; i < s.size(); i += platform::charLength(s, i))
        if (s[i] == ']') return true;
    return false;
}

// What a file can hold so that it reads back: a section name whose "]" is
// not taken for the second byte of a character, a key that the "key=value"
// line and trimming keep, and a value neither trimmed nor unquoted nor cut.
bool storable(const std::string& section, const std::string& key, const std::string& value) {
    if (holdsLineBreak(section) || !followedByOwnCharacter(section) || holdsBracket(section)) return false;
    if (key.empty() || holdsLineBreak(key) || !trimmed(key) || key.find('=') != std::string::npos || key[0] == '[')
        return false;
    if (holdsLineBreak(value) || !trimmed(value) || value.size() > kMaxValue) return false;
    bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front();
    return !quoted;
}

std::string pick(FuzzedDataProvider& in, const std::vector<std::string>& words) {
    if (in.ConsumeBool())
        return in.PickValueInArray({std::string("FormMain"), std::string("formMAIN"), std::string("Language"),
                                    std::string("Left"), std::string("StateSet"), std::string(" x ")});
    if (!words.empty() && in.ConsumeBool()) return words[in.ConsumeIntegralInRange<std::size_t>(0, words.size() - 1)];
    return in.ConsumeRandomLengthString(24);
}

// Section and key names that occur in the contents, to probe what a set must
// leave alone.
void namesIn(std::string_view contents, std::vector<std::string>& sections, std::vector<std::string>& keys) {
    std::size_t pos = 0;
    while (pos < contents.size() && (sections.size() < 6 || keys.size() < 6)) {
        std::size_t end = contents.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = contents.size();
        std::string_view line = contents.substr(pos, end - pos);
        pos = end + 1;
        std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string_view::npos) continue;
        line = line.substr(first);
        if (line[0] == '[' && line.size() >= 2 && sections.size() < 6) {
            sections.emplace_back(line.substr(1, line.size() - 2));
        } else if (std::size_t eq = line.find('='); eq != std::string_view::npos && keys.size() < 6) {
            std::string_view k = line.substr(0, eq);
            while (!k.empty() && isBlank(k.back())) k.remove_suffix(1);
            keys.emplace_back(k);
        }
    }
}

void checkRead(const std::string& contents, const std::string& section, const std::string& key) {
    const std::string got = platform::profileGet(contents, section, key, kFallback);
    if (got == kFallback) return;
    FUZZ_CHECK(got.size() <= kMaxValue && platform::truncateBytes(got, kMaxValue) == got,
               "a value read is at most 1023 bytes and whole characters", fuzz::printBytes("value", got));
    FUZZ_CHECK(!holdsLineBreak(got), "a value read holds no line break", fuzz::printBytes("value", got));
}

void checkSet(const std::string& contents, const std::string& section, const std::string& key,
              const std::string& value) {
    const std::string changed = platform::profileSet(contents, section, key, value);
    auto show = [&] {
        fuzz::printBytes("contents", contents);
        fuzz::printBytes("section", section);
        fuzz::printBytes("key", key);
        fuzz::printBytes("value", value);
        fuzz::printBytes("changed", changed);
    };
    FUZZ_CHECK(changed.size() >= 2 && changed.ends_with("\r\n"), "a written file ends with CR LF", show());
    FUZZ_CHECK(platform::profileGet(changed, section, key, kFallback) == value, "a value set reads back as set",
               show());
    FUZZ_CHECK(platform::profileSet(changed, section, key, value) == changed,
               "setting the same value again is no change", show());

    std::vector<std::string> sections{section};
    std::vector<std::string> keys{key, "Left", "Top"};
    namesIn(contents, sections, keys);
    for (const std::string& s : sections) {
        for (const std::string& k : keys) {
            if (platform::equalsIgnoreAsciiCase(withoutBlanks(s), withoutBlanks(section)) &&
                platform::equalsIgnoreAsciiCase(k, key))
                continue;
            FUZZ_CHECK(
                platform::profileGet(changed, s, k, kFallback) == platform::profileGet(contents, s, k, kFallback),
                "setting one key leaves every other key as it read", show(), fuzz::printBytes("other section", s),
                fuzz::printBytes("other key", k));
        }
    }
}

// One file in memory, whose read or write can be made to fail.
class MemoryFiles : public platform::Files {
public:
    std::map<std::string, std::string> files;
    bool failRead = false;
    bool failWrite = false;

    bool exists(const std::string& path) override { return files.count(path) > 0; }
    std::string read(const std::string& path) override {
        if (failRead) throw platform::IOError(5);
        return files.at(path);
    }
    std::unique_ptr<platform::PendingWrite> prepareWrite(const std::string& path, const std::string& bytes) override {
        return std::make_unique<platform::DeferredWrite>([this, path, bytes] {
            if (failWrite) throw platform::IOError(101);
            files[path] = bytes;
            return platform::WriteResult::Durable;
        });
    }
    std::unique_ptr<platform::FileLock> lockForWriting(const std::string&, int) override {
        return std::make_unique<platform::FileLock>();
    }
};

void checkIniFile(FuzzedDataProvider& in, const std::string& contents) {
    MemoryFiles files;
    const std::string path = "TARVO.INI";
    const bool present = in.ConsumeBool();
    if (present) files.files[path] = contents;
    files.failRead = present && in.ConsumeIntegralInRange<int>(0, 7) == 0;
    files.failWrite = in.ConsumeIntegralInRange<int>(0, 7) == 0;

    platform::IniFile ini(files, path);
    std::map<std::pair<std::string, std::string>, std::string> setValues;
    const int edits = in.ConsumeIntegralInRange<int>(0, 4);
    for (int i = 0; i < edits; ++i) {
        std::string section = pick(in, {});
        std::string key = pick(in, {});
        std::string value = in.ConsumeRandomLengthString(40);
        if (!storable(section, key, value)) continue;
        ini.set(section, key, value);
        setValues[{platform::upperAscii(section), platform::upperAscii(key)}] = value;
        FUZZ_CHECK(ini.get(section, key, kFallback) == value, "IniFile reads a value as it was set",
                   fuzz::printBytes("key", key), fuzz::printBytes("value", value));
    }
    const std::map<std::string, std::string> before = files.files;
    const bool saved = ini.save().has_value();
    FUZZ_CHECK(saved == (!files.failRead && !files.failWrite), "IniFile saves exactly when it could read and write");
    if (!saved) {
        FUZZ_CHECK(files.files == before, "a file that was not saved is left as it was");
        return;
    }
    files.failRead = false;
    platform::IniFile reread(files, path);
    for (const auto& [name, value] : setValues) {
        FUZZ_CHECK(reread.get(name.first, name.second, kFallback) == value, "a saved value reads back from the file",
                   fuzz::printBytes("key", name.second), fuzz::printBytes("value", value));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string contents = in.ConsumeRandomLengthString(4096);
    std::vector<std::string> sections;
    std::vector<std::string> keys;
    namesIn(contents, sections, keys);
    const std::vector<std::string> words = [&] {
        std::vector<std::string> all = sections;
        all.insert(all.end(), keys.begin(), keys.end());
        return all;
    }();

    const int operations = in.ConsumeIntegralInRange<int>(1, 6);
    for (int i = 0; i < operations && in.remaining_bytes() > 0; ++i) {
        std::string section = pick(in, words);
        std::string key = pick(in, words);
        checkRead(contents, section, key);
        std::string value = in.ConsumeBool() ? in.ConsumeRandomLengthString(64) : std::string(kMaxValue, 'v');
        if (storable(section, key, value)) checkSet(contents, section, key, value);
    }
    checkIniFile(in, contents);
    return 0;
}
