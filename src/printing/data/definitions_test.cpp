#include "printing/data/definitions.h"

#include <gtest/gtest.h>

#include "headless_runtime.h"
#include "platform/base/files.h"
#include "platform/codepage/cp852.h"
#include "printing/data/control_codes.h"
#include "printing/data/fake_print_system.h"
#include "test_util.h"

namespace kestrel::printing {
namespace {

using memfile::MemValue;
using testing::FakePrintSystem;

struct Fixture {
    dbf::testing::ScratchDir program;
    dbf::testing::ScratchDir company;
    kestrel::testing::HeadlessRuntime h;
    FakePrintSystem printers;

    Fixture() {
        h.rt.set_program_dir(program.path(), "");
        h.rt.set_data_dir(company.path() + "/");
        h.rt.config().Set("NAGLTDR", MemValue::Char("E"));
        h.rt.config().Set("NAGLNDR", MemValue::Char("1"));
        printers.queues = {"LPT1", "LASER", "PDF"};
        printers.default_queue = "PDF";
    }
    std::string Var(const char* name) const { return h.rt.config().Text(name); }
    std::vector<std::string> Apply(const PrinterDefinition& d) {
        return ApplyDefinition(h.rt, d, printers);
    }
    std::vector<std::string> Utf8(const std::vector<std::string>& cp852) {
        std::vector<std::string> out;
        for (const std::string& m : cp852) out.push_back(codepage::ToUtf8(m));
        return out;
    }
    // Definitions stored in PKDRUK of the program directory.
    void Store(const std::vector<PrinterDefinition>& defs) {
        common::Tables tables(h.rt);
        dbf::WorkArea& a = tables.OpenProgram("PKDRUK");
        // Every record there so far (the default one made with the table)
        // goes.
        tables.FLock(a);
        ASSERT_TRUE(a.GoTop().ok());
        while (!a.eof()) {
            ASSERT_TRUE(a.Delete().ok());
            ASSERT_TRUE(a.Skip(1).ok());
        }
        for (const PrinterDefinition& d : defs) {
            ASSERT_TRUE(a.Append().ok());
            ASSERT_TRUE(WriteDefinition(a, d).ok());
            ASSERT_TRUE(a.Commit().ok());
        }
        ASSERT_TRUE(a.Unlock().ok());
    }
};

PrinterDefinition Def(std::string name, char type, char port) {
    PrinterDefinition d;
    d.name = std::move(name);
    d.type = type;
    d.port = port;
    return d;
}

TEST(Definitions, ApplyingSetsTheVariablesOfTheDefinition) {
    Fixture f;
    PrinterDefinition d = Def("LASER", 'L', '2');
    d.queue = "LASER";
    d.simulate = true;
    d.standard = '3';
    EXPECT_TRUE(f.Apply(d).empty());
    EXPECT_EQ(f.Var("NAGLNAZDR"), "LASER");
    EXPECT_EQ(f.Var("NAGLTDR"), "L");
    EXPECT_EQ(f.Var("NAGLNDR"), "2");
    EXPECT_EQ(f.Var("NAGLKOLDR"), "LASER");
    EXPECT_EQ(f.Var("NAGLNAZDRW"), "");
    EXPECT_TRUE(f.h.rt.config().Logical("NAGLSYMPL"));
    EXPECT_EQ(f.Var("NAGLPRTPL"), std::string(common::kPolishWin1250));
    EXPECT_EQ(f.Var("YPR10"), "\x1B(s0p10h12v3T");
    EXPECT_EQ(f.Var("YPRPE"), "\x1B(s0p3B");  // the symbol-set family's emphasis

    // Type 0 never simulates; an unknown letter standard is the screen's.
    d = Def("ZWYKLA", '0', '1');
    d.simulate = true;
    d.standard = '7';
    EXPECT_TRUE(f.Apply(d).empty());
    EXPECT_FALSE(f.h.rt.config().Logical("NAGLSYMPL"));
    EXPECT_EQ(f.Var("NAGLPRTPL"), f.h.rt.letters().pl);
    EXPECT_EQ(f.Var("YPRRS"), "");
    EXPECT_EQ(f.Var("NAGLKOLDR"), "LPT1");  // a port digit without a queue name
}

TEST(Definitions, TypeXPrintsAsF) {
    Fixture f;
    EXPECT_TRUE(f.Apply(Def("DZIWNA", 'X', '1')).empty());
    EXPECT_EQ(f.Var("NAGLTDR"), "F");
    EXPECT_EQ(f.Var("YPRCF"), "\x1Bj");
    EXPECT_EQ(PrinterProblem(f.h.rt), "");
}

TEST(Definitions, APdfQueueMustExist) {
    Fixture f;
    // W on a named queue becomes V with the queue as its printer.
    PrinterDefinition w = Def("BIURO", 'W', '1');
    w.windows_name = "PDF";
    EXPECT_TRUE(f.Apply(w).empty());
    EXPECT_EQ(f.Var("NAGLTDR"), "V");
    EXPECT_EQ(f.Var("NAGLNAZDRW"), "PDF");
    EXPECT_EQ(f.Var("YPRRS"), "{YPRRS}");
    EXPECT_EQ(DescribePrinterInForce(f.h.rt), "BIURO (typ=\"W\")");

    // The default queue.
    w.windows_name = f.h.rt.Text(kDefaultWindowsPrinter);
    f.printers.default_queue = "LASER";
    EXPECT_TRUE(f.Apply(w).empty());
    EXPECT_EQ(f.Var("NAGLNAZDRW"), "LASER");

    // A queue the system does not list leaves the definition unusable: no
    // fall-back to a port.
    w.windows_name = "GONE";
    EXPECT_EQ(f.Utf8(f.Apply(w)),
              (std::vector<std::string>{"Brak takiej drukarki w syst. Windows"}));
    EXPECT_EQ(f.Var("NAGLTDR"), "?");
    EXPECT_EQ(f.Var("NAGLNAZDRW"), "");
    EXPECT_EQ(codepage::ToUtf8(PrinterProblem(f.h.rt)), "Błędna definicja drukarki");

    // Type V names its queue in WIN_NAZ.
    PrinterDefinition v = Def("PROGRAM", 'V', '1');
    v.queue = "PDF";
    EXPECT_TRUE(f.Apply(v).empty());
    EXPECT_EQ(f.Var("NAGLTDR"), "V");
    EXPECT_EQ(f.Var("NAGLKOLDR"), "PDF");
    EXPECT_EQ(DescribePrinterInForce(f.h.rt), "PROGRAM (typ=\"V\")");
    v.queue = "";
    EXPECT_EQ(f.Apply(v).size(), 1u);
    EXPECT_EQ(f.Var("NAGLTDR"), "?");
}

TEST(Definitions, APrintServerThatIsDownLeavesTheDefinitionUnusable) {
    Fixture f;
    f.printers.reachable = false;
    PrinterDefinition d = Def("IGLOWA", 'E', '1');
    EXPECT_EQ(f.Utf8(f.Apply(d)), (std::vector<std::string>{"Brak dostępnych drukarek Windows"}));
    EXPECT_EQ(f.Var("NAGLTDR"), "?");
    EXPECT_EQ(codepage::ToUtf8(PrinterProblem(f.h.rt)), "Błędna definicja drukarki");
    // Printing to a file needs no server.
    EXPECT_TRUE(f.Apply(Def("PLIK", 'E', '0')).empty());
    EXPECT_EQ(f.Var("NAGLTDR"), "E");
}

TEST(Definitions, PortZeroIsReportedForEveryTypeButV) {
    Fixture f;
    f.Apply(Def("PLIK", 'F', '0'));
    EXPECT_EQ(codepage::ToUtf8(PrinterProblem(f.h.rt)), "Błędny port drukarki");
    EXPECT_EQ(DescribePrinterInForce(f.h.rt), "PLIK (typ=\"F\",do pliku)");
    f.Apply(Def("IGLOWA", 'F', '1'));
    EXPECT_EQ(PrinterProblem(f.h.rt), "");
    EXPECT_EQ(DescribePrinterInForce(f.h.rt), "IGLOWA (typ=\"F\",LPT1)");
}

TEST(Definitions, SpecialPaperAndDuplex) {
    Fixture f;
    f.h.rt.config().Set("NAGLVDTPAP", MemValue::Logical(true));
    f.h.rt.config().Set("NAGLDUPLEX", MemValue::Logical(true));
    PrinterDefinition v = Def("A3", 'V', '1');
    v.queue = "PDF";
    v.paper = '3';
    v.duplex = true;
    f.Apply(v);
    EXPECT_TRUE(f.h.rt.config().Logical("XWYDRA3"));
    EXPECT_TRUE(f.h.rt.config().Logical("XDUPLEX"));
    EXPECT_EQ(f.Var("YPRRS"), "{YPELS}");
    EXPECT_EQ(PrinterProblem(f.h.rt), "");
    // Fanfold paper excludes duplex; a dot-matrix printer cannot take it.
    PrinterDefinition e = Def("IGLOWA", 'E', '1');
    e.paper = '1';
    e.duplex = true;
    f.Apply(e);
    EXPECT_FALSE(f.h.rt.config().Logical("XDUPLEX"));
    EXPECT_TRUE(f.h.rt.config().Logical("XWYDR85"));
    EXPECT_EQ(codepage::ToUtf8(PrinterProblem(f.h.rt)), "Błędny typ papieru");
    // Without the paper setting the paper is A4.
    f.h.rt.config().Set("NAGLVDTPAP", MemValue::Logical(false));
    f.Apply(e);
    EXPECT_FALSE(f.h.rt.config().Logical("XWYDR85"));
    EXPECT_EQ(PrinterProblem(f.h.rt), "");
}

TEST(Definitions, InitialisationFilesComeFromTheCompanyDirectory) {
    Fixture f;
    ASSERT_TRUE(base::WriteFileAtomically(f.company.File("INPRTP.BIN"), "\x1B@P").ok());
    PrinterDefinition d = Def("IGLOWA", '9', '1');
    d.init_from_files = true;
    f.Apply(d);
    EXPECT_EQ(f.Var("YPRRS"), "\x1B@P");
    EXPECT_EQ(f.Var("YPRLS"), "\x1B@P");  // no landscape file
    d.type = '0';
    f.Apply(d);
    EXPECT_EQ(f.Var("YPRRS"), "");
}

TEST(Definitions, NoItalicsForEveryType) {
    Fixture f;
    f.h.rt.config().Set("NAGLBEZIT", MemValue::Logical(true));
    for (char t : std::string("EFef98IiJjH4LKSs10")) {
        f.Apply(Def("D", t, '1'));
        EXPECT_EQ(f.Var("YPRPI"), "") << t;
        EXPECT_EQ(f.Var("YPRKI"), "") << t;
    }
    PrinterDefinition v = Def("V", 'V', '1');
    v.queue = "PDF";
    f.Apply(v);
    EXPECT_EQ(f.Var("YPRPI"), "");
}

TEST(Definitions, TheNamedOrTheDefaultOrTheFirstDefinition) {
    Fixture f;
    PrinterDefinition a = Def("PIERWSZA", 'E', '1');
    PrinterDefinition b = Def("LASER", 'L', '2');
    b.queue = "LASER";
    PrinterDefinition c = Def("DOMOWA", '9', '1');
    c.is_default = true;
    f.Store({a, b, c});

    struct Case {
        const char* requested;
        const char* name;
        const char* type;
    };
    const Case cases[] = {
        {"laser               ", "LASER", "L"}, {"", "DOMOWA", "9"}, {"NIEMA", "DOMOWA", "9"}};
    for (const Case& k : cases) {
        f.h.rt.config().Set("NAGLNAZDR", MemValue::Char(k.requested));
        common::Tables tables(f.h.rt);
        StartupPrinter(f.h.rt, tables, f.printers);
        EXPECT_EQ(f.Var("NAGLNAZDR"), k.name) << k.requested;
        EXPECT_EQ(f.Var("NAGLTDR"), k.type) << k.requested;
    }
    f.Store({a, b});
    f.h.rt.config().Set("NAGLNAZDR", MemValue::Char(""));
    common::Tables tables(f.h.rt);
    ApplyNamedDefinition(f.h.rt, tables, f.printers);
    EXPECT_EQ(f.Var("NAGLNAZDR"), "PIERWSZA");
}

TEST(Definitions, WithoutPrinterDefinitionsStartUpUsesTheConfiguredType) {
    Fixture f;
    f.h.rt.config().Set("NAGLTDR", MemValue::Char("Q"));
    common::Tables tables(f.h.rt);
    StartupPrinter(f.h.rt, tables, f.printers);
    EXPECT_EQ(f.Var("NAGLTDR"), "F");
    EXPECT_EQ(f.Var("YPRCF"), "\x1Bj");
    EXPECT_FALSE(base::Exists(f.program.File("PKDRUK.DBF")));  // not made at start
    EXPECT_EQ(f.printers.asked, 0);
}

TEST(Definitions, RowsOfTheDefinitionsList) {
    Fixture f;
    PrinterDefinition d = Def("LASER", 'L', '2');
    d.is_default = true;
    auto pad = [](std::string s) {
        s.resize(40, ' ');
        return s;
    };
    EXPECT_EQ(DefinitionRow(f.h.rt, d), pad("* LASER (typ=\"L\",LPT2)"));
    EXPECT_EQ(DefinitionRow(f.h.rt, Def("PLIK", 'E', '0')), pad("  PLIK (typ=\"E\",do pliku)"));
    EXPECT_EQ(DefinitionRow(f.h.rt, Def("BIURO", 'W', '1')), pad("  BIURO (typ=\"W\")"));
}

}  // namespace
}  // namespace kestrel::printing
