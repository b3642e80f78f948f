// Colours as the settings keep them: 0x00BBGGRR.
#pragma once

#include <cstdint>

#include <QColor>

namespace zavota::ui {

inline QColor FromStoredColour(std::uint32_t value) {
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

}  // namespace zavota::ui
