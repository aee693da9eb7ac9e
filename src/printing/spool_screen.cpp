#include "printing/spool_screen.h"

#include <algorithm>
#include <cstdio>

#include "common/pick/pick_window.h"
#include "common/screen/browse.h"
#include "common/screen/messages.h"
#include "common/tables/table_layer.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"
#include "printing/data/spool_files.h"
#include "printing/data/spool_register.h"
#include "printing/spool_page_print.h"
#include "printing/spool_pdf.h"
#include "printing/spool_print_dialog.h"
#include "printing/spool_viewer.h"

namespace kestrel::printing {
namespace {

namespace key = console::key;

constexpr int kBrowseTop = 6, kBrowseBottom = 14, kLeft = 2, kRight = 77;
constexpr int kDetailRow = 15, kLabelCol = 5, kValueCol = 21;

std::string Fit(std::string s, size_t width) {
    s.resize(width, ' ');
    return s;
}

std::string Number(long value, int width) {
    char t[32];
    std::snprintf(t, sizeof t, "%*ld", width, value);
    return t;
}

// The registered spool files that are on disk.
std::vector<SpoolEntry> Listed(common::Runtime& rt) {
    common::Tables tables(rt);
    std::vector<SpoolEntry> entries = ReadSpoolEntries(tables);
    std::erase_if(entries, [&](const SpoolEntry& e) {
        return !base::Exists(JoinPath(rt.data_dir(), e.file));
    });
    return entries;
}

void Forget(common::Runtime& rt, const std::string& file) {
    common::Tables tables(rt);
    ForgetSpoolFile(tables, file);
}

class SpoolList {
  public:
    SpoolList(common::Runtime& rt, const PrinterHooks& hooks) : rt_(rt), hooks_(hooks) {}

    void Run(const std::string& current) {
        Reload();
        current_ = static_cast<int>(entries_.size());
        for (size_t i = 0; i < entries_.size(); ++i)
            if (entries_[i].file == current) current_ = static_cast<int>(i) + 1;
        DrawFrame();
        for (bool again = true; again;) {
            again = false;
            common::RowListSource source(&current_, static_cast<int>(entries_.size()));
            common::Browse browse(rt_, kBrowseTop, kLeft, kBrowseBottom, kRight, Columns(), source);
            browse.Run([&](int mode, int, common::Browse&) {
                const int result = Handle(mode, &again);
                if (again) return static_cast<int>(common::kBrowseClose);
                return result;
            });
        }
    }

  private:
    const SpoolEntry* At() const {
        if (current_ < 1 || current_ > static_cast<int>(entries_.size())) return nullptr;
        return &entries_[static_cast<size_t>(current_ - 1)];
    }
    std::string PathOf(const SpoolEntry& e) const { return JoinPath(rt_.data_dir(), e.file); }

    void Reload() { entries_ = Listed(rt_); }

    std::vector<common::BrowseColumn> Columns() {
        auto cell = [this](auto fn) {
            return [this, fn]() -> std::string { return At() ? fn(*At()) : std::string(); };
        };
        return {
            {rt_.Text("NAZWA PLIKU"), 12, cell([](const SpoolEntry& e) { return e.file; })},
            {rt_.Text("DATA"), 10, cell([](const SpoolEntry& e) { return e.date; })},
            {rt_.Text("CZAS"), 5, cell([](const SpoolEntry& e) { return e.time; })},
            {rt_.Text("STRON"), 5, cell([](const SpoolEntry& e) { return Number(e.pages, 5); })},
            {rt_.Text("TYTUŁ WYDRUKU"), 30,
             cell([](const SpoolEntry& e) { return e.title.substr(0, 30); })},
        };
    }

    void DrawFrame() {
        auto& s = rt_.screen();
        const console::Attr plain = rt_.Standard(rt_.colours().ycow);
        s.Clear(4, 1, 22, 77, plain);
        s.Write(4, 22, rt_.Text("Zbiory spoolingowe (wydruki)"), plain);
        const char* labels[] = {"Nazwa pliku:", "Rozmiar pliku:", "Ilość stron:", "Tytuł wydruku:"};
        for (int i = 0; i < 4; ++i) s.Write(kDetailRow + i, kLabelCol, rt_.Text(labels[i]), plain);
        common::WriteLegend(
            rt_, 20, 3, "<Esc>-Wyjście     <F3>-Przeglądanie     <F7>-Wydruk     <Del>-Kasowanie");
        common::WriteLegend(rt_, 21, 3, "<F5>-Plik PDF");
        Details();
    }

