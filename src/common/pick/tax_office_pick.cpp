#include "common/pick/tax_office_pick.h"

#include "common/screen/messages.h"
#include "platform/base/text.h"

namespace kestrel::common {
namespace {

dbf::WorkArea& CodeList(Tables& tables) {
    dbf::WorkArea* list = tables.workspace().Find("PKKDURZ");
    if (list == nullptr) list = &tables.Open("PKKDURZ", {"PKKDURZ1"});
    list->SetOrder(OrderOf(*list, "PKKDURZ1"));
    return *list;
}

// True when an office other than the current (reserved) record has `code`.
bool CodeUsed(dbf::WorkArea& urz, const std::string& code) {
    const uint32_t here = urz.recno();
    const int order = urz.order();
    const int by_code = OrderOf(urz, "PKURZ2");
    bool used = false;
    if (by_code > 0 && urz.SetOrder(by_code).ok() && urz.Seek(code).ok())
        used = urz.found() && urz.recno() != here;
    urz.SetOrder(order);
    urz.Goto(here);
    return used;
}

bool NewTaxOffice(NewRecord& n) {
    Runtime& rt = n.rt;
    dbf::WorkArea& urz = n.area;
    auto& s = rt.screen();
    const console::Attr frame = rt.Standard(rt.colours().ycow);
    std::string kod(4, ' '), nazwa(30, ' '), ulica(30, ' '), nr_domu(7, ' '), kod_poczt(6, ' '),
        miejscow(24, ' '), bank1(30, ' '), bank2(30, ' '), konto1(30, ' '), konto2(30, ' ');
    const int r = n.code_row + 1;
    const int label = 14, col = 30;
    const char* labels[] = {"Kod urzędu:",  "Nazwa:", "Ulica:", "Nr domu:",      "Kod poczt.:",
                            "Miejscowość:", "Bank:",  "",       "Konto bankowe:"};
    for (int i = 0; i < 9; ++i) s.Write(r + i, label, rt.Text(labels[i]), frame);
    Form& form = n.form;
    form.Get(r, col, &kod, "9999").Valid([&] {
        if (base::TrimRight(kod).empty()) return true;
        dbf::WorkArea& list = CodeList(n.tables);
        if (!list.Seek(kod).ok() || !list.found()) {
            ShowMessage(rt, rt.Text("Brak takiego kodu w wykazie urzędów"));
            return false;
        }
        if (CodeUsed(urz, kod)) {
            ShowMessage(rt, rt.Text("Istnieje Urząd o takim kodzie"));
            return false;
        }
        nazwa = list.record().GetString(list.FieldIndex("NAZWA_URZ")).substr(0, 30);
        form.Display();
        return true;
    });
    form.Get(r + 1, col, &nazwa, "", 30);
    form.Get(r + 2, col, &ulica, "", 30);
    form.Get(r + 3, col, &nr_domu, "", 7);
    form.Get(r + 4, col, &kod_poczt, "", 6);
    form.Get(r + 5, col, &miejscow, "", 24);
    form.Get(r + 6, col, &bank1, "", 30);
    form.Get(r + 7, col, &bank2, "", 30);
    form.Get(r + 8, col, &konto1, "", 30);
    form.Get(r + 9, col, &konto2, "", 30);
    if (!form.Read().saved()) return false;
    dbf::Record& rec = urz.record();
    rec.SetString(urz.FieldIndex("KOD_URZEDU"), kod);
    rec.SetString(urz.FieldIndex("NAZWA_"), nazwa);
    rec.SetString(urz.FieldIndex("ULICA_"), ulica);
    rec.SetString(urz.FieldIndex("NR_DOMU"), nr_domu);
    rec.SetString(urz.FieldIndex("KOD_POCZT"), kod_poczt);
    rec.SetString(urz.FieldIndex("MIEJSCOW_"), miejscow);
    rec.SetString(urz.FieldIndex("BANK_"), bank1 + bank2);
    rec.SetString(urz.FieldIndex("KONTO_BANK"), konto1 + konto2);
    return true;
}

}  // namespace

PickDictionary TaxOfficeDictionary() {
    PickDictionary d;
    d.table = "PKURZ";
    d.indexes = {"PKURZ1", "PKURZ2"};
    d.code_field = "URZ_SKARB";
    d.name_field = "NAZWA_";
    d.form_title = " Nowy rekord w kartotece urzędów skarbowych ";
    d.new_record = NewTaxOffice;
    d.columns = [](Runtime& rt, dbf::WorkArea& a) {
        return std::vector<BrowseColumn>{FieldColumn(rt, a, "URZ_SKARB", "URZ.SK."),
                                         FieldColumn(rt, a, "NAZWA_", "NAZWA"),
                                         FieldColumn(rt, a, "KOD_URZEDU", "KOD")};
    };
    return d;
}

bool PickTaxOffice(Runtime& rt, Tables& tables, std::string_view typed) {
    return Pick(rt, tables, TaxOfficeDictionary(), typed);
}

}  // namespace kestrel::common
