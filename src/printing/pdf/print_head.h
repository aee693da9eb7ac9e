// The print head of the interpreted printer: where the next character
// lands, in which style, and the pages printed so far.
//
// The family interpreters move it and change its style; it groups the
// characters into runs (one per stretch of one style on one line, blanks
// outside underlined stretches not kept at the ends), wraps past the
// carriage and starts a new page past the form length.
#pragma once

#include <string_view>

#include "platform/codepage/letter_sets.h"
#include "printing/pdf/page_model.h"

namespace kestrel::printing {

class PrintHead {
  public:
    explicit PrintHead(codepage::LetterSet letters) : letters_(letters) { NewPage(); }

    TextStyle& style() { return style_; }
    /// Line spacing (inches) that LF moves by; never below 1/360 inch.
    void SetSpacing(double inches);
    double spacing() const { return style_.spacing; }
    void SetLandscape(bool landscape) { landscape_ = landscape; }

    /// One printable byte of the file's letter set.
    void Print(unsigned char byte);
    /// One character given as UTF-8 (the caller's text, not the file's).
    void PrintUtf8(std::string_view utf8);
    void CarriageReturn();
    /// LF: the next line, column 0.
    void LineFeed();
    /// Moves the paper by `inches` (negative: back, never above the top).
    void Feed(double inches);
    void FormFeed();
    void Tab();
    void Backspace();
    /// The head at `inches` from the left edge (clamped to the carriage).
    void SetX(double inches);
    void SetY(double inches);
    double x() const { return x_; }
    double y() const { return y_; }
    /// Something was printed on the current page.
    bool page_has_text() const { return in_run_ || !doc_.pages.back().runs.empty(); }

    /// The pages; a last page after the final form feed is dropped when
    /// nothing was printed on it. Call once.
    PrintedDocument Finish();
    PrintedDocument& document() { return doc_; }
    /// The title of a job header, in the file's letter set.
    void SetJobTitle(std::string_view raw) { doc_.job_title = codepage::ToUtf8(letters_, raw); }

  private:
    void NewPage();
    void Place(std::string_view utf8, bool blank);
    void CloseRun();

    codepage::LetterSet letters_;
    TextStyle style_;
    PrintedDocument doc_;
    bool landscape_ = false;
    double x_ = 0, y_ = 0;
    TextRun run_;
    bool in_run_ = false;
    int trailing_blanks_ = 0;
};

}  // namespace kestrel::printing
