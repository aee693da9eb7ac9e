// The run of the register browse (see employee_browse.h): its columns, the
// group and sort in force, and its keys. Internal to the browse.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "common/screen/browse.h"
#include "common/session/runtime.h"
#include "common/tables/table_layer.h"
#include "platform/base/dates.h"
#include "platform/base/text.h"
#include "platform/picture/picture.h"
#include "register/data/employee_record.h"

namespace kestrel::registry::browse {

inline constexpr int kTop = 8, kBottom = 20, kNameRow = 21;
inline constexpr int kRightsBrowse = 49;
inline constexpr int kRightsCorrect = 17;
inline constexpr int kPeselColumn = 18;   // 0-based: " PESEL"
inline constexpr int kFirstEditable = 3;  // 0-based: "DATA ZW."

using base::Trim;

inline std::string DateText(const std::string& yyyymmdd) {
    if (yyyymmdd.size() != 8) return std::string(10, ' ');
    return base::DateText(base::DateOfDbfText(yyyymmdd));
}

enum class Group { kAll, kCurrent, kFormer };
enum class Sort { kNumber, kSurname, kYear };

inline int OrderOf(Group g, Sort s) {
    switch (g) {
        case Group::kAll:
            return s == Sort::kNumber ? kByNumber : kBySurname;
        case Group::kCurrent:
            return s == Sort::kNumber ? kCurrentByNumber : kCurrentBySurname;
        case Group::kFormer:
            return s == Sort::kNumber    ? kFormerByNumber
                   : s == Sort::kSurname ? kFormerBySurname
                                         : kFormerByYearSurname;
    }
    return kByNumber;
}

// One column of the browse: its heading, the field it shows and how.
struct Column {
    const char* heading;  // UTF-8
    const char* field;    // "" for the computed ones
    int width;
};

inline const Column kColumns[] = {
    {"SYMBOL", "NR_PRAC", 7},
    {"NAZWISKO I IMIĘ", "", 25},
    {"ZW", "PRZYCZ_ZW", 2},
    {"DATA ZW.", "DATA_ZWOLN", 10},
    {"DATA \"STAŻ.\"", "DATA_STAZ", 12},
    {"DOD.STAŻ.", "DOD_STAZ", 9},
    {"STAWKA", "ST_PODST", 10},
    {"DOD.BRYG.", "DOD_BRYG", 9},
    {"DOD.FUNKC.", "DOD_FUNKC", 10},
    {"UBEZPIECZ-1", "KW_UBEZP1", 11},
    {"UBEZPIECZ-2", "KW_UBEZP2", 11},
    {"POTRĄC.PKO", "POTRAC_PKO", 10},
    {"ULGA POD.", "ULGA_P_D", 9},
    {"Zer.PDOF <26", "PDOF_26", 12},
    {"GRUPA ALG.", "GRUPA_ALG", 10},
    {"KZiS", "KZIS_", 6},
    {"KONTO", "KONTO_KOSZ", 16},
    {"NIEOB.ZUS W NAST.M-CU", "NB_ZUS_NMC", 21},
    {" PESEL", "", 11},
    {"ULGA NA 4 DZIECI", "ULGA_NA_4D", 16},
    {"UM.-ZLEC.BEZ POD.", "UM_ZL_BEZP", 17},
    {"BEZ ULGI DLA KS", "BEZ_ULG_KS", 15},
    {"EMERYT BEZ EMER.", "EM_BEZ_EME", 16},
    {"POWR.Z ZAGR.", "POWR_Z_ZAG", 12},
    {"BEZ ODR.ZAL.POD.", "ODR_POD_D", 16},
};
inline constexpr int kColumnCount = static_cast<int>(std::size(kColumns));

class RegisterBrowse {
  public:
    RegisterBrowse(common::Runtime& rt, common::Tables& tables, dbf::WorkArea& prac)
        : rt_(rt), tables_(tables), prac_(prac) {}

    void Run();

  private:
    int Handle(int mode, common::Browse& browse);
    std::vector<common::BrowseColumn> Columns();
    std::string Cell(int column);
    std::string FullName();
    void ShowName();
    void DrawLegend();
    int SetGroup(Group g);
    int SetSort(Sort s);
    int Search();
    int SearchPesel();
    int Correct(common::Browse& browse);
    void FullInformation();
    void Beep() { rt_.console().Tone(common::kToneFrequency, common::kToneTicks); }
    void Check(const base::Status& s) {
        if (!s.ok())
            throw common::Abandon(common::ShortenMessage(rt_.Text("Błąd odczytu: PKPRAC")));
    }

    common::Runtime& rt_;
    common::Tables& tables_;
    dbf::WorkArea& prac_;
    Group group_ = Group::kAll;
    Sort sort_ = Sort::kNumber;
};

}  // namespace kestrel::registry::browse
