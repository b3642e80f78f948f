#include "platform/Cp932.h"

#include <cerrno>

#include <iconv.h>

namespace zavota::platform {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// One iconv descriptor; they are not safe to share between threads, so each call opens its own.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(::iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) ::iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts from the front of `in` and appends to `out`; stops at the end or at the first
    // byte that does not convert, which stays at the front of `in`. True when all of it converted.
    bool Convert(std::string_view& in, std::string& out) {
        if (!ok()) return false;
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        bool done = true;
        while (srcLeft > 0) {
            char buffer[4096];
            char* dst = buffer;
            std::size_t dstLeft = sizeof buffer;
            std::size_t r = ::iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer, static_cast<std::size_t>(dst - buffer));
            if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
                done = false;
                break;
            }
        }
        in = std::string_view(src, srcLeft);
        return done;
    }

private:
    iconv_t cd_;
};

// The length of the UTF-8 sequence at the front of `s` when it is a valid one (overlong forms,
// surrogates and code points above U+10FFFF are not); otherwise the negated length of its
// longest valid-looking start, which is what one replacement character stands for.
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

struct Repaired {
    std::string text;
    bool damaged = false;
};

Repaired RepairUtf8(std::string_view s) {
    Repaired result;
    result.text.reserve(s.size());
    while (!s.empty()) {
        const int n = Utf8Sequence(s);
        const auto take = static_cast<std::size_t>(n > 0 ? n : -n);
        if (n > 0) {
            result.text.append(s.substr(0, take));
        } else {
            result.text.append(kReplacement);
            result.damaged = true;
        }
        s.remove_prefix(take);
    }
    return result;
}

bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

Repaired DecodeCp932(std::string_view bytes) {
    Repaired result;
    Converter converter("UTF-8", "CP932");
    if (!converter.ok()) return {std::string(kReplacement), true};
    result.text.reserve(bytes.size() + bytes.size() / 2);
    while (!converter.Convert(bytes, result.text)) {
        result.text.append(kReplacement);
        result.damaged = true;
        // A bad pair is dropped whole, so that its second byte cannot pass for "[", "\" or "]".
        const bool pair = bytes.size() >= 2 && IsLeadByte(static_cast<unsigned char>(bytes[0])) &&
                          IsTrailByte(static_cast<unsigned char>(bytes[1]));
        bytes.remove_prefix(pair ? 2 : 1);
    }
    return result;
}

}  // namespace

std::optional<std::string> ToCp932(std::string_view utf8) {
    if (RepairUtf8(utf8).damaged) return std::nullopt;
    Converter encoder("CP932", "UTF-8");
    std::string bytes;
    std::string_view rest = utf8;
    if (!encoder.Convert(rest, bytes)) return std::nullopt;
    // Several characters share one code (U+301C and U+FF5E both become 0x8160); only a text
    // that decodes to itself is safe to store this way.
    Converter decoder("UTF-8", "CP932");
    std::string back;
    std::string_view encoded = bytes;
    if (!decoder.Convert(encoded, back) || back != utf8) return std::nullopt;
    return bytes;
}

std::optional<std::string> FromCp932(std::string_view bytes) {
    Repaired decoded = DecodeCp932(bytes);
    if (decoded.damaged) return std::nullopt;
    return std::move(decoded.text);
}

std::size_t Cp932Length(std::string_view utf8) {
    if (auto whole = ToCp932(utf8)) return whole->size();
    Converter encoder("CP932", "UTF-8");
    Converter decoder("UTF-8", "CP932");
    std::size_t total = 0;
    while (!utf8.empty()) {
        const int n = Utf8Sequence(utf8);
        const auto length = static_cast<std::size_t>(n > 0 ? n : -n);
        const std::string_view character = utf8.substr(0, length);
        utf8.remove_prefix(length);
        std::string bytes, back;
        std::string_view in = character;
        if (n > 0 && encoder.Convert(in, bytes)) {
            std::string_view encoded = bytes;
            if (decoder.Convert(encoded, back) && back == character) {
                total += bytes.size();
                continue;
            }
        }
        total += length;
    }
    return total;
}

std::string EncodeForDisk(std::string_view utf8) {
    if (auto bytes = ToCp932(utf8)) return std::move(*bytes);
    // Broken UTF-8 cannot have been typed; storing it as such would only make the file read
    // as damaged next time.
    return std::string(kUtf8Bom) + RepairUtf8(utf8).text;
}

DecodedText DecodeFromDisk(std::string_view bytes) {
    Repaired decoded;
    if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom)
        decoded = RepairUtf8(bytes.substr(kUtf8Bom.size()));
    else
        decoded = DecodeCp932(bytes);
    const bool nul = bytes.find('\0') != std::string_view::npos;
    return {std::move(decoded.text), decoded.damaged || nul};
}

}  // namespace zavota::platform
