// The boxes and the file chooser that FLTK draws for the program, against a
// real X server (run under Xvfb): what their texts read in each language
// mode. Each box is looked at while it is up, then closed.
#include <gtest/gtest.h>

#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Window.H>
#include <FL/fl_ask.H>
#include <FL/x.H>

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/fltk/FltkBackend.h"
#include "platform/posix/PosixHost.h"
#include "platform/widgets.h"

namespace {

using platform::fltk::FltkBackend;

// Expected texts are written in UTF-8, as FLTK shows them, whatever the
// execution charset of the program's own (CP932) literals.
std::string utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

struct Seen {
    const char* shot = nullptr;  // file name of a screenshot to keep, if any
    bool shown = false;
    std::string title, message, icon;
    std::vector<std::string> buttons;  // visible ones, left to right as FLTK lays them out
    std::vector<std::string> texts;    // every label and tooltip of a window
};

void collect(Fl_Widget* widget, Seen& seen) {
    if (widget->label()) seen.texts.emplace_back(widget->label());
    if (widget->tooltip()) seen.texts.emplace_back(widget->tooltip());
    if (Fl_Group* group = widget->as_group()) {
        for (int i = 0; i < group->children(); ++i) collect(group->child(i), seen);
    }
}

// Whether a text is drawn in the right font (bold Japanese labels once came
// out as boxes) only a look shows: the window is kept in $ARTIFACTS.
void keepScreenshot(Fl_Window* window, const char* name) {
    const char* artifacts = std::getenv("ARTIFACTS");
    if (!name || !artifacts) return;
    Fl::flush();
    XSync(fl_display, False);
    char command[512];
    std::snprintf(command, sizeof command, "mkdir -p '%s' && import -window 0x%lx '%s/%s'", artifacts,
                  static_cast<unsigned long>(fl_xid(window)), artifacts, name);
    EXPECT_EQ(std::system(command), 0) << command;
}

Fl_Widget* findButton(Fl_Widget* widget, const char* label) {
    if (dynamic_cast<Fl_Button*>(widget) && widget->label() && std::string(widget->label()) == label) return widget;
    if (Fl_Group* group = widget->as_group()) {
        for (int i = 0; i < group->children(); ++i) {
            if (Fl_Widget* found = findButton(group->child(i), label)) return found;
        }
    }
    return nullptr;
}

// Looks at FLTK's message box while it is up, then closes it.
void lookAtMessageBox(void* data) {
    auto& seen = *static_cast<Seen*>(data);
    Fl_Widget* icon = fl_message_icon();
    Fl_Window* box = icon->window();
    if (!box || !box->shown()) return Fl::repeat_timeout(0.05, lookAtMessageBox, data);
    seen.shown = true;
    keepScreenshot(box, seen.shot);
    seen.title = box->label() ? box->label() : "";
    seen.icon = icon->label() ? icon->label() : "";
    for (int i = box->children() - 1; i >= 0; --i) {
        Fl_Widget* w = box->child(i);
        if (!w->visible() || !w->label() || w == icon || dynamic_cast<Fl_Input*>(w)) continue;
        if (dynamic_cast<Fl_Button*>(w)) seen.buttons.emplace_back(w->label());
        else seen.message = w->label();
    }
    box->hide();
}

// Looks at the first window other than the message box, then closes it.
void lookAtChooser(void* data) {
    auto& seen = *static_cast<Seen*>(data);
    Fl_Window* chooser = Fl::first_window();
    if (!chooser || chooser == fl_message_icon()->window()) return Fl::repeat_timeout(0.05, lookAtChooser, data);
    seen.shown = true;
    keepScreenshot(chooser, seen.shot);
    seen.title = chooser->label() ? chooser->label() : "";
    collect(chooser, seen);
    // Cancelled as the user would: a hidden chooser takes its folder as chosen.
    if (Fl_Widget* cancel = findButton(chooser, fl_cancel)) cancel->do_callback();
    else chooser->hide();
}

class BoxesTest : public ::testing::Test {
protected:
    void SetUp() override {
        char folder[] = "/tmp/tarvo-boxes-XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        folder_ = folder;
        host_ = std::make_unique<platform::posix::PosixHost>(folder_ + "/tarvo", std::vector<std::string>{});
        platform::setHost(host_.get());
        backend_ = std::make_unique<FltkBackend>();
        platform::setWindowing(backend_.get());
        platform::setApplicationTitle("tarvo");
    }
    void TearDown() override {
        platform::setWindowing(nullptr);
        backend_.reset();
        platform::setHost(nullptr);
        host_.reset();
        if (!folder_.empty()) rmdir(folder_.c_str());
    }

    static Seen seenIn(void (*look)(void*), const std::function<void()>& show, const char* shot = nullptr) {
        Seen seen;
        seen.shot = shot;
        Fl::add_timeout(0.05, look, &seen);
        show();
        Fl::remove_timeout(look, &seen);
        return seen;
    }
    Seen helpBox(const char* shot = nullptr) {
        return seenIn(
            lookAtMessageBox, [&] { backend_->showHelp("TARVO.HLP", 3); }, shot);
    }
    static bool has(const Seen& seen, const std::string& text) {
        return std::find(seen.texts.begin(), seen.texts.end(), text) != seen.texts.end();
    }

