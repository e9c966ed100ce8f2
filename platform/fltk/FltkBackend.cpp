#include "platform/fltk/FltkBackend.h"

#include <FL/Fl.H>
#include <FL/fl_ask.H>
#include <FL/fl_draw.H>
#include <FL/x.H>
#include <fontconfig/fontconfig.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <map>

#include "platform/fltk/DialogTexts.h"
#include "platform/fltk/DisplayText.h"
#include "platform/fltk/FileChooser.h"
#include "platform/fltk/FormPeer.h"
#include "platform/fltk/FormWindow.h"
#include "platform/fltk/KeyRouting.h"
#include "platform/fltk/WindowFinder.h"
#include "platform/fltk/XDisplay.h"
#include "platform/posix/convert.h"
#include "platform/posix/paths.h"
#include "platform/posix/shell.h"
#include "platform/text.h"

namespace platform::fltk {

namespace {

// FLTK keeps its options in private members, read from its preference files
// in /etc/fltk and ~/.fltk at the first question and written back to both at
// every start. An explicit instantiation may name private members; this one
// hands out their addresses.
template <typename Tag, typename Tag::type member>
struct Grant {
    friend typename Tag::type granted(Tag) { return member; }
};
struct OptionsRead {
    using type = unsigned char*;
    friend type granted(OptionsRead);
};
struct Options {
    using type = unsigned char (*)[Fl::OPTION_LAST];
    friend type granted(Options);
};
template struct Grant<OptionsRead, &Fl::options_read_>;
template struct Grant<Options, &Fl::options_>;

// The launcher's look is its own: FLTK's defaults, visible focus included,
// set without the preference files.
void setFltkOptions() {
    unsigned char(&options)[Fl::OPTION_LAST] = *granted(Options{});
    options[Fl::OPTION_ARROW_FOCUS] = 0;
    options[Fl::OPTION_VISIBLE_FOCUS] = 1;
    options[Fl::OPTION_DND_TEXT] = 1;
    options[Fl::OPTION_SHOW_TOOLTIPS] = 1;
    options[Fl::OPTION_FNFC_USES_GTK] = 1;
    *granted(OptionsRead{}) = 1;
}

FormPeer* peerOf(const Form& form) { return static_cast<FormPeer*>(form.peer.get()); }

std::string utf8(const std::string& cp932) { return posix::toUtf8Display(cp932); }

void timerFired(void* data) {
    auto* timer = static_cast<Timer*>(data);
    Fl::repeat_timeout(timer->interval() / 1000.0, timerFired, data);
    if (timer->OnTimer) dispatch(timer->OnTimer);
}

void reapTick(void*) {
    posix::reapChildren();
    Fl::repeat_timeout(1.0, reapTick);
}

// Asks the window manager for the frame the form defines: a fixed border,
// the system menu, a minimise button only where the form has one.
void applyDecorations(Fl_Window* window, const Form& form) {
    enum : unsigned long { FuncResize = 2, FuncMove = 4, FuncMinimize = 8, FuncMaximize = 16, FuncClose = 32 };
    enum : unsigned long {
        DecorBorder = 2,
        DecorResize = 4,
        DecorTitle = 8,
        DecorMenu = 16,
        DecorMinimize = 32,
        DecorMaximize = 64
    };
    struct {
        unsigned long flags, functions, decorations;
        long inputMode;
        unsigned long status;
    } hints{3, FuncMove | FuncClose, DecorBorder | DecorTitle | DecorMenu, 0, 0};
    if (form.hasMinimizeButton()) {
        hints.functions |= FuncMinimize;
        hints.decorations |= DecorMinimize;
    }
    if (form.border() == BorderStyle::Sizeable) {
        hints.functions |= FuncResize | FuncMaximize;
        hints.decorations |= DecorResize | DecorMaximize;
    }
    Atom atom = XInternAtom(fl_display, "_MOTIF_WM_HINTS", False);
    XChangeProperty(fl_display, fl_xid(window), atom, atom, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&hints), 5);
}

// FLTK's alert box (the warning icon) with one button of the given text;
// FLTK's own close text stays that of the language mode.
void alertBox(const std::string& caption, const std::string& text, const std::string& button) {
    const char* modeClose = fl_close;
    fl_close = button.c_str();
    fl_message_title(utf8(caption).c_str());
    fl_alert("%s", displayText(text).c_str());
    fl_close = modeClose;
}

// Every text is drawn in one font. Fontconfig's first use reads the
// system's whole configuration, some 75 files; when the font's folder is
// where Debian installs it, a configuration of that folder alone, read from
// the system's cache, finds the same font at a fraction of the cost. The
// rules are Debian's defaults: slight hinting, grey antialiasing, bold made
// from the regular face.
void configureTheOneFont() {
    static bool done = false;
    if (done) return;
    done = true;
    const std::string folder = "/usr/share/fonts/opentype/ipafont-gothic";
    if (access((folder + "/ipagp.ttf").c_str(), R_OK) != 0) return;
    const std::string configuration =
        "<fontconfig><dir>" + folder +
        "</dir><cachedir>/var/cache/fontconfig</cachedir><cachedir prefix=\"xdg\">fontconfig</cachedir>"
        "<match target=\"font\"><edit name=\"antialias\" mode=\"assign\"><bool>true</bool></edit>"
        "<edit name=\"hinting\" mode=\"assign\"><bool>true</bool></edit>"
        "<edit name=\"hintstyle\" mode=\"assign\"><const>hintslight</const></edit>"
        "<edit name=\"rgba\" mode=\"assign\"><const>none</const></edit></match>"
        "<match target=\"font\"><test name=\"weight\" compare=\"less_eq\"><const>medium</const></test>"
        "<test target=\"pattern\" name=\"weight\" compare=\"more_eq\"><const>bold</const></test>"
        "<edit name=\"embolden\" mode=\"assign\"><bool>true</bool></edit>"
        "<edit name=\"weight\" mode=\"assign\"><const>bold</const></edit></match></fontconfig>";
    FcConfig* config = FcConfigCreate();
    if (!config) return;
    const auto* xml = reinterpret_cast<const FcChar8*>(configuration.c_str());
    if (FcConfigParseAndLoadFromMemory(config, xml, FcFalse) && FcConfigBuildFonts(config)) FcConfigSetCurrent(config);
    // The current configuration holds a reference of its own.
    FcConfigDestroy(config);
}

// The desktop's file chooser draws with the desktop's fonts: the system's
// whole configuration, read once when the chooser is first wanted.
void configureTheSystemFonts() {
    static bool done = false;
    if (done) return;
    done = true;
    if (FcConfig* config = FcInitLoadConfigAndFonts()) {
        FcConfigSetCurrent(config);
        FcConfigDestroy(config);
    }
}

}  // namespace

