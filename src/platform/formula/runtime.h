// Runtime: the formula engine of one run (a recalculation, a printout, an
// index build). Not thread-safe; one per thread.
//
// It owns (or shares) the public variables, and owns the slot layout, the
// user functions and the host functions, and the value stack on which
// formulas run. The program's Runtimes share its public variables and its
// clock (an Environment, from common::Runtime::formulas()). Typical use:
//
//   Runtime rt(&tables, program.formulas());    // tables: a TableHost, or nullptr
//   int zasa = rt.slots().Declare("ZASA");      // before compiling
//   rt.publics().Set("NAGLKWP", Value::Logical(true));
//   rt.RegisterFunction("SUMASKLAD", fn);       // payroll library
//   rt.DefineFunction("REN1", "", "1.5/100", &err);
//   Program p;
//   if (!rt.Compile("yround(ZASA*ren1(),2)", &p, &err)) report(err.Message());
//   std::vector<Value> context(rt.slots().size());
//   rt.BindSlots(context.data(), context.size());   // switch vectors at will
//   Value v;
//   if (!rt.Evaluate(p, &v, &err)) report(err.Message());
//
// A Program may be evaluated any number of times; it stays valid as long as
// the Runtime that compiled it lives.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/base/clock.h"
#include "platform/formula/bytecode.h"
#include "platform/formula/environment.h"
#include "platform/formula/error.h"
#include "platform/formula/host.h"
#include "platform/formula/names.h"
#include "platform/formula/value.h"

namespace kestrel::formula {

class Runtime;

/// One call of a built-in or host function.
struct Call {
    Runtime& rt;
    const char* name;  // upper case, for error texts
    Value* args;
    int argc;
    Value result;  // NIL unless the function sets it
    Error* error;

    /// Argument i, NIL when it was not given.
    const Value& Arg(int i) const { return i < argc ? args[i] : nil_; }
    /// Fails the call with `e`.
    bool Fail(Error e) {
        *error = std::move(e);
        return false;
    }
    /// Fails with an argument error of this function: Błąd operacji "NAME" (number).
    bool ArgError(int number);

  private:
    static const Value nil_;
};

/// Built-in and host functions: return true with call.result set, or false
/// after call.Fail(...). A host function raises its own text with
/// call.Fail(Error::Host("Błędny argument 1 funkcji SUMASKLAD")).
using BuiltinFn = bool (*)(Call&);
using HostFunction = std::function<bool(Call&)>;

enum class DefineResult {
    kOk,
    kBadName,        // not a letter followed by up to nine letters or digits
    kNameTaken,      // a slot or a defined public variable has the name
    kBadParameters,  // the parameter list is not comma-separated names
    kBadBody,        // the body does not compile (*error says why)
};

class Runtime {
  public:
    /// `env.publics`: the program's table of public variables, which
    /// outlives this Runtime (the configuration restored at start-up);
    /// nullptr gives the Runtime a table of its own. Programs compiled by
    /// Runtimes that share one table may run on any of them. `env.clock`:
    /// what date() reads (nullptr: the system clock).
    explicit Runtime(TableHost* host = nullptr, Environment env = {});
    /// Frees the arrays that formulas left held only by cycles (on the
    /// table's pool; see ArrayPool for what outlives the Runtime).
    ~Runtime();
    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;

    TableHost* host() const { return host_; }
    void SetHost(TableHost* host) { host_ = host; }

    Variables& publics() { return *publics_; }
    /// The pool new arrays go to: that of the public variables' table. Host
    /// functions make their arrays with Value::NewArray(call.rt.arrays()).
    ArrayPool& arrays() { return publics_->arrays(); }
    SlotLayout& slots() { return slots_; }

    /// Slot i of the layout reads and writes values[i] from now on. The
    /// vector stays the caller's; n may be smaller than the layout (slots
    /// beyond it are undefined variables).
    void BindSlots(Value* values, size_t n) {
        slot_values_ = values;
        slot_count_ = n;
    }

