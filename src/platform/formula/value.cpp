#include "platform/formula/value.h"

namespace kestrel::formula {
namespace {

ArrayRep* g_arrays = nullptr;  // list of every live array
size_t g_array_count = 0;

}  // namespace

Value Value::String(std::string_view s) {
    Value v;
    v.head_ = static_cast<uint64_t>(Type::kString);
    v.u_.str = new StringRep{1, std::string(s)};
    return v;
}

Value Value::TakeString(std::string&& s) {
    Value v;
    v.head_ = static_cast<uint64_t>(Type::kString);
    v.u_.str = new StringRep{1, std::move(s)};
    return v;
}

Value Value::NewArray(size_t n) {
    Value v;
    v.head_ = static_cast<uint64_t>(Type::kArray);
    auto* a = new ArrayRep{1, std::vector<Value>(n), nullptr, g_arrays};
    if (g_arrays) g_arrays->prev = a;
    g_arrays = a;
    ++g_array_count;
    v.u_.arr = a;
    return v;
}

void Value::FreeArray(ArrayRep* a) {
    if (a->prev)
        a->prev->next = a->next;
    else
        g_arrays = a->next;
    if (a->next) a->next->prev = a->prev;
    --g_array_count;
    delete a;  // releases the elements, which may free further arrays
}

char Value::TypeLetter() const {
    switch (type()) {
        case Type::kNil:
            return 'U';
        case Type::kNumber:
            return 'N';
        case Type::kString:
            return 'C';
        case Type::kDate:
            return 'D';
        case Type::kLogical:
            return 'L';
        case Type::kArray:
            return 'A';
    }
    return 'U';
}

size_t BreakArrayCycles() {
    size_t cleared = 0;
    // Clearing one array may free others (and unlink them), so restart from
    // the head after every clear that released something.
    for (ArrayRep* a = g_arrays; a != nullptr;) {
        if (a->items.empty()) {
            a = a->next;
            continue;
        }
        ++a->refs;  // keep `a` alive while its elements go
        std::vector<Value> dead;
        dead.swap(a->items);
        dead.clear();
        ++cleared;
        ArrayRep* next = a->next;
        if (--a->refs == 0) {
            if (a->prev)
                a->prev->next = a->next;
            else
                g_arrays = a->next;
            if (a->next) a->next->prev = a->prev;
            --g_array_count;
            delete a;
        }
        a = (next == nullptr) ? nullptr : g_arrays;
    }
    return cleared;
}

size_t LiveArrayCount() {
    return g_array_count;
}

}  // namespace kestrel::formula
