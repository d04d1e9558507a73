#pragma once
// An output file in memory that can refuse to open or fill up like a disk, and a local clock
// the test sets by hand.

#include <cstdint>
#include <limits>
#include <string>

#include "core/Clock.h"
#include "output/OutputFile.h"

namespace kestrova::testing {

class MemoryFile : public OutputFile {
  public:
    bool open(const std::string&, bool append, std::uint64_t& existing) override {
        ++opens;
        if (refuseOpen) {
            return false;
        }
        if (!append) {
            content.clear();
        }
        existing = content.size();
        isOpen = true;
        return true;
    }
    // Takes what fits under `capacity`, as a full disk does, and fails if that is not all.
    bool write(std::string_view data) override {
        ++writes;
        if (!isOpen) {
            return false;
        }
        const std::size_t room = capacity > content.size() ? capacity - content.size() : 0;
        content.append(data.substr(0, room));
        return data.size() <= room;
    }
    void close() override { isOpen = false; }
    std::string reason() const override { return "No space left on device"; }

    std::string content;
    std::size_t capacity = std::numeric_limits<std::size_t>::max();
    bool refuseOpen = false;
    bool isOpen = false;
    int opens = 0;
    int writes = 0;
};

struct HandLocalClock : LocalClock {
    LocalTime now() const override { return t; }
    LocalTime t{2024, 5, 1, 14, 3, 7, 123};
};

}  // namespace kestrova::testing
