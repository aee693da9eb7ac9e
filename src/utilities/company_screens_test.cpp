#include "utilities/company_screens.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "common/session/abandon.h"
#include "common/session/operators.h"
#include "headless_runtime.h"
#include "platform/base/text.h"
#include "platform/dbf/table.h"
#include "platform/memfile/mem_file.h"
#include "test_util.h"

namespace kestrel::utilities {
namespace {

namespace fs = std::filesystem;
using dbf::testing::ReadAll;
using dbf::testing::ScratchDir;
using dbf::testing::WriteAll;
using memfile::MemValue;

// A program directory with companies, the program working on one of them;
// the screens the script names are written to screens/.
class Installation {
  public:
    Installation() {
        fs::create_directory(root_.File("screens"));
        h_.backend.set_screens_dir(root_.File("screens"));
    }
    void Company(const std::string& name, bool with_mem = true) {
        fs::create_directory(root_.File(name));
        if (with_mem)
            memfile::WriteMemFile(root_.File(name + "/QRM.MEM"), {{"NAGL1", MemValue::Char(name)}});
        WriteAll(root_.File(name + "/PKPRAC.DBF"), "tabela " + name);
    }
    void Current(const std::string& name) {
        h_.rt.set_program_dir(root_.path(), name);
        h_.rt.set_data_dir(name.empty() ? root_.path() + "/" : root_.File(name) + "/");
    }
    void Script(const std::string& script) { ASSERT_TRUE(h_.backend.AddScript(script).ok()); }
    // Runs a company function; true when it left to the main menu.
    template <typename Fn>
    bool Run(Fn fn) {
        try {
            fn(h_.rt);
        } catch (const common::Abandon&) {
            return true;
        }
        return false;
    }
    // The screen the script saved under `name`.
    std::string Screen(const std::string& name) const {
        return ReadAll(root_.File("screens/" + name + ".txt"));
    }
    std::string File(const std::string& path) const { return root_.File(path); }
    const std::string& root() const { return root_.path(); }
    common::Runtime& rt() { return h_.rt; }
    std::string Row(int r) const { return h_.Row(r); }
    CompanyHooks& hooks() { return hooks_; }

  private:
    ScratchDir root_;
    testing::HeadlessRuntime h_;
    CompanyHooks hooks_;
};

// Another program holding a company open until it goes away.
class OtherProgram {
  public:
    explicit OtherProgram(const std::string& dir) {
        int ready[2], stop[2];
        if (::pipe(ready) != 0 || ::pipe(stop) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ready[0]);
            ::close(stop[1]);  // the end of the pipe is its parent's only
            CompanyLock hold;
            const char held = hold.Share(dir).ok() ? 'y' : 'n';
            (void)!::write(ready[1], &held, 1);
            char c;
            (void)!::read(stop[0], &c, 1);
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(stop[0]);
        stop_ = stop[1];
        char held = 'n';
        held_ = ::read(ready[0], &held, 1) == 1 && held == 'y';
        ::close(ready[0]);
    }
    ~OtherProgram() {
        if (pid_ <= 0) return;
        ::close(stop_);
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }
    bool held() const { return held_; }

