#include "startup/program.h"

#include <array>

#include "common/screen/error_screen.h"
#include "common/screen/identification.h"
#include "common/screen/menu.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "common/session/abandon.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"
#include "printing/data/definitions.h"
#include "startup/config_watch.h"
#include "startup/data/config_loader.h"
#include "startup/formula_updates.h"
#include "startup/main_menu.h"
#include "startup/main_screen.h"
#include "startup/public_variables.h"

namespace kestrel::startup {
namespace {

namespace key = console::key;
using memfile::MemValue;

constexpr int kParagraphSign = 0xF5;  // "§" in CP852

// Colour texts taken from the configuration (NAGLDWK): the strings the set
// points into live here.
struct StoredColours {
    std::array<std::string, 14> texts;
    common::ColourSet set{};
};

class Program {
  public:
    Program(common::Runtime& rt, const StartOptions& options)
        : rt_(rt), options_(options), dirs_(options.dirs), watch_(dirs_.data + "QRM.MEM") {
        company_hooks_.make_current = [this](common::Runtime&, const std::string& company) {
            MakeCurrent(company);
        };
        company_hooks_.hold = &hold_;
    }

    int Run() {
        rt_.set_config_check([this] { return !watch_.Check(rt_); });
        StartClock();
        Reload();
        for (;;) {
            ApplyColours();
            DrawMainScreen(rt_, ShortName());
            bool quit = false;
            try {
                quit = MainMenuPass();
            } catch (const common::Abandon& a) {
                if (*a.message()) common::ShowMessage(rt_, a.message());
            } catch (const std::exception&) {
                // Anything else a menu function let escape: the error screen.
                common::HandleEscapedError(rt_, std::current_exception());
            }
            if (quit) break;
            if (rt_.restart_requested()) Reload();
        }
        rt_.console().SetIdle(nullptr);
        rt_.set_config_check(nullptr);
        rt_.console().SetColour("W/N");
        rt_.screen().Clear(0, 0, console::kRows - 1, console::kCols - 1,
                           rt_.console().colour().standard);
        rt_.console().Refresh();
        return 0;
    }

  private:
    // A company function chose another company (NAGL0): the directories
    // and the watched configuration file follow it, and the reload is
    // requested.
    void MakeCurrent(const std::string& company) {
        const std::string root = dirs_.program == "/" ? "" : dirs_.program;
        dirs_.company = company;
        dirs_.data = company.empty() ? root + "/" : root + "/" + company + "/";
        rt_.set_data_dir(dirs_.data);
        rt_.set_program_dir(dirs_.program, dirs_.company);
        watch_ = common::ConfigWatch(dirs_.data + "QRM.MEM");
        rt_.set_restart_requested(true);
    }

    // The reload point: everything the configuration decides is read again.
    void Reload() {
        // The current company is held for as long as the program works on
        // it (not possible on a read-only directory: then it is not held).
        if (!hold_.held() || hold_.dir() != dirs_.data) hold_.Share(dirs_.data);
        rt_.SetReadOnly(false);
        rt_.set_restart_requested(false);
        rt_.set_letters(common::MakeLetterSet(common::kPolishPlain));
        ApplyColours();
        DrawMainScreen(rt_, kPlaceholderShortName);

        const auto preserved = SavePreserved(rt_.config());
        LoadOutcome outcome = LoadConfiguration(dirs_.data, &rt_.config());
        watch_.Remember();  // a conversion may have rewritten the file: that is no news
        RestorePreserved(preserved, &rt_.config());
        SetStartupVariables(&rt_.config(), dirs_, options_.printer, options_.company_param);
        StartupFacts facts;
        facts.has_colour = rt_.console().has_colour();
        facts.data_dir = dirs_.data;
        facts.program = ReadProgramSettings(dirs_.program);
        common::LetterSet letters = ApplyStartupDefaults(&rt_.config(), facts);
        rt_.set_program_dir(dirs_.program, dirs_.company);
        common::RefreshOperatorList(rt_);
        rt_.set_letters(letters);
        SetLetterVariables(&rt_.config(), letters);
        {
            // The printer: the definition named on the command line, else
            // the default one (after the letters, which it converts to).
            common::Tables tables(rt_);
            printing::StartupPrinter(rt_, tables, printing::LocalPrinters());
        }
        colour_ = rt_.config().Logical("NAGLKLR", facts.has_colour);
        // Ctrl+F2 types the paragraph sign when the company wants it.
        if (rt_.config().Logical("NAGLPAR")) {
            rt_.console().keyboard().Bind(
                key::CtrlF(2), [this] { rt_.console().keyboard().Push(kParagraphSign); });
        } else {
            rt_.console().keyboard().Unbind(key::CtrlF(2));
        }
        ApplyColours();
        ReportLoad(outcome);
    }

    void ReportLoad(const LoadOutcome& outcome) {
        auto& s = rt_.screen();
        if (outcome.file_missing) {
            const console::Attr frame = rt_.Standard(rt_.colours().ycow);
            const console::Attr emphasis = rt_.Standard(rt_.colours().ycowp);
            console::ScreenRegion saved = s.Save(11, 18, 14, 60);
            s.Box(11, 18, 14, 60, std::string(console::kFrameDouble) + " ", frame);
            s.Write(12, 22, "Brak zbioru QRM.MEM - wykonaj 9.7.3,", emphasis);
            s.Write(13, 22, "     lub odtworz zbior z kopii      ", emphasis);
            rt_.console().Tone(common::kToneFrequency, common::kToneTicks);
            common::Qrmndk(rt_);
            s.Restore(saved);
            return;
        }
        if (outcome.damaged) common::ShowMessage(rt_, rt_.Text("Uszkodzony zbiór QRM.MEM"));
        if (outcome.short_name_missing)
            common::ShowMessage(rt_, "Brak zmiennej NAGL1 w QRM.MEM", false);
        if (outcome.short_name_bad)
            common::ShowMessage(rt_, "Bledna zmienna NAGL1 w QRM.MEM", false);
    }

