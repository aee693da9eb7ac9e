#include "startup/command_line.h"

#include <cctype>
#include "platform/base/text.h"

namespace kestrel::startup {
bool ParseCommandLine(const std::vector<std::string>& args, CommandLine* out, std::string* error) {
    *out = CommandLine{};
    bool have_printer = false;
    bool have_company = false;
    int plain = 0;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--script" || a == "--screens" || a == "--now") {
            if (i + 1 >= args.size()) {
                *error = "brak wartości opcji " + a;
                return false;
            }
            const std::string& value = args[++i];
            if (a == "--script") out->script = value;
            if (a == "--screens") out->screens = value;
            if (a == "--now") {
                out->now = base::ParseLocalTime(value);
                if (!out->now) {
                    *error =
                        "błędna data i godzina w --now (oczekiwano \"RRRR-MM-DD GG:MM\"): " + value;
                    return false;
                }
            }
            continue;
        }
        if (a.size() > 2 && a[0] == '-' && a[1] == '-') {
            *error = "nieznana opcja " + a;
            return false;
        }
        if (++plain > 3) continue;
        std::string p = base::AsciiUpper(a);
        if (p.compare(0, 3, "/D:") == 0) {
            if (have_printer) continue;
            have_printer = true;
            out->printer = p.substr(3);
            if (out->printer.size() < 20) out->printer.resize(20, ' ');
        } else {
            if (have_company) continue;
            have_company = true;
            out->company = p;
        }
    }
    return true;
}

}  // namespace kestrel::startup
