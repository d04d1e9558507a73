#pragma once
// Reads a packet left to right: the one way every parser of the protocol takes its fields.
// Each read moves past what it took; a read past the end takes what is there.

#include <cstddef>
#include <optional>
#include <string_view>

namespace kestrova {

class Scanner {
  public:
    // Starts `at` characters into the text (0-based: 1 skips the type letter).
    explicit Scanner(std::string_view text, std::size_t at = 0);

    // The next n characters, fewer at the end of the text.
    std::string_view fixed(std::size_t n);
    // The next n characters as a whole number: nothing unless all n are there and each is a
    // plain ASCII digit.
    std::optional<int> digits(std::size_t n);
    // The next character; nothing at the end.
    std::optional<char> next();
    // The text up to the next `c`, looked for from `skip` characters on, and moves past that
    // `c`; nothing, and no move, when there is none.
    std::optional<std::string_view> upTo(char c, std::size_t skip = 0);
    std::string_view rest() const { return text_.substr(at_); }

  private:
    std::string_view text_;
    std::size_t at_;
};

}  // namespace kestrova
