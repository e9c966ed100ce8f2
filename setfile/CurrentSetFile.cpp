#include "setfile/CurrentSetFile.h"

#include "platform/text.h"

namespace setfile {

namespace {
const Bilingual kNotReadWhole = {"   設定ファイルの一部しか読めていません。   \n\r   上書きしていいですか。   ",
                                 "   Launcher set file was read only in part.   \n\r   Do you overwrite ?   "};
const Bilingual kUnreadable = {"   設定ファイルが読めないので書き込みません。   ",
                               "   Launcher set file can not be read: not written.   "};
}  // namespace

const Bilingual kChangedElsewhere = {"   設定ファイルが他で変更されています。   \n\r   上書きしていいですか。   ",
                                     "   Launcher set file was changed elsewhere.   \n\r   Do you overwrite ?   "};

const Bilingual kSetFileBusy = {"   設定ファイルを他のランチャーが使用中のため、書き込みませんでした。   ",
                                "   Launcher set file is in use by another launcher: not written.   "};

Bilingual folderNotFlushed(const std::string& name) {
    return {"   " + name + " は保存しましたが、フォルダーの書き込みを確定できませんでした。   ",
            "   " + name + " was saved, but its folder could not be flushed.   "};
}

void CurrentSetFile::setPath(std::string path) {
    path_ = std::move(path);
    snapshot_ = {};
}

CurrentSetFile::Snapshot CurrentSetFile::take(ReadResult* result) const {
    Snapshot s;
    if (!platform::files().exists(path_)) return s;
    platform::FileBytes got = platform::files().readAtMost(path_, kSetFileReadLimit);
    ReadResult read = parseSetFile(got.bytes);
    s.state = read.fault == Fault::None && got.whole && !read.skippedLineBreak ? State::Whole : State::Partial;
    s.bytes = std::move(got.bytes);
    s.whole = got.whole;
    if (result) *result = std::move(read);
    return s;
}

std::optional<ReadResult> CurrentSetFile::read() {
    // Until it is read, a file that fails to read is one never to replace.
    snapshot_ = {};
    snapshot_.state = State::Unreadable;
    ReadResult result;
    snapshot_ = take(&result);
    if (snapshot_.state == State::Missing) return std::nullopt;
    return result;
}

bool CurrentSetFile::changedSince(const Snapshot& snapshot) const {
    if (snapshot.state == State::Unreadable) return false;
    const bool exists = platform::files().exists(path_);
    if (snapshot.state == State::Missing) return exists;
    if (!exists) return true;
    platform::FileBytes now = platform::files().readAtMost(path_, kSetFileReadLimit);
    return now.bytes != snapshot.bytes || now.whole != snapshot.whole;
}

CurrentSetFile::SaveOutcome CurrentSetFile::save(const ItemTable& items, int lastSlot, const Messages& messages,
                                                 bool askWhenChanged, int lockTimeoutMs) {
    switch (snapshot_.state) {
    case State::Unreadable: messages.tell(kUnreadable); return SaveOutcome::NotSaved;
    case State::Partial:
        if (!messages.askYesNo(kNotReadWhole)) return SaveOutcome::NotSaved;
        break;
    case State::Missing:
    case State::Whole: break;
    }
    const std::string bytes = formatSetFile(items, lastSlot);
    for (;;) {
        // The slow part (writing and flushing) comes before the lock, so
        // that the lock is held only for a check and a rename.
        std::unique_ptr<platform::PendingWrite> pending = platform::files().prepareWrite(path_, bytes);
        std::optional<platform::WriteResult> written;
        {
            std::unique_ptr<platform::FileLock> lock = platform::files().lockForWriting(path_, lockTimeoutMs);
            if (!lock) {
                messages.tell(kSetFileBusy);
                return SaveOutcome::NotSaved;
            }
            if (!changedSince(snapshot_)) written = pending->commit();
        }
        if (written) {
            snapshot_ = {State::Whole, bytes, true};
            if (*written == platform::WriteResult::FolderNotFlushed) {
                messages.tell(folderNotFlushed(platform::fileNamePart(path_)));
            }
            return SaveOutcome::Saved;
        }
        if (!askWhenChanged) return SaveOutcome::ChangedElsewhere;
        // Never asked under the lock: the other launcher may be waiting for it.
        Snapshot now = take(nullptr);
        if (!messages.askYesNo(kChangedElsewhere)) return SaveOutcome::NotSaved;
        snapshot_ = now;
    }
}

}  // namespace setfile
