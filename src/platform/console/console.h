// The console the whole program draws on and reads keys from.
//
// It owns the screen grid and the keyboard state and talks to one backend
// (the terminal or a key script). Nothing in it is global: every test builds
// its own console over a headless backend.
#pragma once

#include <functional>
#include <string_view>

#include "platform/console/backend.h"
#include "platform/console/colour.h"
#include "platform/console/keyboard.h"
#include "platform/console/screen.h"

namespace kestrel::console {

class Console {
  public:
    explicit Console(Backend& backend);

    Screen& screen() { return screen_; }
    const Screen& screen() const { return screen_; }
    Keyboard& keyboard() { return keyboard_; }
    Backend& backend() { return backend_; }

    // --- colours ---------------------------------------------------------
    const ColourSpec& colour() const { return colour_; }
    void SetColour(const ColourSpec& spec) { colour_ = spec; }
    /// Sets the current colour set from a colour text; returns false (and
    /// keeps the current set) when the text is not a valid colour text.
    bool SetColour(std::string_view spec);
    bool has_colour() const { return backend_.HasColour(); }

    // --- output in the current colours -----------------------------------
    /// Writes CP852 text at (row, col) in the standard colour and leaves the
    /// cursor after it; returns the column after the text.
    int Say(int row, int col, std::string_view text);
    int SayEnhanced(int row, int col, std::string_view text);
    int SayIn(int row, int col, std::string_view text, Attr attr);
    void ClearRegion(int top, int left, int bottom, int right) {
        screen_.Clear(top, left, bottom, right, colour_.standard);
    }
    /// Sends what changed to the backend.
    void Refresh();

    // --- keys ------------------------------------------------------------
    /// Waits for a key as the program's wait states do: type-ahead first,
    /// hot keys run their action and the wait goes on, the idle routine
    /// runs about once a second. Returns the key and records it as last key.
    int WaitKey();
    /// Reads a key without hot keys: seconds < 0 waits for ever, 0 only
    /// looks; returns key::kNone when none came.
    int Inkey(double seconds);
    /// The next key waiting in the type-ahead buffer or at the backend,
    /// without taking it; key::kNone when none.
    int NextKey();
    int LastKey() const { return keyboard_.last_key(); }
    /// True while WaitKey is waiting (for idle routines and hot keys).
    bool waiting() const { return waiting_; }
    /// A routine run while WaitKey waits (the running clock).
    void SetIdle(std::function<void()> idle) { idle_ = std::move(idle); }

    // --- sound and time --------------------------------------------------
    void Tone(int frequency, int ticks) { backend_.Tone(frequency, ticks); }
    void Sleep(int milliseconds) { backend_.Sleep(milliseconds); }

  private:
    int ReadRaw(int timeout_ms);

    Backend& backend_;
    Screen screen_;
    Keyboard keyboard_;
    ColourSpec colour_;
    std::function<void()> idle_;
    bool waiting_ = false;
    int running_hot_key_ = 0;
};

}  // namespace kestrel::console
