// A table host that shows formulas one record: the fields of that record as
// the only work area, for index keys and FOR conditions.
#pragma once

#include <vector>

#include "platform/dbf/record.h"
#include "platform/formula/host.h"

namespace kestrel::dbf {

class RecordHost : public formula::TableHost {
  public:
    explicit RecordHost(std::vector<Field> fields) : fields_(std::move(fields)) {}

    /// The record the next evaluation reads (nullptr: a blank one).
    void set_record(const Record* rec) { rec_ = rec; }

    bool ResolveField(std::string_view alias, std::string_view field, formula::FieldRef* ref,
                      bool* alias_open) override;
    bool ReadField(const formula::FieldRef& ref, formula::Value* out, formula::Error*) override;
    bool Eof() override { return false; }
    bool Bof() override { return false; }
    int64_t RecNo() override { return 0; }
    int64_t RecCount() override { return 0; }
    bool Deleted() override { return rec_ != nullptr && rec_->deleted(); }
    bool Found() override { return false; }
    int Select(std::string_view alias) override { return alias.empty() ? 1 : 0; }
    std::string Alias(int) override { return ""; }
    bool Seek(const formula::Value&, bool, bool, bool*, formula::Error* error) override;

  private:
    std::vector<Field> fields_;
    const Record* rec_ = nullptr;
};

}  // namespace kestrel::dbf