    void Details() {
        const console::Attr value = rt_.Standard(rt_.colours().ycoi);
        const SpoolEntry* e = At();
        const std::string texts[] = {
            e ? e->file : "",
            e ? base::Trim(Number(e->size, 9)) : "",
            e ? base::Trim(Number(e->pages, 4)) : "",
            e ? e->title : "",
        };
        for (int i = 0; i < 4; ++i)
            rt_.screen().Write(kDetailRow + i, kValueCol, Fit(texts[i], 56), value);
    }

    int Handle(int mode, bool* again) {
        Details();
        if (mode == common::kBrowseIdle) return common::kBrowseRedrawRow;
        const int k = rt_.console().LastKey();
        if (k == key::kEsc) return common::kBrowseClose;
        const SpoolEntry* e = At();
        const bool action = k == key::F(3) || k == key::F(7) || k == key::kDel || k == key::F(5);
        if (!action) return common::kBrowseRedrawRow;
        if (e == nullptr) {
            rt_.console().Tone(common::kToneFrequency, common::kToneTicks);
            return common::kBrowseRedrawRow;
        }
        const SpoolEntry entry = *e;
        const std::string path = PathOf(entry);
        if (k == key::F(3)) {
            ViewSpoolFile(rt_, path, entry.type, entry.title);
            return common::kBrowseRedrawRow;
        }
        if (k == key::F(5)) {
            SpoolFilePdf(rt_, path, entry, hooks_);
            return common::kBrowseRedrawRow;
        }
        if (k == key::kDel) {
            Delete(entry);
        } else {
            Print(entry);
        }
        Reload();
        if (current_ > static_cast<int>(entries_.size()))
            current_ = std::max(1, static_cast<int>(entries_.size()));
        DrawFrame();
        *again = true;  // the list changed: a browse over the new count
        return common::kBrowseClose;
    }

    void Delete(const SpoolEntry& entry) {
        if (DeleteUnheld(PathOf(entry)).ok()) {
            Forget(rt_, entry.file);
            common::ShowMessage(rt_, rt_.Text("Zbiór skasowany"), false);
        } else {
            common::ShowMessage(rt_, rt_.Text("Błąd kasowania"));
        }
    }

    void Print(const SpoolEntry& entry) {
        auto& s = rt_.screen();
        const console::ScreenRegion saved = s.SaveAll();
        SpoolPrintChoice choice;
        if (!AskSpoolPrint(rt_, entry.pages, &choice)) {
            s.Restore(saved);
            return;
        }
        // The port chosen holds for this print only.
        const std::string port = rt_.config().Text("NAGLNDR");
        rt_.config().Set("NAGLNDR", memfile::MemValue::Char(std::string(1, choice.port)));
        SpoolPrintEnd end = SpoolPrintEnd::kFailed;
        try {
            end = PrintSpoolPages(rt_, PathOf(entry), choice.range, hooks_);
        } catch (...) {
            rt_.config().Set("NAGLNDR", memfile::MemValue::Char(port));
            throw;
        }
        rt_.config().Set("NAGLNDR", memfile::MemValue::Char(port));
        s.Restore(saved);
        // Only a complete print lets the file go: after an interruption or
        // a failure it stays for another try.
        if (end == SpoolPrintEnd::kDone && !choice.keep && DeleteUnheld(PathOf(entry)).ok())
            Forget(rt_, entry.file);
    }

    common::Runtime& rt_;
    const PrinterHooks& hooks_;
    std::vector<SpoolEntry> entries_;
    int current_ = 1;
};

}  // namespace

void SpoolScreen(common::Runtime& rt, const PrinterHooks& hooks, const std::string& current) {
    const PrinterHooks complete = Completed(hooks);
    const console::ScreenRegion saved = rt.screen().SaveAll();
    SpoolList(rt, complete).Run(current);
    rt.screen().Restore(saved);
}

}  // namespace kestrel::printing
