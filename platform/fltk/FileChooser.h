// The file-open dialog on the Linux desktop.
#pragma once

#include <FL/Fl_Group.H>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace platform::fltk {

struct ChooserFilter {
    std::string name;                   // UTF-8, as shown
    std::vector<std::string> patterns;  // globs with each letter in both cases: "*.[Ee][Xx][Ee]"
};

struct ChooserRequest {
    std::string title;  // UTF-8
    std::vector<ChooserFilter> filters;
    std::size_t filter = 0;  // the one in force at first
    std::string folder;      // UTF-8, absolute
    std::string selected;    // an existing file of the folder to select, or ""
};

// A Windows filter ("Text (*.PRG)|*.PRG|All (*.*)|*.*", CP932) as the
// choosers take it: its names as they are, its patterns matching names
// ignoring case, "*.*" every name.
std::vector<ChooserFilter> chooserFilters(const std::string& windowsFilter);

// Shows the desktop's GTK chooser, or FLTK's own where GTK is missing (or
// FLTK's option says not to use it), modally: the chosen file's UTF-8
// path, or nothing when cancelled.
std::optional<std::string> chooseFile(const ChooserRequest& request);

// The first widget of kind T in a window of FLTK's own (its chooser holds
// one of each kind looked for), searched through its groups.
template <typename T>
T* findIn(Fl_Group& group) {
    for (int i = 0; i < group.children(); ++i) {
        if (auto* found = dynamic_cast<T*>(group.child(i))) return found;
        if (Fl_Group* inner = group.child(i)->as_group()) {
            if (T* found = findIn<T>(*inner)) return found;
        }
    }
    return nullptr;
}

}  // namespace platform::fltk
