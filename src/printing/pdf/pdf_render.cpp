// RenderPdf: the interpreted pages drawn with pango on a cairo PDF surface.
//
// One pango layout per font style (weight, slant, underline, size) is made
// once and reused for every run of that style; a run is one stretch of one
// style on one line, drawn at its place on the page and scaled horizontally
// so that its characters keep the printer's pitch.
#include "printing/pdf/pdf_render.h"

#include <cairo-pdf.h>
#include <fcntl.h>
#include <pango/pangocairo.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <tuple>

#include "printing/pdf/page_layout.h"
#include "printing/pdf/print_interpreter.h"

namespace kestrel::printing {
namespace {

constexpr const char* kFontFamily = "DejaVu Sans Mono, Monospace";

class Layouts {
  public:
    // The thread's shared font map: the fonts are found and loaded once for
    // every document the thread renders, not again for each.
    Layouts()
        : map_(pango_cairo_font_map_get_default()), context_(pango_font_map_create_context(map_)) {
        pango_cairo_context_set_resolution(context_, 72);
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
        pango_cairo_context_set_font_options(context_, options);
        cairo_font_options_destroy(options);
        pango_context_set_round_glyph_positions(context_, FALSE);
    }
    ~Layouts() {
        for (auto& [key, entry] : entries_) g_object_unref(entry.layout);
        g_object_unref(context_);
    }
    Layouts(const Layouts&) = delete;
    Layouts& operator=(const Layouts&) = delete;

    struct Entry {
        PangoLayout* layout = nullptr;
        double advance = 0;  // points of one character at its natural width
    };

    const Entry& For(const TextStyle& style) {
        const double points = FontPoints(style);
        const auto key =
            std::make_tuple(style.bold, style.italic, style.underline, std::lround(points * 100));
        auto it = entries_.find(key);
        if (it != entries_.end()) return it->second;
        Entry e;
        e.layout = pango_layout_new(context_);
        PangoFontDescription* font = pango_font_description_from_string(kFontFamily);
        pango_font_description_set_size(font, static_cast<int>(points * PANGO_SCALE));
        pango_layout_set_font_description(e.layout, font);
        pango_font_description_free(font);
        PangoAttrList* attrs = pango_attr_list_new();
        if (style.bold) pango_attr_list_insert(attrs, pango_attr_weight_new(PANGO_WEIGHT_BOLD));
        if (style.italic) pango_attr_list_insert(attrs, pango_attr_style_new(PANGO_STYLE_OBLIQUE));
        if (style.underline)
            pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
        pango_layout_set_attributes(e.layout, attrs);
        pango_attr_list_unref(attrs);
        pango_layout_set_text(e.layout, "0000000000", -1);
        PangoRectangle logical;
        pango_layout_get_extents(e.layout, nullptr, &logical);
        e.advance = logical.width / 10.0 / PANGO_SCALE;
        if (e.advance <= 0) e.advance = points * 0.6;
        return entries_.emplace(key, e).first->second;
    }

  private:
    PangoFontMap* map_;
    PangoContext* context_;
    std::map<std::tuple<bool, bool, bool, long>, Entry> entries_;
};

void DrawPage(cairo_t* cr, Layouts& layouts, const PrintedPage& page, const SheetLayout& sheet) {
    for (const TextRun& r : page.runs) {
        const Layouts::Entry& e = layouts.For(r.style);
        TextStyle plain = r.style;
        plain.script = Script::kNormal;
        const double drop = r.style.script == Script::kSub ? FontPoints(plain) * 0.5 : 0;
        cairo_save(cr);
        cairo_translate(cr, kMarginPoints + r.x * 72 * sheet.scale,
                        kMarginPoints + (r.y * 72 + drop) * sheet.scale);
        cairo_scale(cr, sheet.scale * (72 / r.style.cpi) / e.advance, sheet.scale);
        pango_layout_set_text(e.layout, r.text.data(), static_cast<int>(r.text.size()));
        pango_cairo_show_layout(cr, e.layout);
        cairo_restore(cr);
    }
}

struct Sink {
    std::FILE* file;
    int error = 0;
};

cairo_status_t Write(void* closure, const unsigned char* data, unsigned int length) {
    Sink* sink = static_cast<Sink*>(closure);
    if (std::fwrite(data, 1, length, sink->file) != length) {
        if (sink->error == 0) sink->error = errno ? errno : EIO;
        return CAIRO_STATUS_WRITE_ERROR;
    }
    return CAIRO_STATUS_SUCCESS;
}

// Draws the document into `file`; a cairo failure as its text.
std::string Draw(const PrintedDocument& doc, const std::string& title, Sink* sink) {
    const std::vector<SheetLayout> sheets = LayOutSheets(doc);
    cairo_surface_t* surface = cairo_pdf_surface_create_for_stream(
        Write, sink, sheets[0].width_points(), sheets[0].height_points());
    if (!title.empty())
        cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_TITLE, title.c_str());
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATOR, "KESTREL");
    cairo_t* cr = cairo_create(surface);
    {
        Layouts layouts;
        for (size_t p = 0; p < doc.pages.size(); ++p) {
            cairo_pdf_surface_set_size(surface, sheets[p].width_points(),
                                       sheets[p].height_points());
            DrawPage(cr, layouts, doc.pages[p], sheets[p]);
            cairo_show_page(cr);
        }
    }
    cairo_status_t status = cairo_status(cr);
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    return status == CAIRO_STATUS_SUCCESS ? std::string() : cairo_status_to_string(status);
}

}  // namespace

base::Status RenderPdf(std::string_view print_file, const PdfOptions& options,
                       const std::string& pdf_path) {
    const PrintedDocument doc = Interpret(print_file, options.printer_type, options.letter_set);
    std::string temp = pdf_path + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) return base::Status::FromErrno("cannot create a file beside " + pdf_path, errno);
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    Sink sink{fdopen(fd, "wb")};
    if (sink.file == nullptr) {
        const int err = errno;
        close(fd);
        unlink(temp.c_str());
        return base::Status::FromErrno("cannot write " + temp, err);
    }
    const std::string failed =
        Draw(doc, options.title.empty() ? doc.job_title : options.title, &sink);
    int err = sink.error;
    if (std::fflush(sink.file) != 0 && err == 0) err = errno;
    if (options.sync && fsync(fileno(sink.file)) != 0 && err == 0 && errno != EINVAL) err = errno;
    if (std::fclose(sink.file) != 0 && err == 0) err = errno;
    if (err != 0 || !failed.empty()) {
        unlink(temp.c_str());
        if (err != 0) return base::Status::FromErrno("cannot write " + temp, err);
        return base::Status::IOError("cannot draw " + pdf_path + ": " + failed);
    }
    if (std::rename(temp.c_str(), pdf_path.c_str()) != 0) {
        err = errno;
        unlink(temp.c_str());
        return base::Status::FromErrno("cannot rename " + temp + " to " + pdf_path, err);
    }
    return base::Status::Ok();
}

}  // namespace kestrel::printing
