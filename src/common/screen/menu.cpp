#include "common/screen/menu.h"

#include <algorithm>
#include <cctype>

#include "common/screen/messages.h"
#include "common/session/abandon.h"
#include "platform/console/keys.h"

namespace kestrel::common {
namespace {

namespace key = console::key;

unsigned char UpperByte(unsigned char c) {
    return c < 0x80 ? static_cast<unsigned char>(std::toupper(c)) : c;
}

// Keeps the cursor's shape and restores it on return, whatever happens.
struct CursorOff {
    console::Screen& screen;
    console::CursorShape saved;
    explicit CursorOff(console::Screen& s) : screen(s), saved(s.cursor_shape()) {
        screen.SetCursorShape(console::CursorShape::kNone);
    }
    ~CursorOff() { screen.SetCursorShape(saved); }
};

char HotCharacter(int index) {
    return index < 9 ? static_cast<char>('1' + index) : static_cast<char>('A' + index - 9);
}

}  // namespace

void RunMenu(Runtime& rt, const std::vector<MenuEntry>& entries, int* choice) {
    auto& s = rt.screen();
    const int n = static_cast<int>(entries.size());
    if (n == 0) {
        *choice = 0;
        return;
    }
    CursorOff cursor(s);
    const console::Attr normal = rt.console().colour().standard;
    const console::Attr bar = rt.Standard(rt.colours().ycoi);
    size_t longest = 0;
    for (const auto& e : entries) {
        s.Write(e.row, e.col, e.text, normal);
        longest = std::max(longest, e.message.size());
    }
    int current = (*choice >= 1 && *choice <= n) ? *choice : 1;
    auto show = [&](int i) {
        const MenuEntry& e = entries[i - 1];
        if (longest > 0) {
            s.Clear(rt.message_row(), 0, rt.message_row(), static_cast<int>(longest) - 1, normal);
            s.Write(rt.message_row(), 0, e.message, normal);
        }
        s.Write(e.row, e.col, e.text, bar);
    };
    auto move_to = [&](int i) {
        const MenuEntry& old = entries[current - 1];
        s.Write(old.row, old.col, old.text, normal);
        current = i;
    };
    for (;;) {
        show(current);
        int k = Qrminkey(rt);
        switch (k) {
            case key::kEsc:
                *choice = 0;
                return;
            case key::kEnter:
            case key::kPgDn:
            case key::kPgUp:
                *choice = current;
                return;
            case key::kHome:
                move_to(1);
                continue;
            case key::kEnd:
                move_to(n);
                continue;
            case key::kDown:
            case key::kRight:
                if (current < n)
                    move_to(current + 1);
                else if (rt.menu_wrap())
                    move_to(1);
                continue;
            case key::kUp:
            case key::kLeft:
                if (current > 1)
                    move_to(current - 1);
                else if (rt.menu_wrap())
                    move_to(n);
                continue;
            default:
                break;
        }
        if (!console::IsPrintable(k)) continue;
        const unsigned char wanted = UpperByte(static_cast<unsigned char>(k));
        for (int i = 1; i <= n; ++i) {
            const std::string& text = entries[i - 1].text;
            if (!text.empty() && UpperByte(static_cast<unsigned char>(text[0])) == wanted) {
                move_to(i);
                show(i);
                *choice = i;
                return;
            }
        }
    }
}

void Menu2(Runtime& rt, const std::vector<MenuEntry>& entries, int* choice,
           const std::function<bool()>& config_changed) {
    rt.ResetWorkingDate();
    // A reload already asked for (a saved configuration) leaves at once too.
    const bool changed =
        rt.restart_requested() || (config_changed ? config_changed() : rt.ConfigChanged());
    if (changed) rt.console().keyboard().Stuff({key::kEsc});
    ClearMessageRow(rt);
    rt.screen().Clear(0, 0, 0, console::kCols - 1, rt.console().colour().standard);
    RunMenu(rt, entries, choice);
    if (*choice == 0) *choice = 1;
    ShowWait(rt);
    const int last = rt.console().LastKey();
    if (last != key::kEnter && last != key::kEsc) rt.console().Sleep(100);
    if (changed) throw Abandon("");
}

void RunSubMenu(Runtime& rt, const std::string& title, const std::string& prefix,
                const std::vector<SubMenuItem>& items,
                const std::function<bool()>& config_changed) {
    // The entries follow the parent's number: column 24 after "2.", 26
    // after "9.5.".
    const SubMenuPlace place{7, 22 + static_cast<int>(prefix.size())};
    RunSubMenuAt(rt, title, prefix, items, place, config_changed);
}

void RunSubMenuAt(Runtime& rt, const std::string& title, const std::string& prefix,
                  const std::vector<SubMenuItem>& items, SubMenuPlace place,
                  const std::function<bool()>& config_changed) {
    int choice = 1;
    for (;;) {
        auto& s = rt.screen();
        const console::Attr normal = rt.Standard(rt.colours().ycow);
        s.Clear(4, 1, 21, 77, normal);
        s.Write(4, 22, title, rt.Standard(rt.colours().ycob));
        std::vector<MenuEntry> entries;
        for (size_t i = 0; i < items.size(); ++i) {
            const int row = place.first_row + static_cast<int>(i);
            s.Write(row, 22, prefix, normal);
            entries.push_back(
                {row, place.col,
                 std::string(1, HotCharacter(static_cast<int>(i))) + ". " + items[i].text, ""});
        }
        Menu2(rt, entries, &choice, config_changed);
        if (choice <= 1) return;
        if (items[choice - 1].run) items[choice - 1].run();
    }
}

}  // namespace kestrel::common
