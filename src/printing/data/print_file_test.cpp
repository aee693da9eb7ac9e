#include "printing/data/print_file.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>
#include <set>

#include "common/session/abandon.h"
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
    dbf::testing::ScratchDir company;
    kestrel::testing::HeadlessRuntime h;
    FakePrintSystem printers;

    explicit Fixture(const char* type = "E") {
        h.rt.set_data_dir(company.path() + "/");
        Printer(type);
    }
    void Printer(const char* type) {
        h.rt.config().Set("NAGLTDR", MemValue::Char(type));
        h.rt.config().Set("NAGLNDR", MemValue::Char("1"));
        SetControlVariables(&h.rt.config(), type[0], {});
    }
    std::string Dir() const { return company.path() + "/"; }
    bool Has(const std::string& name) const { return base::Exists(company.File(name)); }
    // The operator's message of an abandoned step, UTF-8.
    template <typename F>
    std::string AbandonOf(F&& f) {
        try {
            f();
        } catch (const common::Abandon& a) {
            return codepage::ToUtf8(a.message());
        }
        return "";
    }
};

TEST(PrintFiles, TheFirstFreeNameIsTakenAndHeld) {
    Fixture f;
    ASSERT_TRUE(base::WriteFileAtomically(f.company.File("TEMP02.PRT"), "old").ok());
    PrintFile a(f.h.rt), b(f.h.rt), c(f.h.rt);
    a.Open("A");
    b.Open("B");
    c.Open("C");
    EXPECT_EQ(a.path(), f.Dir() + "TEMP01.PRT");
    EXPECT_EQ(b.path(), f.Dir() + "TEMP03.PRT");  // 02 exists
    EXPECT_EQ(c.path(), f.Dir() + "TEMP04.PRT");
    std::string old;
    ASSERT_TRUE(base::ReadFile(f.company.File("TEMP02.PRT"), &old).ok());
    EXPECT_EQ(old, "old");
    EXPECT_EQ(a.out().row(), 0);
    EXPECT_EQ(a.out().col(), 0);
}

TEST(PrintFiles, NinetyNineLeftoversAreDeletedButNotFilesInUse) {
    Fixture f;
    for (int n = 1; n <= 99; ++n)
        ASSERT_TRUE(base::WriteFileAtomically(PrintFileName(f.Dir(), n), "x").ok());
    {
        PrintFile p(f.h.rt);
        p.Open("Lista");
        EXPECT_EQ(p.path(), f.Dir() + "TEMP01.PRT");
        for (int n = 2; n <= 99; ++n) EXPECT_FALSE(f.Has(PrintFileName("", n))) << n;
    }
    // All 99 open in print-outs running now: none is taken away.
    std::vector<std::unique_ptr<PrintFile>> running;
    for (int n = 1; n <= 99; ++n) {
        running.push_back(std::make_unique<PrintFile>(f.h.rt));
        running.back()->Open("W toku");
    }
    PrintFile one_more(f.h.rt);
    EXPECT_EQ(f.AbandonOf([&] { one_more.Open("Jeszcze"); }), "Błąd kasowania TEMP*.PRT");
    for (int n = 1; n <= 99; ++n) EXPECT_TRUE(f.Has(PrintFileName("", n))) << n;
}

