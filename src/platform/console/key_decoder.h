// Turns the bytes a terminal sends into key codes.
//
// Understands UTF-8 characters, control characters, and the escape
// sequences of xterm-like terminals, tmux and the Linux console, with the
// xterm modifier parameters (Shift, Alt, Ctrl) and Alt as an Esc prefix.
// An Esc alone is told from the start of a sequence by time: the caller
// says whether more bytes may still come.
#pragma once

#include <cstddef>
#include <string_view>

namespace kestrel::console {

struct DecodedKey {
    enum class Result {
        kKey,       // `key` was decoded from the first `length` bytes
        kNeedMore,  // the bytes are the start of a sequence; wait for more
        kSkip,      // `length` bytes mean nothing to us (unknown sequence)
    };
    Result result = Result::kNeedMore;
    int key = 0;
    size_t length = 0;
};

/// Decodes the first key in `bytes`. When `more_may_come` is false an
/// incomplete sequence is decided now: a lone Esc is the Esc key, Esc and
/// one character is Alt+character.
DecodedKey DecodeKey(std::string_view bytes, bool more_may_come);

}  // namespace kestrel::console
