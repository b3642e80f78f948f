#include "platform/Utf8.h"

namespace zavota::platform {

int Utf8Sequence(std::string_view s) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    int length = 0;
    unsigned char low = 0x80, high = 0xBF;  // range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return -1;
    }
    for (int i = 1; i < length; ++i) {
        const auto at = static_cast<std::size_t>(i);
        if (at >= s.size()) return -i;
        const unsigned char b = byte(at);
        if (i == 1 ? (b < low || b > high) : (b < 0x80 || b > 0xBF)) return -i;
    }
    return length;
}

bool DecodeUtf8(std::string_view s, std::size_t& i, char32_t& cp) {
    if (i >= s.size()) return false;
    const int n = Utf8Sequence(s.substr(i));
    if (n <= 0) return false;
    const auto lead = static_cast<unsigned char>(s[i]);
    cp = n == 1 ? lead : lead & (0x7F >> n);
    for (int k = 1; k < n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]) & 0x3F);
    i += static_cast<std::size_t>(n);
    return true;
}

bool ValidUtf8(std::string_view s) {
    while (!s.empty()) {
        const int n = Utf8Sequence(s);
        if (n <= 0) return false;
        s.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

RepairedText RepairUtf8(std::string_view s) {
    RepairedText result;
    result.text.reserve(s.size());
    while (!s.empty()) {
        const int n = Utf8Sequence(s);
        const auto take = static_cast<std::size_t>(n > 0 ? n : -n);
        if (n > 0) {
            result.text.append(s.substr(0, take));
        } else {
            result.text.append(kReplacementCharacter);
            result.damaged = true;
        }
        s.remove_prefix(take);
    }
    return result;
}

std::string Utf16LeFromUtf8(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size() * 2);
    auto unit = [&out](char32_t u) {
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>(u >> 8);
    };
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = 0xFFFD;
        if (!DecodeUtf8(utf8, i, cp)) {
            const int n = Utf8Sequence(utf8.substr(i));
            i += static_cast<std::size_t>(n > 0 ? n : -n);
            cp = 0xFFFD;
        }
        if (cp >= 0x10000) {
            unit(0xD800 + ((cp - 0x10000) >> 10));
            unit(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            unit(cp);
        }
    }
    return out;
}

RepairedText Utf8FromUtf16Le(std::string_view bytes) {
    RepairedText result;
    result.text.reserve(bytes.size());
    const std::size_t units = bytes.size() / 2;
    auto at = [&bytes](std::size_t k) {
        return static_cast<char32_t>(static_cast<unsigned char>(bytes[2 * k]) |
                                     static_cast<unsigned char>(bytes[2 * k + 1]) << 8);
    };
    for (std::size_t k = 0; k < units; ++k) {
        char32_t u = at(k);
        if (u >= 0xD800 && u <= 0xDBFF && k + 1 < units && at(k + 1) >= 0xDC00 && at(k + 1) <= 0xDFFF) {
            u = 0x10000 + ((u - 0xD800) << 10) + (at(k + 1) - 0xDC00);
            ++k;
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            u = 0xFFFD;
            result.damaged = true;
        }
        AppendUtf8(result.text, u);
    }
    if (bytes.size() % 2 != 0) {
        result.text.append(kReplacementCharacter);
        result.damaged = true;
    }
    return result;
}

}  // namespace zavota::platform