    /// Registers a host function (the payroll library). Host functions are
    /// found after the built-ins of the same name.
    void RegisterFunction(std::string_view name, HostFunction fn);
    /// Whether a built-in or host function of that name exists.
    bool HasFunction(std::string_view name) const;

    /// Compiles a user function: `params` is a comma-separated list of names
    /// (may be empty), `body` one expression in which they are variables.
    /// Later definitions of the same name replace earlier ones.
    DefineResult DefineFunction(std::string_view name, std::string_view params,
                                std::string_view body, Error* error);
    bool IsUserFunction(std::string_view name) const;

    /// Compiles a formula (line breaks are removed first). Names are bound
    /// now: fields of the current work area and of open aliases, declared
    /// slots, public variables (which may be defined later).
    bool Compile(std::string_view text, Program* out, Error* error);

    /// Evaluates a compiled formula. On a run-time error returns false with
    /// *error set and *out NIL. Division by zero is not an error (it gives 0).
    bool Evaluate(const Program& program, Value* out, Error* error);
    /// As Evaluate, but a result of another type than `expected` is the error
    /// kWrongResultType ("Błędna wartość algorytmu").
    bool EvaluateAs(const Program& program, Type expected, Value* out, Error* error);

    /// Most user-function calls one evaluation may make (default ten
    /// million); more fail with "Too many calls". Formulas have no loops, so
    /// only runaway recursion reaches it.
    void SetCallLimit(int64_t calls) { call_limit_ = calls; }

    /// Whether formulas that compute only with numbers, dates and logicals
    /// run on the fast evaluator (the default). Off, every formula runs on
    /// the general one; both give the same results (tests compare them).
    void SetFastPath(bool on) { fast_path_ = on; }

    /// The clock date() reads from now on (nullptr: the system clock); it
    /// must outlive the Runtime.
    void SetClock(const base::Clock* clock) { clock_ = clock != nullptr ? clock : &system_clock_; }
    /// Today's date by that clock (Julian day).
    int32_t Today() const;

    // For the evaluator and the built-ins.
    struct UserFunction {
        std::string name;
        std::unique_ptr<Program> program;  // null while undefined
    };
    int InternUserFunction(std::string_view name);
    int FindHostFunction(std::string_view name) const;
    const std::string& HostFunctionName(int i) const { return host_fns_[i].name; }
    /// type(): "U", "UE", "UI" or the value's type letter.
    std::string TypeOf(std::string_view text);

  private:
    friend class Compiler;
    bool Execute(const Program& p, Value* locals, Value* sp, Value* result, Error* error);
    bool CallUser(int index, Value* args, int argc, Value* result, Error* error);
    bool ExecuteFast(const Program& p, Value* locals, Value* sp, int depth, Value* result);
    [[gnu::noinline]] Value* FastBuiltin(int id, int argc, Value* sp);
    [[gnu::noinline]] Value* FastCallUser(int index, int argc, Value* sp, int depth);

    struct HostFn {
        std::string name;
        HostFunction fn;
    };

    TableHost* host_;
    Variables own_publics_;
    Variables* publics_;  // own_publics_ or the caller's
    SlotLayout slots_;
    Value* slot_values_ = nullptr;
    size_t slot_count_ = 0;
    std::vector<HostFn> host_fns_;
    std::unordered_map<std::string, int> host_index_;
    std::vector<UserFunction> user_fns_;
    std::unordered_map<std::string, int> user_index_;
    base::SystemClock system_clock_;
    const base::Clock* clock_;

    std::unique_ptr<Value[]> stack_;
    Value* stack_end_ = nullptr;
    Value* top_ = nullptr;  // first free stack entry while a function runs
    int depth_ = 0;         // nesting of user function calls
    int64_t call_limit_ = 10'000'000;
    int64_t calls_left_ = 0;

    bool fast_path_ = true;
    std::unique_ptr<Value[]> fast_stack_;  // plain values only
    Value* fast_end_ = nullptr;
    Error fast_error_;  // what the shared operators report there (unused)
};

}  // namespace kestrel::formula
