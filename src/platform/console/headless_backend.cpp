#include "platform/console/headless_backend.h"

#include <chrono>
#include <fstream>
#include <thread>

#include "platform/console/keys.h"

namespace kestrel::console {

void HeadlessBackend::AddKeys(const std::vector<int>& keys) {
    for (int k : keys) steps_.push_back({ScriptStep::Kind::kKey, k, {}});
}

base::Status HeadlessBackend::AddScript(std::string_view utf8) {
    std::vector<ScriptStep> parsed;
    base::Status s = ParseKeyScript(utf8, &parsed);
    if (s.ok()) steps_.insert(steps_.end(), parsed.begin(), parsed.end());
    return s;
}

void HeadlessBackend::Present(const Screen& screen) {
    shown_.CopyDamagedFrom(screen);
    ++presents_;
}

bool HeadlessBackend::WriteScreen(const std::string& name) const {
    if (screens_dir_.empty()) return true;
    std::ofstream out(screens_dir_ + "/" + name + ".txt", std::ios::binary | std::ios::trunc);
    out << shown_.DumpUtf8();
    return static_cast<bool>(out);
}

int HeadlessBackend::ReadKey(int timeout_ms) {
    while (next_ < steps_.size()) {
        // A poll does not pass a screen step: the screen is written at the
        // program's next real wait, after what is being drawn is complete.
        if (timeout_ms == 0 && steps_[next_].kind == ScriptStep::Kind::kScreen) return key::kNone;
        const ScriptStep& step = steps_[next_++];
        if (step.kind == ScriptStep::Kind::kScreen) {
            WriteScreen(step.name);
            continue;
        }
        return step.key;
    }
    if (timeout_ms > 0) throw ScriptEnded{};
    return key::kNone;
}

void HeadlessBackend::Sleep(int milliseconds) {
    if (real_time_ && milliseconds > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace kestrel::console
