#include "insurance/algorithm_editor.h"

#include <gtest/gtest.h>

#include "test_company.h"

namespace kestrel::insurance {
namespace {

namespace key = console::key;
using registry::testing::TestCompany;
using V = std::vector<std::string>;

struct Algorithms : TestCompany {
    V titles;          // the editor windows opened
    bool save = true;  // the editor's answer
    FormulaEditorFn editor = [this](common::Runtime&, common::Tables&, const std::string& title,
                                    std::string* text) {
        titles.push_back(title);
        if (save) *text = "BRUT*0.1";
        return save;
    };

    void Run(AlgorithmKind kind) {
        tables.CloseAll();
        EditAlgorithms(h.rt, kind, "6.3.4. Algorytmy", editor);
        EXPECT_TRUE(h.backend.exhausted());
    }

    // "field=text" of every non-empty memo of the visible records.
    V Memos(const std::string& table) {
        std::unique_ptr<dbf::Table> t;
        EXPECT_TRUE(dbf::Table::Open(dir.File(table + ".DBF"), {}, &t).ok());
        V out;
        t->Scan(1, [&](uint32_t, const dbf::Record& r) {
            if (r.deleted()) return base::Status::Ok();
            for (int i = 0; i < static_cast<int>(r.fields().size()); ++i) {
                if (r.fields()[static_cast<size_t>(i)].type != dbf::FieldType::kMemo) continue;
                std::string text;
                EXPECT_TRUE(t->ReadMemo(r, i, &text).ok());
                if (!text.empty())
                    out.push_back(r.fields()[static_cast<size_t>(i)].name + "=" + text);
            }
            return base::Status::Ok();
        });
        return out;
    }
};

// A new title group, then the second formula of its list: the editor
// opens under " ALG.: PODSTAWA_" and what it saves lands in that memo only;
// a formula left with Esc stays as it was; a group typed again is refused.
TEST(AlgorithmEditor, TheFormulaOfTheChosenFieldIsStored) {
    Algorithms c;
    c.Make("PKASKLD");
    c.Keys({key::kIns});
    c.Keys("10");  // typed out: the row is added
    c.Keys({key::kEnter, key::kDown, key::kEnter, key::kEsc});
    c.Keys({key::kIns});
    c.Keys("10");
    c.Keys({key::F(12), key::kEnter, key::kEsc});
    c.Run(AlgorithmKind::kContributions);
    EXPECT_EQ(c.titles, V{" ALG.: PODSTAWA_"});
    EXPECT_EQ(c.Memos("PKASKLD"), V{"PODSTAWA_=BRUT*0.1"});
    EXPECT_EQ(c.messages, V{"Istnieje rekord o takim kluczu"});
    EXPECT_EQ(c.Records("PKASKLD", "TYT_PODM_P"), V{"10"});

    c.save = false;
    c.Keys({key::kEnter, key::kEnter, key::kEsc, key::kEsc});  // WARUNEK_, left with Esc
    c.Run(AlgorithmKind::kContributions);
    EXPECT_EQ(c.titles, (V{" ALG.: PODSTAWA_", " ALG.: WARUNEK_"}));
    EXPECT_EQ(c.Memos("PKASKLD"), V{"PODSTAWA_=BRUT*0.1"});
}

// A benefit row has a key of three fields and its two flags; F4 changes
// the flags but not the key; Del deletes the row after the question.
TEST(AlgorithmEditor, BenefitRowsWithTheirKeyAndFlags) {
    Algorithms c;
    c.Make("PKAZASL");
    c.Keys({key::kIns});
    c.Keys("10CHOR");                    // the group and the absence code, typed out
    c.Keys({key::kEnter, key::kEnter});  // no component, no substitute code
    c.Keys("TN");
    c.Keys({key::F(4), key::kEnter});  // the key is skipped, the substitute kept
    c.Keys("NT");
    c.Keys({key::kEsc});
    c.Run(AlgorithmKind::kBenefits);
    EXPECT_EQ(c.Records("PKAZASL", "TYT_PODM_P"), V{"10"});
    EXPECT_EQ(c.Records("PKAZASL", "KOD_NIEOB"), V{"CHOR"});
    EXPECT_EQ(c.Records("PKAZASL", "RAZ_NA_MC"), V{"F"});
    EXPECT_EQ(c.Records("PKAZASL", "GENER_DNI"), V{"T"});
    c.Keys({key::kDel});
    c.Keys("t");
    c.Keys({key::kEsc});
    c.Run(AlgorithmKind::kBenefits);
    EXPECT_EQ(c.Records("PKAZASL", "KOD_NIEOB"), V{"CHOR*"});
}

// The remuneration totals have one row: Ins adds it once.
TEST(AlgorithmEditor, TheTotalsHaveOneRow) {
    Algorithms c;
    c.Make("PKAWYNG");
    c.Keys({key::kIns, key::kIns, key::F(12), key::kEnter});
    c.Keys({key::kEnter, key::kEnd, key::kEnter, key::kEsc, key::kEsc});
    c.Run(AlgorithmKind::kTotals);
    EXPECT_EQ(c.messages, V{"Istnieje rekord o takim kluczu"});
    EXPECT_EQ(c.titles, V{" ALG.: PREMIA_RO"});
    EXPECT_EQ(c.Memos("PKAWYNG"), V{"PREMIA_RO=BRUT*0.1"});
}

// Without rights kind 4 the formulas are not opened.
TEST(AlgorithmEditor, FormulasNeedKindFour) {
    Algorithms c;
    c.Make("PKAPDST", {{{"TYT_PODM_P", "10"}}});
    c.h.rt.operators() = {true, "JAN ", 32};
    c.Keys({key::kEnter, key::F(12), key::kEnter, key::kEsc});
    c.Run(AlgorithmKind::kBases);
    EXPECT_TRUE(c.titles.empty());
    EXPECT_EQ(c.messages.size(), 1u);
}

}  // namespace
}  // namespace kestrel::insurance
