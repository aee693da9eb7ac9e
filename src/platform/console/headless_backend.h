// A backend without a terminal: keys come from a script, the screen is kept
// in memory and written to files on request, tones are recorded.
#pragma once

#include <string>
#include <vector>

#include "platform/console/backend.h"
#include "platform/console/key_script.h"

namespace kestrel::console {

struct ToneEvent {
    int frequency;
    int ticks;
};

class HeadlessBackend : public Backend {
  public:
    HeadlessBackend() = default;
    explicit HeadlessBackend(std::vector<ScriptStep> steps) : steps_(std::move(steps)) {}

    /// Appends keys (tests feed keys this way).
    void AddKeys(const std::vector<int>& keys);
    /// Appends a parsed script; returns its parse status.
    base::Status AddScript(std::string_view utf8);

    /// Directory for "{screen NAME}" files; empty = screens are not written.
    void set_screens_dir(std::string dir) { screens_dir_ = std::move(dir); }
    /// When true, Sleep really sleeps.
    void set_real_time(bool real) { real_time_ = real; }
    void set_colour(bool colour) { colour_ = colour; }

    /// Writes the last presented screen to screens_dir/NAME.txt. Returns
    /// false when it could not be written (no directory set counts as done).
    bool WriteScreen(const std::string& name) const;

    void Present(const Screen& screen) override;
    int ReadKey(int timeout_ms) override;
    void Tone(int frequency, int ticks) override { tones_.push_back({frequency, ticks}); }
    void Sleep(int milliseconds) override;
    bool HasColour() const override { return colour_; }

    const Screen& shown() const { return shown_; }
    const std::vector<ToneEvent>& tones() const { return tones_; }
    int presents() const { return presents_; }
    bool exhausted() const { return next_ >= steps_.size(); }

  private:
    std::vector<ScriptStep> steps_;
    size_t next_ = 0;
    Screen shown_;
    std::string screens_dir_;
    std::vector<ToneEvent> tones_;
    bool real_time_ = false;
    bool colour_ = true;
    int presents_ = 0;
};

}  // namespace kestrel::console
