#include "full_table.h"

namespace zavota_bench {

using zavota::Yen;

zavota::MarginTable FullTable(bool openEnded) {
    zavota::MarginTable t;
    t.inUse = true;
    t.Name = "bench-80";
    t.ElementsK = t.ElementsU = zavota::kMaxBrackets;
    for (int i = 0; i < zavota::kMaxBrackets; ++i) {
        const zavota::MarginBracket b{
            Yen::FromInt(i * kBracketWidth),
            Yen::FromInt((i + 1) * kBracketWidth),
            Yen::FromRaw(1'000 + 50 * i),    // 0.1000 % rising by 0.0050 % a bracket
            Yen::FromInt(100 + 10 * i),
            Yen::FromRaw(15'000 * (i % 5)),  // 0 %, 1.5 %, 3 %, 4.5 %, 6 %
        };
        t.bracketsK[i] = b;
        t.bracketsU[i] = b;
    }
    if (openEnded) {
        t.bracketsK[zavota::kMaxBrackets - 1].high = Yen::FromInt(9'999'999'999LL);
        t.bracketsU[zavota::kMaxBrackets - 1].high = Yen::FromInt(9'999'999'999LL);
    }
    t.LowLimitK = t.LowLimitU = Yen::FromInt(100);
    t.HighLimitK = t.HighLimitU = Yen::FromInt(500'000);
    return t;
}

}  // namespace zavota_bench
