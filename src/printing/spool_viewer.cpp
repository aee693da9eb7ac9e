#include "printing/spool_viewer.h"

#include <stdlib.h>

#include <algorithm>
#include <filesystem>

#include "common/pick/pick_window.h"
#include "common/screen/messages.h"
#include "platform/base/files.h"
#include "platform/console/keys.h"
#include "printing/data/print_output.h"
#include "printing/data/printer_letters.h"
#include "printing/data/spool_text.h"

namespace kestrel::printing {
namespace {

namespace key = console::key;

constexpr int kTop = 1, kBottom = 22, kLeft = 0, kRight = 79;
constexpr int kRows = kBottom - kTop - 1, kCols = kRight - kLeft - 1;

// Reads `path` under its read lock.
bool ReadHeld(const std::string& path, std::string* bytes) {
    ReadHold file;
    if (!file.Open(path).ok()) return false;
    char block[4096];
    for (;;) {
        const long n = file.Read(block, sizeof block);
        if (n < 0) return false;
        if (n == 0) return true;
        bytes->append(block, static_cast<size_t>(n));
    }
}

// A directory of its own for the working copies, removed with it.
class WorkDir {
  public:
    WorkDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "pkwyd.XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    ~WorkDir() {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    bool ok() const { return !path_.empty(); }
    std::string File(const char* name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

}  // namespace

void ViewSpoolFile(common::Runtime& rt, const std::string& path, char type,
                   const std::string& title) {
    std::string bytes, text;
    WorkDir work;
    const std::string copy = work.File("PKWYD.TM1"), readable = work.File("PKWYD.TM2");
    const bool copied =
        work.ok() && ReadHeld(path, &bytes) && base::WriteFileAtomically(copy, bytes).ok();
    if (copied) {
        // The file holds the printer's letters; the screen shows its own.
        const PrinterLetters letters = LettersInForce(rt.config(), rt.letters());
        std::string joined;
        for (const std::string& line : ReadableLines(bytes, type))
            joined += FromPrinter(letters, line) + "\r\n";
        if (!base::WriteFileAtomically(readable, joined).ok() ||
            !base::ReadFile(readable, &text).ok()) {
            text.clear();
        }
    }
    if (!copied) {
        common::ShowMessage(rt, rt.Text("Błąd otwarcia ") + "\"" + path + "\"");
        return;
    }
    ViewLines(rt, ReadableLines(text, '0'), title);
}

void ViewLines(common::Runtime& rt, const std::vector<std::string>& lines,
               const std::string& title) {
    auto& s = rt.screen();
    const console::ScreenRegion saved = s.SaveAll();
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    const console::Attr frame = rt.Standard(rt.colours().ycowp);
    s.Clear(kTop, kLeft, kBottom, kRight, plain);
    s.Box(kTop, kLeft, kBottom, kRight, console::kFrameDouble, frame);
    if (!title.empty()) s.Write(kTop, kLeft + 2, " " + title.substr(0, 60) + " ", frame);
    common::WriteLegend(rt, kBottom, kLeft + 2, " <Esc>-Wyjście ");

    const int count = static_cast<int>(lines.size());
    size_t widest = 0;
    for (const std::string& l : lines) widest = std::max(widest, l.size());
    const int last_first = std::max(0, count - kRows);
    const int last_shift = std::max(0, static_cast<int>(widest) - kCols);
    int first = 0, shift = 0;
    for (;;) {
        for (int r = 0; r < kRows; ++r) {
            std::string shown;
            const int i = first + r;
            if (i<count&& static_cast<int>(lines[static_cast<size_t>(i)].size())> shift)
                shown = lines[static_cast<size_t>(i)].substr(static_cast<size_t>(shift), kCols);
            shown.resize(kCols, ' ');
            s.Write(kTop + 1 + r, kLeft + 1, shown, plain);
        }
        const int k = common::Qrminkey(rt);
        if (k == key::kEsc) break;
        if (k == key::kUp) first = std::max(0, first - 1);
        if (k == key::kDown) first = std::min(last_first, first + 1);
        if (k == key::kPgUp) first = std::max(0, first - kRows);
        if (k == key::kPgDn) first = std::min(last_first, first + kRows);
        if (k == key::kHome || k == key::kCtrlPgUp) first = 0;
        if (k == key::kEnd || k == key::kCtrlPgDn) first = last_first;
        if (k == key::kLeft) shift = std::max(0, shift - 8);
        if (k == key::kRight) shift = std::min(last_shift, shift + 8);
    }
    s.Restore(saved);
}

}  // namespace kestrel::printing