    std::string folder_;
    std::unique_ptr<platform::posix::PosixHost> host_;
    std::unique_ptr<FltkBackend> backend_;
};

// The box of a missing help file is the backend's own: its text and its
// button follow the mode, back and forth.
TEST_F(BoxesTest, HelpMissingBoxSpeaksTheMode) {
    backend_->languageChanged(true);
    Seen ja = helpBox("help-missing-japanese.png");
    ASSERT_TRUE(ja.shown);
    EXPECT_EQ(ja.title, "tarvo");
    EXPECT_NE(ja.message.find(utf8(u8"が見つかりません")), std::string::npos) << ja.message;
    EXPECT_EQ(ja.buttons, std::vector<std::string>{utf8(u8"閉じる")});

    backend_->languageChanged(false);
    Seen en = helpBox("help-missing-english.png");
    ASSERT_TRUE(en.shown);
    EXPECT_NE(en.message.find("not found"), std::string::npos) << en.message;
    EXPECT_EQ(en.message.find(utf8(u8"見つかりません")), std::string::npos) << en.message;
    EXPECT_EQ(en.buttons, std::vector<std::string>{"Close"});
}

// The framework's error report and warning box keep their own texts in
// either mode, and leave the mode's texts as they found them.
TEST_F(BoxesTest, FrameworkBoxesKeepTheirTextsAndLeaveTheModesAlone) {
    for (bool japanese : {true, false}) {
        SCOPED_TRACE(japanese ? "Japanese mode" : "English mode");
        backend_->languageChanged(japanese);
        Seen error = seenIn(lookAtMessageBox, [&] { backend_->errorReport("TARVO", "ﾃﾞｨｽｸがいっぱいです."); });
        ASSERT_TRUE(error.shown);
        EXPECT_EQ(error.title, "TARVO");
        EXPECT_EQ(error.message, utf8(u8"ﾃﾞｨｽｸがいっぱいです."));
        EXPECT_EQ(error.buttons, std::vector<std::string>{"OK"});

        // The program's text breaks its line with LF CR: one break, no
        // stray control character.
        Seen warning = seenIn(
            lookAtMessageBox,
            [&] { backend_->warningBox("警告", "   空白です。   \n\r   必ず指定して下さい。   ", "はい(&Y)"); },
            japanese ? "warning-japanese.png" : "warning-english.png");
        ASSERT_TRUE(warning.shown);
        EXPECT_EQ(warning.title, utf8(u8"警告"));
        EXPECT_EQ(warning.message, utf8(u8"   空白です。   \n   必ず指定して下さい。   "));
        EXPECT_EQ(warning.icon, "!");  // the warning kind, not a question
        EXPECT_EQ(warning.buttons, std::vector<std::string>{utf8(u8"はい(&Y)")});

        Seen help = helpBox();
        EXPECT_EQ(help.buttons, std::vector<std::string>{japanese ? utf8(u8"閉じる") : "Close"});
    }
}

// FLTK's own chooser (what the native one falls back to without GTK).
TEST_F(BoxesTest, FileChooserLabelsFollowTheMode) {
    const bool gtk = Fl::option(Fl::OPTION_FNFC_USES_GTK);
    Fl::option(Fl::OPTION_FNFC_USES_GTK, false);
    platform::Form form("TTest", "Test", 100, 100, platform::BorderStyle::Dialog, 13);
    platform::OpenDialog dialog(form, "OpenDialog1", "Kesti Setting File (*.PRG)|*.PRG|All File (*.*)|*.*");
    dialog.initialDir = folder_;
    auto choose = [&] { EXPECT_FALSE(backend_->runOpenDialog(dialog)); };

    backend_->languageChanged(true);
    Seen ja = seenIn(lookAtChooser, choose, "chooser-japanese.png");
    ASSERT_TRUE(ja.shown);
    for (const std::string& text :
         {utf8(u8"ファイル名:"), utf8(u8"表示:"), utf8(u8"キャンセル"), utf8(u8"プレビュー"),
          utf8(u8"隠しファイルを表示"), utf8(u8"お気に入り"), utf8(u8"新しいフォルダーを作ります。")}) {
        EXPECT_TRUE(has(ja, text)) << text;
    }
    EXPECT_FALSE(has(ja, "Filename:"));

    backend_->languageChanged(false);
    Seen en = seenIn(lookAtChooser, choose, "chooser-english.png");
    ASSERT_TRUE(en.shown);
    for (const char* text : {"Filename:", "Show:", "Cancel", "Preview", "Show hidden files", "Favorites"}) {
        EXPECT_TRUE(has(en, text)) << text;
    }
    EXPECT_FALSE(has(en, utf8(u8"ファイル名:")));
    Fl::option(Fl::OPTION_FNFC_USES_GTK, gtk);
}

}  // namespace
