#include "common/session/call_chain.h"

#include <exception>

namespace kestrel::common {

void CallChain::Push(std::string_view routine, int line) {
    // A routine begins: whatever was kept of an earlier failure is over.
    failure_.clear();
    frames_.push_back({std::string(routine), line});
}

void CallChain::Pop() {
    if (!frames_.empty()) frames_.pop_back();
}

void CallChain::NoteUnwinding() {
    if (failure_.empty()) failure_ = frames_;
}

Routine::Routine(CallChain& chain, std::string_view name, std::source_location where)
    : chain_(chain), uncaught_(std::uncaught_exceptions()) {
    chain_.Push(name, static_cast<int>(where.line()));
}

Routine::~Routine() {
    if (std::uncaught_exceptions() > uncaught_) chain_.NoteUnwinding();
    chain_.Pop();
}

}  // namespace kestrel::common