int fontSizeFor(int systemHeight) { return systemHeight >= 19 ? 15 : 12; }

FltkBackend::FltkBackend() {
    openDisplay();
    configureTheOneFont();
    // Xft has no per-glyph fallback: every text goes through one CJK font.
    // A leading blank keeps FLTK from reading "I" as an italic prefix.
    Fl::set_font(FL_HELVETICA, " IPAPGothic");
    // FLTK's file chooser draws some labels bold ("B" asks Xft for bold).
    Fl::set_font(FL_HELVETICA_BOLD, "BIPAPGothic");
    // FLTK 1.3 does not scale: the peers make the forms at the display's
    // scale, and what FLTK makes itself is scaled here. Its message boxes
    // (the error report, warning and help boxes) size their text and
    // buttons by the message font and the normal size, its menus' text and
    // line heights follow the bar's text size (MenuBar), a list's scroll bar
    // is the global scroll bar size, and FLTK's own file chooser is laid
    // out again at scale (FileChooser); GTK's chooser scales itself.
    FL_NORMAL_SIZE = px(14);
    fl_message_font(FL_HELVETICA, px(14));
    Fl::scrollbar_size(px(Fl::scrollbar_size()));
    setFltkOptions();
    rememberFltkDialogTexts();
    installEventRouting();
    Fl::add_timeout(1.0, reapTick);
}

FltkBackend::~FltkBackend() {
    Fl::remove_timeout(reapTick);
    Fl::remove_timeout(watchHelpOpeners, this);
}

// A form's outer size here is its FLTK window's: for a sizeable form, whose
// definition gives the outer size of a Windows frame, that is less.
int FltkBackend::frameWidth(const Form& form) const { return windowWidth(form) - form.clientWidth(); }
int FltkBackend::frameHeight(const Form& form) const { return windowHeight(form) - form.clientHeight(); }

void FltkBackend::showForm(Form& form) {
    if (!form.peer) form.peer = std::make_unique<FormPeer>(form);
    FormPeer* peer = peerOf(form);
    peer->changed();
    if (form.modal()) peer->window()->set_modal();
    else peer->window()->clear_modal_states();
    // The main window and the notice over it come up whole. A dialog opened
    // right after the desktop's file chooser came up with the chooser's
    // picture when painted so; dialogs draw on their first exposure.
    peer->window()->paintFirstFrame(!form.modal());
    // Opened now, the font is ready for the first frame: no empty window
    // first.
    fl_font(FL_HELVETICA, px(fontSizeFor(form.fontHeight())));
    peer->window()->show();
    applyDecorations(peer->window(), form);
    if (peer->takesText()) openInputMethod(*peer->window());
    if (Control* c = form.focusedControl()) c->peer->changed();
}

void FltkBackend::hideForm(Form& form) {
    if (FormPeer* peer = peerOf(form)) peer->window()->hide();
}

void FltkBackend::destroyForm(Form& form) {
    if (main_ == &form) main_ = nullptr;
    form.peer.reset();
}

void FltkBackend::runModal(Form& form) {
    while (form.modalResult() == mr::NotSet) Fl::wait();
}

void FltkBackend::runMain(Form& form) {
    main_ = &form;
    while (form.showing()) Fl::wait();
}

void FltkBackend::timerChanged(Timer& timer) {
    Fl::remove_timeout(timerFired, &timer);
    if (timer.running()) Fl::add_timeout(timer.interval() / 1000.0, timerFired, &timer);
}

