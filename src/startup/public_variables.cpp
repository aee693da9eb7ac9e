#include "startup/public_variables.h"

namespace kestrel::startup {
namespace {

using memfile::MemValue;

const char* const kPreserved[] = {"NAGLX",  "NAGL0AK",    "NAGL0",  "YOBERROR", "NAGLBREAM",
                                  "YIDENT", "YHASUZ",     "YUPRUZ", "NAGLWYG",  "YPDRUK",
                                  "NAGL0V", "NAGLNAZDRW", "VDOSV5", "VTE5",     "YTIMWYG"};

// Letter variable names in the order of the 18-letter text.
const char* const kLetterNames[18] = {"A_D", "C_D", "E_D", "L_D", "N_D", "O_D",
                                      "S_D", "Z_D", "X_D", "A_M", "C_M", "E_M",
                                      "L_M", "N_M", "O_M", "S_M", "Z_M", "X_M"};

void Define(common::Configuration* vars, const char* name, MemValue value) {
    if (!vars->Find(name)) vars->Set(name, std::move(value));
}

}  // namespace

std::string VersionStamp() {
    std::string stamp;
    for (const char* p = kVersion; *p; ++p)
        if (*p != '.') stamp += *p;
    return stamp;
}

std::vector<memfile::MemEntry> SavePreserved(const common::Configuration& vars) {
    std::vector<memfile::MemEntry> saved;
    for (const char* name : kPreserved)
        if (std::optional<MemValue> v = vars.Find(name)) saved.push_back({name, *v});
    return saved;
}

void RestorePreserved(const std::vector<memfile::MemEntry>& saved, common::Configuration* vars) {
    for (const auto& e : saved) vars->Set(e.name, e.value);
}

void SetStartupVariables(common::Configuration* vars, const Directories& dirs,
                         const std::string& printer, const std::string& company_param) {
    vars->Set("NAGLX", MemValue::Char(dirs.program));
    vars->Set("NAGL0", MemValue::Char(dirs.data));
    vars->Set("NAGL0AK", MemValue::Char(dirs.akord));
    Define(vars, "YPDRUK", MemValue::Char(printer.empty() ? std::string(20, ' ') : printer));
    Define(vars, "YKATAL", MemValue::Char(company_param));
    Define(vars, "YIDENT", MemValue::Char("    "));
    Define(vars, "YHASUZ", MemValue::Char(""));
    Define(vars, "YUPRUZ", MemValue::Numeric(0, 10, 0));
    Define(vars, "NAGLWYG", MemValue::Numeric(0, 10, 0));
    Define(vars, "YTIMWYG", MemValue::Numeric(0, 10, 0));
    Define(vars, "NAGLBREAM", MemValue::Logical(false));
    vars->Set("WERSJA", MemValue::Char(VersionStamp()));
    vars->Set("RND", MemValue::Char("1"));
    vars->Set("ROKL", MemValue::Char(""));
    vars->Set("NAGLNRN", MemValue::Numeric(2, 10, 0));
    vars->Set("NAGLCFGD", MemValue::Logical(true));
    vars->Set("NAGLNAZDR", MemValue::Char(vars->Text("YPDRUK")));
    vars->Set("NAGLINPRTP", MemValue::Char("INPRTP.BIN"));
    vars->Set("NAGLINPRTL", MemValue::Char("INPRTL.BIN"));
    vars->Set("NAGLIIN", MemValue::Logical(false));
    vars->Set("NAGLBREA", MemValue::Logical(false));
    vars->Set("NAGLSWCLR", MemValue::Logical(false));
    vars->Set("PIC1", MemValue::Char("@E 9999,999,999.99"));
    vars->Set("PIC6A", MemValue::Char("@E 9999,999,999"));
    vars->Set("PIC6C", MemValue::Char("@E 999,999,999"));
    vars->Set("PIC2", MemValue::Char("@E 9999,999.99"));
}

void SetLetterVariables(common::Configuration* vars, const common::LetterSet& letters) {
    for (int i = 0; i < 18; ++i) {
        vars->Set(kLetterNames[i], MemValue::Char(std::string(1, letters.Letter(i))));
        std::string printer_name = std::string(kLetterNames[i]);
        printer_name.insert(1, "P");  // A_D -> AP_D
        vars->Set(printer_name, MemValue::Char(std::string(common::PrinterRendering(i))));
    }
    vars->Set("NAGLSORT", MemValue::Char(letters.sort));
    vars->Set("NAGLZPLS", MemValue::Char(letters.identifier));
    vars->Set("NAGLSORT3", MemValue::Char(letters.sort3));
    vars->Set("NAGLZP3", MemValue::Char(std::string(common::kPolishCp852)));
    vars->Set("NAGLZP2", MemValue::Char(std::string(common::kPolishWin1250)));
    vars->Set("NAGLZPL", MemValue::Char(std::string(common::kPolishIso88592)));
    vars->Set("NAGLZPPU", MemValue::Char(std::string(common::kAlphabetUpperCp852)));
    vars->Set("NAGLZPPL", MemValue::Char(std::string(common::kAlphabetLowerCp852)));
    vars->Set("NAGLZPWU", MemValue::Char(std::string(common::kAlphabetUpperWin1250)));
    vars->Set("NAGLZPWL", MemValue::Char(std::string(common::kAlphabetLowerWin1250)));
    vars->Set("NAGLZPIU", MemValue::Char(std::string(common::kAlphabetUpperIso88592)));
    vars->Set("NAGLZPIL", MemValue::Char(std::string(common::kAlphabetLowerIso88592)));
}

}  // namespace kestrel::startup
