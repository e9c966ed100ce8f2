// Implements: FLTK's own texts in the program's language mode: the buttons
// of its message boxes and the labels of its file chooser (which the
// native file chooser uses where no GTK is found; GTK's own dialog follows
// the desktop's locale and takes only the hidden-files label from here).
#include "platform/fltk/DialogTexts.h"

#include <FL/Fl_File_Chooser.H>
#include <FL/fl_ask.H>

namespace platform::fltk {

namespace {

struct DialogTexts {
    const char *ok, *cancel, *yes, *no, *close;
    const char *addFavorites, *allFiles, *customFilter, *existingFile, *favorites, *filename, *filesystems,
        *manageFavorites, *newDirectory, *newDirectoryTooltip, *preview, *save, *show, *hidden;
};

// Sources are UTF-8 and FLTK takes UTF-8, whatever the execution charset.
const char* utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

const DialogTexts kJapanese{
    "OK",
    utf8(u8"キャンセル"),
    utf8(u8"はい"),
    utf8(u8"いいえ"),
    utf8(u8"閉じる"),
    utf8(u8"お気に入りに追加"),
    utf8(u8"すべてのファイル (*)"),
    utf8(u8"カスタム フィルター"),
    utf8(u8"既存のファイルを選んでください。"),
    utf8(u8"お気に入り"),
    utf8(u8"ファイル名:"),
    utf8(u8"ファイル システム"),
    utf8(u8"お気に入りの整理"),
    utf8(u8"新しいフォルダーの名前:"),
    utf8(u8"新しいフォルダーを作ります。"),
    utf8(u8"プレビュー"),
    utf8(u8"保存"),
    utf8(u8"表示:"),
    utf8(u8"隠しファイルを表示"),
};

DialogTexts current() {
    using C = Fl_File_Chooser;
    return {fl_ok,
            fl_cancel,
            fl_yes,
            fl_no,
            fl_close,
            C::add_favorites_label,
            C::all_files_label,
            C::custom_filter_label,
            C::existing_file_label,
            C::favorites_label,
            C::filename_label,
            C::filesystems_label,
            C::manage_favorites_label,
            C::new_directory_label,
            C::new_directory_tooltip,
            C::preview_label,
            C::save_label,
            C::show_label,
            C::hidden_label};
}

void apply(const DialogTexts& t) {
    using C = Fl_File_Chooser;
    fl_ok = t.ok;
    fl_cancel = t.cancel;
    fl_yes = t.yes;
    fl_no = t.no;
    fl_close = t.close;
    C::add_favorites_label = t.addFavorites;
    C::all_files_label = t.allFiles;
    C::custom_filter_label = t.customFilter;
    C::existing_file_label = t.existingFile;
    C::favorites_label = t.favorites;
    C::filename_label = t.filename;
    C::filesystems_label = t.filesystems;
    C::manage_favorites_label = t.manageFavorites;
    C::new_directory_label = t.newDirectory;
    C::new_directory_tooltip = t.newDirectoryTooltip;
    C::preview_label = t.preview;
    C::save_label = t.save;
    C::show_label = t.show;
    C::hidden_label = t.hidden;
}

const DialogTexts& fltkTexts() {
    static const DialogTexts texts = current();
    return texts;
}

}  // namespace

void rememberFltkDialogTexts() { fltkTexts(); }

void applyDialogTexts(bool japanese) { apply(japanese ? kJapanese : fltkTexts()); }

}  // namespace platform::fltk
