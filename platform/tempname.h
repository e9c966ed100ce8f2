// The names of a safe write's new files, shared by every host: ".NAME." (the
// prefix, NAME cut as the host needs) then "PID-SEED-COUNT", beside the file
// they replace, so that a later write of that file finds them and knows
// which process made them. In the host's own characters (char, wchar_t).
#pragma once

#include <atomic>
#include <optional>
#include <random>
#include <string>
#include <string_view>

namespace platform {

// "." + name + ".": what every new file of that name starts with.
template <class Char>
std::basic_string<Char> tempPrefix(std::basic_string_view<Char> name) {
    std::basic_string<Char> prefix(1, Char('.'));
    prefix += name;
    prefix += Char('.');
    return prefix;
}

template <class Char>
std::basic_string<Char> decimal(unsigned long long n) {
    std::string digits = std::to_string(n);
    return std::basic_string<Char>(digits.begin(), digits.end());
}

// A name no other write of this process, nor of another, takes: the seed
// tells apart two processes that reuse one id.
template <class Char>
std::basic_string<Char> tempName(std::basic_string_view<Char> prefix, unsigned long long pid) {
    static std::atomic<unsigned> counter{0};
    static const unsigned seed = std::random_device{}();
    return std::basic_string<Char>(prefix) + decimal<Char>(pid) + Char('-') + decimal<Char>(seed) + Char('-') +
           decimal<Char>(counter++);
}

// The writer's process id of a name tempName gave for this prefix, or
// nothing for any other name.
template <class Char>
std::optional<unsigned long long> writerOf(std::basic_string_view<Char> name, std::basic_string_view<Char> prefix) {
    if (name.substr(0, prefix.size()) != prefix) return std::nullopt;
    name.remove_prefix(prefix.size());
    unsigned long long numbers[3] = {};
    for (unsigned long long& number : numbers) {
        std::size_t digits = 0;
        while (digits < name.size() && name[digits] >= Char('0') && name[digits] <= Char('9')) {
            number = number * 10 + static_cast<unsigned>(name[digits] - Char('0'));
            ++digits;
        }
        if (digits == 0 || digits > 10) return std::nullopt;
        name.remove_prefix(digits);
        if (&number != &numbers[2]) {
            if (name.empty() || name.front() != Char('-')) return std::nullopt;
            name.remove_prefix(1);
        }
    }
    if (!name.empty()) return std::nullopt;
    return numbers[0];
}

}  // namespace platform
