#include "common/tables/index_keys.h"

#include "common/tables/index_functions.h"
#include "common/tables/index_keys_direct.h"
#include "platform/dbf/formula_value.h"
#include "platform/dbf/record_host.h"
#include "platform/formula/runtime.h"

namespace kestrel::common {

using formula::Value;

struct IndexKeys::State {
    dbf::RecordHost host;
    formula::Runtime rt;
    std::vector<dbf::Field> fields;
    LetterSet letters;
    bool direct = true;
    std::vector<std::unique_ptr<formula::Program>> programs;
    int errors = 0;
    int directs = 0;

    State(std::vector<dbf::Field> f, const LetterSet& l, const formula::Environment& env)
        : host(f), rt(&host, env), fields(std::move(f)), letters(l) {}

    bool Run(const formula::Program& p, const dbf::Record& rec, Value* out) {
        host.set_record(&rec);
        formula::Error error;
        const bool ok = rt.Evaluate(p, out, &error);
        host.set_record(nullptr);
        if (!ok) ++errors;
        return ok;
    }
};

IndexKeys::IndexKeys(const std::vector<dbf::Field>& fields, const LetterSet& letters,
                     const formula::Environment& env, bool direct)
    : state_(std::make_shared<State>(fields, letters, env)) {
    state_->direct = direct;
    RegisterIndexFunctions(state_->rt, letters);
}

IndexKeys::~IndexKeys() = default;

int IndexKeys::eval_errors() const {
    return state_->errors;
}

int IndexKeys::direct_count() const {
    return state_->directs;
}

base::Status IndexKeys::Define(std::string_view key, std::string_view condition,
                               dbf::IndexDefinition* out) {
    auto compile = [&](std::string_view text, formula::Program** program) {
        auto p = std::make_unique<formula::Program>();
        formula::Error error;
        if (!state_->rt.Compile(text, p.get(), &error)) {
            return base::Status::InvalidArgument(std::string(text) + ": " + error.Message());
        }
        *program = p.get();
        state_->programs.push_back(std::move(p));
        return base::Status::Ok();
    };
    formula::Program* key_program = nullptr;
    base::Status s = compile(key, &key_program);
    if (!s.ok()) return s;
    formula::Program* for_program = nullptr;
    if (!condition.empty()) {
        s = compile(condition, &for_program);
        if (!s.ok()) return s;
    }
    out->key_expression = std::string(key);
    out->for_expression = std::string(condition);
    std::shared_ptr<State> state = state_;
    // The common shapes are built directly; the rest, and a direct key that
    // cannot finish, go through the formula engine.
    std::shared_ptr<DirectKey> direct;
    std::shared_ptr<DirectCondition> direct_for;
    if (state_->direct) {
        direct = DirectKey::Make(*key_program, state_->rt, state_->fields, state_->letters);
        if (for_program != nullptr)
            direct_for = DirectCondition::Make(*for_program, state_->fields);
        state_->directs += (direct != nullptr) + (direct_for != nullptr);
    }
    out->key = [state, key_program, direct](const dbf::Record& rec, std::string* k) {
        if (direct && direct->Append(rec, k)) return;
        Value v;
        if (state->Run(*key_program, rec, &v)) dbf::AppendKeyText(v, k);
    };
    if (for_program != nullptr) {
        out->condition = [state, for_program, direct_for](const dbf::Record& rec) {
            if (direct_for) return direct_for->Test(rec);
            Value v;
            return state->Run(*for_program, rec, &v) && v.IsLogical() && v.logical();
        };
    } else {
        out->condition = nullptr;
    }
    return base::Status::Ok();
}

}  // namespace kestrel::common
