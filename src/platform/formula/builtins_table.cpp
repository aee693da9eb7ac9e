// Table functions: pass-through to the TableHost. Without a host (no table
// open) they answer as for an unused work area.
#include "platform/formula/builtins_util.h"
#include "platform/formula/host.h"

namespace kestrel::formula {

bool FnEof(Call& c) {
    c.result = Value::Logical(c.rt.host() ? c.rt.host()->Eof() : true);
    return true;
}

bool FnBof(Call& c) {
    c.result = Value::Logical(c.rt.host() ? c.rt.host()->Bof() : true);
    return true;
}

bool FnRecNo(Call& c) {
    c.result = Value::Number(c.rt.host() ? static_cast<double>(c.rt.host()->RecNo()) : 0, 0, 7);
    return true;
}

bool FnRecCount(Call& c) {
    c.result = Value::Number(c.rt.host() ? static_cast<double>(c.rt.host()->RecCount()) : 0, 0, 7);
    return true;
}

bool FnDeleted(Call& c) {
    c.result = Value::Logical(c.rt.host() ? c.rt.host()->Deleted() : false);
    return true;
}

bool FnFound(Call& c) {
    c.result = Value::Logical(c.rt.host() ? c.rt.host()->Found() : false);
    return true;
}

bool FnSelect(Call& c) {
    std::string alias;
    if (c.Arg(0).IsString())
        alias = c.Arg(0).str();
    else if (!c.Arg(0).IsNil())
        return c.ArgError(1009);
    c.result = Value::Number(c.rt.host() ? c.rt.host()->Select(alias) : 0);
    return true;
}

bool FnAlias(Call& c) {
    long long area = 0;
    if (!IntArg(c, 0, 0, &area)) return c.ArgError(1009);
    return ReturnString(c, c.rt.host() ? c.rt.host()->Alias(static_cast<int>(area)) : "");
}

bool FnDbSeek(Call& c) {
    TableHost* host = c.rt.host();
    if (host == nullptr) return c.Fail(Error::Operation("DBSEEK", 2001, "Workarea not in use"));
    const bool soft = c.Arg(1).IsLogical() && c.Arg(1).logical();
    const bool last = c.Arg(2).IsLogical() && c.Arg(2).logical();
    bool found = false;
    if (!host->Seek(c.Arg(0), soft, last, &found, c.error)) return false;
    c.result = Value::Logical(found);
    return true;
}

}  // namespace kestrel::formula
