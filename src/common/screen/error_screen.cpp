#include "common/screen/error_screen.h"

#include <algorithm>
#include <cctype>

#include "common/screen/messages.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"

namespace kestrel::common {
namespace {

namespace key = console::key;

constexpr int kAlertWidth = 60;  // text lines of the alert are cut into this width

std::vector<std::string> Wrap(const std::string& text, size_t width) {
    std::vector<std::string> lines;
    for (size_t at = 0; at < text.size(); at += width) lines.push_back(text.substr(at, width));
    if (lines.empty()) lines.emplace_back();
    return lines;
}

// Bright blinking white on the standard background.
console::Attr Alarm(Runtime& rt) {
    return console::MakeAttr(15, console::Background(rt.Standard(rt.colours().ycow)), true);
}

std::string Head(const RunError& e) {
    std::string t = e.warning ? "Warning " : "Error ";
    t += e.subsystem.empty() ? "???" : e.subsystem;
    t += "/";
    t += e.subcode ? std::to_string(e.subcode) : "???";
    t += "  " + e.description;
    if (!e.file.empty())
        t += ": " + e.file;
    else if (!e.operation.empty())
        t += ": " + e.operation;
    return t;
}

}  // namespace

std::string ErrorText(const RunError& e) {
    std::string t = Head(e);
    if (e.os_code) t += ";(DOS Error " + std::to_string(e.os_code) + ")";
    return t;
}

std::vector<std::string> QuitLines(const RunError& e, const std::vector<CallFrame>& chain) {
    std::vector<std::string> lines;
    std::string t = Head(e);
    if (e.os_code) t += " (DOS Error " + std::to_string(e.os_code) + ") ";
    lines.push_back(t);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        lines.push_back("Called from " + it->routine + "(" + std::to_string(it->line) + ")");
    return lines;
}

ErrorChoice ErrorAlert(Runtime& rt, const RunError& e) {
    auto& s = rt.screen();
    // The screen, not a print file, gets what follows; the cursor and the
    // "CZEKAJ..." place come back afterwards.
    const int cursor_row = s.CursorRow(), cursor_col = s.CursorCol();
    const console::CursorShape shape = s.cursor_shape();
    const console::ScreenRegion wait_place = s.Save(0, 60, 0, 69);
    s.Clear(0, 60, 0, 69, rt.Standard(rt.colours().ycow));

    struct Option {
        const char* text;
        int result;  // -1 Quit
    };
    std::vector<Option> options = {{"Quit", -1}};
    if (e.can_retry) options.push_back({"Retry", static_cast<int>(ErrorChoice::kRetry)});
    if (e.can_default) options.push_back({"Default", static_cast<int>(ErrorChoice::kDefault)});
    options.push_back({"Break", static_cast<int>(ErrorChoice::kBreak)});

    const std::vector<std::string> lines = Wrap(ErrorText(e), kAlertWidth);
    int buttons = 0;
    for (const Option& o : options)
        buttons += static_cast<int>(std::string_view(o.text).size()) + 4;
    int inner = buttons;
    for (const auto& l : lines) inner = std::max(inner, static_cast<int>(l.size()));
    const int width = inner + 4;
    const int height = static_cast<int>(lines.size()) + 4;
    const int top = (console::kRows - height) / 2, left = (console::kCols - width) / 2;
    const int bottom = top + height - 1, right = left + width - 1;
    const console::ScreenRegion covered = s.Save(top, left, bottom, right);
    const console::Attr box = rt.Standard(rt.colours().ycowp2);
    const console::Attr bar = rt.Enhanced(rt.colours().ycowp2);
    s.Box(top, left, bottom, right, std::string(console::kFrameDouble) + " ", box);
    for (size_t i = 0; i < lines.size(); ++i)
        s.Write(top + 1 + static_cast<int>(i), left + 2, lines[i], box);

    rt.console().Tone(kToneFrequency, kToneTicks);
    s.SetCursorShape(console::CursorShape::kNone);
    int cur = 0;
    const int count = static_cast<int>(options.size());
    int chosen = -2;
    while (chosen == -2) {
        int col = left + 2 + (inner - buttons) / 2;
        for (int i = 0; i < count; ++i) {
            const std::string label = " " + std::string(options[static_cast<size_t>(i)].text) + " ";
            s.Write(bottom - 1, col, label, i == cur ? bar : box);
            col += static_cast<int>(label.size()) + 2;
        }
        const int k = Qrminkey(rt);
        if (k == key::kLeft || k == key::kUp) {
            cur = (cur + count - 1) % count;
        } else if (k == key::kRight || k == key::kDown || k == key::kTab) {
            cur = (cur + 1) % count;
        } else if (k == key::kEnter) {
            chosen = options[static_cast<size_t>(cur)].result;
        } else if (console::IsPrintable(k) && k < 0x80) {
            const int up = std::toupper(k);
            for (const Option& o : options)
                if (o.text[0] == up) chosen = o.result;
        }
    }
    if (chosen == -1) {
        rt.console().SetIdle(nullptr);
        throw ProgramQuit{1, QuitLines(e, rt.call_chain().AtFailure())};
    }
    s.Restore(covered);
    s.Restore(wait_place);
    s.SetCursor(cursor_row, cursor_col);
    s.SetCursorShape(shape);
    return static_cast<ErrorChoice>(chosen);
}

bool PrinterNotReady(Runtime& rt, unsigned char status) {
    auto& s = rt.screen();
    const console::ScreenRegion saved = s.Save(kMessageRow, 0, kMessageRow, console::kCols - 1);
    const console::Attr normal = rt.Standard(rt.colours().ycow);
    s.Write(kMessageRow, 2, "Drukarka niegotowa", Alarm(rt));
    std::string bits = "(";
    for (int b = 7; b >= 0; --b) bits += (status >> b) & 1 ? '1' : '0';
    s.Write(kMessageRow, 23, bits + ")", normal);
    rt.console().Tone(kToneFrequency, kToneTicks);
    s.Write(kMessageRow, kPromptCol, "Esc - przerwanie, Inny klawisz - druk", normal);
    rt.console().keyboard().Clear();
    const int k = Qrminkey(rt);
    if (k == key::kEsc) return false;
    s.Restore(saved);
    return true;
}

void ShowPrinterPortError(Runtime& rt, std::string_view file) {
    const std::string port = base::AsciiUpper(file.substr(0, 4));
    rt.config().Set("NAGLNDR", memfile::MemValue::Char("1"));
    ShowMessage(rt, rt.Text("Błędny port drukarki: ") + port);
}

void ShowOutOfMemory(Runtime& rt) {
    rt.screen().Write(kMessageRow, 2, "Za malo pamieci operacyjnej", Alarm(rt));
    rt.screen().Write(kMessageRow, kPromptCol, "Nacisnij dowolny klawisz",
                      rt.Standard(rt.colours().ycow));
    rt.console().Tone(kToneFrequency, kToneTicks);
    rt.console().keyboard().Clear();
    Qrminkey(rt);
    ClearMessageRow(rt);
}

void ShowTooManyOpenFiles(Runtime& rt, std::string_view file) {
    auto& s = rt.screen();
    const console::Attr attr = rt.Standard(rt.colours().ycowp);
    s.Box(10, 2, 15, 76, std::string(console::kFrameDouble) + " ", attr);
    s.Write(11, 4, "UWAGA! - Komputer skonfigurowany jest tak, ze program nie ma mozliwosci", attr);
    s.Write(12, 4, "otworzyc wystarczajacej ilosci plikow.", attr);
    s.Write(13, 4, "W typowej konfiguracji komputera, nalezy zwiekszyc parametr", attr);
    s.Write(14, 4, "FILES w pliku CONFIG.SYS i ponownie uruchomic komputer.", attr);
    s.Write(21, 1, "Plik: " + std::string(file), rt.Standard(rt.colours().ycow));
    s.Write(kMessageRow, kPromptCol, "Nacisnij dowolny klawisz", rt.Standard(rt.colours().ycow));
    rt.console().keyboard().Clear();
    Qrminkey(rt);
    ClearMessageRow(rt);
}

}  // namespace kestrel::common
