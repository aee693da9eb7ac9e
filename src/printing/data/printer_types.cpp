#include "printing/data/printer_types.h"

namespace kestrel::printing {
namespace {

struct TypeRow {
    char code;
    Family family;
    std::string_view model;  // UTF-8
    std::string_view label;  // UTF-8, 16 characters
};

constexpr TypeRow kTypes[] = {
    {'E', Family::kNinePin, "Typ drukarki  (Epson FX - 15\")", "Epson FX 15\"    "},
    {'F', Family::kNinePin, "Typ drukarki  (Epson FX - 10\")", "Epson FX 10\"    "},
    {'e', Family::kNinePin, "Typ drukarki  (Epson LX - 15\")", "Epson LX 15\"    "},
    {'f', Family::kNinePin, "Typ drukarki  (Epson LX - 10\")", "Epson LX 10\"    "},
    {'9', Family::kTwentyFour, "Typ drukarki  (Epson LQ - 15\")", "Epson LQ 15\"    "},
    {'8', Family::kTwentyFour, "Typ drukarki  (Epson LQ - 10\")", "Epson LQ 10\"    "},
    {'S', Family::kStar, "Typ drukarki  (Star NB24 15\")", "Star NB24 15\"   "},
    {'s', Family::kStar, "Typ drukarki  (Star NB24 10\")", "Star NB24 10\"   "},
    {'I', Family::kIbm, "Typ drukarki  (IBM XL - 15\")", "IBM XL 15\"      "},
    {'i', Family::kIbm, "Typ drukarki  (IBM XL - 10\")", "IBM XL 10\"      "},
    {'J', Family::kIbm, "Typ drukarki  (IBM XL24 - 15\")", "IBM XL24 15\"    "},
    {'j', Family::kIbm, "Typ drukarki  (IBM XL24 - 10\")", "IBM XL24 10\"    "},
    {'H', Family::kPcl, "Typ drukarki  (HP DJ520)", "HP DJ520        "},
    {'4', Family::kPclSymbols, "Typ drukarki  (HP DJ600)", "HP DJ600        "},
    {'L', Family::kPclSymbols, "Typ drukarki  (HP LJ5)", "HP LJ5          "},
    {'K', Family::kPclSymbols, "Typ drukarki  (HP \"standard\")", "HP \"standard\"   "},
    {'1', Family::kPclSymbols, "Typ drukarki  (HP LJ1100)", "HP LJ1100       "},
    {'0', Family::kNone, "Typ drukarki  (Bez znaków sterujących)", "Bez znaków ster."},
    {'V', Family::kSymbolic, "", "VdosPrt(Windows)"},
    {'W', Family::kSymbolic, "", "Windows-Bezpośr."},
};

const TypeRow* Find(char type) {
    for (const TypeRow& row : kTypes)
        if (row.code == type) return &row;
    return nullptr;
}

}  // namespace

char ValidType(char type) {
    return type != 0 && kPrintingTypes.find(type) != std::string_view::npos ? type : 'F';
}

Family FamilyOf(char type) {
    const TypeRow* row = Find(ValidType(type));
    return row != nullptr ? row->family : Family::kNinePin;
}

std::string_view ModelText(char type) {
    const TypeRow* row = Find(type);
    return row != nullptr ? row->model : std::string_view();
}

std::string_view TypeLabel(char type) {
    const TypeRow* row = Find(type);
    return row != nullptr ? row->label : std::string_view("????????????????");
}

}  // namespace kestrel::printing
