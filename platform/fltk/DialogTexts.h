// The texts of the boxes and the file chooser that FLTK draws itself.
#pragma once

namespace platform::fltk {

// FLTK's button texts (fl_ok, fl_cancel, fl_yes, fl_no, fl_close) and its
// file chooser's labels in Japanese, or FLTK's own English ones.
void applyDialogTexts(bool japanese);

// Takes note of FLTK's own texts; called once before any change.
void rememberFltkDialogTexts();

}  // namespace platform::fltk
