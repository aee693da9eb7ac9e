#include "common/screen/choice.h"

#include <algorithm>
#include <cctype>

#include "common/screen/messages.h"
#include "platform/console/keys.h"

namespace kestrel::common {
namespace {

namespace key = console::key;

class Choice {
  public:
    Choice(Runtime& rt, int top, int left, int bottom, int right,
           const std::vector<std::string>& texts, const std::vector<bool>& selectable)
        : rt_(rt),
          top_(top),
          left_(left),
          rows_(std::max(bottom - top + 1, 1)),
          width_(std::max(right - left + 1, 1)),
          texts_(texts),
          selectable_(selectable) {
        colours_ = console::ParseColourSpec(rt.colours().ycow5).value_or(console::ColourSpec{});
    }

    int count() const { return static_cast<int>(texts_.size()); }
    bool Selectable(int i) const {
        return i >= 0 && i < count() &&
               (selectable_.empty() ||
                (i < static_cast<int>(selectable_.size()) && selectable_[static_cast<size_t>(i)]));
    }
    // The first selectable row from `i` in direction `step`; -1 when none.
    int Seek(int i, int step) const {
        for (; i >= 0 && i < count(); i += step)
            if (Selectable(i)) return i;
        return -1;
    }

    int Run(int initial, bool esc_allowed) {
        int cur = Seek(std::clamp(initial - 1, 0, std::max(count() - 1, 0)), +1);
        if (cur < 0) cur = Seek(count() - 1, -1);
        if (cur < 0) return 0;
        for (;;) {
            if (cur < first_) first_ = cur;
            if (cur >= first_ + rows_) first_ = cur - rows_ + 1;
            Draw(cur);
            const int k = Qrminkey(rt_);
            int next = -1;
            switch (k) {
                case key::kEnter:
                    return cur + 1;
                case key::kEsc:
                case key::kLeft:
                case key::kRight:
                    if (esc_allowed) return 0;
                    continue;
                case key::kUp:
                    next = Seek(cur - 1, -1);
                    break;
                case key::kDown:
                    next = Seek(cur + 1, +1);
                    break;
                case key::kHome:
                case key::kCtrlPgUp:
                    next = Seek(0, +1);
                    break;
                case key::kEnd:
                case key::kCtrlPgDn:
                    next = Seek(count() - 1, -1);
                    break;
                case key::kPgUp:
                    next = Seek(std::max(cur - rows_, 0), -1);
                    if (next < 0) next = Seek(0, +1);
                    break;
                case key::kPgDn:
                    next = Seek(std::min(cur + rows_, count() - 1), +1);
                    if (next < 0) next = Seek(count() - 1, -1);
                    break;
                default:
                    if (console::IsPrintable(k)) next = ByLetter(cur, static_cast<char>(k));
                    break;
            }
            if (next >= 0) cur = next;
        }
    }

  private:
    int ByLetter(int cur, char c) const {
        const int n = count();
        const int up = std::toupper(static_cast<unsigned char>(c));
        for (int j = 1; j <= n; ++j) {
            const int i = (cur + j) % n;
            const std::string& t = texts_[static_cast<size_t>(i)];
            const size_t b = t.find_first_not_of(' ');
            if (Selectable(i) && b != std::string::npos &&
                std::toupper(static_cast<unsigned char>(t[b])) == up)
                return i;
        }
        return -1;
    }

    void Draw(int cur) {
        auto& s = rt_.screen();
        for (int r = 0; r < rows_; ++r) {
            const int i = first_ + r;
            std::string line = i < count() ? texts_[static_cast<size_t>(i)] : std::string();
            line.resize(static_cast<size_t>(width_), ' ');
            const console::Attr attr = i == cur                        ? colours_.enhanced
                                       : !Selectable(i) && i < count() ? colours_.unselected
                                                                       : colours_.standard;
            s.Write(top_ + r, left_, line, attr);
        }
        s.SetCursor(top_ + cur - first_, left_);
    }

    Runtime& rt_;
    int top_, left_, rows_, width_;
    const std::vector<std::string>& texts_;
    const std::vector<bool>& selectable_;
    console::ColourSpec colours_;
    int first_ = 0;
};

}  // namespace

int Qrmach(Runtime& rt, int top, int left, int bottom, int right,
           const std::vector<std::string>& texts, const std::vector<bool>& selectable, int initial,
           bool esc_allowed) {
    Choice c(rt, top, left, bottom, right, texts, selectable);
    return c.Run(initial, esc_allowed);
}

}  // namespace kestrel::common
