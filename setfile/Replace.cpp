#include "setfile/Replace.h"

#include "platform/host.h"

namespace setfile {

namespace {
const Bilingual kNotReadWhole = {"   設定ファイルの一部しか読めていません。   \n\r   上書きしていいですか。   ",
                                 "   Launcher set file was read only in part.   \n\r   Do you overwrite ?   "};
const Bilingual kUnreadable = {"   設定ファイルが読めないので書き込みません。   ",
                               "   Launcher set file can not be read: not written.   "};
}  // namespace

const Bilingual kChangedElsewhere = {"   設定ファイルが他で変更されています。   \n\r   上書きしていいですか。   ",
                                     "   Launcher set file was changed elsewhere.   \n\r   Do you overwrite ?   "};

platform::FileBytes readSetFileBytes(const std::string& path) {
    return platform::files().readAtMost(path, kSetFileReadLimit);
}

bool changedSince(const std::string& path, const SetFileSnapshot& snapshot) {
    if (snapshot.state == SetFileSnapshot::State::Unreadable) return false;
    const bool exists = platform::files().exists(path);
    if (snapshot.state == SetFileSnapshot::State::Missing) return exists;
    if (!exists) return true;
    platform::FileBytes now = readSetFileBytes(path);
    return now.bytes != snapshot.bytes || now.whole != snapshot.whole;
}

bool mayReplacePartial(const SetFileSnapshot& snapshot, const Messages& messages) {
    switch (snapshot.state) {
    case SetFileSnapshot::State::Unreadable: messages.tell(kUnreadable); return false;
    case SetFileSnapshot::State::Partial: return messages.askYesNo(kNotReadWhole);
    case SetFileSnapshot::State::Missing:
    case SetFileSnapshot::State::Whole: break;
    }
    return true;
}

}  // namespace setfile
