// The chain of calling routines, for the error screen's "Called from" lines.
//
// Routines that want to appear in it (menu functions and what they call)
// hold a Routine guard for as long as they run. When an exception unwinds
// the guards, the chain as it stood at the failure is kept, so that the
// handler of the main loop can still print it after the unwinding.
#pragma once

#include <source_location>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel::common {

struct CallFrame {
    std::string routine;
    int line = 0;

    bool operator==(const CallFrame&) const = default;
};

class CallChain {
  public:
    void Push(std::string_view routine, int line);
    void Pop();
    /// The routines running now, the outermost first.
    const std::vector<CallFrame>& frames() const { return frames_; }
    /// The routines that were running when the last exception began to
    /// unwind them (the current ones when none did since a routine began).
    const std::vector<CallFrame>& AtFailure() const {
        return failure_.empty() ? frames_ : failure_;
    }
    void ForgetFailure() { failure_.clear(); }

  private:
    friend class Routine;
    void NoteUnwinding();

    std::vector<CallFrame> frames_;
    std::vector<CallFrame> failure_;
};

/// Puts a routine on the chain for its lifetime; the line is where the
/// guard stands.
class Routine {
  public:
    Routine(CallChain& chain, std::string_view name,
            std::source_location where = std::source_location::current());
    ~Routine();
    Routine(const Routine&) = delete;
    Routine& operator=(const Routine&) = delete;

  private:
    CallChain& chain_;
    int uncaught_;
};

}  // namespace kestrel::common
