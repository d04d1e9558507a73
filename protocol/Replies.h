#pragma once
// Everything the display sends back to the processor.

#include <string_view>

namespace kestrova {

enum class Reply {
    None,    // nothing is sent back
    Ack,     // CR LF: a status or antenna line was taken
    Reject,  // BEL CR LF: a status line holds a mode or power token we do not know
};

inline constexpr std::string_view kStayAlive{"\0", 1};  // twice a second, whatever comes in

inline constexpr std::string_view ReplyText(Reply r) {
    return r == Reply::Ack ? "\r\n" : r == Reply::Reject ? "\a\r\n" : "";
}

}  // namespace kestrova
