#include "platform/console/key_script.h"

#include <cctype>

#include "platform/codepage/cp852.h"
#include "platform/console/keys.h"

namespace kestrel::console {
namespace {

base::Status Error(int line, const std::string& what) {
    return base::Status::InvalidArgument("key script, line " + std::to_string(line) + ": " + what);
}

bool ValidScreenName(std::string_view name) {
    if (name.empty() || name.size() > 64) return false;
    for (char c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_' && c != '.')
            return false;
    return name.find("..") == std::string_view::npos;
}

// Parses the inside of "{...}".
base::Status ParseBraced(std::string_view inside, int line, std::vector<ScriptStep>* steps) {
    if (inside.size() > 7 && inside.substr(0, 7) == "screen ") {
        std::string_view name = inside.substr(7);
        while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
        while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
        if (!ValidScreenName(name))
            return Error(line, "bad screen name \"" + std::string(name) + "\"");
        steps->push_back({ScriptStep::Kind::kScreen, 0, std::string(name)});
        return base::Status::Ok();
    }
    int count = 1;
    if (auto star = inside.rfind('*'); star != std::string_view::npos && star + 1 < inside.size()) {
        std::string_view digits = inside.substr(star + 1);
        count = 0;
        for (char c : digits) {
            if (!std::isdigit(static_cast<unsigned char>(c)) || count > 9999)
                return Error(line, "bad repeat count in {" + std::string(inside) + "}");
            count = count * 10 + (c - '0');
        }
        inside = inside.substr(0, star);
    }
    int key = KeyFromName(inside);
    if (key == key::kNone) return Error(line, "unknown key {" + std::string(inside) + "}");
    for (int i = 0; i < count; ++i) steps->push_back({ScriptStep::Kind::kKey, key, {}});
    return base::Status::Ok();
}

}  // namespace

base::Status ParseKeyScript(std::string_view text, std::vector<ScriptStep>* steps) {
    steps->clear();
    int line = 1;
    size_t pos = 0;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") pos = 3;  // byte-order mark
    while (pos < text.size()) {
        char c = text[pos];
        if (c == '\n') {
            ++line;
            ++pos;
            continue;
        }
        if (c == '\r') {
            ++pos;
            continue;
        }
        if (c == '{') {
            if (pos + 1 < text.size() && text[pos + 1] == '{') {
                steps->push_back({ScriptStep::Kind::kKey, '{', {}});
                pos += 2;
                continue;
            }
            size_t close = text.find('}', pos);
            size_t newline = text.find('\n', pos);
            if (close == std::string_view::npos || newline < close)
                return Error(line, "unclosed {");
            base::Status s = ParseBraced(text.substr(pos + 1, close - pos - 1), line, steps);
            if (!s.ok()) return s;
            pos = close + 1;
            continue;
        }
        char32_t code;
        size_t len = codepage::DecodeUtf8(text, pos, &code);
        int byte = codepage::FromUnicode(code);
        if (code == U'\t') byte = key::kTab;
        if (byte < 0 || (byte < 32 && byte != key::kTab))
            return Error(line, "character U+" + std::to_string(static_cast<unsigned>(code)) +
                                   " cannot be typed");
        steps->push_back({ScriptStep::Kind::kKey, byte, {}});
        pos += len;
    }
    return base::Status::Ok();
}

}  // namespace kestrel::console
