// Key scripts: the keys a scripted run types, and the screens it writes.
//
// The script is UTF-8 text. Ordinary characters are typed as keys (in
// CP852); "{Enter}", "{Esc}", "{F2}", "{Alt+U}", "{Ctrl+W}", "{Shift+F3}",
// "{PgDn}" ... name special keys, "{Down*3}" repeats one; "{{" types a brace;
// line breaks are ignored; "{screen NAME}" writes the current screen to
// NAME.txt in the screens directory. See docs/key-scripts.md.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/base/status.h"

namespace kestrel::console {

struct ScriptStep {
    enum class Kind { kKey, kScreen };
    Kind kind = Kind::kKey;
    int key = 0;       // kKey
    std::string name;  // kScreen
};

/// Parses a script. On error returns a status naming the line and the
/// offending text; `steps` is then unspecified.
base::Status ParseKeyScript(std::string_view utf8, std::vector<ScriptStep>* steps);

}  // namespace kestrel::console
