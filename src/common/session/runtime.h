// The runtime context: what the code of a running program shares.
//
// One Runtime is built by the program's entry (or by a test, over a
// headless console and a fixed clock) and passed to the code that needs it.
// There are no hidden globals besides it.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "common/session/call_chain.h"
#include "common/session/colour_sets.h"
#include "common/session/configuration.h"
#include "common/session/letters.h"
#include "common/session/operators.h"
#include "platform/base/clock.h"
#include "platform/console/colour.h"
#include "platform/console/console.h"
#include "platform/formula/environment.h"

namespace kestrel::common {

class Runtime {
  public:
    Runtime(console::Console& con, const base::Clock& clock);

    console::Console& console() { return console_; }
    console::Screen& screen() { return console_.screen(); }
    const base::Clock& clock() const { return clock_; }

    /// The colour set in force (the YCO… colour texts).
    const ColourSet& colours() const { return *colours_; }
    void set_colours(const ColourSet& set) { colours_ = &set; }
    /// The standard colour of one of the set's colour texts.
    console::Attr Standard(const char* spec) const;
    console::Attr Enhanced(const char* spec) const;

    /// Screen text with Polish letters, written in UTF-8 in the source,
    /// as CP852 bytes in the letter set in force.
    std::string Text(std::string_view utf8) const;
    /// The Polish letter set in force (CP852 until the configuration says).
    const LetterSet& letters() const { return letters_; }
    void set_letters(LetterSet set) { letters_ = std::move(set); }

    /// The working date, "today" for the functions that need a date of work.
    const base::LocalTime& working_date() const { return working_date_; }
    void set_working_date(const base::LocalTime& date) { working_date_ = date; }
    /// Sets the working date to today (done before every menu).
    void ResetWorkingDate() { working_date_ = clock_.Now(); }

    /// The company's configuration (the NAGL… variables).
    Configuration& config() { return config_; }
    const Configuration& config() const { return config_; }
    /// What the formula engine runs of the program share: the
    /// configuration's variables as their public variables, and the clock
    /// (so --now fixes date()). Pass it to every formula::Runtime the
    /// program creates; those must end before this Runtime does.
    formula::Environment formulas() { return {&config_.variables(), &clock_}; }

    // --- program state shared by the menus and the main loop -------------
    /// The check every menu display makes for a configuration changed by
    /// another workstation (true when it changed); set by the main loop.
    void set_config_check(std::function<bool()> check) { config_check_ = std::move(check); }
    bool ConfigChanged() const { return config_check_ && config_check_(); }
    /// What the table layer runs after it upgraded the structure of a table
    /// of the company directory (`table` in upper case), installed by the
    /// program: the offer of the payroll formula updates. It may ask the
    /// operator and throws common::Abandon when the operator declines.
    void set_after_upgrade(std::function<void(std::string_view table)> hook) {
        after_upgrade_ = std::move(hook);
    }
    void AfterUpgrade(std::string_view table) {
        if (after_upgrade_) after_upgrade_(table);
    }

    /// The program directory (NAGLX, without a trailing "/") and the name
    /// of the company directory in force ("" = the program directory's own).
    const std::string& program_dir() const { return program_dir_; }
    const std::string& company() const { return company_; }
    void set_program_dir(std::string dir, std::string company) {
        program_dir_ = std::move(dir);
        company_ = std::move(company);
    }
    /// The operator at the keyboard and whether the company has a list.
    OperatorState& operators() { return operators_; }
    const OperatorState& operators() const { return operators_; }
    /// The warning about a missing operator list was shown in this run.
    bool& no_list_warned() { return no_list_warned_; }

    /// The company data directory with a trailing "/" (NAGL0).
    const std::string& data_dir() const { return data_dir_; }
    void set_data_dir(std::string dir) { data_dir_ = std::move(dir); }
    /// A full reload of the configuration is wanted (NAGLBREAM).
    bool restart_requested() const { return restart_requested_; }
    void set_restart_requested(bool on) { restart_requested_ = on; }
    /// The process-wide read-only flag (QRMRO): sets it, returns the old value.
    bool SetReadOnly(bool on) {
        bool old = read_only_;
        read_only_ = on;
        return old;
    }
    bool read_only() const { return read_only_; }
    /// Menus wrap from the last entry to the first and back.
    bool menu_wrap() const { return menu_wrap_; }
    void set_menu_wrap(bool on) { menu_wrap_ = on; }
    /// The routines running now, for the error screen.
    CallChain& call_chain() { return call_chain_; }
    /// Row where menus show the current entry's help line (column 0).
    int message_row() const { return message_row_; }
    void set_message_row(int row) { message_row_ = row; }

  private:
    console::Console& console_;
    const base::Clock& clock_;
    const ColourSet* colours_;
    base::LocalTime working_date_;
    LetterSet letters_ = MakeLetterSet(kPolishCp852);
    Configuration config_;
    std::function<bool()> config_check_;
    std::function<void(std::string_view)> after_upgrade_;
    std::string data_dir_ = "./";
    std::string program_dir_ = ".";
    std::string company_;
    OperatorState operators_;
    bool no_list_warned_ = false;
    bool restart_requested_ = false;
    bool read_only_ = false;
    bool menu_wrap_ = false;
    int message_row_ = 0;
    CallChain call_chain_;
};

}  // namespace kestrel::common
