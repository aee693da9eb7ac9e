#include "payroll/printouts/data/payroll_list_print.h"

#include <algorithm>
#include <memory>

#include "common/session/abandon.h"
#include "common/tables/table_catalogue.h"
#include "payroll/data/archive_tables.h"
#include "payroll/data/payroll_month.h"
#include "payroll/printouts/data/amount_words.h"
#include "payroll/printouts/data/denomination_split.h"
#include "platform/base/text.h"
#include "worktime/data/open_once.h"

namespace kestrel::payroll {
namespace {

MatrixCell Cell(int row, int column, int width, const std::string& heading,
                const std::string& content, char type = 'N', bool total = false,
                const std::string& picture = "") {
    MatrixCell c;
    c.row = row;
    c.column = column;
    c.width = width;
    c.heading = heading;
    c.content = content;
    c.type = type;
    c.total = total;
    c.picture = picture;
    return c;
}

// The components a list without matrix prints, in print order.
std::vector<Component> Printed(const std::vector<Component>& components) {
    std::vector<Component> out;
    for (const Component& c : components)
        if (c.print) out.push_back(c);
    if (out.empty())
        for (const Component& c : components)
            if (!c.off_list) out.push_back(c);
    std::stable_sort(out.begin(), out.end(), [](const Component& a, const Component& b) {
        return a.print_order < b.print_order;
    });
    return out;
}

// The net pay as a formula: what is not auxiliary, deductions subtracted.
std::string NetFormula(const std::vector<Component>& components) {
    std::string f;
    for (const Component& c : components) {
        if (c.off_list) continue;
        f += (c.deduction ? "-" : (f.empty() ? "" : "+")) + base::TrimRight(c.symbol);
    }
    return f.empty() ? "0" : f;
}

const char* kName = "trim(dky(pkprac->nazwx_))+\" \"+trim(dky(pkprac->imiex_))";

}  // namespace

std::vector<PayrollList> AllLists(common::Tables& tables) {
    std::vector<PayrollList> out;
    if (!CompanyHas(tables, "PKLISTY")) return out;
    dbf::WorkArea& a = worktime::OpenOnce(tables, "PKLISTY", common::IndexFiles("PKLISTY"));
    const dbf::KeepPosition keep(a);
    for (base::Status s = a.GoTop(); s.ok() && !a.eof(); s = a.Skip())
        if (!a.deleted()) out.push_back(ReadList(a));
    std::stable_sort(out.begin(), out.end(), [](const PayrollList& x, const PayrollList& y) {
        if (x.year != y.year) return x.year > y.year;
        if (x.month != y.month) return x.month > y.month;
        if (x.paid != y.paid) return x.paid > y.paid;
        return x.Key() > y.Key();
    });
    return out;
}

std::vector<PayrollList> AllLists(common::Tables& tables, const std::string& archive) {
    if (archive.empty()) return AllLists(tables);
    const ArchivedYear archived(tables, archive);
    return AllLists(tables);
}

MatrixSort ListSort(int sort) {
    switch (sort) {
        case 2:
            return MatrixSort::kName;
        case 3:
            return MatrixSort::kBrigade;
        case 4:
            return MatrixSort::kDepartment;
        case 5:
            return MatrixSort::kGroup;
        default:
            return MatrixSort::kNumber;
    }
}

MatrixDefinition ColumnsMatrix(common::Runtime& rt, const ListSymbol& symbol,
                               const std::vector<Component>& components) {
    MatrixDefinition m;
    m.type = '1';
    m.title = base::Trim(symbol.print_title).empty() ? symbol.name : base::Trim(symbol.print_title);
    const int per_row = std::clamp(symbol.print_columns, 3, 5);
    const int width = per_row == 5 ? 15 : 17;
    int column = 1;
    m.cells.push_back(Cell(1, column++, 6, rt.Text("Numer"), "pkprac->nr_prac", 'C'));
    m.cells.push_back(Cell(1, column++, 32, rt.Text("Nazwisko i imię"), kName, 'C'));
    if (symbol.father_name)
        m.cells.push_back(Cell(1, column++, 20, rt.Text("Imię ojca"), "pkprac->im_ojca", 'C'));
    int row = 2;
    column = 1;
    for (const Component& c : Printed(components)) {
        if (column > per_row) {
            ++row;
            column = 1;
        }
        m.cells.push_back(Cell(row, column++, width, c.name, base::TrimRight(c.symbol), 'N', true,
                               "@E 9,999,999.99"));
    }
    if (column > per_row) {
        ++row;
        column = 1;
    }
    m.cells.push_back(Cell(row, column, width, rt.Text("Do wypłaty"), NetFormula(components), 'N',
                           true, "@E 9,999,999.99"));
    return m;
}

MatrixDefinition EnvelopeMatrix(common::Runtime& rt, char kind,
                                const std::vector<Component>& components) {
    MatrixDefinition m;
    m.type = '1';
    m.title = rt.Text("Wynagrodzenie");
    const int per_row = kind == '2' ? 2 : 1;
    int row = 1, column = 1;
    auto add = [&](const std::string& name, const std::string& content) {
        if (column > per_row * 2) {
            ++row;
            column = 1;
        }
        std::string literal = "\"" + name.substr(0, 24) + "\"";
        m.cells.push_back(Cell(row, column++, 24, "", literal, 'C'));
        m.cells.push_back(Cell(row, column++, 12, "", content, 'N', false, "@EZ 9,999,999.99"));
    };
    for (const Component& c : Printed(components)) {
        std::string name = c.name;
        std::replace(name.begin(), name.end(), '"', '\'');
        add(name, base::TrimRight(c.symbol));
    }
    row += 1;
    column = 1;
    m.cells.push_back(Cell(row, column++, 24, "", "\"" + rt.Text("Do wypłaty") + "\"", 'C'));
    m.cells.push_back(
        Cell(row, column, 12, "", NetFormula(components), 'N', false, "@E 9,999,999.99"));
    return m;
}

std::string ListMatrixRequest(common::Runtime& rt, common::Tables& tables,
                              const PayrollListRequest& request, MatrixRequest* r,
                              MatrixDefinition* made) {
    ListSymbol symbol;
    if (!FindListSymbol(tables, base::Trim(request.list.symbol), &symbol))
        return rt.Text("Błędny symbol listy płac");
    r->type = '1';
    r->lists = {request.list};
    r->sort = ListSort(request.sort);
    r->subtitle = rt.Text("Lista płac: ") + base::Trim(ListCaption(request.list));
    const char layout = static_cast<char>(base::AsciiUpper(std::string(1, request.layout))[0]);
    if (layout == 'Z' || layout == 'P') {
        r->matrix = request.matrix.empty() ? base::Trim(symbol.matrix) : request.matrix;
        if (r->matrix.empty()) return rt.Text("Brak definicji tabulogramu");
        r->layout = layout == 'P' ? MatrixLayout::kPayslips : MatrixLayout::kSummary;
        return "";
    }
    const std::vector<Component> components = ReadComponents(tables);
    *made = layout == 'B' ? ColumnsMatrix(rt, symbol, components)
                          : EnvelopeMatrix(rt, layout, components);
    r->definition = made;
    r->layout = layout == 'B' ? MatrixLayout::kSummary : MatrixLayout::kPayslips;
    return "";
}

static PayrollListOutcome PrintList(common::Runtime& rt, common::Tables& tables,
                                    const PayrollListRequest& request, printing::PrintOutput& out,
                                    MatrixObserver* observer) {
    PayrollListOutcome done;
    MatrixRequest r;
    MatrixDefinition made;
    done.message = ListMatrixRequest(rt, tables, request, &r, &made);
    if (!done.message.empty()) return done;
    MatrixRun run(rt, tables, observer);
    done.message = run.Prepare(r);
    done.interrupted = run.interrupted();
    if (!done.message.empty() || done.interrupted) return done;
    const MatrixPrinted printed = run.Print(out);
    done.interrupted = printed.interrupted;
    done.message = printed.message;
    done.employees = printed.employees;
    if (!done.message.empty() || done.interrupted) return done;

    // What the printed employees are paid, in grosze.
    DenominationCounts counts(request.denominations ? DenominationsHighestFirst(tables)
                                                    : std::vector<int64_t>{});
    int64_t total = 0;
    for (const MatrixEmployee& e : run.employees()) {
        const int64_t g = ToGrosze(e.payable);
        total += g;
        counts.Add(g);
    }
    int row = out.row() + 2;
    if (r.layout == MatrixLayout::kSummary) {
        if (row + 2 > kPageRows) {
            out.Eject();
            row = 0;
        }
        out.Say(row, 0, rt.Text("Słownie złotych do wypłaty: ") + AmountInWords(total));
        row += 3;
    }
    if (request.denominations) {
        if (row + 8 + static_cast<int>(counts.denominations.size()) > kPageRows) {
            out.Eject();
            row = 0;
        }
        PrintDenominations(rt, out, row, base::Trim(ListCaption(request.list)), counts);
    }
    return done;
}

PayrollListOutcome PrintPayrollList(common::Runtime& rt, common::Tables& tables,
                                    const PayrollListRequest& request, printing::PrintOutput& out,
                                    MatrixObserver* observer) {
    if (request.archive.empty()) return PrintList(rt, tables, request, out, observer);
    std::unique_ptr<ArchivedYear> archived;
    try {
        archived = std::make_unique<ArchivedYear>(tables, request.archive);
    } catch (const common::Abandon& e) {
        PayrollListOutcome refused;
        refused.message = e.message();
        return refused;
    }
    return PrintList(rt, tables, request, out, observer);
}

}  // namespace kestrel::payroll
