#include "protocol/Scanner.h"

#include <algorithm>

#include "core/Numbers.h"

namespace kestrova {

Scanner::Scanner(std::string_view text, std::size_t at)
    : text_(text), at_(std::min(at, text.size())) {}

std::string_view Scanner::fixed(std::size_t n) {
    const std::string_view f = text_.substr(at_, n);
    at_ += f.size();
    return f;
}

std::optional<int> Scanner::digits(std::size_t n) {
    const std::string_view f = fixed(n);
    return f.size() == n ? DigitsValue(f) : std::nullopt;
}

std::optional<char> Scanner::next() {
    const std::string_view f = fixed(1);
    return f.empty() ? std::nullopt : std::optional<char>(f.front());
}

std::optional<std::string_view> Scanner::upTo(char c, std::size_t skip) {
    const std::size_t found = text_.find(c, at_ + skip);
    if (found == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view f = text_.substr(at_, found - at_);
    at_ = found + 1;
    return f;
}

}  // namespace kestrova
