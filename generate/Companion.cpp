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
        CompanionTitle& t = r.titles[item - 1];
        if (setfile::Fault f = setfile::readTitleLine(line, t.title, t.key); f != setfile::Fault::None) {
            r.fault =
                f == setfile::Fault::NoTitleSeparator ? CompanionFault::NoTitleSeparator : CompanionFault::TitleTooLong;
            r.itemNumber = item;
            break;
        }
        ++item;
    }
    return r;
}

setfile::Bilingual companionFaultMessage(CompanionFault fault, int itemNumber) {
    switch (fault) {
    case CompanionFault::TooManyLines:
        return {"   設定ファイルの行数は最大で９７行です。   ", "   Launcher set file is max 97 lines.   "};
    case CompanionFault::NoTitleSeparator: return setfile::faultMessage(setfile::Fault::NoTitleSeparator, itemNumber);
    case CompanionFault::TitleTooLong: return setfile::faultMessage(setfile::Fault::TitleTooLong, itemNumber);
    case CompanionFault::None: break;
    }
    return {};
}

}  // namespace generate
