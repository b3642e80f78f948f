// The short texts inside stored values: number text, bracket and tick-row texts. Any text
// parses without harm; what the program writes parses back to the same value.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "core/NumberText.h"
#include "settings/StoredText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zavota;
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (auto number = ParseNumber(text); number && std::isfinite(*number)) {
        const auto again = ParseNumber(ShortestText(*number));
        FUZZ_CHECK(again && *again == *number);
    }
    for (auto kind : {FieldKind::WholeNumber, FieldKind::SignedWholeNumber, FieldKind::Decimal}) NormaliseOnChange(text, kind);
    ParseStoredDecimal(text);
    ParseStoredInteger(text);
    if (auto bracket = ParseBracket(text)) {
        const auto again = ParseBracket(BracketText(*bracket));
        // The text form keeps bounds and addition whole and rate and discount to four places.
        FUZZ_CHECK(again.has_value());
        FUZZ_CHECK(BracketText(*again) == BracketText(*bracket));
    }
    if (auto row = ParseUnitRow(text)) {
        const auto again = ParseUnitRow(UnitRowText(*row));
        FUZZ_CHECK(again.has_value());
        FUZZ_CHECK(UnitRowText(*again) == UnitRowText(*row));
    }
    return 0;
}
