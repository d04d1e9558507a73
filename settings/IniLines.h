#pragma once
// Lines and entries of the settings file. A line ends at CR LF, a lone CR or a lone LF, so a
// file from any editor reads the same; the program itself writes CR LF. A UTF-8 byte order
// mark at the very start is no part of the first line. Keys match without regard to letter
// case.

#include <cstddef>
#include <string_view>

namespace kestrova {

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

class IniLines {
  public:
    explicit IniLines(std::string_view content);
    // The next line, without its end; false after the last one. A final line without an
    // end counts; an empty content has no line.
    bool next(std::string_view& line);
    // The byte order mark the content started with; "" when none.
    std::string_view bom() const { return bom_; }

  private:
    std::string_view rest_;
    std::string_view bom_;
};

// The line begins with key (ASCII letters compared without case); a prefix match.
bool StartsWithKey(std::string_view line, std::string_view key);

// Everything after the first "=", or the whole line when there is none.
std::string_view ValueOfLine(std::string_view line);

// An entry the writer replaces: the line begins with key and its first "=" follows it.
bool IsEntryFor(std::string_view line, std::string_view key);

}  // namespace kestrova
