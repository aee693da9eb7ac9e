#include "payroll/bank/data/transfer_printouts.h"

#include <cstdio>

#include "payroll/data/payroll_month.h"
#include "payroll/printouts/data/amount_words.h"
#include "platform/base/dates.h"
#include "platform/base/text.h"
#include "platform/picture/picture.h"
#include "printing/data/headers.h"

namespace kestrel::payroll::bank {
namespace {

constexpr int kRowsPerPage = 60;
constexpr int kOrderRows = 20;

std::string Cut(std::string_view text, size_t width) {
    std::string t(text.substr(0, std::min(text.size(), width)));
    t.resize(width, ' ');
    return t;
}

std::string Month(const PayrollList& list) {
    return list.month + "/" + list.year;
}

std::string PaidText(const PayrollList& list) {
    const base::Date d = base::DateOfDbfText(list.paid);
    return d.empty() ? std::string() : base::DateText(d);
}

struct Party {
    std::string name, account;
};

Party Ordering(common::Runtime& rt, const BankParameters& bank) {
    Party p{bank.ordering, bank.ordering_account};
    if (base::Trim(p.name).empty()) p.name = base::Trim(rt.config().Text("NAGL73"));
    if (base::Trim(p.account).empty()) p.account = base::Trim(rt.config().Text("NAGL74"));
    return p;
}

// One order from row `row`: a frame of 78 columns.
void Order(common::Runtime& rt, printing::PrintOutput& out, int row, const Party& from,
           const Party& to, const std::string& to_bank, int64_t grosze, const std::string& title,
           const std::string& date) {
    const std::string rule(78, '-');
    out.Say(row, 0, rule);
    out.Say(row + 1, 0, rt.Text("POLECENIE PRZELEWU"));
    if (!date.empty()) out.Say(row + 1, 56, rt.Text("Data: ") + date);
    out.Say(row + 3, 0, rt.Text("Zleceniodawca:     ") + Cut(from.name, 58));
    out.Say(row + 4, 0, rt.Text("Rachunek zlecen.:  ") + from.account);
    out.Say(row + 6, 0, rt.Text("Odbiorca:          ") + Cut(to.name, 58));
    if (!to_bank.empty()) out.Say(row + 7, 0, rt.Text("Bank odbiorcy:     ") + Cut(to_bank, 58));
    out.Say(row + 8, 0, rt.Text("Rachunek odbiorcy: ") + to.account);
    out.Say(row + 10, 0,
            rt.Text("Kwota:             ") + base::Trim(AmountText(grosze)) + rt.Text(" zł"));
    const std::string words = rt.Text("Słownie: ") + AmountInWords(grosze);
    out.Say(row + 11, 0, Cut(words, 78));
    if (words.size() > 78) out.Say(row + 12, 9, Cut(words.substr(78), 69));
    out.Say(row + 14, 0, rt.Text("Tytułem:           ") + Cut(title, 58));
    out.Say(row + 17, 50, "............................");
    out.Say(row + 18, 50, rt.Text("  podpis zleceniodawcy"));
}

}  // namespace

std::string AmountText(int64_t grosze) {
    static const picture::Picture p = picture::Parse("@E 999,999,999.99");
    return picture::FormatNumber(static_cast<double>(grosze) / 100.0, p, 0, 2);
}

void PrintSummary(common::Runtime& rt, printing::PrintOutput& out, const PayrollList& list,
                  const std::vector<BankPayments>& banks) {
    out.Control(rt.config().Text("YPRRS"));
    int page = 0;
    int row = kRowsPerPage;
    const std::string rule(78, '-');
    auto head = [&](const std::string& title) {
        if (page > 0) out.Eject();
        ++page;
        printing::Qrmnagl2(rt, out, page, title);
        out.Say(5, 0, rt.Text("Lista płac: ") + ListCaption(list));
        out.Say(7, 0, rule);
        out.Say(8, 0,
                rt.Text(" Lp. Nr prac. Nazwisko i imię              Nr rachunku                    "
                        "   Kwota"));
        out.Say(9, 0, rule);
        row = 10;
    };
    int64_t all = 0;
    for (const BankPayments& b : banks) {
        if (b.payments.empty()) continue;
        const std::string title = base::Trim(b.bank.title).empty() ? b.bank.bank : b.bank.title;
        head(title);
        int lp = 0;
        for (const Payment& p : b.payments) {
            if (row >= kRowsPerPage) head(title);
            char number[8];
            std::snprintf(number, sizeof number, "%4d", ++lp);
            out.Say(row++, 0,
                    std::string(number) + " " + p.number + "   " + Cut(p.name, 28) + " " +
                        Cut(p.account, 26) + AmountText(p.grosze).substr(4));
        }
        out.Say(row++, 0, rule);
        out.Say(row++, 0,
                rt.Text("Razem: ") + Cut(b.bank.bank, 30) + std::string(27, ' ') +
                    AmountText(b.total).substr(4));
        all += b.total;
    }
    if (page == 0) head(rt.Text("Zbiorcze zestawienie wypłat typu ROR"));
    out.Say(row + 1, 0, rt.Text("RAZEM:") + std::string(58, ' ') + AmountText(all).substr(4));
    out.Eject();
}

void PrintOrders(common::Runtime& rt, printing::PrintOutput& out, const PayrollList& list,
                 const std::vector<BankPayments>& banks) {
    out.Control(rt.config().Text("YPRRS"));
    const std::string title = rt.Text("Wynagrodzenie ") + Month(list);
    int on_page = 0;
    for (const BankPayments& b : banks) {
        const Party from = Ordering(rt, b.bank);
        for (const Payment& p : b.payments) {
            if (on_page == 3) {
                out.Eject();
                on_page = 0;
            }
            Order(rt, out, on_page * kOrderRows, from, {p.name, p.account}, "", p.grosze, title,
                  PaidText(list));
            ++on_page;
        }
    }
    out.Eject();
}

void PrintCollectiveOrders(common::Runtime& rt, printing::PrintOutput& out, const PayrollList& list,
                           const std::vector<BankPayments>& banks) {
    out.Control(rt.config().Text("YPRRS"));
    int on_page = 0;
    for (const BankPayments& b : banks) {
        if (!b.bank.collective || b.payments.empty()) continue;
        if (on_page == 3) {
            out.Eject();
            on_page = 0;
        }
        char count[64];
        std::snprintf(count, sizeof count, " (%zu wypłat)", b.payments.size());
        Order(rt, out, on_page * kOrderRows, Ordering(rt, b.bank),
              {b.bank.recipient, b.bank.recipient_account}, b.bank.recipient_bank, b.total,
              rt.Text("Wynagrodzenia ") + Month(list) + rt.Text(count), PaidText(list));
        ++on_page;
    }
    out.Eject();
}

}  // namespace kestrel::payroll::bank
