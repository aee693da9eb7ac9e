// The PDF of a print file.
//
// A print file is the byte stream a print-out sends to its printer: text in
// the printer's letter set with the control sequences of the printer's
// family (pitch, line spacing, bold, emphasis, italics, underline, sub- and
// superscript, resets for portrait and landscape, form feeds). RenderPdf
// interprets the sequences of that family and sets the text on A4 pages in
// a monospaced font that has every Polish letter; a form feed starts a new
// page. Type "0" files (no sequences) and type "V" files (sequences as
// names in braces) render too.
#pragma once

#include <string>
#include <string_view>

#include "platform/base/status.h"

namespace kestrel::printing {

struct PdfOptions {
    /// The printer type code whose control sequences the file holds
    /// ("E", "9", "I", "H", "L", "0", "V", ...).
    char printer_type = '0';
    /// The letter set of the file: '1' CP852, '2' Mazovia, '3' Windows-1250,
    /// '4' ISO 8859-2; anything else CP852.
    char letter_set = '1';
    /// The document's title (UTF-8), kept in the PDF's metadata.
    std::string title;
    /// Whether the document reaches the disk before it is renamed to its
    /// name. A caller that writes many documents may leave it to one sync of
    /// the file system after the last (syncfs).
    bool sync = true;
};

/// Writes the PDF of `print_file` to `pdf_path` (a new copy renamed over
/// the old, so a reader never sees half a document).
base::Status RenderPdf(std::string_view print_file, const PdfOptions& options,
                       const std::string& pdf_path);

}  // namespace kestrel::printing
