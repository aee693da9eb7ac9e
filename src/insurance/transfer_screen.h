// 6.2 "Automatyczne przepisanie danych z modułu płace": the screen of the
// monthly transfer (insurance/data/insurance_transfer.h does the work).
#pragma once

#include "common/session/runtime.h"

namespace kestrel::insurance {

/// QRM62: needs rights kind 3. The warning screen tells what the transfer
/// changes and how many records corrected by hand (and not locked) it will
/// replace; Esc there ends. "Dekretować?" must be answered yes (Esc ends
/// with a tone). While the transfer goes the screen shows "Pracownik:" and
/// "Tytuł ubezpieczenia:"; Esc asks "Przerwać przepisywanie?". At the end
/// the message that stopped the run, or, after a complete run, the reminder
/// of the consistency check (when check algorithms exist) and "Koniec
/// aktualizacji".
void Qrm62(common::Runtime& rt);

struct TransferOutcome;
/// The end of QRM62: the outcome's message; after a complete run the
/// reminder of 6.A.2 when check algorithms exist (with the two lines about
/// the KEDU file and the declarations unless NAGLBSPRZ), then "Koniec
/// aktualizacji".
void ShowTransferEnd(common::Runtime& rt, const TransferOutcome& out);

}  // namespace kestrel::insurance
