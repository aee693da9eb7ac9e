#include "printing/pdf/pdf_render.h"

namespace kestrel::printing {

base::Status RenderPdf(std::string_view print_file, const PdfOptions& options,
                       const std::string& pdf_path) {
    (void)print_file, (void)options, (void)pdf_path;
    return base::Status::NotSupported("PDF rendering is not built yet");
}

}  // namespace kestrel::printing
