// Menu 4.A "Połączenie z systemem ROR": the bank transfer files of the
// payroll, their parameters, directories and print-outs.
#pragma once

#include "common/session/runtime.h"

namespace kestrel::payroll {

void Qrm4A(common::Runtime& rt);

// Its entries, each in its own file.
void Qrm4A2(common::Runtime& rt);  // 2. Tworzenie plików (bank_files_screen.cpp)
void Qrm4A3(common::Runtime& rt);  // 3. Zarządzanie plikami typu ROR (file_manager_screen.cpp)
void Qrm4A4(common::Runtime& rt);  // 4. Wydruk indywidualnych przelewów (bank_printouts_screen.cpp)
void Qrm4A5(common::Runtime& rt);  // 5. Parametry połączenia (bank_parameters_screen.cpp)
void Qrm4A6(common::Runtime& rt);  // 6. Zbiorcze zestawienie wypłat typu ROR
void Qrm4A7(common::Runtime& rt);  // 7. Wydruk zbiorczych przelewów
void Qrm4A8(
    common::Runtime& rt);  // 8. Konfiguracja katalogów z plikami ROR (file_manager_screen.cpp)

}  // namespace kestrel::payroll
