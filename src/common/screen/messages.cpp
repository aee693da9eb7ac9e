#include "common/screen/messages.h"

namespace kestrel::common {

int Qrminkey(Runtime& rt) {
    return rt.console().WaitKey();
}

void ShowWait(Runtime& rt) {
    rt.screen().Write(0, 60, "CZEKAJ...", rt.Standard(rt.colours().ycowg));
}

void ClearMessageRow(Runtime& rt) {
    const console::Attr attr = rt.Standard(rt.colours().ycow);
    rt.screen().Clear(kMessageRow, 1, kMessageRow, 38, attr);
    rt.screen().Clear(kMessageRow, kPromptCol, kMessageRow, 77, attr);
}

void WriteMessage(Runtime& rt, std::string_view cp852, console::Attr attr) {
    rt.screen().Clear(kMessageRow, kMessageCol, kMessageRow, kMessageCol + kMessageWidth - 1,
                      rt.Standard(rt.colours().ycow));
    rt.screen().Write(kMessageRow, kMessageCol, cp852.substr(0, kMessageWidth), attr);
}

int Qrmndk(Runtime& rt) {
    const console::Attr attr = rt.Standard(rt.colours().ycow);
    rt.screen().Clear(0, 0, 0, console::kCols - 1, attr);
    rt.screen().Write(kMessageRow, kPromptCol, rt.Text("Naciśnij dowolny klawisz"), attr);
    rt.console().keyboard().Clear();
    int k = Qrminkey(rt);
    ShowWait(rt);
    ClearMessageRow(rt);
    return k;
}

void ShowMessage(Runtime& rt, std::string_view cp852, bool blink) {
    const char* spec = blink ? rt.colours().ycowpg : rt.colours().ycowp;
    WriteMessage(rt, cp852, rt.Standard(spec));
    rt.console().Tone(kToneFrequency, kToneTicks);
    Qrmndk(rt);
}

void NotInThisVersion(Runtime& rt) {
    constexpr int kTop = 11, kLeft = 17, kBottom = 13, kRight = 61;
    auto& s = rt.screen();
    const console::ScreenRegion under = s.Save(kTop, kLeft, kBottom, kRight);
    s.Box(kTop, kLeft, kBottom, kRight, std::string(console::kFrameDouble) + " ",
          rt.Standard(rt.colours().ycow));
    s.Write(kTop + 1, kLeft + 2, rt.Text("Funkcja niedostępna w tej wersji programu"),
            rt.Standard(rt.colours().ycowp));
    rt.console().Tone(kToneFrequency, kToneTicks);
    Qrmndk(rt);
    s.Restore(under);
}

}  // namespace kestrel::common
