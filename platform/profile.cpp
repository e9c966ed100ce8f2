#include "platform/profile.h"

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/errors.h"
#include "platform/text.h"

namespace platform {

namespace {

constexpr std::size_t kMaxValueBytes = 1023;

std::vector<std::string_view> splitLines(std::string_view contents) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < contents.size()) {
        std::size_t end = contents.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(contents.substr(start));
            break;
        }
        lines.push_back(contents.substr(start, end - start));
        start = end + 1;
        if (contents[end] == '\r' && start < contents.size() && contents[start] == '\n') ++start;
    }
    return lines;
}

// Blanks and tabs never occur as the second byte of a double-byte character,
// so trimming them byte by byte is safe.
std::string_view trimBlanks(std::string_view s) {
    std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    std::size_t last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

// The name of a "[name]" line, or nullopt for any other line. The name ends
// at its "]", a character of its own rather than the trail byte of a kanji;
// the rest of the line is ignored, as Windows does with "[Main] ; note".
// Blanks around the name do not count, there nor in the name asked for, so
// "[ Main ]" is Main and a name written with blanks reads back.
std::optional<std::string_view> sectionName(std::string_view line) {
    std::string_view t = trimBlanks(line);
    if (t.empty() || t.front() != '[') return std::nullopt;
    for (std::size_t i = 1; i < t.size(); i += charLength(t, i)) {
        if (t[i] == ']') return trimBlanks(t.substr(1, i - 1));
    }
    return std::nullopt;
}

// A byte-order mark left by an editor belongs to no line; it is kept as it
// is when the file is written back.
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view withoutBom(std::string_view contents) {
    return contents.starts_with(kUtf8Bom) ? contents.substr(kUtf8Bom.size()) : contents;
}

struct KeyLine {
    std::string_view key;
    std::string_view value;
};

// "=" is below the trail-byte range, so a plain byte search finds it.
std::optional<KeyLine> keyLine(std::string_view line) {
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    return KeyLine{trimBlanks(line.substr(0, eq)), trimBlanks(line.substr(eq + 1))};
}

std::string_view unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

}  // namespace

std::string profileGet(const std::string& contents, const std::string& section, const std::string& key,
                       const std::string& fallback) {
    const std::string_view wanted = trimBlanks(section);
    bool inSection = false;
    bool sectionSeen = false;
    for (std::string_view line : splitLines(withoutBom(contents))) {
        if (auto name = sectionName(line)) {
            // Only the first section of that name counts; a later one is never searched.
            if (sectionSeen) break;
            inSection = equalsIgnoreAsciiCase(*name, wanted);
            sectionSeen = inSection;
            continue;
        }
        if (!inSection) continue;
        if (auto kv = keyLine(line); kv && equalsIgnoreAsciiCase(kv->key, key)) {
            return truncateBytes(unquote(kv->value), kMaxValueBytes);
        }
    }
    return fallback;
}

std::string profileSet(const std::string& contents, const std::string& section, const std::string& key,
                       const std::string& value) {
    const std::string_view body = withoutBom(contents);
    std::vector<std::string> lines;
    for (std::string_view line : splitLines(body)) lines.emplace_back(line);

    const std::string_view wanted = trimBlanks(section);
    std::optional<std::size_t> header;
    std::optional<std::size_t> lastKey;
    std::optional<std::size_t> found;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (auto name = sectionName(lines[i])) {
            if (header) break;
            if (equalsIgnoreAsciiCase(*name, wanted)) header = i;
            continue;
        }
        if (!header) continue;
        if (auto kv = keyLine(lines[i])) {
            if (equalsIgnoreAsciiCase(kv->key, key)) {
                found = i;
                lines[i] = std::string(kv->key) + "=" + value;
                break;
            }
            lastKey = i;
        }
    }

    if (!header) {
        lines.push_back("[" + section + "]");
        lines.push_back(key + "=" + value);
    } else if (!found) {
        std::size_t after = lastKey ? *lastKey : *header;
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(after + 1), key + "=" + value);
    }

    std::string out(contents.substr(0, contents.size() - body.size()));
    for (const std::string& line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

IniFile::IniFile(Files& files, std::string path) : files_(files), path_(std::move(path)) {
    try {
        switch (files_.kind(path_)) {
        case FileKind::Missing: break;
        case FileKind::Other: readable_ = false; break;
        case FileKind::File: {
            FileBytes got = files_.readAtMost(path_, kReadLimit);
            contents_ = std::move(got.bytes);
            readable_ = got.whole;
            break;
        }
        }
    } catch (const IOError&) {
        readable_ = false;
    }
}

std::string IniFile::get(const std::string& section, const std::string& key, const std::string& fallback) const {
    return profileGet(contents_, section, key, fallback);
}

void IniFile::set(const std::string& section, const std::string& key, const std::string& value) {
    contents_ = profileSet(contents_, section, key, value);
}

std::optional<WriteResult> IniFile::save() {
    if (!readable_) return std::nullopt;
    try {
        return files_.write(path_, contents_);
    } catch (const IOError&) {
        return std::nullopt;
    }
}

}  // namespace platform
