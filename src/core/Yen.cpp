#include "Yen.h"

#include <cmath>
#include <limits>

namespace zavota {

Yen Yen::FromDouble(double value) {
    if (std::isnan(value)) return Yen{0};
    // nearbyint rounds in the current mode, which is to-nearest-even unless someone changed it.
    const double scaled = std::nearbyint(value * static_cast<double>(kScale));
    constexpr double kLimit = 9223372036854775807.0;  // rounds to 2^63 as a double
    if (scaled >= kLimit) return Yen{std::numeric_limits<std::int64_t>::max()};
    if (scaled <= -kLimit) return Yen{std::numeric_limits<std::int64_t>::min()};
    return Yen{static_cast<std::int64_t>(scaled)};
}

}  // namespace zavota
