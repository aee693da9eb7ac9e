#include <algorithm>
#include <cctype>

#include "common/pick/pick_window.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"

namespace kestrel::common {

BrowseColumn FieldColumn(Runtime& rt, dbf::WorkArea& area, std::string_view name,
                         std::string_view heading) {
    const int field = area.FieldIndex(name);
    std::string head = rt.Text(heading);
    int width = static_cast<int>(head.size());
    if (field >= 0)
        width = std::max<int>(width, area.table().fields()[static_cast<size_t>(field)].length);
    return {head, width,
            [&area, field] { return field < 0 ? std::string() : area.record().GetString(field); }};
}

void WriteLegend(Runtime& rt, int row, int col, std::string_view utf8) {
    const std::string text = rt.Text(utf8);
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    const console::Attr key = rt.Standard(rt.colours().ycowp);
    size_t i = 0;
    while (i < text.size()) {
        const size_t open = text.find('<', i);
        if (open == std::string::npos) {
            col = rt.screen().Write(row, col, text.substr(i), plain);
            break;
        }
        const size_t close = text.find('>', open);
        if (close == std::string::npos) {
            col = rt.screen().Write(row, col, text.substr(i), plain);
            break;
        }
        col = rt.screen().Write(row, col, text.substr(i, open - i), plain);
        col = rt.screen().Write(row, col, text.substr(open, close - open + 1), key);
        i = close + 1;
    }
}

void TypeIntoField(Runtime& rt, std::string_view code) {
    auto& kb = rt.console().keyboard();
    kb.Push(console::key::kHome);
    kb.Push(console::key::Ctrl('y'));
    for (unsigned char c : code) kb.Push(c);
}

HotKeysAside::HotKeysAside(Runtime& rt, std::initializer_list<int> keys) : rt_(rt) {
    for (int k : keys) saved_.emplace_back(k, rt_.console().keyboard().Bind(k, nullptr));
}

HotKeysAside::~HotKeysAside() {
    for (auto& [k, action] : saved_) rt_.console().keyboard().Bind(k, action);
}

WindowState::WindowState(Runtime& rt, dbf::Workspace& ws)
    : rt_(rt),
      ws_(ws),
      screen_(rt.screen().SaveAll()),
      colour_(rt.console().colour()),
      area_(ws.current_number()) {
    if (dbf::WorkArea* a = ws_.current()) order_ = a->order();
}

WindowState::~WindowState() {
    rt_.screen().Restore(screen_);
    rt_.console().SetColour(colour_);
    if (dbf::WorkArea* a = ws_.Select(area_); a != nullptr && order_ >= 0) a->SetOrder(order_);
}

}  // namespace kestrel::common
