// The type-ahead buffer, the last key and the hot-key bindings.
//
// Code puts keys into the buffer (a routine "puts Esc into the keyboard
// buffer" to close the window the operator is in); the console reads the
// buffer before the backend. Hot keys run an action while the program waits
// for a key; binding returns the previous action so that a routine can put
// it back when it returns.
#pragma once

#include <deque>
#include <functional>
#include <initializer_list>
#include <map>
#include <optional>

namespace kestrel::console {

using HotKeyAction = std::function<void()>;

class Keyboard {
  public:
    /// Appends a key to the type-ahead buffer.
    void Push(int key) { buffer_.push_back(key); }
    /// Empties the buffer and puts the given keys into it.
    void Stuff(std::initializer_list<int> keys) { buffer_.assign(keys.begin(), keys.end()); }
    void Clear() { buffer_.clear(); }
    bool Empty() const { return buffer_.empty(); }
    size_t Size() const { return buffer_.size(); }
    /// The next key without taking it; nothing when the buffer is empty.
    std::optional<int> Peek() const {
        if (buffer_.empty()) return std::nullopt;
        return buffer_.front();
    }
    std::optional<int> Take() {
        if (buffer_.empty()) return std::nullopt;
        int k = buffer_.front();
        buffer_.pop_front();
        return k;
    }

    int last_key() const { return last_key_; }
    void set_last_key(int key) { last_key_ = key; }

    /// Binds `key` to `action` (an empty action unbinds) and returns the
    /// action bound before, empty when there was none.
    HotKeyAction Bind(int key, HotKeyAction action);
    void Unbind(int key) { hot_keys_.erase(key); }
    bool IsBound(int key) const { return hot_keys_.count(key) != 0; }
    /// The action bound to `key`, or nullptr.
    const HotKeyAction* Find(int key) const;

  private:
    std::deque<int> buffer_;
    std::map<int, HotKeyAction> hot_keys_;
    int last_key_ = 0;
};

}  // namespace kestrel::console
