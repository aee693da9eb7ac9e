// Index keys through the formula engine.
//
// An IndexKeys object belongs to one open table: it compiles the key
// expression and condition of each of the table's index files once, bound to
// the table's fields, with the index functions of common/tables/index_functions.h,
// and hands the table engine callbacks that evaluate them per record.
//
// Results become key bytes the way xBase stores them: text as it is, numbers
// as NumericKey of their width, dates as "YYYYMMDD" (blanks when empty),
// logicals as "T"/"F". Every key must have a fixed width (the engine fixes
// the key size from a blank record). A key that fails to evaluate becomes
// blanks and a condition that fails leaves the record out; failures are
// counted (eval_errors()).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/session/letters.h"
#include "common/tables/table_catalogue.h"
#include "platform/base/status.h"
#include "platform/dbf/index.h"
#include "platform/dbf/record.h"
#include "platform/formula/environment.h"

namespace kestrel::common {

class IndexKeys {
  public:
    /// Keys over records of the layout `fields`, sorted in the letter set
    /// `letters`. `direct`: keys and conditions of the common shapes are
    /// built directly (index_keys_direct.h), with the same results; false
    /// evaluates every one through the formula engine.
    IndexKeys(const std::vector<dbf::Field>& fields, const LetterSet& letters, bool direct = true)
        : IndexKeys(fields, letters, formula::Environment{}, direct) {}
    /// The same, evaluated with the program's public variables and clock
    /// (Runtime::formulas()), which must outlive the keys' callbacks.
    IndexKeys(const std::vector<dbf::Field>& fields, const LetterSet& letters,
              const formula::Environment& env, bool direct = true);
    ~IndexKeys();
    IndexKeys(const IndexKeys&) = delete;
    IndexKeys& operator=(const IndexKeys&) = delete;

    /// Compiles `key` and `condition` ("" for none) into *out (expressions and
    /// callbacks). InvalidArgument with the compiler's message when either
    /// does not compile. The callbacks keep this object's state alive.
    base::Status Define(std::string_view key, std::string_view condition,
                        dbf::IndexDefinition* out);
    /// The same for an index of the catalogue.
    base::Status Define(const CatalogueIndex& index, dbf::IndexDefinition* out) {
        return Define(index.key, index.condition, out);
    }

    /// Evaluations that failed so far.
    int eval_errors() const;
    /// Keys and conditions defined so far that are built directly.
    int direct_count() const;

    struct State;

  private:
    std::shared_ptr<State> state_;
};

}  // namespace kestrel::common