  private:
    pid_t pid_ = -1;
    int stop_ = -1;
    bool held_ = false;
};

bool Contains(const std::string& screen, const std::string& text) {
    return screen.find(text) != std::string::npos;
}

TEST(ChooseCompany, ADirectoryWithoutConfigurationIsPassedOver) {
    Installation in;
    in.Company("A.PK");
    in.Company("B.PK", false);
    in.Company("C.PK");
    in.Current("A.PK");
    in.rt().operators().ident = "JKOW";
    in.rt().operators().rights = 0x7F;
    // The bar starts on A.PK; Down skips B.PK (no QRM.MEM) to C.PK.
    in.Script("{Down}{Enter}{screen question}t");
    EXPECT_TRUE(in.Run([&](common::Runtime& rt) { Qrm972(rt, in.hooks()); }));
    EXPECT_TRUE(Contains(in.Screen("question"), "Wybrać \"C.PK\"?."));
    EXPECT_EQ(in.rt().company(), "C.PK");
    EXPECT_EQ(in.rt().data_dir(), in.File("C.PK") + "/");
    EXPECT_TRUE(in.rt().restart_requested());
    EXPECT_EQ(in.rt().operators().ident, "    ");
    EXPECT_EQ(in.rt().operators().rights, 0u);
}

TEST(ChooseCompany, TheCurrentCompanyOrEscChangesNothing) {
    Installation in;
    in.Company("A.PK");
    in.Current("A.PK");
    in.Script("{Enter}");
    EXPECT_FALSE(in.Run([&](common::Runtime& rt) { Qrm972(rt, in.hooks()); }));
    in.Script("{Up}{Enter}n");  // the root, declined
    EXPECT_FALSE(in.Run([&](common::Runtime& rt) { Qrm972(rt, in.hooks()); }));
    EXPECT_EQ(in.rt().company(), "A.PK");
    EXPECT_FALSE(in.rt().restart_requested());
    in.Script("{Up}{Enter}t");  // the root, taken
    EXPECT_TRUE(in.Run([&](common::Runtime& rt) { Qrm972(rt, in.hooks()); }));
    EXPECT_EQ(in.rt().company(), "");
    EXPECT_EQ(in.rt().data_dir(), in.root() + "/");
}

TEST(CreateCompanyScreen, NameRulesThenTheNewCompanyBecomesCurrent) {
    Installation in;
    in.Company("DEMO.PK");
    in.Current("DEMO.PK");
    memfile::WriteMemFile(in.File("QRM.MEM"), {{"NAGL22", MemValue::Char("POLSKA")}});
    in.Script(
        "abc.txt{Enter}{screen extension}{Enter}{Ctrl+Y}demo{Enter}{screen exists}{Enter}"
        "{Ctrl+Y}nowa{Enter}Nowa Firma{Enter}"
        "Spółka{Enter}ul. Prosta 1{Enter}t{screen done}{Enter}");
    EXPECT_TRUE(in.Run([&](common::Runtime& rt) { Qrm974(rt, in.hooks()); }));
    EXPECT_TRUE(Contains(in.Screen("extension"), "Błędne rozszerzenie"));
    EXPECT_TRUE(Contains(in.Screen("exists"), "Istnieje taki katalog"));
    EXPECT_TRUE(Contains(in.Screen("done"), "Koniec procedury"));
    std::vector<memfile::MemEntry> mem;
    ASSERT_TRUE(memfile::ReadMemFile(in.File("NOWA.PK/QRM.MEM"), &mem).ok());
    EXPECT_EQ(memfile::FindEntry(mem, "NAGL1")->value.text, "Nowa Firma          ");
    EXPECT_TRUE(fs::exists(in.File("NOWA.PK/PKPRAC.DBF")));
    EXPECT_FALSE(fs::exists(in.File("NOWA.TMP")));
    // The standard functions the shipped components call are there.
    std::string functions;
    {
        std::unique_ptr<dbf::Table> t;
        ASSERT_TRUE(dbf::Table::Open(in.File("NOWA.PK/PKFUNC.DBF"), {}, &t).ok());
        dbf::Record r = t->NewRecord();
        for (uint32_t n = 1; n <= t->record_count(); ++n) {
            ASSERT_TRUE(t->Read(n, &r).ok());
            functions += base::Trim(r.GetString(t->FieldIndex("FUN_"))) + " ";
        }
    }
    EXPECT_TRUE(Contains(functions, "ren1 ") || Contains(functions, "REN1 ")) << functions;
    EXPECT_EQ(in.rt().company(), "NOWA.PK");
    EXPECT_TRUE(in.rt().restart_requested());
}

TEST(CreateCompanyScreen, ALeftoverWorkingDirectoryIsOfferedForDeletion) {
    Installation in;
    in.Current("");
    fs::create_directory(in.File("NOWA.TMP"));
    WriteAll(in.File("NOWA.TMP/PKPRAC.DBF"), "half-built");
    in.Script("nowa{Enter}Nowa{Enter}{Enter}{Enter}t{screen leftover}{Enter}n{screen kept}{Enter}");
    EXPECT_FALSE(in.Run([&](common::Runtime& rt) { Qrm974(rt, in.hooks()); }));
    EXPECT_TRUE(Contains(in.Screen("leftover"), "Istnieje katalog NOWA.TMP"));
    EXPECT_TRUE(Contains(in.Screen("kept"), "Procedura przerwana"));
    EXPECT_EQ(ReadAll(in.File("NOWA.TMP/PKPRAC.DBF")), "half-built");
    EXPECT_FALSE(fs::exists(in.File("NOWA.PK")));
}

TEST(CreateCompanyScreen, AFailedPasswordListIsShownAndTheCompanyMarkedUnprotected) {
    Installation in;
    in.Company("DEMO.PK");
    in.Current("DEMO.PK");
    fs::create_directory(in.File("HASLA.QRM"));
    common::Operator admin;
    admin.ident = "ADMI";
    ASSERT_TRUE(
        common::SaveOperators(common::OperatorListPath(in.root(), "DEMO.PK"), {admin}).ok());
    fs::create_directory(common::OperatorListPath(in.root(), "NOWA.PK"));  // cannot be written
    in.rt().operators().list_exists = true;
    in.rt().operators().rights = common::RightBit(4);
    in.Script(
        "nowa{Enter}Nowa{Enter}{Enter}{Enter}t{screen list}{Enter}{screen unprotected}{Enter}"
        "{Enter}");
    EXPECT_TRUE(in.Run([&](common::Runtime& rt) { Qrm974(rt, in.hooks()); }));
    EXPECT_TRUE(Contains(in.Screen("list"), "Błąd tworzenia pliku haseł"));
    EXPECT_TRUE(Contains(in.Screen("unprotected"), "Firma NOWA.PK bez ochrony hasłami"));
    EXPECT_TRUE(fs::exists(in.File("NOWA.PK/QRM.MEM")));
}

TEST(CreateCompanyScreen, WithoutTheRightNothingIsAsked) {
    Installation in;
    in.Current("");
    in.rt().operators().list_exists = true;
    in.rt().operators().rights = common::RightBit(3);
    in.Script("{Enter}");  // the refusal's key
    EXPECT_FALSE(in.Run([&](common::Runtime& rt) { Qrm974(rt, in.hooks()); }));
    EXPECT_FALSE(Contains(in.Row(4), "9.7.4"));
    EXPECT_FALSE(Contains(in.Row(6), "Nazwa nowego katalogu:"));
}

TEST(RenameCompanyScreen, RulesAndTheCurrentCompanyFollowsItsName) {
    Installation in;
    in.Company("A.PK");
    in.Company("B.PK", false);
    in.Current("A.PK");
    fs::create_directory(in.File("HASLA.QRM"));
    common::Operator admin;
    admin.ident = "ADMI";
    ASSERT_TRUE(common::SaveOperators(common::OperatorListPath(in.root(), "A.PK"), {admin}).ok());
    in.Script(
        "X{Enter}{screen missing}{Enter}{Ctrl+Y}B{Enter}{screen nomem}{Enter}{Ctrl+Y}A{Enter}"
        "B{Enter}{screen taken}{Enter}{Ctrl+Y}NOWA{Enter}t{screen done}{Enter}");
    EXPECT_FALSE(in.Run([&](common::Runtime& rt) { Qrm975(rt, in.hooks()); }));
    EXPECT_TRUE(Contains(in.Screen("missing"), "Brak takiego katalogu"));
    EXPECT_TRUE(Contains(in.Screen("nomem"), "Brak QRM.MEM w tym katalogu"));
    EXPECT_TRUE(Contains(in.Screen("taken"), "Istnieje taki katalog"));
    EXPECT_TRUE(Contains(in.Screen("done"), "Koniec procedury"));
    EXPECT_EQ(ReadAll(in.File("NOWA.PK/PKPRAC.DBF")), "tabela A.PK");
    EXPECT_FALSE(fs::exists(in.File("A.PK")));
    EXPECT_TRUE(fs::exists(common::OperatorListPath(in.root(), "NOWA.PK")));
    EXPECT_EQ(in.rt().company(), "NOWA.PK");
    EXPECT_EQ(in.rt().data_dir(), in.File("NOWA.PK") + "/");
}

TEST(RenameCompanyScreen, DeclinedLeavesTheNameAlone) {
    Installation in;
    in.Company("A.PK");
    in.Current("");
    in.Script("A{Enter}C{Enter}n{screen declined}{Enter}");
    EXPECT_FALSE(in.Run([&](common::Runtime& rt) { Qrm975(rt, in.hooks()); }));
    EXPECT_TRUE(Contains(in.Screen("declined"), "Wyjście bez zmiany"));
    EXPECT_TRUE(fs::exists(in.File("A.PK/PKPRAC.DBF")));
    EXPECT_FALSE(fs::exists(in.File("C.PK")));
}

TEST(DeleteCompanyScreen, TheCountTheQuestionAndTheDirectoryGone) {
    Installation in;
    in.Company("A.PK");
    in.Company("B.PK");
    fs::create_directory(in.File("A.PK/ARCH2019"));
    WriteAll(in.File("A.PK/ARCH2019/PKPLACE.DBF"), "x");
    in.Current("B.PK");
    in.Script("A{Enter}{screen count}n{screen kept}{Enter}");
    EXPECT_FALSE(in.Run([&](common::Runtime& rt) { Qrm976(rt, in.hooks()); }));
    EXPECT_TRUE(Contains(in.Screen("count"), "Katalog zawiera    3 zbiory"));
    EXPECT_FALSE(Contains(in.Screen("count"), "Bieżący katalog"));
    EXPECT_TRUE(Contains(in.Screen("kept"), "Katalog pozostaje bez zmian"));
    EXPECT_TRUE(fs::exists(in.File("A.PK")));
    in.Script("A{Enter}t{screen done}{Enter}");
    EXPECT_FALSE(in.Run([&](common::Runtime& rt) { Qrm976(rt, in.hooks()); }));
    EXPECT_TRUE(Contains(in.Screen("done"), "Koniec procedury"));
    EXPECT_FALSE(fs::exists(in.File("A.PK")));
    EXPECT_EQ(in.rt().company(), "B.PK");
}

TEST(DeleteCompanyScreen, TheCurrentCompanyGoneTheRootBecomesCurrent) {
    Installation in;
    in.Company("A.PK");
    in.Current("A.PK");
    in.Script("A{Enter}{screen count}t{Enter}");
    EXPECT_TRUE(in.Run([&](common::Runtime& rt) { Qrm976(rt, in.hooks()); }));
    EXPECT_TRUE(Contains(in.Screen("count"), "Bieżący katalog"));
    EXPECT_FALSE(fs::exists(in.File("A.PK")));
    EXPECT_EQ(in.rt().company(), "");
    EXPECT_EQ(in.rt().data_dir(), in.root() + "/");
    EXPECT_TRUE(in.rt().restart_requested());
}

TEST(DeleteCompanyScreen, AForeignSubdirectoryStopsIt) {
    Installation in;
    in.Company("A.PK");
    in.Current("");
    fs::create_directory(in.File("A.PK/INNE"));
    in.Script("A{Enter}{screen refused}{Enter}");
    EXPECT_FALSE(in.Run([&](common::Runtime& rt) { Qrm976(rt, in.hooks()); }));
    EXPECT_TRUE(Contains(in.Screen("refused"), "Istniejąpodkatalogi - przerwanie"));
    EXPECT_TRUE(fs::exists(in.File("A.PK/PKPRAC.DBF")));
}

TEST(CompanyInUse, AnotherProgramsCompanyIsNeitherRenamedNorDeleted) {
    Installation in;
    in.Company("A.PK");
    in.Current("");
    OtherProgram other(in.File("A.PK"));
    ASSERT_TRUE(other.held());
    in.Script("A{Enter}B{Enter}t{screen rename}{Enter}");
    EXPECT_FALSE(in.Run([&](common::Runtime& rt) { Qrm975(rt, in.hooks()); }));
    EXPECT_TRUE(Contains(in.Screen("rename"), "Firma otwarta na innym stanowisku"));
    in.Script("A{Enter}t{screen delete}{Enter}");
    EXPECT_FALSE(in.Run([&](common::Runtime& rt) { Qrm976(rt, in.hooks()); }));
    EXPECT_TRUE(Contains(in.Screen("delete"), "Firma otwarta na innym stanowisku"));
    EXPECT_EQ(ReadAll(in.File("A.PK/PKPRAC.DBF")), "tabela A.PK");
    EXPECT_FALSE(fs::exists(in.File("B.PK")));
}

TEST(CompanyInUse, TheProgramsOwnHoldDoesNotStopIt) {
    Installation in;
    in.Company("A.PK");
    in.Current("A.PK");
    CompanyLock own;
    ASSERT_TRUE(own.Share(in.File("A.PK") + "/").ok());
    in.hooks().hold = &own;
    in.Script("A{Enter}B{Enter}t{Enter}");
    EXPECT_FALSE(in.Run([&](common::Runtime& rt) { Qrm975(rt, in.hooks()); }));
    EXPECT_TRUE(fs::exists(in.File("B.PK/PKPRAC.DBF")));
    EXPECT_EQ(in.rt().company(), "B.PK");
}

// The dictionaries of WZOR.PK copied into the current company NOWA.PK.
class ImportScreen : public ::testing::Test {
  protected:
    void SetUp() override {
        in.Company("NOWA.PK");
        in.Company("WZOR.PK");
        in.Current("NOWA.PK");
        for (const char* company : {"NOWA.PK", "WZOR.PK"})
            for (const char* f : {"PKURZ.DBF", "PKURZ1.NTX", "PKURZ2.NTX", "PKRNB.DBF", "PKRNB.DBT",
                                  "PKRNB1.NTX", "PKRNB2.NTX"})
                WriteAll(in.File(std::string(company) + "/" + f), std::string(company) + " " + f);
    }
    Installation in;
};

TEST_F(ImportScreen, MarkedTablesAreCopied) {
    // Continue; the source (the root has no QRM.MEM, the current company is
    // passed over); PKURZ (first row) and PKRNB (tenth) marked; F5.
    in.Script("t{Enter}{Ins}{Down*9}{Ins}{screen marked}{F5}{screen files}t{screen done}{Enter}");
    EXPECT_FALSE(in.Run([&](common::Runtime& rt) { Qrm977(rt); }));
    EXPECT_TRUE(Contains(in.Screen("marked"), "Ilość zaznaczonych baz: 2"));
    EXPECT_TRUE(Contains(in.Screen("marked"), "Ilość plików: 7"));
    EXPECT_TRUE(Contains(in.Screen("files"), "PKRNB.DBT"));
    EXPECT_TRUE(Contains(in.Screen("done"), "Koniec procedury"));
    for (const char* f : {"PKURZ.DBF", "PKURZ2.NTX", "PKRNB.DBF", "PKRNB.DBT", "PKRNB2.NTX"})
        EXPECT_EQ(ReadAll(in.File(std::string("NOWA.PK/") + f)), std::string("WZOR.PK ") + f);
    EXPECT_EQ(ReadAll(in.File("NOWA.PK/PKPRAC.DBF")), "tabela NOWA.PK");
}

TEST_F(ImportScreen, AFailedCopyLeavesTheTableAsItWas) {
    fs::remove(in.File("WZOR.PK/PKRNB2.NTX"));
    fs::create_directory(in.File("WZOR.PK/PKRNB2.NTX"));  // there, but cannot be read
    in.Script("t{Enter}{Down*9}{Ins}{F5}t{screen failed}{Enter}");
    EXPECT_FALSE(in.Run([&](common::Runtime& rt) { Qrm977(rt); }));
    EXPECT_TRUE(Contains(in.Screen("failed"), "Błąd kopiowania PKRNB2.NTX"));
    for (const char* f : {"PKRNB.DBF", "PKRNB.DBT", "PKRNB1.NTX"})
        EXPECT_EQ(ReadAll(in.File(std::string("NOWA.PK/") + f)), std::string("NOWA.PK ") + f);
}

TEST_F(ImportScreen, AMissingSourceFileStopsBeforeAnyCopy) {
    fs::remove(in.File("WZOR.PK/PKRNB.DBT"));
    in.Script("t{Enter}{Ins}{Down*9}{Ins}{F5}t{screen missing}{Enter}");
    EXPECT_FALSE(in.Run([&](common::Runtime& rt) { Qrm977(rt); }));
    EXPECT_TRUE(Contains(in.Screen("missing"), "Brak pliku PKRNB.DBT"));
    EXPECT_EQ(ReadAll(in.File("NOWA.PK/PKURZ.DBF")), "NOWA.PK PKURZ.DBF");
}

TEST(ImportScreenSources, NoOtherUsableCompany) {
    Installation in;
    in.Company("NOWA.PK");
    in.Company("PUSTA.PK", false);
    in.Current("NOWA.PK");
    in.Script("t{screen none}{Enter}");
    EXPECT_FALSE(in.Run([&](common::Runtime& rt) { Qrm977(rt); }));
    EXPECT_TRUE(Contains(in.Screen("none"), "Brak katalogów \"importowych\""));
}

}  // namespace
}  // namespace kestrel::utilities
