// The native window of a form.
#pragma once

#include <FL/Fl_Double_Window.H>

#include <deque>
#include <string>
#include <vector>

namespace platform::fltk {

class FormPeer;

class FormWindow : public Fl_Double_Window {
public:
    FormWindow(FormPeer& peer, int w, int h, const char* title) : Fl_Double_Window(w, h, title), peer_(peer) {}
    ~FormWindow() override;
    FormPeer& peer() const { return peer_; }
    int handle(int event) override;
    // A move by the user (or the window manager) is the form's new position.
    void resize(int x, int y, int w, int h) override;
    void flush() override;
    // Draws the window into its X background, so that the server shows the
    // whole content the moment it maps the window: no empty first frame
    // while the first exposure makes its round trip. Called just before the
    // map, when FLTK has made the window but the server has not mapped it.
    void paintBeforeMap();
    // Only a window that asks for it is painted before its map.
    void paintFirstFrame(bool on) { paintFirstFrame_ = on; }
    // True for an exposure of the painted background, which shows the
    // window as it is: nothing to draw again.
    bool showsPaintedBackground() const { return paintedBackground_; }

private:
    // While a modal window is open the other windows take nothing, drops
    // included, as on Windows.
    bool acceptsDropNow() const;
    void dropped(const std::string& text);
    static void deliverDrops(void* window);
    FormPeer& peer_;
    std::deque<std::vector<std::string>> pendingDrops_;
    bool paintFirstFrame_ = false;
    bool paintedBackground_ = false;
};

}  // namespace platform::fltk
