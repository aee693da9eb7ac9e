// Loading the company's configuration (QRM.MEM) at start-up and at every
// reload: the address conversion of old files, the restore, the checks of
// the short name, the program directory's own settings and the start-up
// defaults.
#pragma once

#include <string>
#include <vector>

#include "common/session/configuration.h"
#include "common/session/letters.h"
#include "platform/memfile/mem_file.h"

namespace kestrel::startup {

/// The short name shown when the configuration has none.
inline constexpr const char* kPlaceholderShortName = "     ??????????     ";

/// Builds NAGL73 … NAGL77 from the old transfer fields of `entries` (see
/// the address conversion of old files) and rounds numeric values to their
/// decimals. Returns false, leaving the entries as they were, when nothing
/// is to be done or the conversion has to be abandoned.
bool ConvertAddresses(std::vector<memfile::MemEntry>* entries);

/// The six workstation settings of the program directory's QRM.MEM.
struct ProgramSettings {
    bool ega = false;
    bool duplex = false;
    bool vdt_paper = false;
    bool exml = false;
    std::string xml_dir = "C:\\PXDEKL\\IMPORT\\";
    std::string vdos;
};
ProgramSettings ReadProgramSettings(const std::string& program_dir);

struct LoadOutcome {
    bool file_missing = false;
    bool damaged = false;    // read up to a damaged entry
    bool converted = false;  // the address conversion rewrote the file
    bool short_name_missing = false;
    bool short_name_bad = false;
    std::string error;  // why a conversion could not be written, etc.
};

/// Reads `data_dir`/QRM.MEM into `config` (cleared first), converting old
/// address layouts in the file, and checks NAGL1 (a missing or bad short
/// name is replaced by the placeholder).
LoadOutcome LoadConfiguration(const std::string& data_dir, common::Configuration* config);

struct StartupFacts {
    bool has_colour = true;
    std::string data_dir;  // NAGL0
    ProgramSettings program;
};

/// The defaults of start-up, each only where the variable is absent or of
/// another type, computed ones after what they depend on, then the values
/// forced at every start. Returns the letter set chosen from the result.
common::LetterSet ApplyStartupDefaults(common::Configuration* config, const StartupFacts& facts);

/// The signature captions and dotted lines of the payroll list (NAGL39 …
/// NAGL42), in CP852.
std::string SignatureCaptionsWide();
std::string SignatureDotsWide();
std::string SignatureCaptionsNarrow();
std::string SignatureDotsNarrow();

}  // namespace kestrel::startup
