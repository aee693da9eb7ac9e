#include "common/index_keys.h"

#include "common/index_functions.h"
#include "platform/formula/date.h"
#include "platform/formula/host.h"
#include "platform/formula/names.h"
#include "platform/formula/runtime.h"

namespace kestrel::common {
namespace {

using formula::Value;

// The one record being keyed, as the only work area formulas see.
class RecordHost : public formula::TableHost {
  public:
    explicit RecordHost(std::vector<dbf::Field> fields) : fields_(std::move(fields)) {}

    void set_record(const dbf::Record* rec) { rec_ = rec; }

    bool ResolveField(std::string_view alias, std::string_view field, formula::FieldRef* ref,
                      bool* alias_open) override {
        *alias_open = alias.empty();
        if (!alias.empty()) return false;
        const std::string name = formula::NormalizeName(field);
        for (size_t i = 0; i < fields_.size(); ++i) {
            if (fields_[i].name == name) {
                *ref = formula::FieldRef{1, static_cast<int>(i)};
                return true;
            }
        }
        return false;
    }

    bool ReadField(const formula::FieldRef& ref, Value* out, formula::Error*) override {
        const dbf::Field& f = fields_[static_cast<size_t>(ref.field)];
        switch (f.type) {
            case dbf::FieldType::kCharacter:
                *out = rec_ ? Value::String(rec_->Raw(ref.field))
                            : Value::String(std::string(f.length, ' '));
                break;
            case dbf::FieldType::kNumeric:
                out->SetNumber(rec_ ? rec_->GetNumber(ref.field) : 0, f.decimals,
                               f.length - (f.decimals > 0 ? f.decimals + 1 : 0));
                break;
            case dbf::FieldType::kDate:
                *out = Value::Date(rec_ ? formula::Stod(rec_->GetDate(ref.field)) : 0);
                break;
            case dbf::FieldType::kLogical:
                out->SetLogical(rec_ ? rec_->GetLogical(ref.field) : false);
                break;
            case dbf::FieldType::kMemo:
                *out = Value::String("");  // keys never read memo texts
                break;
        }
        return true;
    }

    bool Eof() override { return false; }
    bool Bof() override { return false; }
    int64_t RecNo() override { return 0; }
    int64_t RecCount() override { return 0; }
    bool Deleted() override { return rec_ != nullptr && rec_->deleted(); }
    bool Found() override { return false; }
    int Select(std::string_view alias) override { return alias.empty() ? 1 : 0; }
    std::string Alias(int) override { return ""; }
    bool Seek(const Value&, bool, bool, bool*, formula::Error* error) override {
        *error = formula::Error::Host("Brak indeksu");
        return false;
    }

  private:
    std::vector<dbf::Field> fields_;
    const dbf::Record* rec_ = nullptr;
};

void AppendKey(const Value& v, std::string* key) {
    switch (v.type()) {
        case formula::Type::kString:
            key->append(v.str());
            break;
        case formula::Type::kNumber: {
            const int dec = v.decimals();
            const int width = (v.width() > 0 ? v.width() : 10) + (dec > 0 ? dec + 1 : 0);
            key->append(dbf::NumericKey(v.number(), width, dec));
            break;
        }
        case formula::Type::kDate:
            key->append(formula::Dtos(v.julian()));
            break;
        case formula::Type::kLogical:
            key->push_back(v.logical() ? 'T' : 'F');
            break;
        default:
            break;
    }
}

}  // namespace

struct IndexKeys::State {
    RecordHost host;
    formula::Runtime rt{&host};
    std::vector<std::unique_ptr<formula::Program>> programs;
    int errors = 0;

    explicit State(std::vector<dbf::Field> fields) : host(std::move(fields)) {}

    bool Run(const formula::Program& p, const dbf::Record& rec, Value* out) {
        host.set_record(&rec);
        formula::Error error;
        const bool ok = rt.Evaluate(p, out, &error);
        host.set_record(nullptr);
        if (!ok) ++errors;
        return ok;
    }
};

IndexKeys::IndexKeys(const std::vector<dbf::Field>& fields, const LetterSet& letters)
    : state_(std::make_shared<State>(fields)) {
    RegisterIndexFunctions(state_->rt, letters);
}

IndexKeys::~IndexKeys() = default;

int IndexKeys::eval_errors() const {
    return state_->errors;
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
    out->key = [state, key_program](const dbf::Record& rec, std::string* k) {
        Value v;
        if (state->Run(*key_program, rec, &v)) AppendKey(v, k);
    };
    if (for_program != nullptr) {
        out->condition = [state, for_program](const dbf::Record& rec) {
            Value v;
            return state->Run(*for_program, rec, &v) && v.IsLogical() && v.logical();
        };
    } else {
        out->condition = nullptr;
    }
    return base::Status::Ok();
}

}  // namespace kestrel::common
