#include "settings/SettingsData.h"

#include <algorithm>

namespace zavota {

namespace {

struct NamedDefault {
    const char* name;
    std::uint32_t value;
};

constexpr std::array<NamedDefault, kColourCount> kColours{{
    {"KaiPanel", 0x800000},  // navy
    {"UriPanel", 0x008000},  // green
    {"KaiPanelChar", 0xFFFFFF},
    {"UriPanelChar", 0xFFFFFF},
    {"KaiResult", 0x00FFFF},  // yellow
    {"UriResult", 0xFF00FF},  // fuchsia
    {"GetResult", 0xFFFFFF},
    {"ResultChar", 0x000000},
    {"ResultLine", 0xFF0000},  // blue
    {"Marker", 0x00FF00},      // lime
    {"MarkerChar", 0x000000},
    {"MinusChar", 0x0000FF},  // red
    {"MemoPanel", 0xFFFF00},  // aqua
}};

constexpr std::array<NamedDefault, kClipboardItemCount> kClipboardItems{{
    {"GakuK", 1}, {"NumK", 1}, {"YakuteiK", 0}, {"MarginK", 0}, {"SZeiK", 0}, {"TotalK", 1},
    {"PayK", 0}, {"GakuU", 1}, {"NumU", 1}, {"YakuteiU", 0}, {"MarginU", 0}, {"SZeiU", 0},
    {"TotalU", 1}, {"PayU", 0}, {"ResultM", 0}, {"ResultKeihi", 0}, {"ResultTax", 0},
    {"ResultLast", 1}, {"ResultR", 1},
}};

constexpr std::int32_t kHalf = 65536;

}  // namespace

WindowPosition DecodePosition(std::int32_t value) {
    const std::int32_t x = value / kHalf;
    return {x, value - x * kHalf};
}

std::int32_t EncodePosition(WindowPosition p) {
    const std::int32_t x = std::clamp(p.x, 0, 32767);
    const std::int32_t y = std::clamp(p.y, 0, kHalf - 1);
    return x * kHalf + y;
}

std::string_view ColourName(int index) { return kColours[static_cast<std::size_t>(index)].name; }
std::uint32_t DefaultColour(int index) { return kColours[static_cast<std::size_t>(index)].value; }

void DisplaySettings::ResetColours() {
    for (int i = 0; i < kColourCount; ++i) colours[static_cast<std::size_t>(i)] = DefaultColour(i);
}

std::string_view ClipboardItemName(int index) {
    return kClipboardItems[static_cast<std::size_t>(index)].name;
}
int DefaultClipboardItem(int index) {
    return static_cast<int>(kClipboardItems[static_cast<std::size_t>(index)].value);
}

void ClipboardItems::Reset() {
    for (int i = 0; i < kClipboardItemCount; ++i)
        flags[static_cast<std::size_t>(i)] = DefaultClipboardItem(i);
}

SettingsBinding BindSettings(ProgramSettings& p, CalcState& calc) {
    return {p.option, p.display, p.clipboard, calc.tax, calc.listedTicks, calc.otcTicks, calc.tables};
}

}  // namespace zavota
