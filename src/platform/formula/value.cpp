#include "platform/formula/value.h"

#include <algorithm>

namespace kestrel::formula {

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

Value Value::NewArray(ArrayPool& pool, size_t n) {
    Value v;
    v.head_ = static_cast<uint64_t>(Type::kArray);
    auto* a = new ArrayRep{1, 0, std::vector<Value>(n), nullptr, nullptr, nullptr};
    pool.Link(a);
    v.u_.arr = a;
    return v;
}

void Value::FreeArray(ArrayRep* a) {
    if (a->pool != nullptr) a->pool->Unlink(a);
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

void ArrayPool::Link(ArrayRep* a) {
    a->pool = this;
    a->prev = nullptr;
    a->next = head_;
    if (head_ != nullptr) head_->prev = a;
    head_ = a;
    ++size_;
}

void ArrayPool::Unlink(ArrayRep* a) {
    if (a->prev != nullptr)
        a->prev->next = a->next;
    else
        head_ = a->next;
    if (a->next != nullptr) a->next->prev = a->prev;
    a->pool = nullptr;
    a->prev = a->next = nullptr;
    --size_;
}

ArrayPool::ArrayPool(ArrayPool&& other) noexcept
    : head_(other.head_), size_(other.size_), collect_at_(other.collect_at_) {
    for (ArrayRep* a = head_; a != nullptr; a = a->next) a->pool = this;
    other.head_ = nullptr;
    other.size_ = 0;
}

ArrayPool& ArrayPool::operator=(ArrayPool&& other) noexcept {
    if (this == &other) return *this;
    Collect();
    while (head_ != nullptr) Unlink(head_);
    head_ = other.head_;
    size_ = other.size_;
    collect_at_ = other.collect_at_;
    for (ArrayRep* a = head_; a != nullptr; a = a->next) a->pool = this;
    other.head_ = nullptr;
    other.size_ = 0;
    return *this;
}

ArrayPool::~ArrayPool() {
    Collect();
    // What is still held outlives the pool.
    while (head_ != nullptr) Unlink(head_);
}

size_t ArrayPool::Collect() {
    // The references each array has from outside the pool's arrays: its count
    // less the elements of the pool's arrays that hold it.
    for (ArrayRep* a = head_; a != nullptr; a = a->next) a->mark = a->refs;
    for (ArrayRep* a = head_; a != nullptr; a = a->next) {
        for (const Value& item : a->items)
            if (item.IsArray() && item.u_.arr->pool == this) --item.u_.arr->mark;
    }
    // Everything reachable from an array held from outside is alive (mark -1).
    std::vector<ArrayRep*> work;
    for (ArrayRep* a = head_; a != nullptr; a = a->next) {
        if (a->mark > 0) {
            a->mark = -1;
            work.push_back(a);
        }
    }
    while (!work.empty()) {
        ArrayRep* a = work.back();
        work.pop_back();
        for (const Value& item : a->items) {
            ArrayRep* b = item.IsArray() ? item.u_.arr : nullptr;
            if (b != nullptr && b->pool == this && b->mark != -1) {
                b->mark = -1;
                work.push_back(b);
            }
        }
    }
    // The rest is held only by itself. Hold each while all are emptied, so
    // that none is freed under the loop, then let them go.
    std::vector<ArrayRep*> dead;
    for (ArrayRep* a = head_; a != nullptr; a = a->next)
        if (a->mark != -1) dead.push_back(a);
    for (ArrayRep* a : dead) ++a->refs;
    for (ArrayRep* a : dead) std::vector<Value>().swap(a->items);
    for (ArrayRep* a : dead) {
        if (--a->refs == 0) {
            Unlink(a);
            delete a;
        }
    }
    collect_at_ = std::max(kFirstCollection, 2 * size_);
    return dead.size();
}

}  // namespace kestrel::formula
