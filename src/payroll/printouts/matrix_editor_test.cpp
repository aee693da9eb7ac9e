#include "payroll/printouts/matrix_editor.h"

#include <gtest/gtest.h>

#include "payroll/printouts/data/matrix_store.h"
#include "payroll_company.h"
#include "platform/console/keys.h"

namespace kestrel::payroll {
namespace {

namespace key = console::key;

struct EditorCompany : testing::PayCompany {
    EditorCompany() {
        Make("PKNTBW");
        Make("PKTBW");
        Component("ZASD", "S", 1);
        Component("BRUT", "P", 2);
    }
    // A key sequence: texts typed, other keys as they are.
    void Press(std::initializer_list<std::variant<int, const char*>> keys) {
        for (const auto& k : keys) {
            if (std::holds_alternative<int>(k))
                Keys({std::get<int>(k)});
            else
                Keys(std::get<const char*>(k));
        }
    }
};

std::string Cells(const MatrixDefinition& m) {
    std::string out;
    for (const MatrixCell& c : m.cells) {
        out += std::to_string(c.row) + "." + std::to_string(c.column) + " " + c.content + "/" +
               codepage::ToUtf8(c.heading) + " w" + std::to_string(c.width) + " " + c.type +
               (c.total ? " suma" : "") + ";";
    }
    return out;
}

// A new matrix built from its first cell: a second column, wider, a second
// row with a refused symbol corrected to a formula and a heading, a column
// and a row added and taken away again (one deletion declined), then saved.
TEST(MatrixEditor, NewMatrixBuiltInTheGridAndSaved) {
    EditorCompany c;
    c.Press({"LP", key::kEnter, 't', '2', "Zestawienie", key::kEnter, 'n', key::kPgDn,
             // the first cell
             key::kEnter, "ZASD", key::kEnter, 'N', 'T', key::kEnter,
             // a second column, two wider
             key::kIns, 't', key::kEnter, "BRUT", key::kEnter, 'N', 'N', key::kEnter,
             key::kCtrlRight, key::kCtrlRight,
             // a second row: PREM is no symbol of the company
             key::kCtrlIns, 't', key::kEnter, "PREM", key::kEnter, key::F(12), key::kEnter,
             key::kHome, key::Ctrl('y'), "ZASD*2", key::kEnter, 'N', 'T', key::kEnter, key::kTab,
             key::kEnter, "Razem", key::kEnter, key::kTab,
             // a column added to the second row, kept once, then deleted
             key::kIns, 't', key::kDel, 'n', key::kDel, 't',
             // a third row, deleted
             key::kCtrlIns, 't', key::kCtrlDel, 't', key::kEsc, 't', key::F(12), key::kEnter,
             key::kEsc});
    EditMatrices(c.h.rt, c.tables);
    EXPECT_EQ(c.messages, (std::vector<std::string>{"Błędny symbol", "Koniec zapisu"}));
    MatrixDefinition m;
    ASSERT_EQ(ReadMatrix(c.tables, "LP", &m), MatrixRead::kRead);
    EXPECT_EQ(m.type, '2');
    EXPECT_EQ(m.title, "Zestawienie");
    EXPECT_EQ(Cells(m), "1.1 ZASD/ w10 N suma;1.2 BRUT/ w12 N;2.1 ZASD*2/Razem w10 N suma;");
}

// An existing matrix: a condition that is not logical is refused in the
// header; the grid changed and left without saving keeps the matrix as it
// was.
TEST(MatrixEditor, ChangesLeftWithoutSavingKeepTheMatrix) {
    EditorCompany c;
    MatrixDefinition m;
    m.symbol = "LP";
    m.type = '1';
    m.title = "Lista";
    m.cells = {MatrixCell{1, 1, 10, "", "ZASD", 'N', "", true}};
    std::string message;
    ASSERT_TRUE(WriteMatrix(c.tables, m, &message));
    c.Press({"LP",
             key::kEnter,
             'n',
             key::kDown,
             "ZASD+1",
             key::kEnter,
             key::F(12),
             key::kEnter,
             key::kHome,
             key::Ctrl('y'),
             "ZASD>0",
             key::kPgDn,
             key::kCtrlRight,
             key::kIns,
             't',
             key::kEsc,
             'n',
             key::F(12),
             key::kEnter,
             key::kEsc});
    EditMatrices(c.h.rt, c.tables);
    EXPECT_EQ(c.messages,
              (std::vector<std::string>{"Błędna wartość warunku", "Wyjście bez zapisu zmian"}));
    MatrixDefinition back;
    ASSERT_EQ(ReadMatrix(c.tables, "LP", &back), MatrixRead::kRead);
    EXPECT_EQ(Cells(back), "1.1 ZASD/ w10 N suma;");
    EXPECT_EQ(back.condition, "");
}

// A new matrix may take the cells of another; it keeps its own type and
// title.
TEST(MatrixEditor, NewMatrixCopiedFromAnother) {
    EditorCompany c;
    MatrixDefinition m;
    m.symbol = "LP";
    m.type = '1';
    m.title = "Lista";
    m.condition = "ZASD > 0";
    m.cells = {MatrixCell{1, 1, 10, "", "ZASD", 'N', "", true},
               MatrixCell{2, 1, 8, "", "BRUT", 'N', "", false}};
    std::string message;
    ASSERT_TRUE(WriteMatrix(c.tables, m, &message));
    c.Press({"KOP", key::kEnter, 't', '2', "Kopia", key::kEnter, 't', "LP", key::kEnter, key::kPgDn,
             key::kEsc, 't', key::kEnter, key::kEsc});
    EditMatrices(c.h.rt, c.tables);
    MatrixDefinition back;
    ASSERT_EQ(ReadMatrix(c.tables, "KOP", &back), MatrixRead::kRead);
    EXPECT_EQ(back.type, '2');
    EXPECT_EQ(back.title, "Kopia");
    EXPECT_EQ(back.condition, "ZASD > 0");
    EXPECT_EQ(Cells(back), "1.1 ZASD/ w10 N suma;2.1 BRUT/ w8 N;");
}

}  // namespace
}  // namespace kestrel::payroll
