#include "payroll/printouts/data/pfron_statement.h"

#include <algorithm>
#include <cstdio>

#include "common/checks/scramble.h"
#include "common/tables/table_catalogue.h"
#include "payroll/data/payroll_records.h"
#include "payroll/printouts/data/printout_support.h"
#include "platform/base/rounding.h"
#include "platform/base/text.h"
#include "platform/picture/picture.h"
#include "printing/data/headers.h"
#include "worktime/data/open_once.h"

namespace kestrel::payroll {
namespace {

constexpr double kLevyRate = 0.4065;  // of the average pay per missing post
constexpr double kRequired = 6, kRequiredTeaching = 2;
constexpr double kLevyFromPosts = 25;

// Julian days of the month's first and last day.
std::pair<int32_t, int32_t> MonthDays(YearMonth m) {
    const int32_t first = base::JulianDay({m.year, m.month, 1});
    return {first, first + base::DaysInMonth(m.year, m.month) - 1};
}

// Days of [from, to] (0: no bound) within [first, last].
int64_t DaysWithin(const base::Date& from, const base::Date& to, int32_t first, int32_t last) {
    const int32_t a = from.empty() ? first : std::max(first, base::JulianDay(from));
    const int32_t b = to.empty() ? last : std::min(last, base::JulianDay(to));
    return b >= a ? b - a + 1 : 0;
}

std::string Posts3(const Posts& p, bool blank_zero) {
    static const picture::Picture picture = picture::Parse("@E 9999.999");
    if (blank_zero && p.zero()) return std::string(8, ' ');
    return picture::FormatNumber(base::YRound(p.value(), 3), picture, 8, 3);
}

std::string Percent(double value) {
    static const picture::Picture picture = picture::Parse("@E 999.99");
    return picture::FormatNumber(value, picture, 6, 2) + " %";
}

std::string FieldText(dbf::WorkArea& a, const char* field) {
    const int f = a.FieldIndex(field);
    return f < 0 ? std::string() : a.record().GetString(f);
}

base::Date FieldDate(dbf::WorkArea& a, const char* field) {
    const int f = a.FieldIndex(field);
    return f < 0 ? base::Date{} : base::DateOfDbfText(a.record().GetDate(f));
}

bool FieldLogical(dbf::WorkArea& a, const char* field) {
    const int f = a.FieldIndex(field);
    return f >= 0 && a.record().GetLogical(f);
}

int FieldNumber(dbf::WorkArea& a, const char* field) {
    const int f = a.FieldIndex(field);
    return f < 0 ? 0 : static_cast<int>(a.record().GetNumber(f));
}

}  // namespace

Posts& Posts::operator+=(const Posts& other) {
    if (other.num == 0) return *this;
    using Wide = __int128;
    auto gcd = [](Wide a, Wide b) {
        if (a < 0) a = -a;
        while (b != 0) {
            const Wide t = a % b;
            a = b;
            b = t;
        }
        return a;
    };
    const Wide g = gcd(den, other.den);
    Wide d = Wide{den} / g * other.den;
    Wide n = Wide{num} * (d / den) + Wide{other.num} * (d / other.den);
    const Wide r = gcd(n, d);
    if (r > 1) {
        n /= r;
        d /= r;
    }
    constexpr int64_t kFine = 1'000'000'000'000;  // 1e-12 of a post
    if (d > Wide{kFine} * 1000) {
        // Denominators without a common measure: kept to 1e-12 of a post.
        n = (n * kFine + (n >= 0 ? d / 2 : -d / 2)) / d;
        d = kFine;
    }
    num = static_cast<int64_t>(n);
    den = static_cast<int64_t>(d);
    return *this;
}

Posts PfronEmployee::Total() const {
    Posts t;
    for (const Posts& p : posts) t += p;
    return t;
}

bool EmployeePosts(const PfronFacts& facts, YearMonth month, PfronEmployee* out) {
    const auto [first, last] = MonthDays(month);
    const int64_t employed = DaysWithin(facts.hired, facts.dismissed, first, last);
    if (employed == 0) return false;
    int64_t l = facts.numerator, m = facts.denominator;
    if (l <= 0 || m <= 0) l = m = 1;
    int64_t disabled = 0;
    size_t degree = kNotDisabled;
    if (facts.degree >= '1' && facts.degree <= '4') {
        degree = static_cast<size_t>(facts.degree - '0');
        // The certificate's days while he is employed.
        const int32_t a =
            facts.hired.empty() ? first : std::max(first, base::JulianDay(facts.hired));
        const int32_t b =
            facts.dismissed.empty() ? last : std::min(last, base::JulianDay(facts.dismissed));
        disabled = DaysWithin(facts.certificate_from, facts.certificate_to, a, b);
    }
    const int64_t days = last - first + 1;
    *out = PfronEmployee{};
    out->number = facts.number;
    out->name = facts.name;
    out->fraction = std::to_string(l) + "/" + std::to_string(m);
    const Posts none{0, 1};
    out->posts.fill(none);
    out->posts[degree] += Posts{l * disabled, m * days};
    out->posts[kNotDisabled] += Posts{l * (employed - disabled), m * days};
    return true;
}

void Summarise(const PfronRequest& request, PfronStatement* s) {
    s->by_degree.fill(Posts{});
    s->total = s->disabled = Posts{};
    for (const PfronEmployee& e : s->employees)
        for (size_t d = 0; d < kDegrees; ++d) {
            s->by_degree[d] += e.posts[d];
            s->total += e.posts[d];
            if (d != kNotDisabled) s->disabled += e.posts[d];
        }
    s->share = s->total.zero() ? 0 : s->disabled.value() / s->total.value() * 100;
    const bool teaching = request.pupils > 0;
    s->required = teaching ? kRequiredTeaching : kRequired;
    s->pupils_share =
        teaching ? std::clamp(request.disabled_pupils, 0, request.pupils) * 100.0 / request.pupils
                 : 0;
    const double missing =
        s->total.value() * (s->required - s->pupils_share) / 100 - s->disabled.value();
    s->missing = missing > 1e-9 ? missing : 0;
    s->levy_due = s->total.value() >= kLevyFromPosts - 1e-9 && s->missing > 0;
    s->levy = s->levy_due ? base::YRound(kLevyRate * request.average_pay * s->missing, 0) : 0;
}

PfronStatement ComputePfron(common::Runtime& rt, common::Tables& tables,
                            const PfronRequest& request) {
    PfronStatement s;
    s.switch_on = rt.config().Logical("NAGLMINPR6");
    if (CompanyHas(tables, "PKPRAC")) {
        dbf::WorkArea& a = worktime::OpenOnce(tables, "PKPRAC", common::IndexFiles("PKPRAC"));
        const dbf::KeepPosition keep(a);
        for (base::Status st = a.GoTop(); st.ok() && !a.eof(); st = a.Skip()) {
            if (a.deleted() || FieldLogical(a, "NIE_PRAC") || FieldLogical(a, "OS_PRAWNA"))
                continue;
            PfronFacts f;
            f.number = base::Trim(FieldText(a, "NR_PRAC"));
            const std::string surname =
                base::Trim(common::Unscramble(common::ScrambleKind::kName, FieldText(a, "NAZWX_")));
            const std::string first =
                base::Trim(common::Unscramble(common::ScrambleKind::kName, FieldText(a, "IMIEX_")));
            f.name = first.empty() ? surname : surname + " " + first;
            f.numerator = FieldNumber(a, "ETAT_L");
            f.denominator = FieldNumber(a, "ETAT_M");
            f.hired = FieldDate(a, "DATA_ZATR");
            f.dismissed = FieldDate(a, "DATA_ZWOLN");
            const std::string degree = base::Trim(FieldText(a, "TYTUL_STNP"));
            f.degree = degree.empty() ? '0' : degree[0];
            f.certificate_from = FieldDate(a, "DATA_INW");
            f.certificate_to = FieldDate(a, "DAT_INW_DO");
            PfronEmployee e;
            if (EmployeePosts(f, request.month, &e)) s.employees.push_back(std::move(e));
        }
    }
    std::sort(s.employees.begin(), s.employees.end(),
              [](const PfronEmployee& x, const PfronEmployee& y) { return x.number < y.number; });
    Summarise(request, &s);
    return s;
}

namespace {

// Columns: "Lp." 0, number 4, name 11, fraction 31, the five columns of
// posts from 38, 8 characters each: 78 in all.
constexpr int kNumberCol = 4, kNameCol = 11, kNameWidth = 19, kFractionCol = 31, kPostsCol = 38,
              kPostsWidth = 8, kWidth = kPostsCol + 5 * kPostsWidth;
constexpr int kValueEnd = 62;  // the values of the summary end before it

class PfronPrinter {
  public:
    PfronPrinter(common::Runtime& rt, printing::PrintOutput& out, std::string subtitle)
        : rt_(rt), out_(out), subtitle_(std::move(subtitle)) {}

