// Direct key building: the common shapes of stored key expressions and
// conditions, built straight from the record into the key buffer.
//
// Re-indexing evaluates a key for every record, and the stored keys are
// nearly all concatenations of fields, str()/strzero() of numeric fields,
// dtos() and substr() of dates, and the index functions (qrmsort(dky(...))).
// Through the general evaluator each of them builds and frees strings. A
// DirectKey is made from the formula engine's compiled form of such a key:
// it recognises those shapes and performs the same operations, with the same
// routines (FormatNumber, Dtos, Unscramble, SortKey, the built-ins), into
// reusable buffers. Anything else has no DirectKey and is evaluated by the
// formula engine. Tests check that both give the same bytes over every
// index of the catalogue.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "common/session/letters.h"
#include "common/tables/index_functions.h"
#include "platform/dbf/record.h"
#include "platform/formula/runtime.h"

namespace kestrel::common {

class DirectKey {
  public:
    ~DirectKey();
    /// The direct form of the key program `p` (compiled by `rt` over
    /// `fields` with the index functions registered), or nullptr when `p`
    /// is not of a shape it knows.
    static std::unique_ptr<DirectKey> Make(const formula::Program& p, formula::Runtime& rt,
                                           const std::vector<dbf::Field>& fields,
                                           const LetterSet& letters);
    /// Appends the key of `rec`; false (nothing appended) when a step
    /// cannot be done directly, and the formula engine must evaluate it.
    bool Append(const dbf::Record& rec, std::string* key);

    struct Step;
    struct Part;

  private:
    DirectKey() = default;
    formula::Runtime* rt_ = nullptr;
    const std::vector<dbf::Field>* fields_ = nullptr;
    const LetterSet* letters_ = nullptr;
    SortTable sort_;
    std::vector<Part> parts_;  // concatenated
    bool string_ = true;       // a text key (else one value, as AppendKeyText)
    std::string scratch_, scratch2_;
};

class DirectCondition {
  public:
    /// The direct form of the condition program `p`: fields, empty(field),
    /// !, .and. and .or.; nullptr for anything else.
    static std::unique_ptr<DirectCondition> Make(const formula::Program& p,
                                                 const std::vector<dbf::Field>& fields);
    bool Test(const dbf::Record& rec) const;

  private:
    static constexpr size_t kMaxSteps = 64;
    struct Step {
        enum Kind { kField, kEmpty, kNot, kAndJump, kOrJump, kNop, kReturn } kind;
        int field = 0;
        int target = 0;
    };
    std::vector<Step> steps_;
    const std::vector<dbf::Field>* fields_ = nullptr;
};

}  // namespace kestrel::common