    // The short name as the title line shows it.
    std::string ShortName() const {
        std::string name = rt_.config().Text("NAGL1", kPlaceholderShortName);
        if (!rt_.config().Find("NAGL4")) return name;
        return FormatShortName(name);
    }

    void ApplyColours() {
        const common::ColourSet& base = colour_ ? common::kColourSet : common::kMonochromeSet;
        if (rt_.config().Logical("NAGLDWK")) {
            static const char* const kNames[14] = {"YCOW",  "YCOW2",  "YCOW3", "YCOW4",  "YCOW5",
                                                   "YCOWP", "YCOWP2", "YCOWG", "YCOWPG", "YCOB",
                                                   "YCOBP", "YCOI",   "YCOIG", "YCOWCB"};
            const char* const* built_in = &base.ycow;
            const char** target = &stored_.set.ycow;
            for (int i = 0; i < 14; ++i) {
                std::string text = rt_.config().Text(kNames[i], built_in[i]);
                std::string no_blink;
                for (char c : text)
                    if (c != '*') no_blink += c;
                stored_.texts[static_cast<size_t>(i)] = no_blink;
                target[i] = stored_.texts[static_cast<size_t>(i)].c_str();
            }
            rt_.set_colours(stored_.set);
        } else {
            rt_.set_colours(base);
        }
        rt_.console().SetColour(rt_.colours().ycow);
    }

    void StartClock() {
        rt_.console().SetIdle([this, shown = rt_.clock().Now()]() mutable {
            base::LocalTime t = rt_.clock().Now();
            if (t.minute == shown.minute && t.hour == shown.hour) return;
            shown = t;
            DrawClock(rt_.console(), rt_.colours(), t);
            rt_.console().Refresh();
        });
    }

    // One pass of the main loop inside its recoverable block; true when the
    // operator confirmed the end of the program.
    bool MainMenuPass() {
        auto& con = rt_.console();
        auto& s = rt_.screen();
        const console::Attr normal = rt_.Standard(rt_.colours().ycow);
        s.SetCursorShape(console::CursorShape::kUnderline);
        rt_.SetReadOnly(false);
        switch_colour_ = false;
        s.Clear(4, 1, 21, 77, normal);
        const bool colour_switch = !rt_.config().Logical("NAGLDWK");
        DrawMainLegends(rt_, colour_switch);
        const std::string& ident = rt_.operators().ident;
        if (!base::IsBlank(ident))
            s.Write(3, 2, "****" + ident + " ", rt_.Standard(rt_.colours().ycoi));
        con.keyboard().Bind(key::Alt('U'), [this] { common::IdentifyOperator(rt_); });
        if (colour_switch) {
            con.keyboard().Bind(key::F(1), [this] {  // QRMKBF1
                switch_colour_ = true;
                rt_.console().keyboard().Stuff({key::kEsc});
            });
        }
        {
            // The main menu's hot keys live only while the main menu itself
            // reads keys: a sub-menu or a dialog chosen from it gets F1 and
            // Alt+U as ordinary keys.
            struct Unbind {
                console::Keyboard& kb;
                ~Unbind() {
                    kb.Unbind(key::F(1));
                    kb.Unbind(key::Alt('U'));
                }
            } unbind{con.keyboard()};

            const bool ppk = rt_.config().Logical("NAGLPPK20");
            common::Menu2(rt_, MainMenuEntries(rt_, ppk), &choice_);
        }

        if (choice_ == 1) {
            if (switch_colour_) {
                colour_ = !colour_;
                rt_.config().Set("NAGLKLR", MemValue::Logical(colour_));
                return false;
            }
            s.Clear(4, 1, 21, 77, normal);
            return common::IsYes(common::Question(rt_, rt_.Text("Koniec programu?"), "tn", 'n'));
        }
        if (const SubsystemMenu menu = SubsystemFor(choice_, company_hooks_)) {
            static const char* const kRoutines[] = {"QRM2", "QRM3", "QRM4", "QRM5", "QRM6",
                                                    "QRM7", "QRM8", "QRM9", "QRMA", "QRMB"};
            const common::Routine routine(
                rt_.call_chain(), choice_ >= 2 && choice_ <= 11 ? kRoutines[choice_ - 2] : "QRM");
            menu(rt_);
        }
        return false;
    }

    common::Runtime& rt_;
    StartOptions options_;
    Directories dirs_;
    common::ConfigWatch watch_;
    utilities::CompanyLock hold_;
    utilities::CompanyHooks company_hooks_;
    StoredColours stored_;
    bool colour_ = true;          // NAGLKLR
    bool switch_colour_ = false;  // NAGLSWCLR
    int choice_ = 1;
};

}  // namespace

int RunProgram(common::Runtime& rt, const StartOptions& options) {
    rt.set_data_dir(options.dirs.data);
    InstallFormulaUpdates(rt);
    Program program(rt, options);
    const int status = program.Run();
    rt.set_after_upgrade(nullptr);
    return status;
}

}  // namespace kestrel::startup
