#include "printing/definition_editor.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "common/pick/pick_window.h"
#include "common/pick/table_browse.h"
#include "common/screen/browse.h"
#include "common/screen/choice.h"
#include "common/screen/form.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "common/session/abandon.h"
#include "common/tables/table_layer.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"
#include "printing/data/definitions.h"
#include "printing/data/printer_types.h"

namespace kestrel::printing {
namespace {

namespace key = console::key;
using common::Browse;
using common::BrowseColumn;

enum Column {
    kNr,
    kName,
    kType,
    kPort,
    kDefault,
    kSimulate,
    kStandard,
    kInit,
    kInitPortrait,
    kInitLandscape,
    kQueue,
    kWindowsName,
    kDuplex,
    kPaper
};

constexpr const char* kPapers[] = {"Składanka 8,5x12 cali", "Składanka 14x12 cali ",
                                   "Kartki formatu A3    ", "Kartki formatu A4    "};

std::string PaperText(char code) {
    const int i = code >= '1' && code <= '4' ? code - '1' : 3;
    return kPapers[i];
}

std::string YesNo(bool on) {
    return on ? "T" : "N";
}

bool NoPort(char type) {
    return type == '0' || type == 'V' || type == 'W';
}

class Editor {
  public:
    Editor(common::Runtime& rt, PrintSystem& printers)
        : rt_(rt), printers_(printers), tables_(rt) {}

    void Run();

  private:
    std::vector<BrowseColumn> Columns();
    int Handle(int mode, Browse& b);
    int Change(Browse& b);
    int Insert();
    int Delete();
    bool Leave();
    void PackDeleted();

    // Edits of one column of `d` (the record is locked); true when changed.
    bool EditName(PrinterDefinition* d, int row, int col, uint32_t self);
    bool EditType(PrinterDefinition* d);
    bool EditDefault(PrinterDefinition* d);
    void ClearOtherDefaults(uint32_t self);
    bool EditText(std::string* value, int row, int col, int width, const char* picture);
    bool EditWindowsName(PrinterDefinition* d, int row, int col);
    bool Toggle(bool* flag, const char* clear, const char* set);
    bool EditPaper(PrinterDefinition* d);

    /// Another definition (not record `self`) of this name.
    bool NameUsed(const std::string& name, uint32_t self);
    void Check(const base::Status& s) {
        if (!s.ok()) throw common::Abandon(common::ShortenMessage(rt_.Text("Błąd zapisu: PKDRUK")));
    }
    void Refuse(const char* utf8) { common::ShowMessage(rt_, rt_.Text(utf8)); }

