#include "common/screen/too_many_files.h"

#include <array>

#include "common/screen/messages.h"
#include "platform/console/keys.h"

namespace kestrel::common {
namespace {

struct Page {
    const char* tab;
    std::array<const char*, 5> lines;
};

// The instructions of each family (UTF-8).
const Page kPages[] = {
    {"Dos",
     {"W pliku CONFIG.SYS zwiększ wartość FILES (np. FILES=255),",
      "a w AUTOEXEC.BAT liczbę plików programu SHARE (np. SHARE /F:8192 /L:500).",
      "Następnie uruchom komputer ponownie.", "", ""}},
    {"Windows 95/98",
     {"W pliku CONFIG.SYS zwiększ wartość FILES (np. FILES=255).", "Uruchom komputer ponownie.", "",
      "", ""}},
    {"Windows Me",
     {"W pliku SYSTEM.INI w sekcji [386Enh] dopisz lub zmień wiersz",
      "PerVMFiles=255 i uruchom komputer ponownie.", "", "", ""}},
    {"Windows NT/2000/XP",
     {"W pliku CONFIG.NT w katalogu SYSTEM32 zwiększ wartość FILES",
      "(np. FILES=255) i uruchom program ponownie.", "",
      "Na innych systemach zwiększ limit otwartych plików procesu",
      "(np. ulimit -n 4096) i uruchom program ponownie."}},
};
constexpr int kPageCount = static_cast<int>(std::size(kPages));

}  // namespace

void ShowTooManyFiles(Runtime& rt, const std::string& file) {
    namespace key = console::key;
    auto& s = rt.screen();
    const console::ScreenRegion saved = s.Save(3, 0, 22, 79);
    const console::Attr box = rt.Standard(rt.colours().ycowp);
    const console::Attr emphasis = rt.Enhanced(rt.colours().ycowp);
    const console::Attr blink = rt.Standard(rt.colours().ycowpg);
    rt.console().Tone(kToneFrequency, kToneTicks);
    int page = 0;
    for (;;) {
        s.Clear(3, 0, 22, 79, box);
        s.Box(3, 0, 22, 79, console::kFrameDouble, box);
        s.Write(5, 3, "Plik: " + file.substr(0, 70), box);
        s.Write(7, 3, "UWAGA!", blink);
        s.Write(7, 9, rt.Text(" - Komputer skonfigurowany jest tak, że program nie ma możliwości"),
                box);
        s.Write(8, 3,
                rt.Text("otwarcia wystarczającej ilości plików. Sposób rozwiązania tego problemu"),
                box);
        s.Write(9, 3, rt.Text("zależy od zainstalowanego systemu operacyjnego."), box);
        int col = 3;
        for (int i = 0; i < kPageCount; ++i) {
            col = s.Write(11, col, std::string(" ") + kPages[i].tab + " ",
                          i == page ? emphasis : box) +
                  1;
        }
        int row = 13;
        for (const char* line : kPages[page].lines) s.Write(row++, 3, rt.Text(line), box);
        s.Write(21, 3, rt.Text("<\x1B\x1A>-Zmiana systemu  <Esc>-Wyjście"), box);
        const int k = Qrminkey(rt);
        if (k == key::kEsc) break;
        if (k == key::kRight) page = (page + 1) % kPageCount;
        if (k == key::kLeft) page = (page + kPageCount - 1) % kPageCount;
    }
    s.Restore(saved);
}

}  // namespace kestrel::common
