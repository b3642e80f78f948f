#include "platform/Cp932.h"

#include <algorithm>
#include <cerrno>
#include <iterator>

#include <iconv.h>

#include "platform/Utf8.h"

namespace zavota::platform {

namespace {

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

bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

RepairedText DecodeCp932(std::string_view bytes) {
    RepairedText result;
    Converter converter("UTF-8", "CP932");
    if (!converter.ok()) return {std::string(kReplacementCharacter), true};
    result.text.reserve(bytes.size() + bytes.size() / 2);
    while (!converter.Convert(bytes, result.text)) {
        result.text.append(kReplacementCharacter);
        result.damaged = true;
        // A bad pair is dropped whole, so that its second byte cannot pass for "[", "\" or "]".
        const bool pair = bytes.size() >= 2 && IsLeadByte(static_cast<unsigned char>(bytes[0])) &&
                          IsTrailByte(static_cast<unsigned char>(bytes[1]));
        bytes.remove_prefix(pair ? 2 : 1);
    }
    return result;
}

// Marks a Japanese input method on Linux types in their Unicode forms, which Windows writes
// into code page 932 as the code page's own forms of the same marks (its best-fit mapping).
struct BestFit {
    std::string_view from;
    std::string_view to;
};
constexpr BestFit kBestFits[] = {
    {"\u301C", "\uFF5E"},  // wave dash → 0x8160
    {"\u2016", "\u2225"},  // double vertical line → 0x8161
    {"\u2212", "\uFF0D"},  // minus sign → 0x817C
    {"\u00A2", "\uFFE0"},  // cent sign → 0x8191
    {"\u00A3", "\uFFE1"},  // pound sign → 0x8192
    {"\u00AC", "\uFFE2"},  // not sign → 0x81CA
    {"\u2014", "\u2015"},  // em dash → 0x815C
};

}  // namespace

std::string WithBestFits(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    while (!utf8.empty()) {
        const auto fit = std::find_if(std::begin(kBestFits), std::end(kBestFits),
                                      [&](const BestFit& f) { return utf8.starts_with(f.from); });
        if (fit != std::end(kBestFits)) {
            out += fit->to;
            utf8.remove_prefix(fit->from.size());
        } else {
            out += utf8.front();
            utf8.remove_prefix(1);
        }
    }
    return out;
}

std::optional<std::string> ToCp932(std::string_view original) {
    if (RepairUtf8(original).damaged) return std::nullopt;
    const std::string utf8 = WithBestFits(original);
    Converter encoder("CP932", "UTF-8");
    std::string bytes;
    std::string_view rest = utf8;
    if (!encoder.Convert(rest, bytes)) return std::nullopt;
    // Beyond the best fits above, a character that does not decode to itself would change on
    // disk without a word; such a text is not stored this way.
    Converter decoder("UTF-8", "CP932");
    std::string back;
    std::string_view encoded = bytes;
    if (!decoder.Convert(encoded, back) || back != utf8) return std::nullopt;
    return bytes;
}

std::optional<std::string> FromCp932(std::string_view bytes) {
    RepairedText decoded = DecodeCp932(bytes);
    if (decoded.damaged) return std::nullopt;
    return std::move(decoded.text);
}

std::size_t Cp932Length(std::string_view original) {
    if (auto whole = ToCp932(original)) return whole->size();
    const std::string mapped = WithBestFits(original);
    std::string_view utf8 = mapped;
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

std::string EncodeForDisk(std::string_view text) {
    // A NUL would make the file read as damaged, and each later save keep one more copy aside.
    std::string utf8(text);
    std::erase(utf8, '\0');
    if (auto bytes = ToCp932(utf8)) return std::move(*bytes);
    // Broken UTF-8 cannot have been typed; storing it as such would only make the file read
    // as damaged next time.
    return std::string(kUtf8Bom) + RepairUtf8(utf8).text;
}

DecodedText DecodeFromDisk(std::string_view bytes) {
    RepairedText decoded;
    const bool utf16 = bytes.starts_with(kUtf16LeBom);
    if (utf16)
        decoded = Utf8FromUtf16Le(bytes.substr(kUtf16LeBom.size()));
    else if (bytes.starts_with(kUtf8Bom))
        decoded = RepairUtf8(bytes.substr(kUtf8Bom.size()));
    else
        decoded = DecodeCp932(bytes);
    const bool nul = utf16 ? decoded.text.find('\0') != std::string::npos : bytes.find('\0') != std::string_view::npos;
    return {std::move(decoded.text), decoded.damaged || nul, utf16};
}

}  // namespace zavota::platform
