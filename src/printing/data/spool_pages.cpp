#include "printing/data/spool_pages.h"

namespace kestrel::printing {
namespace {

constexpr char kEsc = '\x1b';
constexpr char kFormFeed = '\f';

}  // namespace

bool PageSplitter::Feed(std::string_view bytes) {
    for (char c : bytes) {
        if (stopped_) return false;
        page_ += c;
        if (esc_argument_) {
            esc_argument_ = false;
            continue;
        }
        const bool was_esc = after_esc_;
        after_esc_ = false;
        if (was_esc && c == 'A') {
            esc_argument_ = true;
        } else if (c == kEsc) {
            after_esc_ = true;
        } else if (c == kFormFeed && !EndPage(true)) {
            return false;
        }
    }
    return !stopped_;
}

bool PageSplitter::EndPage(bool form_feed) {
    ++pages_;
    const bool go_on = on_page_ ? on_page_(pages_, page_, form_feed) : true;
    page_.clear();
    if (!go_on) stopped_ = true;
    return go_on;
}

bool PageSplitter::Finish() {
    if (stopped_) return false;
    if (page_.empty()) return true;
    return EndPage(false);
}

std::vector<std::string> SplitLines(std::string_view page) {
    std::vector<std::string> lines;
    std::string line;
    bool after_esc = false, argument = false;
    for (size_t i = 0; i < page.size(); ++i) {
        const char c = page[i];
        if (argument) {
            argument = false;
            line += c;
            continue;
        }
        const bool was_esc = after_esc;
        after_esc = false;
        if (was_esc && c == 'A') {
            argument = true;
        } else if (c == kEsc) {
            after_esc = true;
        } else if (c == '\r' && i + 1 < page.size() && page[i + 1] == '\n') {
            lines.push_back(line);
            line.clear();
            ++i;
            continue;
        } else if (c == kFormFeed && i + 1 == page.size()) {
            break;
        }
        line += c;
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

base::Status ReadPages(const std::string& path, const PageSplitter::PageFn& on_page, int* pages) {
    ReadHold file;
    base::Status s = file.Open(path);
    if (!s.ok()) return s;
    PageSplitter split(on_page);
    char block[kSpoolBlock];
    bool go_on = true;
    for (;;) {
        const long n = file.Read(block, sizeof block);
        if (n < 0) {
            if (pages) *pages = split.pages();
            return base::Status::Corruption(path + ": read error");
        }
        if (n == 0) break;
        go_on = split.Feed(std::string_view(block, static_cast<size_t>(n)));
        if (!go_on) break;
    }
    if (go_on) split.Finish();
    if (pages) *pages = split.pages();
    return base::Status::Ok();
}

int CountPages(const std::string& path) {
    int pages = 0;
    if (!ReadPages(path, nullptr, &pages).ok()) return 0;
    return pages;
}

base::Status PrintPages(const std::string& path, PageRange range, PrintOutput& out,
                        PagePrintObserver& observer, PagePrintResult* result) {
    *result = PagePrintResult{};
    return ReadPages(path, [&](int number, std::string_view bytes, bool form_feed) {
        if (range.last != 0 && number > range.last) return false;
        if (!range.Contains(number)) return true;
        if (!observer.Page(number)) {
            result->interrupted = true;
            return false;
        }
        out.Control(bytes);
        ++result->printed;
        result->at_page_top = form_feed;
        return true;
    });
}

}  // namespace kestrel::printing
