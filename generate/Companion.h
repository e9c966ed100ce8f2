// The companion product's set file, read for its titles only: at most 97
// lines, the title line of item k on line 2k, odd lines not looked at.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "setfile/Language.h"

namespace generate {

struct CompanionTitle {
    std::string title;
    std::string key;  // one byte, " " for "*", empty when the line ends at "="
};

constexpr int kCompanionSlots = 48;
constexpr int kCompanionLineLimit = 97;
// Its 97 lines are read from at most this many bytes.
constexpr std::size_t kCompanionReadLimit = std::size_t{256} * 1024;
using CompanionTable = std::array<CompanionTitle, kCompanionSlots>;

enum class CompanionFault { None, TooManyLines, NoTitleSeparator, TitleTooLong };

struct CompanionResult {
    CompanionTable titles{};
    CompanionFault fault = CompanionFault::None;
    int itemNumber = 0;
};

CompanionResult parseCompanionFile(std::string_view bytes);

setfile::Bilingual companionFaultMessage(CompanionFault fault, int itemNumber);

}  // namespace generate
