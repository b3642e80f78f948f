#include "Handover.h"

#include "NumberText.h"

namespace zavota {

double HandoverNumber(std::string_view text) {
    const std::optional<double> v = ParseNumber(TrimAscii(text));
    return v ? *v : 0.0;
}

void HandOverFromMainPage(WindowHandover& h, Page page, const MainPageTexts& t) {
    h.shares = HandoverNumber(t.shares);
    const bool otherEmpty = TrimAscii(t.r1).empty();
    if (page == Page::Buy) {
        h.buyPrice = HandoverNumber(t.price);
        h.sellPrice = otherEmpty ? h.buyPrice + HandoverNumber(t.r2) : HandoverNumber(t.r1);
    } else {
        h.sellPrice = HandoverNumber(t.price);
        h.buyPrice = otherEmpty ? h.sellPrice - HandoverNumber(t.r2) : HandoverNumber(t.r1);
    }
}

void HandOverFromSlim(WindowHandover& h, bool& buyPageFlag, std::string_view buyPrice, std::string_view shares,
                      std::string_view sellPrice) {
    h.buyPrice = HandoverNumber(buyPrice);
    h.shares = HandoverNumber(shares);
    h.sellPrice = HandoverNumber(sellPrice);
    if (h.buyPrice == 0 && h.shares != 0 && h.sellPrice != 0) {
        h.side = 1;
        buyPageFlag = false;
    } else if (h.buyPrice != 0 && h.shares != 0 && h.sellPrice == 0) {
        h.side = 0;
        buyPageFlag = true;
    }
}

std::string HandoverText(double value) { return value != 0 ? ShortestText(value) : std::string(); }

bool HandoverCalculates(const WindowHandover& h) {
    return h.shares != 0 && (h.buyPrice != 0 || h.sellPrice != 0);
}

MainPageFill MainPageFromHandover(const WindowHandover& h, Page page) {
    if (page == Page::Buy) return {HandoverText(h.buyPrice), HandoverText(h.shares), HandoverText(h.sellPrice)};
    return {HandoverText(h.sellPrice), HandoverText(h.shares), HandoverText(h.buyPrice)};
}

}  // namespace zavota
