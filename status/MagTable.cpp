#include "status/MagTable.h"

#include <cmath>
#include <cstdint>

namespace kestrova {

void CreateTables(Station& st) {
    for (std::size_t x = 0; x < st.bearing.MagTable.size(); ++x) {
        for (std::size_t y = 0; y < st.bearing.MagTable[x].size(); ++y) {
            // At most 100^2 + 100^2 = 20000, within 16 bits; the root of a whole number is
            // never exactly halfway, so rounding has no ties.
            const auto sum = static_cast<std::int16_t>(x * x + y * y);
            st.bearing.MagTable[x][y] =
                static_cast<std::uint8_t>(std::lround(std::sqrt(static_cast<double>(sum))));
        }
    }
}

}  // namespace kestrova
