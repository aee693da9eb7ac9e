#include "platform/console/console.h"

#include "platform/console/keys.h"

namespace kestrel::console {

Console::Console(Backend& backend) : backend_(backend) {
    if (!backend_.HasColour()) colour_ = *ParseColourSpec("W,I,,,I");
}

bool Console::SetColour(std::string_view spec) {
    auto parsed = ParseColourSpec(spec, colour_);
    if (!parsed) return false;
    colour_ = *parsed;
    return true;
}

int Console::SayIn(int row, int col, std::string_view text, Attr attr) {
    int end = screen_.Write(row, col, text, attr);
    screen_.SetCursor(row, end);
    return end;
}

int Console::Say(int row, int col, std::string_view text) {
    return SayIn(row, col, text, colour_.standard);
}

int Console::SayEnhanced(int row, int col, std::string_view text) {
    return SayIn(row, col, text, colour_.enhanced);
}

void Console::Refresh() {
    backend_.Present(screen_);
    screen_.ClearDamage();
}

int Console::ReadRaw(int timeout_ms) {
    if (auto k = keyboard_.Take()) return *k;
    Refresh();
    return backend_.ReadKey(timeout_ms);
}

int Console::WaitKey() {
    struct WaitMark {
        bool& flag;
        bool saved;
        explicit WaitMark(bool& f) : flag(f), saved(f) { flag = true; }
        ~WaitMark() { flag = saved; }
    } mark(waiting_);

    for (;;) {
        int k = ReadRaw(1000);
        if (k == key::kNone) {
            if (idle_) idle_();
            continue;
        }
        keyboard_.set_last_key(k);
        const HotKeyAction* action = keyboard_.Find(k);
        if (action == nullptr || running_hot_key_ == k) return k;
        // Run a copy: the action may rebind its own key.
        HotKeyAction run = *action;
        int outer = running_hot_key_;
        running_hot_key_ = k;
        try {
            run();
        } catch (...) {
            running_hot_key_ = outer;
            throw;
        }
        running_hot_key_ = outer;
    }
}

int Console::Inkey(double seconds) {
    int k;
    if (seconds < 0) {
        do {
            k = ReadRaw(1000);
        } while (k == key::kNone);
    } else {
        k = ReadRaw(static_cast<int>(seconds * 1000));
    }
    if (k != key::kNone) keyboard_.set_last_key(k);
    return k;
}

int Console::NextKey() {
    if (auto k = keyboard_.Peek()) return *k;
    Refresh();
    int k = backend_.ReadKey(0);
    if (k != key::kNone) keyboard_.Push(k);
    return k;
}

}  // namespace kestrel::console
