// The printer control variables (YPR…): the sequences a print-out writes
// for reset, pitch, line spacing and type styles, by the printer's family.
//
// Reports write only these variables, so one report prints on every
// printer. ControlCodes gives every variable with its value for a type and
// the settings that change them; SetControlVariables stores them in the
// configuration as text variables.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/session/configuration.h"

namespace kestrel::printing {

/// The special paper of a definition (TYP_PAP when NAGLVDTPAP is true).
enum class Paper { kA4, kFanfold85, kFanfold14, kA3 };

/// What besides the type decides the sequences.
struct CodeSettings {
    bool unidirectional = false;     // NAGLUD: 9-pin reset with ESC "U1"
    bool no_italics = false;         // NAGLBEZIT: italic sequences empty
    bool simulated_letters = false;  // Polish letters as two characters: "{VDOSPRS:"
    Paper paper = Paper::kA4;        // special paper: its own resets (type V)
    /// Initialisation files (NAGLINITPR): the contents of the portrait and
    /// the landscape file; a missing file is nothing.
    bool init_from_files = false;
    std::optional<std::string> init_portrait;
    std::optional<std::string> init_landscape;
};

struct ControlCode {
    std::string name;   // "YPRRS"
    std::string value;  // the bytes
};

/// Every control variable with its value for printer type `type` (after
/// ValidType; "W" counts as "V"), in a fixed order: the family's
/// variables, then the symbolic sequences every type has.
std::vector<ControlCode> ControlCodes(char type, const CodeSettings& settings);

/// The value of one variable of ControlCodes, "" when there is none.
std::string ControlCodeOf(const std::vector<ControlCode>& codes, std::string_view name);

/// Stores every variable of ControlCodes in `config` (text variables).
void SetControlVariables(common::Configuration* config, char type, const CodeSettings& settings);

/// The resets of a print-out on a duplex definition (XDUPLEX) of type V,
/// for as long as the object lives: YPRRS and YPR4S hold YPRRD and YPRLS
/// holds YPRLD, or all three YPELD on A3 paper (XWYDRA3). When it ends the
/// three get back the values they had. Other types keep their resets: the
/// duplex sequences are names that only a type V printer understands, and
/// a printer of control sequences would print them as text.
class DuplexResets {
  public:
    explicit DuplexResets(common::Configuration& config);
    ~DuplexResets();
    DuplexResets(const DuplexResets&) = delete;
    DuplexResets& operator=(const DuplexResets&) = delete;

    /// Whether the duplex resets are in force.
    bool active() const { return !saved_.empty(); }

  private:
    common::Configuration& config_;
    std::vector<std::pair<std::string, std::optional<memfile::MemValue>>> saved_;
};

}  // namespace kestrel::printing