TEST(PrintFiles, TwoProcessesNeverShareAName) {
    Fixture f;
    int pipe_fds[2], hold[2];
    ASSERT_EQ(::pipe(pipe_fds), 0);
    ASSERT_EQ(::pipe(hold), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    constexpr int kEach = 30;
    if (child == 0) {
        ::close(pipe_fds[0]);
        ::close(hold[1]);
        std::vector<std::unique_ptr<PrintFile>> mine;
        std::string names;
        try {
            for (int i = 0; i < kEach; ++i) {
                mine.push_back(std::make_unique<PrintFile>(f.h.rt));
                mine.back()->Open("Dziecko");
                names += mine.back()->path() + "\n";
            }
        } catch (...) {
            names += "failed\n";
        }
        ssize_t w = ::write(pipe_fds[1], names.data(), names.size());
        ::close(pipe_fds[1]);
        // Hold the files until the parent is done with its own.
        char c;
        w = ::read(hold[0], &c, 1);
        (void)w;
        mine.clear();
        ::_exit(0);
    }
    ::close(pipe_fds[1]);
    ::close(hold[0]);
    std::vector<std::unique_ptr<PrintFile>> mine;
    std::set<std::string> names;
    for (int i = 0; i < kEach; ++i) {
        mine.push_back(std::make_unique<PrintFile>(f.h.rt));
        mine.back()->Open("Rodzic");
        EXPECT_TRUE(names.insert(mine.back()->path()).second);
    }
    std::string theirs;
    char buf[512];
    ssize_t n;
    while ((n = ::read(pipe_fds[0], buf, sizeof buf)) > 0) theirs.append(buf, size_t(n));
    ::close(pipe_fds[0]);
    ::close(hold[1]);  // the child may let its files go
    int status = 0;
    ::waitpid(child, &status, 0);
    size_t start = 0, count = 0;
    for (size_t end; (end = theirs.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string name = theirs.substr(start, end - start);
        EXPECT_NE(name, "failed");
        EXPECT_TRUE(names.insert(name).second) << name << " taken twice";
        ++count;
    }
    EXPECT_EQ(count, size_t(kEach));
}

TEST(PrintFiles, AnAbandonedPrintOutLeavesNoFile) {
    Fixture f;
    {
        PrintFile p(f.h.rt);
        p.Open("Przerwany");
        p.out().Say(0, 0, "tekst");
    }
    EXPECT_FALSE(f.Has("TEMP01.PRT"));
}

TEST(Delivery, NothingUnderTwoBytesIsPrinted) {
    Fixture f;
    for (const char* text : {"", "x"}) {
        PrintFile p(f.h.rt);
        p.Open("Pusty");
        p.out().Text(text);
        p.Deliver(f.printers);
        EXPECT_FALSE(f.Has("TEMP01.PRT"));
    }
    EXPECT_TRUE(f.printers.jobs.empty());

    PrintFile p(f.h.rt);
    p.Open("Dwa");
    p.out().Text("ab");
    p.Deliver(f.printers);
    ASSERT_EQ(f.printers.jobs.size(), 1u);
    EXPECT_EQ(f.printers.jobs[0].queue, "LPT1");
    EXPECT_TRUE(f.printers.jobs[0].raw);
    EXPECT_EQ(f.printers.jobs[0].contents, "ab");
    EXPECT_FALSE(f.Has("TEMP01.PRT"));  // deleted after delivery
}

TEST(Delivery, RawToTheDefinitionsQueueWithThePrintersLetters) {
    Fixture f;
    f.h.rt.config().Set("NAGLKOLDR", MemValue::Char("IGLOWA"));
    f.h.rt.config().Set("NAGLPRTPL", MemValue::Char(std::string(common::kPolishMazovia)));
    PrintFile p(f.h.rt);
    p.Open("Lista");
    p.out().Control(f.h.rt.config().Text("YPRPB"));
    p.out().Say(1, 2, codepage::FromUtf8("Łódź"));
    p.Deliver(f.printers);
    ASSERT_EQ(f.printers.jobs.size(), 1u);
    EXPECT_EQ(f.printers.jobs[0].queue, "IGLOWA");
    EXPECT_EQ(f.printers.jobs[0].contents,
              "\x1BG\r\n  \x9C\xA2"
              "d\xA6");
}

TEST(Delivery, AFailedJobIsReportedAndTheFileStillGoes) {
    Fixture f;
    f.printers.fail_with = 1;
    PrintFile p(f.h.rt);
    p.Open("Lista");
    p.out().Text("tekst");
    EXPECT_EQ(f.AbandonOf([&] { p.Deliver(f.printers); }), "Błąd drukowania - kod: 1");
    EXPECT_FALSE(f.Has("TEMP01.PRT"));

    // An unusable definition prints nothing.
    f.printers.fail_with = 0;
    f.h.rt.config().Set("NAGLTDR", MemValue::Char("?"));
    PrintFile q(f.h.rt);
    q.Open("Lista");
    q.out().Text("tekst");
    EXPECT_EQ(f.AbandonOf([&] { q.Deliver(f.printers); }), "Błędna definicja drukarki");
    EXPECT_TRUE(f.printers.jobs.empty());
}

TEST(Delivery, TypeVBeginsWithTheJobHeaderAndGoesAsPdf) {
    Fixture f("V");
    f.h.rt.config().Set("NAGLKOLDR", MemValue::Char("PDF"));
    PrintFile p(f.h.rt);
    p.Open(codepage::FromUtf8("Lista {A} płac"));
    p.out().Say(0, 0, "tekst");
    std::string contents;
    ASSERT_TRUE(p.out().Close().ok());
    ASSERT_TRUE(base::ReadFile(p.path(), &contents).ok());
    // The title's brace does not end the header.
    EXPECT_EQ(contents,
              "{VDOSPRT:Lista {A) p\x88"
              "ac}{YPRRS}tekst");
    ASSERT_TRUE(p.out().Open(p.path()).ok());
    p.out().Text(contents);
    const std::string message = f.AbandonOf([&] { p.Deliver(f.printers); });
    EXPECT_FALSE(f.Has("TEMP01.PRT"));
    if (message.empty()) {
        // The PDF, kept in WYDRUKI/, went to the queue.
        ASSERT_EQ(f.printers.jobs.size(), 1u);
        EXPECT_EQ(f.printers.jobs[0].queue, "PDF");
        EXPECT_FALSE(f.printers.jobs[0].raw);
        EXPECT_EQ(f.printers.jobs[0].contents.substr(0, 5), "%PDF-");
        EXPECT_EQ(f.printers.jobs[0].file, f.Dir() + "WYDRUKI/Lista_A_plac_20261208_093000.pdf");
    } else {
        // Without a renderer: reported, and no empty document left behind.
        EXPECT_EQ(message, "Błąd tworzenia pliku PDF");
        EXPECT_TRUE(f.printers.jobs.empty());
        EXPECT_FALSE(f.Has("WYDRUKI/Lista_A_plac_20261208_093000.pdf"));
    }
}

TEST(Delivery, PdfNamesFromTitleAndTime) {
    Fixture f;
    std::string a, b, c;
    ASSERT_TRUE(ReservePdfPath(f.h.rt, codepage::FromUtf8("Lista płac 12/2026"), &a).ok());
    ASSERT_TRUE(ReservePdfPath(f.h.rt, codepage::FromUtf8("Lista płac 12/2026"), &b).ok());
    ASSERT_TRUE(ReservePdfPath(f.h.rt, "***", &c).ok());
    EXPECT_EQ(a, f.Dir() + "WYDRUKI/Lista_plac_12_2026_20261208_093000.pdf");
    EXPECT_EQ(b, f.Dir() + "WYDRUKI/Lista_plac_12_2026_20261208_093000_2.pdf");
    EXPECT_EQ(c, f.Dir() + "WYDRUKI/wydruk_20261208_093000.pdf");
}

}  // namespace
}  // namespace kestrel::printing
