// The records the settings store loads and saves: the main window's options, positions and
// colours, and the clipboard item choice. Tax settings and the tables are the core's own types.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/CalcState.h"
#include "core/MarginTable.h"
#include "core/TaxSettings.h"
#include "core/UnitTable.h"

namespace zavota {

inline constexpr const char* kDefaultWord = "ここのメッセージは（各種設定）→「起動時」で変更できます";
inline constexpr const char* kDefaultFontName = "ＭＳ ゴシック";

// Trade kinds as the pages store them.
inline constexpr int kTradeCash = 1;
inline constexpr int kTradeMargin = 3;

struct OptionSettings {
    int WordShow = 1;
    std::string Word = kDefaultWord;
    std::string FontName = kDefaultFontName;
    int WordYearGain = 0;
    int DefaultShow = 0;
    int TopMost = 0;
    int ShowMemo = 0;
    int TaxTypeK = kTradeCash;
    int TaxTypeU = kTradeCash;
    int MarginIndexK = 0;
    int MarginIndexU = 0;
    int MiniFlagK = 0;
    int MiniFlagU = 0;
    double MiniK = 0;
    double MiniU = 0;
    int TenFlagK = 0;
    int TenFlagU = 0;
    int TwoFlag = 0;
    int MarginIndex2K = 0;
    int MarginIndex2U = 0;
    std::string MarginPath;

    bool operator==(const OptionSettings&) const = default;
};

struct WindowPosition {
    int x = 0;
    int y = 0;
    bool operator==(const WindowPosition&) const = default;
};

// A position as the registry holds it: X·65536 + Y in 32 bits. Decoding keeps the stored
// rule (X = value / 65536 toward zero, Y the rest); encoding clamps both coordinates into
// their 16-bit halves, so a window above or left of the screen cannot spill into the other one.
WindowPosition DecodePosition(std::int32_t value);
std::int32_t EncodePosition(WindowPosition position);

// The thirteen screen colours, in the order they are read and written; 0x00BBGGRR.
enum class Colour {
    KaiPanel, UriPanel, KaiPanelChar, UriPanelChar, KaiResult, UriResult, GetResult,
    ResultChar, ResultLine, Marker, MarkerChar, MinusChar, MemoPanel,
};
inline constexpr int kColourCount = 13;
std::string_view ColourName(int index);  // the registry value name
std::uint32_t DefaultColour(int index);

struct DisplaySettings {
    static constexpr WindowPosition kDefaultXY{10, 20};
    static constexpr WindowPosition kDefaultMXY{200, 60};
    static constexpr WindowPosition kDefaultKXY{400, 180};

    WindowPosition XY = kDefaultXY;    // the main and the slim window
    WindowPosition MXY = kDefaultMXY;  // the memo pad
    bool MXYStored = false;            // MXY came from the settings file or a closing of the pad
    WindowPosition KXY = kDefaultKXY;  // the other-expenses dialog
    std::array<std::uint32_t, kColourCount> colours{};

    DisplaySettings() { ResetColours(); }
    std::uint32_t& operator[](Colour c) { return colours[static_cast<int>(c)]; }
    std::uint32_t operator[](Colour c) const { return colours[static_cast<int>(c)]; }
    // "初期値に戻す" of the colour page; writes nothing.
    void ResetColours();
    bool operator==(const DisplaySettings&) const = default;
};

// The nineteen clipboard items, 1 = copied, in the order they are read and written.
inline constexpr int kClipboardItemCount = 19;
std::string_view ClipboardItemName(int index);  // the registry value name
int DefaultClipboardItem(int index);

struct ClipboardItems {
    std::array<int, kClipboardItemCount> flags{};
    ClipboardItems() { Reset(); }
    // "初期値に戻す" of the clipboard dialog; writes nothing.
    void Reset();
    bool operator==(const ClipboardItems&) const = default;
};

// The records the store keeps besides those of the calculation.
struct ProgramSettings {
    OptionSettings option;
    DisplaySettings display;
    ClipboardItems clipboard;
};

// What the settings store loads into and saves from; it owns none of it.
struct SettingsBinding {
    OptionSettings& option;
    DisplaySettings& display;
    ClipboardItems& clipboard;
    TaxSettings& tax;
    UnitTable& listed;
    UnitTable& otc;
    MarginTableSet& tables;
};

// The program's records bound together with the tax settings and tables of the calculation.
SettingsBinding BindSettings(ProgramSettings& program, CalcState& calc);

}  // namespace zavota
