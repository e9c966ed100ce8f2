// Implements: a Windows filter string turned into the choosers' filters;
// the choice of chooser; FLTK's own chooser showing the defined filters
// only, the file to select selected.
#include "platform/fltk/FileChooser.h"

#include <FL/Fl.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_File_Browser.H>
#include <FL/Fl_File_Chooser.H>
#include <FL/Fl_Window.H>

#include <memory>
#include <vector>

#include "platform/fltk/GtkChooser.h"
#include "platform/fltk/XDisplay.h"
#include "platform/posix/convert.h"

namespace platform::fltk {

namespace {

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

// Windows matches names ignoring case, and "*.*" takes names without a dot.
std::string globOf(const std::string& pattern) {
    if (pattern == "*.*") return "*";
    std::string glob;
    for (char c : pattern) {
        const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        glob += lower == upper ? std::string(1, c) : std::string{'[', upper, lower, ']'};
    }
    return glob;
}

// FLTK lays its chooser out at 96 dpi: the window and every widget in it
// are placed again at the display's scale. (Their text sizes follow FLTK's
// normal size, which the backend scaled before the chooser was made.)
void layOutAtScale(Fl_Window& window) {
    if (displayDpi() == kDefinedDpi) return;
    struct Place {
        Fl_Widget* widget;
        int x, y, w, h;
    };
    std::vector<Place> places;
    std::vector<Fl_Group*> groups{&window};
    for (std::size_t g = 0; g < groups.size(); ++g) {
        for (int i = 0; i < groups[g]->children(); ++i) {
            Fl_Widget* child = groups[g]->child(i);
            places.push_back({child, child->x(), child->y(), child->w(), child->h()});
            if (Fl_Group* inner = child->as_group()) groups.push_back(inner);
        }
    }
    window.size(px(window.w()), px(window.h()));
    // Placed as given, not moved along by their groups' resizing.
    for (const Place& p : places) {
        const int x = px(p.x), y = px(p.y);
        p.widget->Fl_Widget::resize(x, y, px(p.x + p.w) - x, px(p.y + p.h) - y);
    }
    for (Fl_Group* group : groups) group->init_sizes();
}

// FLTK's chooser takes a filter's pattern from its menu text, cut at the
// first "(", and adds "All Files" and "Custom Filter": its menu of filters
// is replaced by the defined one, whose choice sets the list's pattern.
struct FltkFilters {
    Fl_File_Chooser& chooser;
    Fl_File_Browser& list;
    std::vector<std::string> patterns;  // one fl_filename_match pattern per filter
    void apply(std::size_t index) { list.filter(patterns.at(index).c_str()); }
};

std::optional<std::string> runFltkChooser(const ChooserRequest& request) {
    Fl_File_Chooser chooser(request.folder.c_str(), nullptr, Fl_File_Chooser::SINGLE, request.title.c_str());
    Fl_Window* window = chooser.newButton->window();
    layOutAtScale(*window);
    Fl_Choice* menu = findIn<Fl_Choice>(*window);
    Fl_File_Browser* list = findIn<Fl_File_Browser>(*window);
    std::unique_ptr<FltkFilters> filters;
    if (menu && list && !request.filters.empty()) {
        filters.reset(new FltkFilters{chooser, *list, {}});
        menu->clear();
        for (const ChooserFilter& f : request.filters) {
            // Set whole, since add() reads "/" and "_" in a name; "&&" is
            // drawn as the "&" Windows shows.
            std::string name;
            for (char c : f.name) name += c == '&' ? "&&" : std::string(1, c);
            menu->replace(menu->add("\x01", 0, nullptr), name.c_str());
            std::string any;
            for (const std::string& pattern : f.patterns) any += (any.empty() ? "" : ",") + pattern;
            filters->patterns.push_back(f.patterns.size() > 1 ? "{" + any + "}" : any);
        }
        const std::size_t first = request.filter < request.filters.size() ? request.filter : 0;
        menu->value(static_cast<int>(first));
        filters->apply(first);
        menu->callback(
            [](Fl_Widget* w, void* data) {
                auto* self = static_cast<FltkFilters*>(data);
                self->apply(static_cast<std::size_t>(static_cast<Fl_Choice*>(w)->value()));
                self->chooser.rescan_keep_filename();
            },
            filters.get());
    }
    if (!request.selected.empty()) chooser.value(request.selected.c_str());
    else chooser.directory(request.folder.c_str());
    chooser.show();
    while (chooser.shown()) Fl::wait();
    const char* chosen = chooser.value();
    if (!chosen) return std::nullopt;
    return std::string(chosen);
}

}  // namespace

std::vector<ChooserFilter> chooserFilters(const std::string& windowsFilter) {
    std::vector<std::string> parts = split(windowsFilter, '|');
    std::vector<ChooserFilter> filters;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        ChooserFilter filter{posix::toUtf8Display(parts[i]), {}};
        for (const std::string& pattern : split(parts[i + 1], ';')) {
            if (!pattern.empty()) filter.patterns.push_back(globOf(pattern));
        }
        filters.push_back(std::move(filter));
    }
    return filters;
}

std::optional<std::string> chooseFile(const ChooserRequest& request) {
    if (Fl::option(Fl::OPTION_FNFC_USES_GTK) && gtkChooserAvailable()) return runGtkChooser(request);
    return runFltkChooser(request);
}

}  // namespace platform::fltk
