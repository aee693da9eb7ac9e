// What a matrix printout keeps between its preparation and its printing;
// for the files of the engine only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "payroll/data/payroll_host.h"
#include "payroll/printouts/data/matrix_print.h"
#include "platform/formula/bytecode.h"

namespace kestrel::payroll {

struct MatrixRun::State {
    State(common::Runtime& r, common::Tables& t, MatrixObserver* o)
        : rt(r), tables(t), watch(o != nullptr ? o : &silent) {}

    common::Runtime& rt;
    common::Tables& tables;
    MatrixObserver silent;
    MatrixObserver* watch;
    MatrixRequest request;
    MatrixDefinition m;
    std::unique_ptr<PayrollHost> host;
    std::vector<formula::Program> cells;  // as m.cells; empty for an empty cell
    formula::Program condition;           // empty when every employee is kept
    formula::Program key;                 // the own sort key
    std::vector<std::string> symbols;     // the components (trimmed), as host->components()
    std::vector<PayrollList> lists;       // the admitted lists
    std::vector<MatrixEmployee> employees;
    bool interrupted = false;
};

}  // namespace kestrel::payroll
