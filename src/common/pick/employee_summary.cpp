#include <string>
#include <utility>
#include <vector>

#include "common/checks/scramble.h"
#include "common/pick/employee_pick.h"
#include "common/screen/messages.h"
#include "platform/base/dates.h"
#include "platform/base/text.h"

namespace kestrel::common {
namespace {

using base::TrimRight;

std::string Field(dbf::WorkArea& prac, const char* name) {
    const int i = prac.FieldIndex(name);
    return i < 0 ? std::string() : TrimRight(prac.record().GetString(i));
}

// "YYYY-MM-DD", or blanks for the empty date.
std::string Date(dbf::WorkArea& prac, const char* name) {
    const int i = prac.FieldIndex(name);
    const std::string d = i < 0 ? std::string() : prac.record().GetDate(i);
    if (d.size() != 8) return std::string(10, ' ');
    return base::DateText(base::DateOfDbfText(d));
}

std::string Unscrambled(dbf::WorkArea& prac, const char* name, ScrambleKind kind) {
    const int i = prac.FieldIndex(name);
    return i < 0 ? std::string() : TrimRight(Unscramble(kind, prac.record().GetString(i)));
}

}  // namespace

std::string EmployeeName(dbf::WorkArea& prac) {
    std::string surname = Unscrambled(prac, "NAZWX_", ScrambleKind::kName);
    const std::string names = Unscrambled(prac, "IMIEX_", ScrambleKind::kName);
    if (!names.empty()) surname += (surname.empty() ? "" : " ") + names;
    return surname;
}

void ShowEmployeeSummary(Runtime& rt, dbf::WorkArea& prac) {
    auto& s = rt.screen();
    const console::ScreenRegion saved = s.Save(4, 2, 21, 77);
    const console::Attr frame = rt.Standard(rt.colours().ycow);
    const console::Attr value = rt.Standard(rt.colours().ycowp);
    s.Box(4, 2, 21, 77, std::string(console::kFrameDouble) + " ", frame);
    std::string address = Field(prac, "ULICA_") + " " + Field(prac, "NR_DOMU");
    if (!Field(prac, "NR_MIESZK").empty()) address += "/" + Field(prac, "NR_MIESZK");
    const std::vector<std::pair<const char*, std::string>> lines = {
        {"Nr pracownika:",
         Field(prac, "NR_PRAC") + (prac.record().GetLogical(prac.FieldIndex("NIE_PRAC"))
                                       ? rt.Text("  (nie jest pracownikiem)")
                                       : std::string())},
        {"Nazwisko:", Unscrambled(prac, "NAZWX_", ScrambleKind::kName)},
        {"Imiona:", Unscrambled(prac, "IMIEX_", ScrambleKind::kName)},
        {"PESEL:", Unscrambled(prac, "PESELX_", ScrambleKind::kIdentity)},
        {"NIP:", Field(prac, "NR_NIP")},
        {"Data urodzenia:", Date(prac, "DATA_URODZ")},
        {"Adres:", address},
        {"", Field(prac, "KOD_POCZT") + " " + Field(prac, "MIEJSCOW_")},
        {"Dział:", Field(prac, "DZIAL_")},
        {"Stanowisko:", Field(prac, "STANOW_")},
        {"Grupa algor.:", Field(prac, "GRUPA_ALG")},
        {"Urząd skarb.:", Field(prac, "URZ_SKARB")},
        {"Zatrudniony:", Date(prac, "DATA_ZATR")},
        {"Zwolniony:", Date(prac, "DATA_ZWOLN")},
    };
    int row = 5;
    for (const auto& [label, text] : lines) {
        s.Write(row, 5, rt.Text(label), frame);
        s.Write(row, 22, text.substr(0, 54), value);
        ++row;
    }
    Qrmndk(rt);
    s.Restore(saved);
}

}  // namespace kestrel::common
