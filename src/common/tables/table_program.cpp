// Tables of the program directory (QRMXQ): the printer definitions PKDRUK,
// made with one default definition when the directory has none.
#include "common/screen/messages.h"
#include "common/session/abandon.h"
#include "common/tables/table_catalogue.h"
#include "common/tables/table_layer.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/dbf/file.h"

namespace kestrel::common {
std::string PrinterLetterCode(std::string_view printer, std::string_view screen) {
    if (printer == screen) return "0";
    if (printer == kPolishCp852) return "1";
    if (printer == kPolishMazovia) return "2";
    if (printer == kPolishWin1250) return "3";
    if (printer == kPolishIso88592) return "4";
    return "0";
}

dbf::WorkArea& Tables::OpenProgram(std::string_view table,
                                   const std::vector<std::string>& indexes) {
    std::string dir = rt_.program_dir().empty() ? "." : rt_.program_dir();
    if (dir.back() != '/') dir += '/';
    const std::string name = base::AsciiUpper(table);
    if (name == "PKDRUK" && !base::Exists(base::FindNoCase(dir, "PKDRUK.DBF"))) {
        CreatePrinterTable(dir);
    }
    return OpenTable(dir, name, name, indexes);
}

void Tables::CreatePrinterTable(const std::string& dir) {
    const console::Attr normal = rt_.Standard(rt_.colours().ycow);
    WriteMessage(rt_, "Tworzenie pliku PKDRUK.DBF", normal);

    // The table is written under a scratch name and renamed into place when
    // complete, so that another workstation never opens a table without its
    // record.
    const std::string scratch = dir + "PKDRUK.NEW";
    const std::string target = dir + "PKDRUK.DBF";
    base::Status s = dbf::RemoveFile(scratch);
    if (s.ok())
        s = dbf::Table::Create(scratch, FindTable("PKDRUK")->Specs(), nullptr, &rt_.clock());
    if (s.ok()) {
        std::unique_ptr<dbf::Table> t;
        dbf::OpenOptions exclusive;
        exclusive.exclusive = true;
        exclusive.clock = &rt_.clock();
        s = dbf::Table::Open(scratch, exclusive, &t);
        if (s.ok()) {
            const Configuration& cfg = rt_.config();
            dbf::Record rec = t->NewRecord();
            auto text = [&](const char* field, const std::string& value) {
                if (s.ok()) s = rec.SetString(rec.FieldIndex(field), value);
            };
            auto logical = [&](const char* field, bool value) {
                if (s.ok()) s = rec.SetLogical(rec.FieldIndex(field), value);
            };
            text("NAZWA_", rt_.Text("DRUKARKA DOMYŚLNA"));
            text("TYP_", cfg.Text("NAGLTDR"));
            text("PORT_", cfg.Text("NAGLNDR"));
            logical("DOMYSLNA_", true);
            logical("SYMPL_", cfg.Logical("NAGLSYMPL"));
            text("ZM_STD_PL",
                 PrinterLetterCode(cfg.Text("NAGLPRTPL", rt_.letters().pl), rt_.letters().pl));
            logical("ZEWN_INIT", cfg.Logical("NAGLINITPR"));
            text("NAZ_INIT_P", "INPRTP.BIN");
            text("NAZ_INIT_L", "INPRTL.BIN");
            uint32_t recno = 0;
            if (s.ok()) s = t->Append(rec, &recno);
            base::Status closed = t->Close();
            if (s.ok()) s = closed;
        }
    }
    // Another workstation may have made the table meanwhile: its copy stays.
    if (s.ok() && !base::Exists(base::FindNoCase(dir, "PKDRUK.DBF"))) {
        s = dbf::RenameFile(scratch, target);
    }
    dbf::RemoveFile(scratch);
    ClearMessageRow(rt_);
    if (!s.ok()) throw Abandon(ShortenMessage(rt_.Text("Błąd ") + target));
}

}  // namespace kestrel::common
