#include "printing/print_dialog.h"

#include <gtest/gtest.h>

#include "printing/screen_test_support.h"

namespace kestrel::printing {
namespace {

namespace key = console::key;
using memfile::MemValue;
using testing::Def;
using testing::PrintingScreens;

TEST(PrintDialog, PortZeroIsRefusedUntilAnotherDefinitionIsChosen) {
    PrintingScreens t;
    t.Store({Def("PLIK", 'F', '0', true), Def("IGLOWA", 'F', '1')});
    // Any key on the refusal shows it again; F3 and the second row choose
    // the usable definition, and a key then prints.
    t.Keys({'x', 'y', key::F(3), key::kDown, key::kEnter, 'x'});
    EXPECT_TRUE(PrintDialog(t.h.rt, t.printers));
    EXPECT_EQ(t.Var("NAGLNAZDR"), "IGLOWA");
    EXPECT_EQ(t.Var("NAGLKOLDR"), "LPT1");
    EXPECT_EQ(t.Shown(13, 19, 31), "Drukarka: IGLOWA (typ=\"F\",LPT1)");
}

TEST(PrintDialog, TheRefusalIsShownWithThePrinter) {
    PrintingScreens t;
    t.Store({Def("PLIK", 'F', '0', true)});
    t.Keys({key::kEsc});
    EXPECT_FALSE(PrintDialog(t.h.rt, t.printers));
    EXPECT_EQ(t.Shown(23, 1, 20), "Błędny port drukarki");
    EXPECT_EQ(t.Shown(13, 19, 33), "Drukarka: PLIK (typ=\"F\",do pliku)");
    EXPECT_EQ(t.Shown(20, 18, 44), "<Esc>-Przerwanie        <F3>-Zmiana drukarki");
}

TEST(PrintDialog, AMissingQueueMakesTheDefinitionUnusable) {
    PrintingScreens t;
    PrinterDefinition w = Def("BIURO", 'W', '1', true);
    w.windows_name = "ZNIKNELA";
    t.Store({w});
    t.Keys({'x', key::kEsc});
    EXPECT_FALSE(PrintDialog(t.h.rt, t.printers));
    EXPECT_EQ(t.Var("NAGLTDR"), "?");
    EXPECT_EQ(t.Shown(23, 1, 25), "Błędna definicja drukarki");
}

TEST(PrintDialog, WithoutDefinitionsThePortIsAsked) {
    PrintingScreens t;
    t.h.rt.config().Set("NAGLCFGD", MemValue::Logical(false));
    t.Keys({'3'});  // one digit fills the field
    EXPECT_TRUE(PrintDialog(t.h.rt, t.printers));
    EXPECT_EQ(t.Var("NAGLNDR"), "3");
    EXPECT_EQ(t.Var("NAGLKOLDR"), "");

    t.Keys({key::kEsc, key::F(12), 'x'});
    EXPECT_FALSE(PrintDialog(t.h.rt, t.printers));
    EXPECT_EQ(t.messages, (std::vector<std::string>{"Operacja skasowana"}));
}

TEST(ChoosePrinter, TheListOfDefinitions) {
    PrintingScreens t;
    PrinterDefinition w = Def("BIURO", 'W', '1');
    w.windows_name = "PDF";
    t.Store({Def("IGLOWA", 'E', '2', true), w, Def("PLIK", 'E', '0')});
    t.Keys({key::kDown, key::kEnter});
    EXPECT_TRUE(ChoosePrinter(t.h.rt, t.printers));
    EXPECT_EQ(t.Shown(11, 35, 10), " DRUKARKI ");
    EXPECT_EQ(t.Shown(20, 20, 13), " <\x18,\x19>-Wybór ");  // the arrow glyphs
    EXPECT_EQ(t.Shown(20, 40, 20), " <Enter>-Akceptacja ");
    EXPECT_EQ(t.Shown(12, 20, 40), "* IGLOWA (typ=\"E\",LPT2)                 ");
    EXPECT_EQ(t.Shown(13, 20, 20), "  BIURO (typ=\"W\")   ");
    EXPECT_EQ(t.Shown(14, 20, 25), "  PLIK (typ=\"E\",do pliku)");
    EXPECT_EQ(t.Var("NAGLNAZDR"), "BIURO");
    EXPECT_EQ(t.Var("NAGLNAZDRW"), "PDF");
    EXPECT_EQ(t.Var("NAGLTDR"), "V");

    t.Keys({key::kEsc});
    EXPECT_FALSE(ChoosePrinter(t.h.rt, t.printers));
    EXPECT_EQ(t.Var("NAGLNAZDR"), "BIURO");
}

}  // namespace
}  // namespace kestrel::printing