    common::Runtime& rt_;
    PrintSystem& printers_;
    common::Tables tables_;
    dbf::WorkArea* area_ = nullptr;
    bool pack_ = false;
    bool clear_others_ = false;
};

std::vector<BrowseColumn> Editor::Columns() {
    dbf::WorkArea& a = *area_;
    auto def = [&a] { return ReadDefinition(a); };
    auto pad = [](std::string s, size_t width) {
        s.resize(width, ' ');
        return s;
    };
    return {
        {rt_.Text(" NR"), 3,
         [&a] {
             char buf[8];
             std::snprintf(buf, sizeof buf, "%c%2u", a.deleted() ? '*' : ' ',
                           static_cast<unsigned>(a.recno() % 100));
             return std::string(buf);
         }},
        {rt_.Text("  NAZWA DRUKARKI"), 20, [=] { return pad(def().name, 20); }},
        {rt_.Text("TYP"), 3, [=] { return " " + std::string(1, def().type) + " "; }},
        {rt_.Text("PORT"), 4,
         [=] {
             const PrinterDefinition d = def();
             return NoPort(d.type) ? std::string("    ") : "LPT" + std::string(1, d.port);
         }},
        {rt_.Text("DOMYŚLNA"), 8, [=] { return "   " + YesNo(def().is_default) + "    "; }},
        {rt_.Text("SYMPL"), 5, [=] { return "  " + YesNo(def().simulate) + "  "; }},
        {rt_.Text("ZAMIANA STAND.PL ZN."), 20,
         [=] { return pad("         " + std::string(1, def().standard), 20); }},
        {rt_.Text("ZEWN.INIT"), 9, [=] { return "    " + YesNo(def().init_from_files) + "    "; }},
        {rt_.Text("PLIK INIT \"P\""), 13, [=] { return pad(def().init_portrait, 13); }},
        {rt_.Text("PLIK INIT \"L\""), 13, [=] { return pad(def().init_landscape, 13); }},
        {rt_.Text("DRUKARKA WINDOWS - VDOSPRT"), 32, [=] { return pad(def().queue, 32); }},
        {rt_.Text("DRUKARKA WINDOWS - WYDRUK BEZPOŚREDNI"), 47,
         [=] { return pad(def().windows_name, 47); }},
        {rt_.Text("DUPLEX"), 6, [=] { return "  " + YesNo(def().duplex) + "   "; }},
        {rt_.Text("  TYP PAPIERU"), 21, [=] { return rt_.Text(PaperText(def().paper)); }},
    };
}

void Editor::Run() {
    auto& s = rt_.screen();
    const console::Attr normal = rt_.Standard(rt_.colours().ycow);
    s.Clear(4, 1, 21, 77, normal);
    area_ = &tables_.OpenProgram("PKDRUK");
    area_->set_hide_deleted(false);
    if (!area_->GoTop().ok()) throw common::Abandon(rt_.Text("Błąd odczytu: PKDRUK"));
    common::WriteLegend(
        rt_, 7, 2, "<Esc>-Wyjście     <Enter>-Korekta     <Ins>-Nowy rekord     <Del>-Kasowanie");
    s.Box(8, 1, 21, 77, std::string(console::kFrameSingle) + " ", normal);
    common::BrowseTable(
        rt_, *area_, 9, 2, 20, 76, Columns(),
        [this](int mode, int, Browse& b) { return Handle(mode, b); }, 2);
    if (pack_) PackDeleted();
    {
        common::Tables again(rt_);
        ApplyNamedDefinition(rt_, again, printers_);
    }
}

int Editor::Handle(int mode, Browse& b) {
    if (mode == common::kBrowseIdle) return common::kBrowseRedrawRow;
    switch (rt_.console().LastKey()) {
        case key::kEsc:
            return Leave() ? common::kBrowseClose : common::kBrowseRedrawAll;
        case key::kEnter:
            return Change(b);
        case key::kIns:
            return Insert();
        case key::kDel:
            return Delete();
        default:
            return common::kBrowseRedrawRow;
    }
}

bool Editor::NameUsed(const std::string& name, uint32_t self) {
    const std::string wanted = base::AsciiUpper(base::Trim(name));
    dbf::KeepPosition keep(*area_);
    bool used = false;
    if (!area_->GoTop().ok()) return false;
    while (!area_->eof() && !used) {
        if (area_->recno() != self && !area_->deleted() &&
            base::AsciiUpper(ReadDefinition(*area_).name) == wanted)
            used = true;
        if (!area_->Skip(1).ok()) break;
    }
    return used;
}

bool Editor::EditText(std::string* value, int row, int col, int width, const char* picture) {
    std::string v = *value;
    v.resize(static_cast<size_t>(width), ' ');
    common::Form form(rt_);
    form.Get(row, col, &v, picture, width);
    if (!common::Qrmrdr(rt_, form).saved()) return false;
    v = base::TrimRight(v);
    if (v == *value) return false;
    *value = v;
    return true;
}

bool Editor::EditName(PrinterDefinition* d, int row, int col, uint32_t self) {
    std::string name = d->name;
    name.resize(20, ' ');
    common::Form form(rt_);
    form.Get(row, col, &name, "@!", 20).Valid([&] {
        if (base::Trim(name).empty()) return false;
        if (NameUsed(name, self)) {
            Refuse("Istnieje drukarka o takiej nazwie");
            return false;
        }
        return true;
    });
    if (!common::Qrmrdr(rt_, form).saved()) return false;
    d->name = base::Trim(name);
    return true;
}

bool Editor::EditType(PrinterDefinition* d) {
    std::vector<std::string> rows;
    int initial = 1;
    for (size_t i = 0; i < kEditorTypes.size(); ++i) {
        const char code = kEditorTypes[i];
        rows.push_back(" " + std::string(1, code) + " " + rt_.Text(TypeLabel(code)) + " ");
        if (code == d->type) initial = static_cast<int>(i) + 1;
    }
    auto& s = rt_.screen();
    // The list scrolls inside the work area.
    const int top = 5, left = 54, bottom = 20, right = left + 21;
    const console::ScreenRegion saved = s.Save(top - 1, left, bottom, right);
    const console::Attr frame = rt_.Standard(rt_.colours().ycow);
    s.Box(top, left, bottom, right, std::string(console::kFrameDouble) + " ", frame);
    s.Write(top - 1, left, " [" + std::string(kEditorTypes) + "]", frame);
    const int chosen =
        common::Qrmach(rt_, top + 1, left + 1, bottom - 1, right - 1, rows, {}, initial);
    s.Restore(saved);
    if (chosen < 1) return false;
    const char code = kEditorTypes[static_cast<size_t>(chosen - 1)];
    if (code == d->type) return false;
    d->type = code;
    if (code == 'V' || code == 'W') d->simulate = false;
    if (NoPort(code)) d->init_from_files = false;
    return true;
}

bool Editor::Toggle(bool* flag, const char* clear, const char* set) {
    if (!common::IsYes(common::Question(rt_, rt_.Text(*flag ? clear : set), "tn", 'n')))
        return false;
    *flag = !*flag;
    return true;
}

bool Editor::EditDefault(PrinterDefinition* d) {
    if (d->is_default) return Toggle(&d->is_default, "Zlikwid. wsk. \"DOMYŚLNA\"?", "");
    if (!common::IsYes(common::Question(rt_, rt_.Text("Ustawić jako DOMYŚLNĄ?"), "tn", 'n')))
        return false;
    d->is_default = true;
    clear_others_ = true;
    return true;
}

void Editor::ClearOtherDefaults(uint32_t self) {
    // The mark moves: every other definition loses it, each under its lock.
    dbf::KeepPosition keep(*area_);
    Check(area_->GoTop());
    while (!area_->eof()) {
        if (area_->recno() != self && ReadDefinition(*area_).is_default) {
            tables_.RLock(*area_);
            base::Status st = area_->record().SetLogical(area_->FieldIndex("DOMYSLNA_"), false);
            if (st.ok()) st = area_->Commit();
            (void)area_->Unlock();
            Check(st);
        }
        Check(area_->Skip(1));
    }
}

bool Editor::EditWindowsName(PrinterDefinition* d, int row, int col) {
    std::vector<std::string> queues;
    if (printers_.Queues(&queues) && !queues.empty()) {
        std::sort(queues.begin(), queues.end());
        queues.push_back(rt_.Text(kDefaultWindowsPrinter));
        auto& s = rt_.screen();
        const int rows = std::min<int>(static_cast<int>(queues.size()), 10);
        const int top = 8, left = 14, bottom = top + rows + 1, right = left + 49;
        const console::ScreenRegion saved = s.Save(top, left, bottom, right);
        s.Box(top, left, bottom, right, std::string(console::kFrameDouble) + " ",
              rt_.Standard(rt_.colours().ycow));
        int initial = 1;
        for (size_t i = 0; i < queues.size(); ++i)
            if (queues[i] == d->windows_name) initial = static_cast<int>(i) + 1;
        const int chosen =
            common::Qrmach(rt_, top + 1, left + 1, bottom - 1, right - 1, queues, {}, initial);
        s.Restore(saved);
        if (chosen < 1 || queues[static_cast<size_t>(chosen - 1)] == d->windows_name) return false;
        d->windows_name = queues[static_cast<size_t>(chosen - 1)];
        return true;
    }
    // No list from the print system: the name is typed.
    return EditText(&d->windows_name, row, std::min(col, 77 - 47), 128, "@S47");
}

bool Editor::EditPaper(PrinterDefinition* d) {
    std::vector<std::string> rows;
    for (const char* p : kPapers) rows.push_back(" " + rt_.Text(p) + " ");
    auto& s = rt_.screen();
    const int top = 12, left = 50, bottom = 17, right = 74;
    const console::ScreenRegion saved = s.Save(top, left, bottom, right);
    s.Box(top, left, bottom, right, std::string(console::kFrameDouble) + " ",
          rt_.Standard(rt_.colours().ycow));
    const int initial = d->paper >= '1' && d->paper <= '4' ? d->paper - '0' : 4;
    const int chosen =
        common::Qrmach(rt_, top + 1, left + 1, bottom - 1, right - 1, rows, {}, initial);
    s.Restore(saved);
    if (chosen < 1) return false;
    d->paper = static_cast<char>('0' + chosen);
    if (chosen <= 2) d->duplex = false;
    return true;
}

int Editor::Change(Browse& b) {
    if (b.source().Empty()) return common::kBrowseRedrawRow;
    int shown = 0;
    const int x = b.ColumnX(b.column(), &shown);
    if (x < 0) return common::kBrowseRedrawRow;
    const int row = b.current_row();
    tables_.RLock(*area_);
    struct Unlock {
        dbf::WorkArea& a;
        ~Unlock() { (void)a.Unlock(); }
    } unlock{*area_};
    Check(area_->Skip(0));  // what another station may have written
    PrinterDefinition d = ReadDefinition(*area_);
    bool changed = false;
    const common::Configuration& c = rt_.config();
    switch (b.column()) {
        case kName:
            changed = EditName(&d, row, x, area_->recno());
            break;
        case kType:
            changed = EditType(&d);
            break;
        case kPort:
            if (NoPort(d.type)) break;
            {
                std::string port(1, d.port);
                common::Form form(rt_);
                form.Get(row, x + 3, &port, "9", 1);
                if (common::Qrmrdr(rt_, form).saved() && port[0] != d.port) {
                    d.port = port[0];
                    changed = true;
                }
            }
            break;
        case kDefault:
            changed = EditDefault(&d);
            break;
        case kSimulate:
            if (d.type == 'V' || d.type == 'W') break;
            changed = Toggle(&d.simulate, "Zlikwid. \"SYMULACJĘ\" pol.zn.?",
                             "Ustawić \"SYMULACJĘ\" pol.zn.?");
            break;
        case kStandard: {
            std::string standard(1, d.standard);
            auto& s = rt_.screen();
            s.Write(row, x + 10, " [0,1,2,3,4]", rt_.Standard(rt_.colours().ycowp));
            common::Form form(rt_);
            form.Get(row, x + 9, &standard, "9", 1).Valid([&] {
                return standard[0] >= '0' && standard[0] <= '4';
            });
            if (common::Qrmrdr(rt_, form).saved() && standard[0] != d.standard) {
                d.standard = standard[0];
                changed = true;
            }
            break;
        }
        case kInit:
            if (NoPort(d.type)) break;
            changed = Toggle(&d.init_from_files, "Zlikwid. \"ZEWN.INIT\" z pliku?",
                             "Ustawić \"ZEWN.INIT\" z pliku?");
            break;
        case kInitPortrait:
            if (NoPort(d.type)) break;
            changed = EditText(&d.init_portrait, row, x, 12, "@!");
            break;
        case kInitLandscape:
            if (NoPort(d.type)) break;
            changed = EditText(&d.init_landscape, row, x, 12, "@!");
            break;
        case kQueue:
            if (d.type == 'W') break;
            changed = EditText(&d.queue, row, x, std::min(32, 77 - x), "");
            break;
        case kWindowsName:
            if (d.type != 'W') break;
            changed = EditWindowsName(&d, row, x);
            break;
        case kDuplex:
            if (!c.Logical("NAGLDUPLEX")) break;
            if (c.Logical("NAGLVDTPAP") && (d.paper == '1' || d.paper == '2')) {
                Refuse("Typ papieru sprzeczny z DUPLEXEM");
                break;
            }
            changed = Toggle(&d.duplex, "Zlikwidować \"DUPLEX\" ?", "Ustawić \"DUPLEX\" ?");
            break;
        case kPaper:
            changed = EditPaper(&d);
            break;
        default:
            break;
    }
    if (!changed) return common::kBrowseRedrawRow;
    Check(WriteDefinition(*area_, d));
    Check(area_->Commit());
    (void)area_->Unlock();
    if (clear_others_) ClearOtherDefaults(area_->recno());
    clear_others_ = false;
    return common::kBrowseRedrawAll;
}

int Editor::Insert() {
    auto& s = rt_.screen();
    const int top = 12, left = 20, bottom = 14, right = 58;
    const common::WindowState under(rt_, tables_.workspace());
    const console::Attr frame = rt_.Standard(rt_.colours().ycow);
    s.Box(top, left, bottom, right, std::string(console::kFrameDouble) + " ", frame);
    s.Write(top, left + 5, rt_.Text(" Nowy rekord "), rt_.Standard(rt_.colours().ycobp));
    s.Write(top + 1, left + 2, rt_.Text("Nazwa drukarki:"), frame);
    PrinterDefinition d;
    d.standard = '0';
    if (!EditName(&d, top + 1, left + 18, 0)) return common::kBrowseRedrawAll;
    tables_.Append(*area_);
    base::Status st = WriteDefinition(*area_, d);
    if (st.ok()) st = area_->Commit();
    const uint32_t added = area_->recno();
    (void)area_->Unlock();
    Check(st);
    Check(area_->Goto(added));
    return common::kBrowseRedrawAll;
}

int Editor::Delete() {
    if (area_->eof()) return common::kBrowseRedrawRow;
    tables_.RLock(*area_);
    const base::Status st = area_->deleted() ? area_->Recall() : area_->Delete();
    (void)area_->Unlock();
    Check(st);
    return common::kBrowseRedrawRow;
}

bool Editor::Leave() {
    bool any = false;
    {
        dbf::KeepPosition keep(*area_);
        Check(area_->GoTop());
        while (!area_->eof() && !any) {
            any = area_->deleted();
            Check(area_->Skip(1));
        }
    }
    if (!any) return true;
    pack_ = common::IsYes(common::Question(rt_, rt_.Text("Usunąć rekordy skasowane?"), "tn", 'n'));
    return true;
}

void Editor::PackDeleted() {
    (void)tables_.workspace().Close(area_->number());
    area_ = nullptr;
    tables_.set_exclusive(true);
    dbf::WorkArea& whole = tables_.OpenProgram("PKDRUK");
    const base::Status st = whole.Pack();
    (void)tables_.workspace().Close(whole.number());
    tables_.set_exclusive(false);
    Check(st);
    common::ShowMessage(rt_, rt_.Text("\"Pakowanie\" zakończone"), false);
}

}  // namespace

void EditPrinterDefinitions(common::Runtime& rt, PrintSystem& printers) {
    Editor editor(rt, printers);
    editor.Run();
}

}  // namespace kestrel::printing
