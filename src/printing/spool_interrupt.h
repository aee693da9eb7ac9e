// Interrupting a print-out, as every report loop and form print-out does.
#pragma once

#include "common/session/runtime.h"

namespace kestrel::printing {

/// Between the records of a report: takes a waiting key; Esc empties the
/// keyboard buffer, gives a tone and asks "Przerwać wydruk?"; true on "t"
/// (the caller then delivers what it printed so far and ends the report).
/// Any other key is dropped; nothing waiting gives false at once.
bool PrintInterrupted(common::Runtime& rt);

/// The question itself (after the buffer is emptied and the tone).
bool AskInterruptPrint(common::Runtime& rt);

enum class FormPage { kPrint, kSkip, kInterrupt };

/// Before each page of a form print-out: shows "<Esc>-Przerwanie
/// <F7>-Opuszczenie strony" and waits for a key. F7 asks "Opuścić strony ?"
/// (on "t" the page is skipped), Esc asks "Przerwać wydruk?" (on "t" the
/// print-out ends); a "n" waits again, any other key prints the page. The
/// legend is cleared afterwards.
FormPage BeforeFormPage(common::Runtime& rt);

}  // namespace kestrel::printing
