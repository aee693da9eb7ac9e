// QRMBE: the yes/no (or other one-letter) question on the message row.
#pragma once

#include <string>
#include <string_view>

#include "common/session/runtime.h"

namespace kestrel::common {

/// Shows `question` + " [t,n]" at row 23 column 40 (the answer letters
/// emphasised) and reads one character one blank after the bracket, with
/// `default_answer` pre-filled (a blank when 0). Only the letters of
/// `answers` are accepted, in upper or lower case; Enter and Esc return
/// what is in the field. Returns the character as typed; callers take only
/// 't' or 'T' as yes. The prompt half of the row is cleared afterwards.
char Question(Runtime& rt, std::string_view question, std::string_view answers = "tn",
              char default_answer = 0);

/// True when `answer` means yes.
inline bool IsYes(char answer) {
    return answer == 't' || answer == 'T';
}

}  // namespace kestrel::common
