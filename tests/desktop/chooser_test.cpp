// FLTK's own file chooser, which the program shows where GTK is missing,
// against a real X server (run under Xvfb): the defined filters only, under
// their names, each listing what it names ignoring case; the preset file
// selected. Each chooser is looked at while it is up.
#include <gtest/gtest.h>

#include <FL/Fl.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_File_Browser.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Window.H>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/fltk/FileChooser.h"
#include "platform/fltk/FltkBackend.h"
#include "platform/posix/PosixHost.h"
#include "platform/widgets.h"

namespace {

using Names = std::vector<std::string>;
using platform::fltk::findIn;

struct Seen {
    std::vector<int> picks;  // filters the user picks in turn, from 0
    bool accept = false;     // OK, else the close box
    std::string title, selected;
    Names filters;
    std::vector<Names> listed;  // files (not folders) under the first filter, then each pick
};

void lookAtChooser(void* data) {
    auto& seen = *static_cast<Seen*>(data);
    Fl_Window* window = Fl::first_window();
    Fl_Choice* menu = window ? findIn<Fl_Choice>(*window) : nullptr;
    Fl_File_Browser* list = window ? findIn<Fl_File_Browser>(*window) : nullptr;
    if (!menu || !list || !window->shown()) return Fl::repeat_timeout(0.05, lookAtChooser, data);
    seen.title = window->label();
    for (int i = 0; i + 1 < menu->size(); ++i) seen.filters.emplace_back(menu->text(i));
    auto look = [&] {
        Names files;
        for (int i = 1; i <= list->size(); ++i) {
            std::string line = list->text(i);
            if (!line.ends_with("/")) files.push_back(line);
            if (list->selected(i)) seen.selected = line;
        }
        seen.listed.push_back(files);
    };
    look();
    for (int pick : seen.picks) {
        menu->value(pick);
        menu->do_callback();
        look();
    }
    if (seen.accept) findIn<Fl_Return_Button>(*window)->do_callback();
    else window->do_callback();
}

class ChooserTest : public ::testing::Test {
protected:
    void SetUp() override {
        char folder[] = "/tmp/tarvo-chooser-XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        folder_ = folder;
        std::filesystem::create_directory(folder_ + "/sub");
        host_ = std::make_unique<platform::posix::PosixHost>(folder_ + "/tarvo", std::vector<std::string>{});
        platform::setHost(host_.get());
        backend_ = std::make_unique<platform::fltk::FltkBackend>();
        platform::setWindowing(backend_.get());
        form_ = std::make_unique<platform::Form>("TTest", "Test", 100, 100, platform::BorderStyle::Dialog, 13);
        Fl::option(Fl::OPTION_FNFC_USES_GTK, false);
    }
    void TearDown() override {
        Fl::option(Fl::OPTION_FNFC_USES_GTK, true);
        form_.reset();
        platform::setWindowing(nullptr);
        backend_.reset();
        platform::setHost(nullptr);
        if (!folder_.empty()) std::filesystem::remove_all(folder_);
    }
    bool choose(const char* filter, const Names& files, Seen& seen, const std::string& preset = "") {
        for (const std::string& name : files) std::ofstream(folder_ + "/" + name) << "x";
        platform::OpenDialog dialog(*form_, "OpenDialog", filter);
        dialog.initialDir = folder_;
        dialog.fileName = preset;
        Fl::add_timeout(0.05, lookAtChooser, &seen);
        const bool chosen = backend_->runOpenDialog(dialog);
        Fl::remove_timeout(lookAtChooser, &seen);
        chosen_ = dialog.fileName;
        return chosen;
    }

    std::string folder_, chosen_;
    std::unique_ptr<platform::posix::PosixHost> host_;
    std::unique_ptr<platform::fltk::FltkBackend> backend_;
    std::unique_ptr<platform::Form> form_;
};

TEST_F(ChooserTest, OffersTheDefinedFiltersEachListingWhatItNames) {
    Seen seen;
    seen.picks = {1, 2};
    EXPECT_FALSE(choose("Exe File (EXE;COM)|*.EXE;*.COM|Pif File (PIF;BAT;LNK)|*.PIF;*.BAT;*.LNK|All File (*.*)|*.*",
                        {"a.exe", "B.COM", "c.txt", "d.BaT"}, seen));
    EXPECT_EQ(seen.title, "Open");
    EXPECT_EQ(seen.filters, (Names{"Exe File (EXE;COM)", "Pif File (PIF;BAT;LNK)", "All File (*.*)"}));
    EXPECT_EQ(seen.listed, (std::vector<Names>{{"B.COM", "a.exe"}, {"d.BaT"}, {"B.COM", "a.exe", "c.txt", "d.BaT"}}));
}

TEST_F(ChooserTest, SelectsThePresetFileAndTakesIt) {
    Seen seen;
    seen.accept = true;
    ASSERT_TRUE(choose("Kesti Setting File (*.PRG)|*.PRG|All File (*.*)|*.*", {"KESTI.PRG", "other.prg", "a.txt"}, seen,
                       "KESTI.PRG"));
    EXPECT_EQ(seen.listed, (std::vector<Names>{{"KESTI.PRG", "other.prg"}}));
    EXPECT_EQ(seen.selected, "KESTI.PRG");
    EXPECT_EQ(chosen_, folder_ + "/KESTI.PRG");
}

}  // namespace
