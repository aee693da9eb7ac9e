#include "common/screen/identification.h"

#include <vector>

#include "common/screen/form.h"
#include "common/screen/messages.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"

namespace kestrel::common {
namespace {

namespace key = console::key;
using memfile::MemValue;

// The public variables mirror the operator for the rest of the system.
void Publish(Runtime& rt, const std::string& password) {
    const OperatorState& op = rt.operators();
    rt.config().Set("YIDENT", MemValue::Char(op.ident));
    rt.config().Set("YHASUZ", MemValue::Char(password));
    rt.config().Set("YUPRUZ", MemValue::Numeric(op.rights, 10, 0));
}

void WarnNoList(Runtime& rt) {
    auto& s = rt.screen();
    const console::ScreenRegion saved = s.Save(7, 11, 18, 68);
    const console::Attr frame = rt.Standard(rt.colours().ycow);
    const console::Attr emphasis = rt.Standard(rt.colours().ycowp);
    s.Box(7, 11, 18, 68, std::string(console::kFrameDouble) + " ", frame);
    const char* const lines[] = {
        "Stwierdzono brak założonych haseł",
        "",
        "Zaleca się założenie listy użytkowników programu",
        "i nadanie im haseł oraz uprawnień do programu.",
        "Jeżeli brak jest założonych haseł dostępu do programu,",
        "to praca z programem operującym danymi rzeczywistymi,",
        "może być niezgodna z odpowiednimi przepisami.",
        "",
        "W celu założenia haseł wykonaj punkt 9.8.",
    };
    int row = 8;
    for (const char* line : lines) {
        s.Write(row, 13, rt.Text(line), row == 8 ? emphasis : frame);
        ++row;
    }
    rt.console().Tone(kToneFrequency, kToneTicks);
    Qrmndk(rt);
    s.Restore(saved);
}

}  // namespace

void RefreshOperatorList(Runtime& rt) {
    std::vector<Operator> list;
    const bool exists = LoadOperators(OperatorListPath(rt.program_dir(), rt.company()), &list).ok();
    OperatorState& op = rt.operators();
    op.list_exists = exists;
    bool still_there = false;
    for (const Operator& o : list)
        if (o.ident == op.ident && !o.inactive && o.rights == op.rights) still_there = true;
    if (!still_there) {
        op.ident = "    ";
        op.rights = 0;
    }
    Publish(rt, still_there ? rt.config().Text("YHASUZ") : "");
}

bool ReadMaskedText(Runtime& rt, int row, int col, int width, std::string* out) {
    auto& s = rt.screen();
    const console::Attr attr = rt.console().colour().enhanced;
    const console::CursorShape saved = s.cursor_shape();
    s.SetCursorShape(console::CursorShape::kUnderline);
    std::string text;
    bool ok = false;
    for (;;) {
        s.Write(row, col,
                std::string(text.size(), '*') +
                    std::string(static_cast<size_t>(width) - text.size(), ' '),
                attr);
        s.SetCursor(row, col + static_cast<int>(
                                   std::min<size_t>(text.size(), static_cast<size_t>(width - 1))));
        const int k = Qrminkey(rt);
        if (k == key::kEsc) break;
        if (k == key::kEnter) {
            ok = true;
            break;
        }
        if ((k == key::kBackspace || k == key::kLeft) && !text.empty()) text.pop_back();
        if (console::IsPrintable(k) && static_cast<int>(text.size()) < width)
            text += static_cast<char>(k);
    }
    s.SetCursorShape(saved);
    if (ok) *out = text;
    return ok;
}

bool IdentifyOperator(Runtime& rt) {
    ShowWait(rt);
    rt.operators().ident = "    ";
    rt.operators().rights = 0;
    Publish(rt, "");
    std::vector<Operator> list;
    rt.operators().list_exists =
        LoadOperators(OperatorListPath(rt.program_dir(), rt.company()), &list).ok();
    if (!rt.operators().list_exists) {
        if (!rt.no_list_warned()) {
            rt.no_list_warned() = true;
            WarnNoList(rt);
        }
        return true;
    }

    auto& s = rt.screen();
    const console::ScreenRegion saved = s.Save(10, 20, 14, 60);
    const console::Attr frame = rt.Standard(rt.colours().ycow);
    s.Box(10, 20, 14, 60, std::string(console::kFrameDouble) + " ", frame);
    const Operator* who = nullptr;
    for (;;) {
        std::string ident(4, ' ');
        s.Write(11, 22, rt.Text("Użytkownik:"), frame);
        Form form(rt);
        form.Get(11, 35, &ident, "@!", 4).Valid([&] { return !base::IsBlank(ident); });
        if (!Qrmrdr(rt, form).saved()) {
            s.Restore(saved);
            return false;
        }
        who = nullptr;
        for (const Operator& o : list)
            if (o.ident == ident) who = &o;
        if (who == nullptr) {
            ShowMessage(rt, rt.Text("Brak takiego użytkownika"));
            continue;
        }
        if (who->inactive) {
            ShowMessage(rt, rt.Text("Błędny symbol użytkownika"));
            continue;
        }
        break;
    }
    s.Write(12, 22, rt.Text("Pełna nazwa: ") + who->name, frame);
    std::string password;
    for (;;) {
        s.Write(13, 22, rt.Text("Hasło:"), frame);
        if (!ReadMaskedText(rt, 13, 35, 20, &password)) {
            s.Restore(saved);
            return false;
        }
        if (PasswordMatches(password, who->password_hash)) break;
        ShowMessage(rt, rt.Text("Błędne hasło"));
    }
    rt.operators().ident = who->ident;
    rt.operators().rights = who->rights;
    Publish(rt, password);
    s.Restore(saved);
    s.Write(3, 2, rt.Text(" Użytkownik: ") + who->ident + " ", rt.Standard(rt.colours().ycoi));
    return true;
}

bool ConfirmPassword(Runtime& rt) {
    std::vector<Operator> list;
    if (!LoadOperators(OperatorListPath(rt.program_dir(), rt.company()), &list).ok()) return true;
    const Operator* who = nullptr;
    for (const Operator& o : list)
        if (o.ident == rt.operators().ident && !o.inactive) who = &o;
    if (who == nullptr) {
        ShowMessage(rt, rt.Text("Brak uprawnień do tej funkcji"));
        return false;
    }
    auto& s = rt.screen();
    const console::ScreenRegion saved = s.Save(11, 20, 13, 60);
    const console::Attr frame = rt.Standard(rt.colours().ycow);
    s.Box(11, 20, 13, 60, std::string(console::kFrameDouble) + " ", frame);
    bool ok = false;
    for (;;) {
        s.Write(12, 22, rt.Text("Hasło:"), frame);
        std::string password;
        if (!ReadMaskedText(rt, 12, 35, 20, &password)) break;
        if (PasswordMatches(password, who->password_hash)) {
            ok = true;
            break;
        }
        ShowMessage(rt, rt.Text("Błędne hasło"));
    }
    s.Restore(saved);
    return ok;
}

bool CheckRights(Runtime& rt, unsigned mask, bool announce) {
    if (RightsAllow(rt.operators(), mask)) return true;
    if (announce) ShowMessage(rt, rt.Text("Brak uprawnień do tej funkcji"));
    return false;
}

}  // namespace kestrel::common
