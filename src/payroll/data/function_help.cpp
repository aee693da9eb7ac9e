#include "payroll/data/function_help.h"

namespace kestrel::payroll {
namespace {

constexpr FunctionHelp kHelp[] = {
    // Component sums.
    {"SUMASKLAD", "m; [i]", "suma składników maski m (i mies. wstecz)"},
    {"SUMASKLDTW", "m; i", "suma składników m wg miesiąca wypłaty"},
    {"SUMABIEZ", "m", "składniki maski m na bieżącej liście"},
    {"SXSKLNP", "m", "składniki m nieprzeniesione do podatku"},
    {"SKLBIEZPES", "skl", "składnik bieżącej listy, ten sam PESEL"},
    {"SUMAPES", "skl", "składnik w miesiącu wypłaty, ten sam PESEL"},
    {"STATUS", "skl", "czy pozycja składnika jest zablokowana"},
    {"DATALST", "skl", "data wypłaty listy ze składnikiem"},
    {"ZUSLIMIT", "skl", "składnik w roku wypłaty (limit składek)"},
    {"ZUSLIMIT2", "skl", "jak ZUSLIMIT, ten sam PESEL"},
    // Tax records.
    {"SUMADOCH", "[t]", "przychód narastająco z wcześniejszych mies."},
    {"SUMADOCH2", "[t]", "jak SUMADOCH, ten sam PESEL"},
    {"SXDOCH2", "[t]", "przychód roku do daty wypłaty, ten sam PESEL"},
    {"SXPRZY2", "[t]", "przychód i składki do daty wypłaty, PESEL"},
    {"SUMAKOSZT", "[t]", "koszty uzyskania z wcześniejszych miesięcy"},
    {"SUMAKOSZT2", "[t]", "jak SUMAKOSZT, ten sam PESEL"},
    {"SXKOSZT2", "[t]", "koszty do daty wypłaty, ten sam PESEL"},
    {"SUMAPOD", "", "podatek z wcześniejszych miesięcy"},
    {"SUMAULG", "", "ulgi podatkowe z wcześniejszych miesięcy"},
    {"SUMAKONZW", "", "wykorzystane zwolnienia przed datą wypłaty"},
    {"SUMAPRZZW", "", "przyznane zwolnienia przed datą wypłaty"},
    {"SUMALIMIT", "s", "przychód rodzaju s z wcześniejszych mies."},
    {"STAWKAPOD", "k", "stawka podatku dla kwoty k"},
    {"ULGAKS", "brutto; mc", "ulga dla klasy średniej narastająco"},
    // Insurance and pay records.
    {"SUMPODEMR", "", "podstawy emeryt.-rent. wcześniejszych mies."},
    {"WYNAGR", "n; [m]", "zbiorcze wynagrodzenie n mies. wstecz"},
    // Calendars.
    {"DNIPRACY", "[n]; [od]; [do]; [tab]; [exc]", "dni robocze miesiąca n wstecz"},
    {"GODZHARM", "[n]; [od]; [do]", "godziny z harmonogramu miesiąca n wstecz"},
    {"DNOMPR", "[tab]; [exc]", "dni robocze miesiąca w okresie zatrudnienia"},
    {"DNROK", "", "dni robocze roku systemowego"},
    {"MCZATR", "", "miesiące zatrudnienia do miesiąca system."},
    {"DNIPFR", "", "dni zatrudnienia w miesiącu (limit wieku)"},
    {"DNIPFR2", "", "dni zatrudnienia w miesiącu"},
    // Absences and working time.
    {"NBDTBMC", "tbn", "ile miesięcy wstecz sięga nieobecność z tbn"},
    {"X3MC", "[kody]", "czy choroba w trzech miesiącach odniesienia"},
    {"ILMCWZMET", "", "miesiące od zmiany wymiaru etatu"},
    // Lists, loan fund, attributes.
    {"SYMPAKTLP", "[wsk]", "symbol otwartej listy (wszystkich list)"},
    {"RATA", "typ", "rata ostatniej pożyczki typu KZP"},
    {"WKLADY", "typ; [sw]", "stan wkładów w KZP"},
    {"ZADLUZ", "typ; [sw]", "stan zadłużenia w KZP"},
    {"ZAPRSTR", "naz; wrt", "zapis atrybutu rozszerzonej kartoteki"},
    // PPK.
    {"PSPZ0", "", "podstawowa wpłata PPK pracodawcy (%)"},
    {"PSDZ0", "", "dodatkowa wpłata PPK pracodawcy (%)"},
    {"PSPP0", "", "podstawowa wpłata PPK pracownika (%)"},
    {"PSPP1", "", "obniżona wpłata podstawowa pracownika (%)"},
    {"PSDP0", "", "dodatkowa wpłata PPK pracownika (%)"},
    {"YROUND", "x; [n]", "zaokrąglenie do n miejsc (domyślnie 2)"},
    // Functions of the register, working time and documents.
    {"HSTWRT", "pole; [data]", "wartość pola kartoteki na dzień (historia)"},
    {"HSTTAB", "pole; [od]; [do]", "okresy wartości pola kartoteki (historia)"},
    {"ILNBNAR", "nr; kod; [wsk]", "ilość nieobecności kodu w roku narastająco"},
    {"ILDCNB", "kody; n", "dni ciągłej nieobecności ponad n-ty dzień"},
    {"ILNBDPR", "kody; [n]; [wsk]; [tab]; [tab]", "nieobecność w dniach roboczych"},
    {"SUMAGODZ2", "kod; [n]", "druga ilość kodu czasu pracy n mies. wstecz"},
    {"CZASNOMIN", "", "minuty nominalnego czasu pracy zmiany"},
    {"QRMILGP", "", "dobowa norma godzin pracownika"},
    {"YLIST", "alias; klucz; [war]; wzór; [sep]", "wartości wzoru po rekordach zbioru"},
    {"YLFOR", "wart; zm; od; do; war; wzór", "wartości wzoru w pętli od-do"},
    {"YKBD", "tekst; szer; [pict]", "wartość podana przy wydruku dokumentu"},
    {"XKBD", "szer; kolumny; [nagł]", "tabela podana przy wydruku dokumentu"},
};

}  // namespace

std::span<const FunctionHelp> PayrollFunctionHelp() {
    return kHelp;
}

}  // namespace kestrel::payroll
