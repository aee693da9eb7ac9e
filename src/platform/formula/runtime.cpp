#include "platform/formula/runtime.h"

#include <cctype>

#include "platform/formula/builtins.h"
#include "platform/formula/compiler.h"
#include "platform/formula/date.h"
#include "platform/formula/lexer.h"
#include "platform/formula/parser.h"

namespace kestrel::formula {
namespace {

constexpr int kMaxTypeDepth = 50;
constexpr size_t kStackSize = 16384;  // values; enough for any formula and kMaxCallDepth calls
// A formula whose fast code gave up this many times more often than it
// succeeded runs on the general evaluator only.
constexpr int kMaxFastMisses = 16;

bool IsFunctionName(std::string_view name) {
    if (name.empty() || name.size() > 10 || !std::isalpha(static_cast<unsigned char>(name[0])))
        return false;
    for (char c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

// "a, b ,c" -> {"A", "B", "C"}; false when an entry is not a name.
bool ParseParameters(std::string_view text, std::vector<std::string>* out) {
    size_t p = 0;
    std::string all = StripLineBreaks(text);
    bool blank = all.find_first_not_of(" \t") == std::string::npos;
    if (blank) return true;
    std::string_view s(all);
    while (p <= s.size()) {
        size_t comma = s.find(',', p);
        if (comma == std::string_view::npos) comma = s.size();
        std::string_view item = s.substr(p, comma - p);
        const size_t b = item.find_first_not_of(" \t");
        const size_t e = item.find_last_not_of(" \t");
        if (b == std::string_view::npos) return false;
        item = item.substr(b, e + 1 - b);
        if (!std::isalpha(static_cast<unsigned char>(item[0])) && item[0] != '_') return false;
        for (char c : item) {
            if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
        }
        out->push_back(NormalizeName(item));
        p = comma + 1;
    }
    return true;
}

}  // namespace

const Value Call::nil_;

bool Call::ArgError(int number) {
    return Fail(Error::Operation(name, number, "Argument error"));
}

Runtime::Runtime(TableHost* host, Environment env)
    : host_(host),
      publics_(env.publics != nullptr ? env.publics : &own_publics_),
      clock_(env.clock != nullptr ? env.clock : &system_clock_) {
    stack_ = std::make_unique<Value[]>(kStackSize);
    stack_end_ = stack_.get() + kStackSize;
    top_ = stack_.get();
    fast_stack_ = std::make_unique<Value[]>(kFastStackSize);
    fast_end_ = fast_stack_.get() + kFastStackSize;
}

Runtime::~Runtime() {
    // The stack is all NIL between evaluations; what formulas left held only
    // by cycles goes now. Arrays the program still holds stay on the pool.
    publics_->arrays().Collect();
}

void Runtime::RegisterFunction(std::string_view name, HostFunction fn) {
    std::string key = NormalizeName(name);
    auto it = host_index_.find(key);
    if (it != host_index_.end()) {
        host_fns_[it->second].fn = std::move(fn);
        return;
    }
    host_index_.emplace(key, static_cast<int>(host_fns_.size()));
    host_fns_.push_back(HostFn{key, std::move(fn)});
}

int Runtime::FindHostFunction(std::string_view name) const {
    auto it = host_index_.find(NormalizeName(name));
    return it == host_index_.end() ? -1 : it->second;
}

bool Runtime::HasFunction(std::string_view name) const {
    const std::string key = NormalizeName(name);
    return FindBuiltinExact(key) >= 0 || FindHostFunction(key) >= 0 || FindBuiltinPrefix(key) >= 0;
}

int Runtime::InternUserFunction(std::string_view name) {
    std::string key = NormalizeName(name);
    auto it = user_index_.find(key);
    if (it != user_index_.end()) return it->second;
    user_index_.emplace(key, static_cast<int>(user_fns_.size()));
    user_fns_.push_back(UserFunction{key, nullptr});
    return static_cast<int>(user_fns_.size() - 1);
}

bool Runtime::IsUserFunction(std::string_view name) const {
    auto it = user_index_.find(NormalizeName(name));
    return it != user_index_.end() && user_fns_[it->second].program != nullptr;
}

DefineResult Runtime::DefineFunction(std::string_view name, std::string_view params,
                                     std::string_view body, Error* error) {
    *error = Error();
    if (!IsFunctionName(name)) return DefineResult::kBadName;
    const std::string key = NormalizeName(name);
    const int var = publics_->Find(key);
    if (slots_.Find(key) >= 0 || (var >= 0 && publics_->IsDefined(var)))
        return DefineResult::kNameTaken;
    std::vector<std::string> names;
    if (!ParseParameters(params, &names)) return DefineResult::kBadParameters;
    auto program = std::make_unique<Program>();
    program->source = StripLineBreaks(body);
    NodePtr tree = Parse(program->source, error);
    if (!tree) return DefineResult::kBadBody;
    Compiler compiler(*this, program.get(), names);
    if (!compiler.Compile(*tree, error)) return DefineResult::kBadBody;
    program->fast = MakeFastCode(*program);
    user_fns_[InternUserFunction(key)].program = std::move(program);
    return DefineResult::kOk;
}

bool Runtime::Compile(std::string_view text, Program* out, Error* error) {
    *out = Program();
    *error = Error();
    out->source = StripLineBreaks(text);
    NodePtr tree = Parse(out->source, error);
    if (!tree) return false;
    Compiler compiler(*this, out, {});
    if (!compiler.Compile(*tree, error)) {
        out->code.clear();
        return false;
    }
    out->fast = MakeFastCode(*out);
    return true;
}

bool Runtime::Evaluate(const Program& program, Value* out, Error* error) {
    // Only the kind says whether there is an error; clearing the texts would
    // cost more than a simple formula's whole evaluation.
    error->kind = ErrorKind::kNone;
    if (depth_ == 0 && top_ == stack_.get()) calls_left_ = call_limit_;
    if (!program.fast.empty() && fast_path_ && program.fast_misses < kMaxFastMisses) {
        // The fast code writes *out only when it succeeds, and then only
        // with a plain value.
        if (out->HoldsReference()) *out = Value();
        const int64_t calls = calls_left_;
        Value* base = fast_stack_.get();
        if (ExecuteFast(program, base, base, 0, out)) {
            if (program.fast_misses > 0) --program.fast_misses;
            return true;
        }
        calls_left_ = calls;
        ++program.fast_misses;
    }
    *out = Value();
    if (program.empty()) {
        error->kind = ErrorKind::kSyntax;
        return false;
    }
    Value* base = top_;
    if (stack_end_ - base < program.max_stack + 1) {
        *error = Error::Other("Stack overflow", 1);
        return false;
    }
    const bool ok = Execute(program, base, base, out, error);
    // Only the general evaluator makes arrays.
    if (depth_ == 0) publics_->arrays().CollectIfGrown();
    return ok;
}

bool Runtime::EvaluateAs(const Program& program, Type expected, Value* out, Error* error) {
    if (!Evaluate(program, out, error)) return false;
    if (out->type() == expected) return true;
    *error = Error();
    error->kind = ErrorKind::kWrongResultType;
    *out = Value();
    return false;
}

int32_t Runtime::Today() const {
    const base::LocalTime now = clock_->Now();
    return JulianFromYmd(now.year, now.month, now.day);
}

std::string Runtime::TypeOf(std::string_view text) {
    // type() of a text that calls type() again counts as a nested call.
    if (depth_ >= kMaxTypeDepth) return "U";
    Program p;
    Error err;
    if (!Compile(text, &p, &err)) return "UE";
    if (p.calls_user) return "UI";
    Value v;
    ++depth_;
    const bool ok = Evaluate(p, &v, &err);
    --depth_;
    if (!ok) return "U";
    return std::string(1, v.TypeLetter());
}

}  // namespace kestrel::formula
