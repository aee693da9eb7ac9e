// A company for the tests of the registration dialog and its lists: the
// register, the dictionaries its pages check (with a few insurance titles
// and allowance kinds), and a key-script runner that keeps the screens it
// was asked for.
#pragma once

#include <fstream>
#include <sstream>

#include "employee_test_support.h"
#include "platform/console/headless_backend.h"
#include "register/registration_dialog.h"

namespace kestrel::registry::testing {

inline const std::vector<std::string> kDictionaries = {
    "PKURZ",   "PKSTAN",  "PKDZIAL", "PKSKSZT", "PKRUM",   "PKRPL",   "PKSZATR",
    "PKGRUPY", "PKGRALG", "PKSSTPO", "PKZWZ",   "PKTYTUB", "PKSGRIN", "PKKOFE",
    "PKSNIEZ", "PKKPSW",  "PKEKD",   "PKKZIS",  "PKWYKSZ", "PKWYRUB", "PKPRZ",
    "PKKROZ",  "PKKPOD",  "PKSKODK", "PKGMINY", "PKSRDOD"};

// A company with a few insurance titles and allowance kinds, and a script
// runner that keeps the screens it was asked for.
struct Desk : Company {
    Desk() : Company(kDictionaries) {
        AddTitle("0110", "Pracownik");
        AddTitle("0411", "Zleceniobiorca");
        AddKind("PREM", "Premia regulaminowa", false, false);
        AddKind("DODA", "Dodatek za rozłąkę", true, false);
        AddKind("KAS", "Dodatek kasjerski", false, true);
        h.backend.set_screens_dir(dir.path());
    }

    void Add(const std::string& table, const std::string& index,
             const std::vector<std::pair<std::string, std::string>>& text,
             const std::vector<std::pair<std::string, bool>>& flags = {}) {
        dbf::WorkArea& a = tables->Open(table, {index});
        tables->Append(a);
        for (const auto& [f, v] : text)
            ASSERT_TRUE(a.record().SetString(a.FieldIndex(f), Cp(v)).ok());
        for (const auto& [f, v] : flags)
            ASSERT_TRUE(a.record().SetLogical(a.FieldIndex(f), v).ok());
        ASSERT_TRUE(a.Commit().ok());
        ASSERT_TRUE(a.Unlock().ok());
    }
    void AddTitle(const std::string& code, const std::string& name) {
        Add("PKTYTUB", "PKTYTUB1", {{"TYTUL_PODM", code}, {"NAZWA_", name}});
    }
    void AddKind(const std::string& symbol, const std::string& name, bool amount, bool flag) {
        Add("PKSRDOD", "PKSRDOD1", {{"RODZAJ_DOD", symbol}, {"NAZWA_", name}},
            {{"KWOTA_PROC", amount}, {"TAK_NIE", flag}});
    }

    void Script(std::string_view utf8) { ASSERT_TRUE(h.backend.AddScript(utf8).ok()); }
    // The screen written by "{screen NAME}".
    std::string ScreenFile(const std::string& name) {
        std::ifstream in(dir.File(name + ".txt"));
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    void Run() {
        RunRegistration(h.rt, *tables);
        EXPECT_TRUE(h.backend.exhausted());
        // The dialog opened the register afresh in the same workspace.
        Reopen();
    }

    std::vector<LoggedChange> Log(const std::string& number) {
        return ReadLog(*areas.ekprc, number);
    }
};

}  // namespace kestrel::registry::testing
