// Numbered text menus: the one menu engine of the program and its wrapper.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common/session/runtime.h"

namespace kestrel::common {

/// One menu entry: its place, its text (beginning with its hot character,
/// "1. Koniec") and an optional help line shown while it is current.
struct MenuEntry {
    int row = 0;
    int col = 0;
    std::string text;     // CP852
    std::string message;  // CP852; "" = none
};

/// QRMPROM: shows the entries and lets the operator choose. `choice`
/// (1-based) is where the bar starts and receives the result: the chosen
/// entry, or 0 for Esc. Hot keys bound in the keyboard run while it waits.
void RunMenu(Runtime& rt, const std::vector<MenuEntry>& entries, int* choice);

/// QRMMENU2: the menu with the steps every menu display takes — working
/// date reset, the configuration check (a changed configuration makes the
/// menu return at once and then abandons to the main loop), message lines
/// cleared, Esc taken as choice 1, "CZEKAJ..." shown afterwards.
/// `config_changed` is the check of the configuration file (empty: the
/// runtime's check). A reload already requested leaves the same way.
void Menu2(Runtime& rt, const std::vector<MenuEntry>& entries, int* choice,
           const std::function<bool()>& config_changed = {});

/// One entry of a subsystem menu: its text without the number ("Koniec")
/// and what it runs.
struct SubMenuItem {
    std::string text;  // CP852
    std::function<void()> run;
};

/// The sub-menu convention: clears the work area, shows `title` at row 4
/// column 22, numbers the entries 1-9 then A, B, C … from row 7 right after
/// `prefix` ("2.", "9.5.") written at column 22 in front of each (column 24,
/// 26), so each entry reads with its full number, and runs the chosen
/// entry until the operator chooses 1 ("Koniec") or presses Esc.
/// The first item must be "Koniec" (its action is not called).
void RunSubMenu(Runtime& rt, const std::string& title, const std::string& prefix,
                const std::vector<SubMenuItem>& items,
                const std::function<bool()>& config_changed = {});

/// Where a sub-menu puts its entries: the first row and the column of the
/// entry texts (the prefix stands two columns before... at column 22).
struct SubMenuPlace {
    int first_row = 7;
    int col = 24;
};

/// The same with the entries placed elsewhere (a second-level menu such as
/// 2.7 lists its entries from row 8 at column 26).
void RunSubMenuAt(Runtime& rt, const std::string& title, const std::string& prefix,
                  const std::vector<SubMenuItem>& items, SubMenuPlace place,
                  const std::function<bool()>& config_changed = {});

}  // namespace kestrel::common