void FltkBackend::timerDestroyed(Timer& timer) { Fl::remove_timeout(timerFired, &timer); }

bool FltkBackend::runOpenDialog(OpenDialog& dialog) {
    configureTheSystemFonts();
    ChooserRequest request;
    // The defaults of the Windows dialog: its own title, the working folder.
    request.title = utf8(!dialog.title.empty() ? dialog.title : japanese_ ? "開く" : "Open");
    request.filters = chooserFilters(dialog.filter);
    request.filter = dialog.filterIndex >= 1 ? static_cast<std::size_t>(dialog.filterIndex - 1) : 0;
    std::optional<std::string> folder = posix::toUtf8(dialog.initialDir), preset = posix::toUtf8(dialog.fileName);
    request.folder = folder && !folder->empty() ? *folder : posix::workingFolder();
    if (preset && !preset->empty()) {
        const std::string path = posix::absolute(*preset, request.folder);
        struct stat st;
        if (stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) request.selected = path;
    }
    std::optional<std::string> chosen = chooseFile(request);
    if (!chosen) return false;
    std::optional<std::string> path = posix::fromUtf8(*chosen);
    dialog.pathLost = !path;
    dialog.fileName = path.value_or("");
    return true;
}

void FltkBackend::acceptDroppedFiles(Form& form, bool accept) {
    if (!form.peer) form.peer = std::make_unique<FormPeer>(form);
    peerOf(form)->acceptsDrops = accept;
}

// In defined units, as the program places its forms.
int FltkBackend::screenWidth() {
    int x, y, w, h;
    Fl::screen_xywh(x, y, w, h, 0);
    return units(w);
}

int FltkBackend::screenHeight() {
    int x, y, w, h;
    Fl::screen_xywh(x, y, w, h, 0);
    return units(h);
}

bool FltkBackend::activateWindow(const std::string& windowClass) {
    Window w = findWindowByClass(fl_display, windowClass);
    if (w == None) return false;
    fltk::activateWindow(fl_display, w);
    return true;
}

// The help files are HTML pages here, named as the help file with ".html"
// for its extension (TARVO.html for TARVO.HLP), beside the program and
// shown by the desktop's opener. A missing page, or no program to show
// it, gets a box of the help's own, in the language mode. The opener may
// take seconds to find that no program shows the page, and help need not
// answer at once: its failure is told whenever it comes.
void FltkBackend::showHelp(const std::string& helpFile, int) {
    const std::string name = fileNamePart(helpFile);
    const std::string page = directoryPart(host().programPath()) + helpPageName(name);
    if (!host().files().exists(page)) {
        tellHelp("ﾍﾙﾌﾟ ﾌｧｲﾙ " + page + " が見つかりません", "Help file " + page + " not found");
        return;
    }
    std::optional<std::string> path = posix::toUtf8(page);
    posix::StartedOpener opener = path ? posix::startOpener(*path) : posix::StartedOpener{2, 0};
    if (opener.result <= 32) {
        helpNotOpened(page);
        return;
    }
    helpOpeners_.push_back({opener.pid, page});
    if (!Fl::has_timeout(watchHelpOpeners, this)) Fl::add_timeout(kHelpWatchSeconds, watchHelpOpeners, this);
}

void FltkBackend::watchHelpOpeners(void* data) {
    auto* self = static_cast<FltkBackend*>(data);
    std::vector<std::string> failed;
    std::erase_if(self->helpOpeners_, [&](const HelpOpener& opener) {
        std::optional<bool> ended = posix::openerEnded(opener.pid);
        if (ended == false) failed.push_back(opener.page);
        return ended.has_value();
    });
    // Set again before a box runs its own loop.
    if (!self->helpOpeners_.empty()) Fl::repeat_timeout(kHelpWatchSeconds, watchHelpOpeners, data);
    for (const std::string& page : failed) self->helpNotOpened(page);
}

void FltkBackend::helpNotOpened(const std::string& page) {
    tellHelp("ﾍﾙﾌﾟ ﾌｧｲﾙ " + page + " を開けません", "Cannot open help file " + page);
}

void FltkBackend::tellHelp(const std::string& japanese, const std::string& english) {
    fl_message_title(utf8(applicationTitle()).c_str());
    fl_alert("%s", displayText(japanese_ ? japanese : english).c_str());
}

void FltkBackend::minimizeApplication() {
    if (!main_ || !main_->peer) return;
    // A window manager minimises only a mapped window.
    mapHeldWindowsNow();
    peerOf(*main_)->window()->iconize();
}

void FltkBackend::restoreApplication() {
    if (main_ && main_->peer) peerOf(*main_)->window()->show();
}

// The framework's own boxes keep their texts in either mode: "OK" reads
// the same in Japanese, and the warning names its button.
void FltkBackend::errorReport(const std::string& caption, const std::string& text) { alertBox(caption, text, "OK"); }

void FltkBackend::warningBox(const std::string& caption, const std::string& text, const std::string& button) {
    alertBox(caption, text, displayText(button));
}

void FltkBackend::languageChanged(bool japanese) {
    japanese_ = japanese;
    applyDialogTexts(japanese);
}

}  // namespace platform::fltk
