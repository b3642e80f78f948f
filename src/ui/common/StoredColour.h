// Colours as the settings keep them: 0x00BBGGRR.
#pragma once

#include <cstdint>

#include <QColor>

namespace zavota::ui {

inline QColor FromStoredColour(std::uint32_t value) {
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

inline std::uint32_t ToStoredColour(QColor colour) {
    return static_cast<std::uint32_t>(colour.red()) | static_cast<std::uint32_t>(colour.green()) << 8 |
           static_cast<std::uint32_t>(colour.blue()) << 16;
}

}  // namespace zavota::ui
