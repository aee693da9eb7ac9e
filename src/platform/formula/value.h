// Value: what a formula computes with.
//
// A Value is 16 bytes and is copied freely. Numbers, dates, logicals and NIL
// live inside it; strings and arrays live on the heap behind a reference
// count (the program is single-threaded, the count is not atomic). Strings
// are immutable CP852 bytes. Arrays are shared by reference, as in the xBase
// family: `b := a` makes both names see one array, and aadd() on either
// grows it.
//
// An array can hold itself (`aadd(a, a)`), so counting alone would never
// free it: every array is made in an ArrayPool, which finds the arrays that
// only cycles hold and frees them (see ArrayPool below for who owns what).
//
// Numbers keep the two display attributes of the xBase family: the number of
// decimals (what str() and the canonical form print) and the width of the
// integer part (0 = the default: 10 digits, 20 for large magnitudes). They do
// not take part in arithmetic or comparison, which always use the double.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel::formula {

// Heap-held types come last, so one comparison tells whether a value holds a
// reference.
enum class Type : uint8_t { kNil, kNumber, kDate, kLogical, kString, kArray };

class Value;
class ArrayPool;

struct StringRep {
    int refs;
    std::string text;
};

struct ArrayRep {
    int refs;
    int mark;  // ArrayPool::Collect's working count
    std::vector<Value> items;
    ArrayPool* pool;  // the pool the array is on; nullptr once it outlived it
    ArrayRep* prev;
    ArrayRep* next;
};

class Value {
  public:
    Value() { u_.num = 0; }
    ~Value() { Release(); }
    Value(const Value& o) : head_(o.head_), u_(o.u_) { Retain(); }
    Value(Value&& o) noexcept : head_(o.head_), u_(o.u_) { o.head_ = 0; }
    Value& operator=(const Value& o) {
        if (this != &o) {
            o.Retain();
            Release();
            head_ = o.head_;
            u_ = o.u_;
        }
        return *this;
    }
    Value& operator=(Value&& o) noexcept {
        if (this != &o) {
            Release();
            head_ = o.head_;
            u_ = o.u_;
            o.head_ = 0;
        }
        return *this;
    }

    static Value Nil() { return Value(); }
    /// A number with `decimals` places and an integer-part width (0 = default).
    static Value Number(double d, int decimals = 0, int width = 0) {
        Value v;
        v.SetNumber(d, decimals, width);
        return v;
    }
    static Value String(std::string_view s);
    /// The same, taking over `s`'s buffer instead of copying it.
    static Value TakeString(std::string&& s);
    /// A date as a Julian day number; 0 is the empty date.
    static Value Date(int32_t julian) {
        Value v;
        v.head_ = static_cast<uint64_t>(Type::kDate);
        v.u_.julian = julian;
        return v;
    }
    static Value Logical(bool b) {
        Value v;
        v.head_ = static_cast<uint64_t>(Type::kLogical);
        v.u_.logical = b;
        return v;
    }
    /// A new array of `n` NIL elements, on `pool` (which must outlive the
    /// call; the array may outlive the pool, see ArrayPool).
    static Value NewArray(ArrayPool& pool, size_t n = 0);

    Type type() const { return static_cast<Type>(head_ & 0xFF); }
    bool IsNil() const { return type() == Type::kNil; }
    bool IsNumber() const { return type() == Type::kNumber; }
    bool IsString() const { return type() == Type::kString; }
    bool IsDate() const { return type() == Type::kDate; }
    bool IsLogical() const { return type() == Type::kLogical; }
    bool IsArray() const { return type() == Type::kArray; }

    // Accessors; each is valid only for its own type.
    double number() const { return u_.num; }
    int decimals() const { return static_cast<int>((head_ >> 16) & 0xFF); }
    int width() const { return static_cast<int>((head_ >> 8) & 0xFF); }
    const std::string& str() const { return u_.str->text; }
    int32_t julian() const { return u_.julian; }
    bool logical() const { return u_.logical; }
    std::vector<Value>& items() const { return u_.arr->items; }
    /// Identity of an array (== compares arrays by reference).
    const void* array_id() const { return u_.arr; }

    /// Overwrites this value with a number, in place (no allocation when the
    /// value already is a number).
    void SetNumber(double d, int decimals = 0, int width = 0) {
        if (type() >= Type::kString) Release();
        head_ = NumberHead(decimals, width);
        u_.num = d;
    }
    /// The type word of a number with these attributes (see head_).
    static uint64_t NumberHead(int decimals, int width) {
        const uint64_t w = static_cast<uint64_t>(width < 0 ? 0 : (width > 255 ? 255 : width));
        const uint64_t dec =
            static_cast<uint64_t>(decimals < 0 ? 0 : (decimals > 15 ? 15 : decimals));
        return static_cast<uint64_t>(Type::kNumber) | w << 8 | dec << 16;
    }

