// What a console backend must do: show the screen, deliver keys, sound.
#pragma once

#include "platform/console/screen.h"

namespace kestrel::console {

/// Thrown by a scripted backend when the program waits for a key and the
/// script has no more. It is not a std::exception on purpose: nothing but
/// the program's entry point (or a test) may catch it.
struct ScriptEnded {};

class Backend {
  public:
    virtual ~Backend() = default;

    /// Brings the display up to date with `screen`. Rows not damaged since
    /// the last call are known to be unchanged; the caller clears the damage.
    virtual void Present(const Screen& screen) = 0;

    /// The next key, or key::kNone when none came within `timeout_ms`
    /// (0 = only look). A scripted backend throws ScriptEnded when asked
    /// to wait (timeout_ms > 0) after its last key.
    virtual int ReadKey(int timeout_ms) = 0;

    /// A tone of `frequency` Hz for `ticks` eighteenths of a second.
    virtual void Tone(int frequency, int ticks) = 0;

    /// Pauses; a scripted backend does not really wait unless asked to.
    virtual void Sleep(int milliseconds) = 0;

    /// Whether the display shows colours (false selects the monochrome set).
    virtual bool HasColour() const { return true; }
};

}  // namespace kestrel::console
