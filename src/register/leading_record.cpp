#include "register/leading_record.h"

#include "common/pick/pick_window.h"
#include "common/screen/browse.h"
#include "common/screen/messages.h"
#include "common/session/abandon.h"
#include "platform/console/keys.h"
#include "register/data/employee_update.h"

namespace kestrel::registry {
namespace {

namespace key = console::key;

constexpr int kTop = 5, kLeft = 24, kBottom = 17, kRight = 55;

// Keeps the order and the record of an area across the window.
struct KeepPlace {
    dbf::WorkArea& area;
    int order;
    uint32_t recno;
    explicit KeepPlace(dbf::WorkArea& a) : area(a), order(a.order()), recno(a.recno()) {}
    ~KeepPlace() {
        area.SetOrder(order);
        if (recno != 0) area.Goto(recno);
    }
};

}  // namespace

void ToggleLeading(std::vector<bool>* marks, size_t line) {
    if (line >= marks->size()) return;
    const bool was = (*marks)[line];
    for (size_t i = 0; i < marks->size(); ++i) (*marks)[i] = false;
    (*marks)[line] = !was;
}

bool LeadingRecordWindow(common::Runtime& rt, common::Tables& tables, dbf::WorkArea& prac,
                         std::string_view pesel) {
    KeepPlace keep(prac);
    const std::vector<PeselRecord> records = PeselRecords(prac, pesel);
    if (records.size() < 2) return false;
    std::vector<bool> marks;
    for (const PeselRecord& r : records) marks.push_back(r.leading);

    common::HotKeysAside keys(rt, {key::F(10)});
    auto& s = rt.screen();
    const console::ScreenRegion under = s.Save(kTop, 1, 23, 77);
    const console::Attr frame = rt.Standard(rt.colours().ycow);
    // The title is wider than the box and stands on the calling dialog's
    // title row: the whole row is cleared so no tail of that title shows.
    s.Clear(kTop, 1, kTop, 77, frame);
    s.Box(kTop, kLeft, kBottom, kRight, std::string(console::kFrameDouble) + " ", frame);
    const std::string title = rt.Text(" Wykaz pracowników z takim samym PESELEM ");
    s.Write(kTop, kLeft + (kRight - kLeft + 1 - static_cast<int>(title.size())) / 2, title,
            rt.Standard(rt.colours().ycobp));
    common::WriteLegend(rt, kTop + 1, kLeft + 2, "<F10>-Zapis i wyjście");
    common::WriteLegend(rt, kTop + 2, kLeft + 2, "<Esc>-Wyjście bez zmian");
    s.Clear(19, 1, 23, 77, frame);
    const char* rule[] = {
        "Dane osobowe osoby, która ma kilka rekordów w kartotece, pobierane są",
        "z rekordu oznaczonego jako wiodący (###). Gdy żaden rekord nie jest",
        "oznaczony, dane pochodzą z rekordu o najwyższym numerze pracownika.",
        "<Enter> na wierszu oznacza rekord jako wiodący, a na rekordzie",
        "wiodącym zdejmuje oznaczenie.",
    };
    for (int i = 0; i < 5; ++i) s.Write(19 + i, 5, rt.Text(rule[i]), frame);

    int current = 1;
    std::vector<common::BrowseColumn> columns = {
        {rt.Text("NR PRAC."), 8,
         [&records, &current] { return records[static_cast<size_t>(current - 1)].number; }},
        {rt.Text("WIODĄCY?"), 8,
         [&marks, &current] {
             return marks[static_cast<size_t>(current - 1)] ? std::string("  ###") : std::string();
         }},
    };
    bool save = false;
    common::BrowseList(
        rt, kTop + 3, kLeft + 2, kBottom - 1, kRight - 2, std::move(columns),
        [&](int mode, int, common::Browse&) {
            if (mode == common::kBrowseIdle) return common::kBrowseRedrawRow;
            switch (rt.console().LastKey()) {
                case key::kEsc:
                    return common::kBrowseClose;
                case key::F(10):
                    save = true;
                    return common::kBrowseClose;
                case key::kEnter:
                    ToggleLeading(&marks, static_cast<size_t>(current - 1));
                    return common::kBrowseRedrawAll;
                default:
                    return common::kBrowseRedrawRow;
            }
        },
        &current, static_cast<int>(records.size()));
    int written = 0;
    if (save) {
        bool differs = false;
        for (size_t i = 0; i < records.size(); ++i) differs |= records[i].leading != marks[i];
        if (differs) {
            common::WriteMessage(rt, rt.Text("Trwa zapisywanie danych"),
                                 rt.Standard(rt.colours().ycowp));
            std::string leading;
            for (size_t i = 0; i < records.size(); ++i) {
                if (marks[i]) leading = records[i].number;
            }
            written = WriteLeadingMarks(tables, prac, records, leading);
        }
    }
    s.Restore(under);
    return written > 0;
}

}  // namespace kestrel::registry