    void Employee(int lp, const PfronEmployee& e) {
        Room(1);
        char n[16];
        std::snprintf(n, sizeof n, "%3d", lp);
        out_.Say(row_, 0, n);
        out_.Say(row_, kNumberCol, e.number);
        out_.Say(row_, kNameCol, Fit(e.name, kNameWidth));
        out_.Say(row_, kFractionCol, Fit(e.fraction, 7));
        PostsColumns(e.posts, true);
        ++row_;
    }

    void Totals(const PfronStatement& s) {
        Room(3);
        out_.Say(row_++, 0, std::string(kWidth, '-'));
        out_.Say(row_, 0, rt_.Text("RAZEM:"));
        PostsColumns(s.by_degree, false);
        row_ += 2;
    }

    void Summary(const PfronRequest& r, const PfronStatement& s) {
        Room(14);
        Value(rt_.Text("Etaty ogółem:"), Posts3(s.total, false));
        Value(rt_.Text("Etaty osób niepełnosprawnych:"), Posts3(s.disabled, false));
        Value(rt_.Text("Udział osób niepełnosprawnych:"), Percent(s.share));
        if (r.pupils > 0) {
            Value(rt_.Text("Uczniowie ogółem:"), std::to_string(r.pupils));
            Value(rt_.Text("Uczniowie niepełnosprawni:"), std::to_string(r.disabled_pupils));
            Value(rt_.Text("Udział uczniów niepełnosprawnych:"), Percent(s.pupils_share));
        }
        Value(rt_.Text("Wymagany wskaźnik zatrudnienia:"), Percent(s.required));
        Value(rt_.Text("Brakujące etaty:"), Missing(s));
        Value(rt_.Text("Przeciętne wynagrodzenie z kwartału:"), Amount(r.average_pay));
        if (s.total.value() < kLevyFromPosts - 1e-9)
            Value(rt_.Text("Wpłata na PFRON:"), rt_.Text("nie dotyczy (poniżej 25 etatów)"));
        else
            Value(rt_.Text("Wpłata na PFRON:"), Amount(s.levy));
        ++row_;
        out_.Say(row_++, 0,
                 rt_.Text("Parametr \"Co najmniej 6% osób niepełnosprawnych\": ") +
                     (s.switch_on ? "T" : "N"));
        const bool reached = s.total.zero() ? false : s.share >= kRequired - 1e-9;
        if (s.switch_on != reached)
            out_.Say(row_++, 0, rt_.Text("Uwaga: parametr niezgodny z udziałem w tym miesiącu"));
        out_.NewLine();
    }

