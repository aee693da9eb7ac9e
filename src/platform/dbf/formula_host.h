// The open work areas as formulas see them: fields by name and alias, the
// table functions of the language, seeks on the controlling index.
#pragma once

#include "platform/dbf/work_area.h"
#include "platform/formula/host.h"

namespace kestrel::dbf {

/// A formula::TableHost over a Workspace. Field names resolve in the area
/// current at compile time (or the named alias); values are read from the
/// area's current record at evaluation time, memo fields from its DBT.
class WorkspaceHost : public formula::TableHost {
  public:
    explicit WorkspaceHost(Workspace& ws) : ws_(ws) {}

    bool ResolveField(std::string_view alias, std::string_view field, formula::FieldRef* ref,
                      bool* alias_open) override;
    bool ReadField(const formula::FieldRef& ref, formula::Value* out,
                   formula::Error* error) override;
    bool Eof() override;
    bool Bof() override;
    int64_t RecNo() override;
    int64_t RecCount() override;
    bool Deleted() override;
    bool Found() override;
    int Select(std::string_view alias) override;
    std::string Alias(int area) override;
    bool Seek(const formula::Value& key, bool soft, bool last, bool* found,
              formula::Error* error) override;

  private:
    WorkArea* Area(int number);

    Workspace& ws_;
};

}  // namespace kestrel::dbf
