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
    for (int r = 0; r < kRows; ++r) {
        if (!screen.RowDamaged(r)) continue;
        for (int c = 0; c < kCols; ++c) {
            const Cell& cell = screen.At(r, c);
            // Copy through the public interface, keeping the cursor as the screen has it.
            shown_.Write(r, c, std::string_view(reinterpret_cast<const char*>(&cell.ch), 1),
                         cell.attr);
        }
    }
    shown_.SetCursor(screen.CursorRow(), screen.CursorCol());
    shown_.SetCursorShape(screen.cursor_shape());
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