  private:
    static std::string Missing(const PfronStatement& s) {
        static const picture::Picture picture = picture::Parse("@E 9999.999");
        return picture::FormatNumber(base::YRound(s.missing, 3), picture, 8, 3);
    }

    // A label and its value ending at one column; a percent sign after it.
    void Value(const std::string& label, std::string value) {
        std::string suffix;
        if (value.size() > 2 && value.compare(value.size() - 2, 2, " %") == 0) {
            suffix = " %";
            value.resize(value.size() - 2);
        }
        value = base::Trim(value);
        out_.Say(row_, 0, label);
        out_.Say(row_++, kValueEnd - static_cast<int>(value.size()), value + suffix);
    }

    void PostsColumns(const std::array<Posts, kDegrees>& posts, bool blank_zero) {
        // Light, moderate, severe, undetermined, then the others.
        const size_t order[kDegrees] = {kLight, kModerate, kSevere, kUndetermined, kNotDisabled};
        for (size_t i = 0; i < kDegrees; ++i)
            out_.Say(row_, kPostsCol + static_cast<int>(i) * kPostsWidth,
                     Posts3(posts[order[i]], blank_zero));
    }

    void Room(int rows) {
        if (page_ > 0 && row_ + rows <= kPrintoutPageRows) return;
        if (page_ > 0) out_.Eject();
        ++page_;
        printing::Qrmnagl2(rt_, out_, page_,
                           rt_.Text("Miesięczne zestawienie etatów wg przepisów PFRON"));
        row_ = out_.row() + 1;
        out_.Say(row_, 0, subtitle_);
        row_ += 2;
        out_.Say(row_, 0, "Lp.");
        out_.Say(row_, kNumberCol, rt_.Text("Nr"));
        out_.Say(row_, kNameCol, rt_.Text("Nazwisko i imię"));
        out_.Say(row_, kFractionCol, rt_.Text("Etat"));
        int col = kPostsCol;
        for (const char* heading : {"Lekki", "Umiark.", "Znaczny", "Nieokr.", "Pozost."}) {
            const std::string h = rt_.Text(heading);
            out_.Say(row_, col + kPostsWidth - static_cast<int>(h.size()), h);
            col += kPostsWidth;
        }
        ++row_;
        out_.Say(row_++, 0, std::string(kWidth, '-'));
    }

    common::Runtime& rt_;
    printing::PrintOutput& out_;
    std::string subtitle_;
    int page_ = 0;
    int row_ = 0;
};

}  // namespace

void PrintPfron(common::Runtime& rt, const PfronRequest& request, const PfronStatement& statement,
                printing::PrintOutput& out) {
    char month[16];
    std::snprintf(month, sizeof month, "%04d-%02d", request.month.year, request.month.month);
    out.Control(rt.config().Text("YPRRS"));
    PfronPrinter p(rt, out, rt.Text("Miesiąc: ") + month);
    int lp = 0;
    for (const PfronEmployee& e : statement.employees) p.Employee(++lp, e);
    p.Totals(statement);
    p.Summary(request, statement);
}

}  // namespace kestrel::payroll
