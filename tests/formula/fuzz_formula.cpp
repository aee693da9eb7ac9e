// libFuzzer target: any text through the compiler and the evaluator, as a
// formula and as the body of a user function, with a table host, slots and
// a host function bound. Nothing may crash, leak or hang; errors are fine.
// Formulas with fast code must give the same on the general evaluator.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/formula/number_format.h"
#include "platform/formula/runtime.h"

namespace {

using namespace kestrel::formula;

class FuzzHost : public TableHost {
  public:
    bool ResolveField(std::string_view alias, std::string_view field, FieldRef* ref,
                      bool* alias_open) override {
        *alias_open = alias.empty() || alias == "PKPRAC";
        if (!*alias_open) return false;
        if (field == "NR_PRAC")
            ref->field = 0;
        else if (field == "GRUPA_ALG")
            ref->field = 1;
        else
            return false;
        return true;
    }
    bool ReadField(const FieldRef& ref, Value* out, Error*) override {
        *out = ref.field == 0 ? Value::String("000001") : Value::Number(1.5, 2, 4);
        return true;
    }
    bool Eof() override { return false; }
    bool Bof() override { return false; }
    int64_t RecNo() override { return 1; }
    int64_t RecCount() override { return 1; }
    bool Deleted() override { return false; }
    bool Found() override { return false; }
    int Select(std::string_view) override { return 1; }
    std::string Alias(int) override { return "PKPRAC"; }
    bool Seek(const Value&, bool, bool, bool* found, Error*) override {
        *found = true;
        return true;
    }
};

void Run(const std::string& text) {
    FuzzHost host;
    Runtime rt(&host);
    rt.SetCallLimit(20000);
    for (const char* name : {"ZASA", "DNIPR", "DNNOM", "BRUT", "ZUSP", "KOSZ"})
        rt.slots().Declare(name);
    Value slots[6] = {Value::Number(5000), Value::Number(15),       Value::Number(20),
                      Value::Number(6000), Value::Number(822.6, 2), Value::Number(250)};
    rt.BindSlots(slots, 6);
    rt.publics().Set("NAGL1", Value::String("Firma"));
    rt.RegisterFunction("SUMASKLAD", [](Call& c) {
        if (!c.Arg(0).IsNil() && !c.Arg(0).IsString()) return c.Fail(Error::Host("bad"));
        c.result = Value::Number(c.argc);
        return true;
    });
    Error err;
    rt.DefineFunction("REN1", "", "1.5/100", &err);
    rt.DefineFunction("FUN", "a, b", text, &err);
    Program p;
    if (rt.Compile(text, &p, &err)) {
        p.Dump();
        Value v;
        if (rt.Evaluate(p, &v, &err)) Canonical(v);
        const bool ok = rt.Evaluate(p, &v, &err);
        if (!p.fast.empty()) {
            // The general evaluator must agree with the fast one.
            rt.SetFastPath(false);
            Value v2;
            Error err2;
            const bool ok2 = rt.Evaluate(p, &v2, &err2);
            rt.SetFastPath(true);
            if (ok != ok2 || (ok ? Canonical(v) != Canonical(v2) : err.Message() != err2.Message()))
                __builtin_trap();
        }
    }
    err.Message();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096) return 0;
    Run(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
