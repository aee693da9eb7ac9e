#include "common/pick/archive_pick.h"

#include <algorithm>

#include "common/screen/choice.h"
#include "platform/console/screen.h"

namespace kestrel::common {

namespace {

// The window over `texts`; the chosen entry's number (1...) or 0 on Esc.
int Choose(Runtime& rt, const std::vector<std::string>& texts, int initial) {
    auto& s = rt.screen();
    const int rows = std::min<int>(static_cast<int>(texts.size()), 10);
    const int top = 8, left = 28, bottom = top + rows + 2, right = 52;
    const console::ScreenRegion saved = s.Save(top, left, bottom, right);
    const console::Attr frame = rt.Standard(rt.colours().ycow);
    s.Box(top, left, bottom, right, std::string(console::kFrameDouble) + " ", frame);
    s.Write(top + 1, left + 2, rt.Text("Katalogi archiwalne:"), frame);
    const int chosen = Qrmach(rt, top + 2, left + 1, bottom - 1, right - 1, texts, {}, initial);
    s.Restore(saved);
    return chosen;
}

}  // namespace

std::string PickArchive(Runtime& rt, const std::vector<std::string>& dirs,
                        const std::string& current) {
    if (dirs.empty()) return {};
    std::vector<std::string> texts;
    int initial = 1;
    for (const std::string& d : dirs) {
        texts.push_back(" " + d);
        if (d == current) initial = static_cast<int>(texts.size());
    }
    const int chosen = Choose(rt, texts, initial);
    if (chosen <= 0) return {};
    return dirs[static_cast<size_t>(chosen - 1)];
}

std::optional<std::string> PickTablesOrArchive(Runtime& rt, const std::vector<std::string>& dirs,
                                               const std::string& current) {
    std::vector<std::string> texts{" " + rt.Text("Zbiory bieżące")};
    int initial = 1;
    for (const std::string& d : dirs) {
        texts.push_back(" " + d);
        if (d == current) initial = static_cast<int>(texts.size());
    }
    const int chosen = Choose(rt, texts, initial);
    if (chosen <= 0) return std::nullopt;
    if (chosen == 1) return std::string();
    return dirs[static_cast<size_t>(chosen - 2)];
}

}  // namespace kestrel::common
