// kestrel-tool company: the company directories of a program directory.
//
//   kestrel-tool company new ROOT NAME [--from TEMPLATE.PK] [--firm TEXT]
//                [--line1 TEXT] [--line2 TEXT | --line3 TEXT]
//       creates ROOT/NAME.PK as 9.7.4 does: the tables with their shipped
//       contents, QRM.MEM from ROOT/QRM.MEM (or TEMPLATE.PK's) with the
//       company name (NAGL1, default the directory's name) and the stamp's
//       lines (NAGL2, and NAGL3 or, with --line2, NAGL4), the list of
//       operators of the template (or of the program directory's company).
//   kestrel-tool company list ROOT
//       the company directories, "(bez QRM.MEM)" after those that cannot
//       be chosen.
//
// Texts are UTF-8. Exit status 0; 1 when the company is not made (the
// program's message on stderr) or made without its list of operators; 2
// on a usage error.
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "platform/base/clock.h"
#include "platform/base/files.h"
#include "platform/codepage/cp852.h"
#include "tools/command.h"
#include "tools/demo_payroll.h"
#include "utilities/data/company_create.h"
#include "utilities/data/company_names.h"

namespace kestrel::tools {
namespace {

using utilities::CompanyEntry;

int Usage() {
    std::fprintf(stderr,
                 "usage: kestrel-tool company new ROOT NAME [--from TEMPLATE.PK] [--firm TEXT]\n"
                 "                    [--line1 TEXT] [--line2 TEXT | --line3 TEXT]\n"
                 "       kestrel-tool company list ROOT\n");
    return 2;
}

int Fail(const std::string& utf8) {
    std::fprintf(stderr, "kestrel-tool company: %s\n", utf8.c_str());
    return 1;
}

std::string Root(std::string root) {
    while (root.size() > 1 && root.back() == '/') root.pop_back();
    return root;
}

const common::LetterSet& Letters() {
    static const common::LetterSet letters = common::MakeLetterSet(common::kPolishCp852);
    return letters;
}

int List(const std::vector<std::string>& args) {
    if (args.size() != 2) return Usage();
    for (const CompanyEntry& c : utilities::ListCompanies(Root(args[1]), Letters()))
        std::printf("%s%s\n", codepage::ToUtf8(c.name).c_str(), c.usable ? "" : " (bez QRM.MEM)");
    return 0;
}

int New(const std::vector<std::string>& args) {
    if (args.size() < 3) return Usage();
    const std::string root = Root(args[1]);
    utilities::NewCompany company;
    const utilities::NameCheck check = utilities::CheckCompanyName(args[2], &company.name);
    if (check != utilities::NameCheck::kOk) return Fail(utilities::NameCheckMessage(check));
    std::string from, firm, line1, line2, line3;
    for (size_t i = 3; i < args.size(); ++i) {
        if (i + 1 >= args.size()) return Usage();
        const std::string& option = args[i];
        const std::string& value = args[++i];
        if (option == "--from")
            from = value;
        else if (option == "--firm")
            firm = value;
        else if (option == "--line1")
            line1 = value;
        else if (option == "--line2")
            line2 = value;
        else if (option == "--line3")
            line3 = value;
        else
            return Usage();
    }
    if (!line2.empty() && !line3.empty()) return Usage();
    const std::vector<CompanyEntry> list = utilities::ListCompanies(root, Letters());
    if (utilities::FindCompany(list, company.name) != nullptr) return Fail("Istnieje taki katalog");
    std::string template_mem = root + "/QRM.MEM";
    utilities::CreateOptions options;
    if (!from.empty()) {
        std::string name;
        if (utilities::CheckCompanyName(from, &name) != utilities::NameCheck::kOk)
            return Fail("Błędna nazwa " + from);
        const CompanyEntry* source = utilities::FindCompany(list, name);
        if (source == nullptr) return Fail("Brak takiego katalogu " + name);
        if (!source->usable) return Fail("Brak QRM.MEM w tym katalogu " + name);
        template_mem = base::FindNoCase(root + "/" + source->name, "QRM.MEM");
        options.operators_from = source->name;
    }
    const std::string working = utilities::WorkingName(company.name);
    if (utilities::KindOf(root + "/" + working) != utilities::PathKind::kNothing)
        return Fail("Istnieje katalog " + working + " (a creation that did not finish)");

    if (firm.empty()) firm = company.name.substr(0, company.name.size() - 3);
    company.short_name = codepage::FromUtf8(firm);
    company.first_line = codepage::FromUtf8(line1);
    company.second_line = !line2.empty();
    company.other_line = codepage::FromUtf8(company.second_line ? line2 : line3);
    options.letters = &Letters();
    options.retry_wait = [] { std::this_thread::sleep_for(std::chrono::seconds(1)); };
    const utilities::CreateOutcome out =
        utilities::CreateCompany(root, company, template_mem, options);
    if (!out.ok()) return Fail(out.error);
    // The standard functions the shipped components call, as 9.7.4 adds them.
    const base::SystemClock clock;
    const base::Status updated = AddDemoPayrollSetup(root + "/" + company.name, clock);
    if (!updated.ok()) return Fail(updated.message());
    std::printf("%s/%s\n", root.c_str(), company.name.c_str());
    if (out.operator_list_failed)
        return Fail("Błąd tworzenia pliku haseł: " + company.name +
                    " is not protected by passwords");
    return 0;
}

int CompanyCommand(const std::vector<std::string>& args) {
    if (args.empty()) return Usage();
    if (args[0] == "list") return List(args);
    if (args[0] == "new") return New(args);
    return Usage();
}

KESTREL_TOOL_COMMAND(company_command, "company",
                     "company new ROOT NAME [--from TEMPLATE.PK] ... | company list ROOT",
                     CompanyCommand);

}  // namespace
}  // namespace kestrel::tools
