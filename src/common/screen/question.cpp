#include "common/screen/question.h"

#include <cctype>

#include "common/screen/messages.h"
#include "platform/console/keys.h"

namespace kestrel::common {

char Question(Runtime& rt, std::string_view question, std::string_view answers,
              char default_answer) {
    namespace key = console::key;
    auto& s = rt.screen();
    const console::Attr normal = rt.Standard(rt.colours().ycow);
    const console::Attr emphasis = rt.Standard(rt.colours().ycowp);
    const console::Attr field = rt.Enhanced(rt.colours().ycow);

    int col = s.Write(kMessageRow, kPromptCol, question, normal);
    col = s.Write(kMessageRow, col, " [", normal);
    for (size_t i = 0; i < answers.size(); ++i) {
        if (i) col = s.Write(kMessageRow, col, ",", normal);
        col = s.Write(kMessageRow, col, answers.substr(i, 1), emphasis);
    }
    col = s.Write(kMessageRow, col, "]", normal) + 1;

    char answer = default_answer ? default_answer : ' ';
    const console::CursorShape saved = s.cursor_shape();
    s.SetCursorShape(console::CursorShape::kUnderline);
    for (;;) {
        s.Write(kMessageRow, col, std::string(1, answer), field);
        s.SetCursor(kMessageRow, col);
        int k = Qrminkey(rt);
        if (k == key::kEnter || k == key::kEsc) break;
        if (!console::IsPrintable(k) || k >= 0x80) continue;
        char c = static_cast<char>(k);
        char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        bool allowed = false;
        for (char a : answers)
            if (std::tolower(static_cast<unsigned char>(a)) == lower) allowed = true;
        if (!allowed) continue;
        answer = c;
        break;
    }
    s.SetCursorShape(saved);
    s.Clear(kMessageRow, kPromptCol, kMessageRow, 77, normal);
    return answer;
}

}  // namespace kestrel::common
