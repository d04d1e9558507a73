#pragma once
// The last messages of the status line, for the operator to read back in full.

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

namespace kestrova {

class StatusMessages {
  public:
    static constexpr std::size_t kKept = 100;

    // A text the status line was given; the empty text of a click is no message.
    void shown(std::string_view latin1) {
        if (latin1.empty()) {
            return;
        }
        messages_.emplace_front(latin1);
        if (messages_.size() > kKept) {
            messages_.pop_back();
        }
    }
    // Newest first; each as shown, with the time the status line stamped on it.
    const std::deque<std::string>& newestFirst() const { return messages_; }

  private:
    std::deque<std::string> messages_;
};

}  // namespace kestrova