    /// Overwrites this value with a logical, in place.
    void SetLogical(bool b) {
        if (type() >= Type::kString) Release();
        head_ = static_cast<uint64_t>(Type::kLogical);
        u_.logical = b;
    }
    /// Makes the value NIL, releasing what it held.
    void SetNil() { Release(); }
    /// Copies `o` into this value, which must be NIL (the evaluator's stack
    /// above its top): nothing to release, so no check.
    void CopyIntoNil(const Value& o) {
        head_ = o.head_;
        u_ = o.u_;
        Retain();
    }

    /// Whether the value holds a string or an array (a counted reference).
    bool HoldsReference() const { return type() >= Type::kString; }
    /// Copies `o` bit for bit. Both values must hold no reference (NIL,
    /// numbers, dates, logicals): the fast evaluator's stack.
    void CopyPlain(const Value& o) {
        head_ = o.head_;
        u_ = o.u_;
    }
    /// The two words of a value holding no reference, and the value back
    /// from them (the fast evaluator keeps them in registers).
    uint64_t head_bits() const { return head_; }
    uint64_t payload_bits() const {
        uint64_t b;
        std::memcpy(&b, &u_, sizeof b);
        return b;
    }
    void SetPlainBits(uint64_t head, uint64_t payload) {
        head_ = head;
        std::memcpy(&u_, &payload, sizeof payload);
    }

    /// valtype(): "U", "N", "C", "D", "L" or "A".
    char TypeLetter() const;

  private:
    friend class ArrayPool;

    void Retain() const {
        if (type() < Type::kString) return;
        if (type() == Type::kString)
            ++u_.str->refs;
        else
            ++u_.arr->refs;
    }
    void Release() {
        const Type t = type();
        head_ = 0;
        if (t < Type::kString) return;
        if (t == Type::kString) {
            if (--u_.str->refs == 0) delete u_.str;
        } else if (--u_.arr->refs == 0) {
            FreeArray(u_.arr);
        }
    }
    static void FreeArray(ArrayRep* a);

    // Type, integer-part width and decimals in one word (type | width << 8 |
    // decimals << 16), always written whole: the evaluator copies values all
    // the time, and partial writes would stall the loads that follow.
    uint64_t head_ = 0;
    union {
        double num;
        int32_t julian;
        bool logical;
        StringRep* str;
        ArrayRep* arr;
    } u_;
};

/// The arrays made on it, so that those held only by cycles can be freed.
///
/// Who owns what: an array is counted, like a string, by the values that
/// hold it, and it lives as long as one does; the pool keeps a list of its
/// arrays but holds none of them. Collect() frees the arrays that no value
/// outside the pool's arrays holds, directly or through other arrays (cycles
/// and what only cycles hold); it is safe at any moment, since every live
/// value holds a counted reference. The pool's end collects too, and the
/// arrays still held then (a result the caller keeps) leave the pool: from
/// then on they are freed by counting alone, and a cycle built into them is
/// never freed. Each public-variable table (Variables) owns the pool of the
/// formulas run over it, so an array stored in a public variable stays on a
/// pool for as long as the variable lives.
///
/// Cycles through arrays of two pools are not found by either.
class ArrayPool {
  public:
    ArrayPool() = default;
    ~ArrayPool();
    ArrayPool(ArrayPool&& other) noexcept;
    /// Ends this pool's arrays as its end would, then takes `other`'s.
    ArrayPool& operator=(ArrayPool&& other) noexcept;
    ArrayPool(const ArrayPool&) = delete;
    ArrayPool& operator=(const ArrayPool&) = delete;

    /// Frees the arrays held only by cycles; returns how many were freed.
    size_t Collect();
    /// Collects when the pool has doubled since the last collection (and
    /// holds more than a few thousand arrays): a long run that keeps
    /// building cycles stays bounded.
    void CollectIfGrown() {
        if (size_ >= collect_at_) Collect();
    }
    /// Arrays on the pool now.
    size_t size() const { return size_; }

  private:
    friend class Value;
    static constexpr size_t kFirstCollection = 4096;

    void Link(ArrayRep* a);
    void Unlink(ArrayRep* a);

    ArrayRep* head_ = nullptr;
    size_t size_ = 0;
    size_t collect_at_ = kFirstCollection;
};

}  // namespace kestrel::formula
