// Value: what a formula computes with.
//
// A Value is 16 bytes and is copied freely. Numbers, dates, logicals and NIL
// live inside it; strings and arrays live on the heap behind a reference
// count (the program is single-threaded, the count is not atomic). Strings
// are immutable CP852 bytes. Arrays are shared by reference, as in the xBase
// family: `b := a` makes both names see one array, and aadd() on either
// grows it.
//
// Numbers keep the two display attributes of the xBase family: the number of
// decimals (what str() and the canonical form print) and the width of the
// integer part (0 = the default: 10 digits, 20 for large magnitudes). They do
// not take part in arithmetic or comparison, which always use the double.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel::formula {

// Heap-held types come last, so one comparison tells whether a value holds a
// reference.
enum class Type : uint8_t { kNil, kNumber, kDate, kLogical, kString, kArray };

class Value;

struct StringRep {
    int refs;
    std::string text;
};

struct ArrayRep {
    int refs;
    std::vector<Value> items;
    ArrayRep* prev;  // every live array is on one list, so that cycles
    ArrayRep* next;  // (an array holding itself) can be broken at the end
};

class Value {
  public:
    Value() { u_.num = 0; }
    ~Value() { Release(); }
    Value(const Value& o) : type_(o.type_), width_(o.width_), dec_(o.dec_), u_(o.u_) { Retain(); }
    Value(Value&& o) noexcept : type_(o.type_), width_(o.width_), dec_(o.dec_), u_(o.u_) {
        o.type_ = Type::kNil;
    }
    Value& operator=(const Value& o) {
        if (this != &o) {
            o.Retain();
            Release();
            type_ = o.type_, width_ = o.width_, dec_ = o.dec_, u_ = o.u_;
        }
        return *this;
    }
    Value& operator=(Value&& o) noexcept {
        if (this != &o) {
            Release();
            type_ = o.type_, width_ = o.width_, dec_ = o.dec_, u_ = o.u_;
            o.type_ = Type::kNil;
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
    /// A date as a Julian day number; 0 is the empty date.
    static Value Date(int32_t julian) {
        Value v;
        v.type_ = Type::kDate;
        v.u_.julian = julian;
        return v;
    }
    static Value Logical(bool b) {
        Value v;
        v.type_ = Type::kLogical;
        v.u_.logical = b;
        return v;
    }
    /// A new array of `n` NIL elements.
    static Value NewArray(size_t n = 0);

    Type type() const { return type_; }
    bool IsNil() const { return type_ == Type::kNil; }
    bool IsNumber() const { return type_ == Type::kNumber; }
    bool IsString() const { return type_ == Type::kString; }
    bool IsDate() const { return type_ == Type::kDate; }
    bool IsLogical() const { return type_ == Type::kLogical; }
    bool IsArray() const { return type_ == Type::kArray; }

    // Accessors; each is valid only for its own type.
    double number() const { return u_.num; }
    int decimals() const { return dec_; }
    int width() const { return width_; }
    const std::string& str() const { return u_.str->text; }
    int32_t julian() const { return u_.julian; }
    bool logical() const { return u_.logical; }
    std::vector<Value>& items() const { return u_.arr->items; }
    /// Identity of an array (== compares arrays by reference).
    const void* array_id() const { return u_.arr; }

    /// Overwrites this value with a number, in place (no allocation when the
    /// value already is a number).
    void SetNumber(double d, int decimals = 0, int width = 0) {
        if (type_ >= Type::kString) Release();
        type_ = Type::kNumber;
        width_ = static_cast<uint8_t>(width < 0 ? 0 : (width > 255 ? 255 : width));
        dec_ = static_cast<uint8_t>(decimals < 0 ? 0 : (decimals > 15 ? 15 : decimals));
        u_.num = d;
    }

    /// Overwrites this value with a logical, in place.
    void SetLogical(bool b) {
        if (type_ >= Type::kString) Release();
        type_ = Type::kLogical;
        u_.logical = b;
    }
    /// Makes the value NIL, releasing what it held.
    void SetNil() { Release(); }

    /// valtype(): "U", "N", "C", "D", "L" or "A".
    char TypeLetter() const;

  private:
    void Retain() const {
        if (type_ == Type::kString)
            ++u_.str->refs;
        else if (type_ == Type::kArray)
            ++u_.arr->refs;
    }
    void Release() {
        if (type_ < Type::kString) {
            type_ = Type::kNil;
            return;
        }
        if (type_ == Type::kString) {
            if (--u_.str->refs == 0) delete u_.str;
        } else if (type_ == Type::kArray) {
            if (--u_.arr->refs == 0) FreeArray(u_.arr);
        }
        type_ = Type::kNil;
    }
    static void FreeArray(ArrayRep* a);

    Type type_ = Type::kNil;
    uint8_t width_ = 0;
    uint8_t dec_ = 0;
    union {
        double num;
        int32_t julian;
        bool logical;
        StringRep* str;
        ArrayRep* arr;
    } u_;
};

/// Clears every array still alive. Call only when no Value should be alive
/// any more (the end of a run): what is left then is held only by cycles.
/// Returns how many arrays were cleared.
size_t BreakArrayCycles();

/// Number of arrays alive (for tests).
size_t LiveArrayCount();

}  // namespace kestrel::formula
