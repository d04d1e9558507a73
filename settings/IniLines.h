#pragma once
// Lines and entries of the settings file. A line ends at CR LF or at a lone CR; a lone LF
// is an ordinary character of the line. Keys match without regard to letter case.

#include <cstddef>
#include <string_view>

namespace kestrova {

class IniLines {
  public:
    explicit IniLines(std::string_view content) : rest_(content) {}
    // The next line, without its end; false after the last one. A final line without an
    // end counts; an empty content has no line.
    bool next(std::string_view& line);

  private:
    std::string_view rest_;
};

// The line begins with key (ASCII letters compared without case); a prefix match.
bool StartsWithKey(std::string_view line, std::string_view key);

// Everything after the first "=", or the whole line when there is none.
std::string_view ValueOfLine(std::string_view line);

// An entry the writer replaces: the line begins with key and its first "=" follows it.
bool IsEntryFor(std::string_view line, std::string_view key);

}  // namespace kestrova
