// The configuration catalogue: every variable the parameter editor knows,
// with its type, width, description and the values start-up and the editor
// give it.
#pragma once

#include <string_view>
#include <vector>

namespace kestrel::common {

struct CatalogueValue {
    enum class Kind : char {
        kNone,      // start-up sets nothing (the editor: not offered)
        kComputed,  // computed from other variables or files at start-up
        kText,
        kBlanks,  // `blanks` blanks
        kNumber,
        kLogical,
        kEmptyDate,
    };
    Kind kind = Kind::kNone;
    std::string_view text;
    int blanks = 0;
    double number = 0;
    bool logical = false;

    static constexpr CatalogueValue None() { return {}; }
    static constexpr CatalogueValue Computed() { return {Kind::kComputed, {}, 0, 0, false}; }
    static constexpr CatalogueValue Text(std::string_view t) {
        return {Kind::kText, t, 0, 0, false};
    }
    static constexpr CatalogueValue Blanks(int n) { return {Kind::kBlanks, {}, n, 0, false}; }
    static constexpr CatalogueValue Number(double v) { return {Kind::kNumber, {}, 0, v, false}; }
    static constexpr CatalogueValue Logical(bool v) { return {Kind::kLogical, {}, 0, 0, v}; }
    static constexpr CatalogueValue EmptyDate() { return {Kind::kEmptyDate, {}, 0, 0, false}; }
};

struct CatalogueEntry {
    std::string_view name;
    char type;                     // 'C', 'N', 'L', 'D'
    int width;                     // 0 = free
    std::string_view description;  // UTF-8, as the editor shows it
    CatalogueValue startup;        // value start-up gives when absent or of another type
    CatalogueValue list;           // value when added from the editor's list
    bool offered;                  // the editor's list offers it
};

/// The catalogue in the editor's order.
const std::vector<CatalogueEntry>& ConfigCatalogue();

/// The entry of a variable (name in upper case), or nullptr.
const CatalogueEntry* FindCatalogueEntry(std::string_view name);

}  // namespace kestrel::common
