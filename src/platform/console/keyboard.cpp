#include "platform/console/keyboard.h"

#include <utility>

namespace kestrel::console {

HotKeyAction Keyboard::Bind(int key, HotKeyAction action) {
    HotKeyAction previous;
    if (auto it = hot_keys_.find(key); it != hot_keys_.end()) {
        previous = std::move(it->second);
        hot_keys_.erase(it);
    }
    if (action) hot_keys_[key] = std::move(action);
    return previous;
}

const HotKeyAction* Keyboard::Find(int key) const {
    auto it = hot_keys_.find(key);
    return it == hot_keys_.end() ? nullptr : &it->second;
}

}  // namespace kestrel::console
