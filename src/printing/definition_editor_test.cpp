#include "printing/definition_editor.h"

#include <gtest/gtest.h>

#include "printing/screen_test_support.h"

namespace kestrel::printing {
namespace {

namespace key = console::key;
using memfile::MemValue;
using testing::Def;
using testing::PrintingScreens;

std::vector<std::string> Names(const std::vector<PrinterDefinition>& defs) {
    std::vector<std::string> out;
    for (const PrinterDefinition& d : defs) out.push_back(d.name + (d.is_default ? "(*)" : ""));
    return out;
}

TEST(DefinitionEditor, ColumnsAndANewDefinitionWithAFreeName) {
    PrintingScreens t;
    t.Store({Def("IGLOWA", 'E', '1', true)});
    t.Keys({key::kIns});
    t.Type("iglowa\r");  // taken
    t.Keys({key::F(12), 'x', key::kHome});
    t.Keys({0x19});  // Ctrl+Y empties the field
    t.Type("laser\r");
    t.Keys({key::kEsc});
    EditPrinterDefinitions(t.h.rt, t.printers);
    EXPECT_EQ(t.messages, (std::vector<std::string>{"Istnieje drukarka o takiej nazwie"}));
    EXPECT_EQ(Names(t.Stored()), (std::vector<std::string>{"IGLOWA(*)", "LASER"}));
    EXPECT_EQ(t.Shown(7, 2, 16), "<Esc>-Wyjście   ");
    EXPECT_EQ(t.Shown(9, 2, 33), " NR │   NAZWA DRUKARKI     │ TYP ");
}

TEST(DefinitionEditor, TheDefaultMarkMovesAndTheTypeComesFromTheList) {
    PrintingScreens t;
    t.Store({Def("IGLOWA", 'E', '1', true), Def("LASER", 'E', '2')});
    // Second row: the default column (four to the right of NR), "t"; then
    // the type column, the list from E down to H.
    t.Keys({key::kDown, key::kRight, key::kRight, key::kRight, key::kRight, key::kEnter, 't'});
    t.Keys({key::kLeft, key::kLeft, key::kEnter});
    for (int i = 0; i < 10; ++i) t.Keys({key::kDown});  // E F e f 9 8 I i J j -> H
    t.Keys({key::kEnter, key::kEsc});
    EditPrinterDefinitions(t.h.rt, t.printers);
    const auto stored = t.Stored();
    EXPECT_EQ(Names(stored), (std::vector<std::string>{"IGLOWA", "LASER(*)"}));
    EXPECT_EQ(stored[1].type, 'H');
    // Leaving applies the definition in force: the new default.
    EXPECT_EQ(t.Var("NAGLNAZDR"), "LASER");
    EXPECT_EQ(t.Var("NAGLTDR"), "H");
}

TEST(DefinitionEditor, RulesOfThePortAndDuplexColumns) {
    PrintingScreens t;
    PrinterDefinition v = Def("PROGRAM", 'V', '1');
    v.queue = "PDF";
    PrinterDefinition fan = Def("SKLADANKA", 'E', '1');
    fan.paper = '1';
    t.Store({v, fan});
    t.h.rt.config().Set("NAGLDUPLEX", MemValue::Logical(true));
    t.h.rt.config().Set("NAGLVDTPAP", MemValue::Logical(true));
    // Port of type V: nothing to edit. Duplex of fanfold paper: refused.
    t.Keys({key::kRight, key::kRight, key::kRight, key::kEnter});
    t.Keys({key::kDown});
    for (int i = 0; i < 9; ++i) t.Keys({key::kRight});  // port -> duplex
    t.Keys({key::kEnter, key::F(12), 'x'});
    t.Keys({key::kEsc});
    EditPrinterDefinitions(t.h.rt, t.printers);
    EXPECT_EQ(t.messages, (std::vector<std::string>{"Typ papieru sprzeczny z DUPLEXEM"}));
    const auto stored = t.Stored();
    EXPECT_EQ(stored[0].port, '1');
    EXPECT_FALSE(stored[1].duplex);
}

TEST(DefinitionEditor, DeletedDefinitionsStayListedUntilPacked) {
    PrintingScreens t;
    t.Store({Def("A", 'E', '1', true), Def("B", 'E', '2'), Def("C", 'E', '3')});
    t.Keys({key::kDown, key::kDel, key::kEsc, 'n'});
    EditPrinterDefinitions(t.h.rt, t.printers);
    EXPECT_EQ(Names(t.Stored()), (std::vector<std::string>{"A(*)", "*B", "C"}));
    t.Keys({key::kEsc, 't', key::F(12), 'x'});
    EditPrinterDefinitions(t.h.rt, t.printers);
    EXPECT_EQ(t.messages, (std::vector<std::string>{"\"Pakowanie\" zakończone"}));
    EXPECT_EQ(Names(t.Stored()), (std::vector<std::string>{"A(*)", "C"}));
}

}  // namespace
}  // namespace kestrel::printing
