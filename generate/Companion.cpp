#include "generate/Companion.h"

#include "setfile/SetFile.h"

namespace generate {

CompanionResult parseCompanionFile(std::string_view bytes) {
    CompanionResult r;
    int item = 1;
    int lineNumber = 1;
    for (std::string_view line : setfile::splitLines(bytes)) {
        if (lineNumber > kCompanionLineLimit) {
            r.fault = CompanionFault::TooManyLines;
            break;
        }
        if (lineNumber++ % 2 == 1) continue;
        std::size_t eq = line.find('=');
        if (eq == std::string_view::npos || eq > setfile::kTitleLimit) {
            r.fault = eq == std::string_view::npos ? CompanionFault::NoTitleSeparator : CompanionFault::TitleTooLong;
            r.itemNumber = item;
            break;
        }
        CompanionTitle& t = r.titles[item - 1];
        t.title = line.substr(0, eq);
        t.key = line.substr(eq + 1, 1);
        if (t.key == "*") t.key = " ";
        ++item;
    }
    return r;
}

app::Bilingual companionFaultMessage(CompanionFault fault, int itemNumber) {
    switch (fault) {
    case CompanionFault::TooManyLines:
        return {"   設定ファイルの行数は最大で９７行です。   ", "   Launcher set file is max 97 lines.   "};
    case CompanionFault::NoTitleSeparator:
        return setfile::faultMessage(setfile::Fault::NoTitleSeparator, itemNumber);
    case CompanionFault::TitleTooLong:
        return setfile::faultMessage(setfile::Fault::TitleTooLong, itemNumber);
    case CompanionFault::None:
        break;
    }
    return {};
}

}  // namespace generate
