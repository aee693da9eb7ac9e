// Compiler: tree -> bytecode, binding every name once.
//
// Unaliased names resolve, in order, to a parameter of the user function
// being compiled, a field of the current work area, a declared slot, or a
// public variable (which need not be defined yet: using it undefined is a
// run-time error). M-> and MEMVAR-> skip the fields, FIELD-> and alias->
// take only fields. An alias or field the host does not know now is looked
// up again at run time, so it fails only if that code is reached.
//
// Function names resolve to a built-in of that exact name, a host function,
// a built-in of which the name is an abbreviation of at least four letters,
// and otherwise to the user function of that name (defined now or later).
#pragma once

#include <string>
#include <vector>

#include "platform/formula/bytecode.h"
#include "platform/formula/error.h"
#include "platform/formula/tree.h"

namespace kestrel::formula {

class Runtime;

class Compiler {
  public:
    /// `params`: parameter names of a user function (normalised), else empty.
    Compiler(Runtime& rt, Program* out, std::vector<std::string> params);

    /// Compiles `tree` into the program, followed by RETURN. Fails only on
    /// an assignment to something that cannot be assigned (kSyntax).
    bool Compile(const Node& tree, Error* error);

  private:
    void Emit(Op op, int a = 0, int b = 0, int c = -1);
    int Here() const { return static_cast<int>(p_->code.size()); }
    void Patch(int at) { p_->code[at].a = Here(); }
    int Name(const std::string& name);
    int Constant(Value v);
    bool Node_(const Node& n);
    void LoadName(const std::string& name);
    void LoadAliased(const std::string& alias, const std::string& name);
    void LoadMemvar(const std::string& name);
    int Field(const std::string& alias, const std::string& name);
    bool Assign(const Node& n);
    bool CallFunction(const Node& n);

    Runtime& rt_;
    Program* p_;
    std::vector<std::string> params_;
    int depth_ = 0;
};

}  // namespace kestrel::formula
