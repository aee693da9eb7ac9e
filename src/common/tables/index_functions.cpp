#include "common/tables/index_functions.h"

#include <cstdio>

#include "common/checks/scramble.h"

namespace kestrel::common {
namespace {

using formula::Call;
using formula::Value;

bool StringArg(Call& call, std::string_view* out) {
    const Value& v = call.Arg(0);
    if (!v.IsString()) return call.ArgError(1);
    *out = v.str();
    return true;
}

}  // namespace

std::string UpperPolish(const LetterSet& letters, std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        } else if (static_cast<unsigned char>(c) >= 0x80) {
            const size_t i = letters.pl.find(c, 9);
            if (i != std::string::npos) c = letters.pl[i - 9];
        }
    }
    return out;
}

std::string SortKey(const LetterSet& letters, std::string_view text) {
    std::string out = UpperPolish(letters, text);
    for (char& c : out) {
        const size_t pos = letters.sort.find(c);
        if (pos != std::string::npos) c = static_cast<char>(128 + pos);
    }
    return out;
}

SortTable MakeSortTable(const LetterSet& letters) {
    SortTable t;
    for (int i = 0; i < 256; ++i) {
        t.map[i] =
            static_cast<unsigned char>(SortKey(letters, std::string(1, static_cast<char>(i)))[0]);
    }
    return t;
}

void SortKeyInPlace(const SortTable& table, std::string* text) {
    for (char& c : *text) c = static_cast<char>(table.map[static_cast<unsigned char>(c)]);
}

std::string SortKey3(const LetterSet& letters, std::string_view text) {
    std::string out(text);
    const size_t missing = letters.sort3.size();
    for (char& c : out) {
        size_t pos = letters.sort3.find(c);
        if (pos == std::string::npos) pos = missing;
        c = static_cast<char>(32 + pos);
    }
    return out;
}

std::string ProfessionKey(std::string_view code) {
    std::string out(code);
    if (!out.empty() && out[0] == '0') out[0] = 'A';
    return out;
}

std::string TaxOfficeKey(const LetterSet& letters, std::string_view name) {
    const std::string up = UpperPolish(letters, name);
    constexpr std::string_view kWord = "SKARBOWY ";
    const size_t at = up.find(kWord);
    if (at == std::string::npos) return SortKey(letters, std::string(20, letters.Letter(8)));
    std::string_view rest = std::string_view(up).substr(at + kWord.size());
    if (rest.substr(0, 2) == "W ") {
        rest.remove_prefix(2);
    } else if (rest.substr(0, 3) == "WE ") {
        rest.remove_prefix(3);
    }
    std::string town(rest.substr(0, 20));
    town.resize(20, ' ');
    return SortKey(letters, town);
}

std::string DescendingDateKey(int32_t julian) {
    if (julian == 0) return std::string(8, ' ');
    char buf[16];
    std::snprintf(buf, sizeof buf, "%08d", 5231808 - julian);
    return buf;
}

void RegisterIndexFunctions(formula::Runtime& rt, const LetterSet& letters) {
    rt.RegisterFunction("QRMSORT", [letters](Call& call) {
        std::string_view s;
        if (!StringArg(call, &s)) return false;
        call.result = Value::String(SortKey(letters, s));
        return true;
    });
    rt.RegisterFunction("QRMSORT3", [letters](Call& call) {
        std::string_view s;
        if (!StringArg(call, &s)) return false;
        call.result = Value::String(SortKey3(letters, s));
        return true;
    });
    rt.RegisterFunction("QRMP0A", [](Call& call) {
        std::string_view s;
        if (!StringArg(call, &s)) return false;
        call.result = Value::String(ProfessionKey(s));
        return true;
    });
    rt.RegisterFunction("QRMSNUS", [letters](Call& call) {
        std::string_view s;
        if (!StringArg(call, &s)) return false;
        call.result = Value::String(TaxOfficeKey(letters, s));
        return true;
    });
    rt.RegisterFunction("QRMSDATA", [](Call& call) {
        const Value& v = call.Arg(0);
        if (!v.IsDate()) return call.ArgError(1);
        call.result = Value::String(DescendingDateKey(v.julian()));
        return true;
    });
    struct Scrambler {
        const char* decode;
        const char* encode;
        ScrambleKind kind;
    };
    for (const Scrambler& s : {Scrambler{"DKY", "EKY", ScrambleKind::kName},
                               Scrambler{"DKZ", "EKZ", ScrambleKind::kIdentity}}) {
        const ScrambleKind kind = s.kind;
        rt.RegisterFunction(s.decode, [kind](Call& call) {
            std::string_view v;
            if (!StringArg(call, &v)) return false;
            call.result = Value::String(Unscramble(kind, v));
            return true;
        });
        // eky(text, stored width): the stored form for a field of that width.
        rt.RegisterFunction(s.encode, [kind](Call& call) {
            std::string_view v;
            if (!StringArg(call, &v)) return false;
            const Value& w = call.Arg(1);
            if (!w.IsNumber() || w.number() < 14 || w.number() > 254) return call.ArgError(2);
            call.result = Value::String(Scramble(kind, v, static_cast<size_t>(w.number())));
            return true;
        });
    }
}

}  // namespace kestrel::common
