// Just enough JSON writing for the command line's answers.
#pragma once

#include <string>
#include <string_view>

namespace zavota::cli {

// A quoted JSON string; UTF-8 passes through, control characters are escaped.
std::string JsonString(std::string_view text);

// Builds one JSON object member by member, in the order they are added.
class JsonObject {
public:
    JsonObject& Raw(std::string_view key, std::string_view json);
    JsonObject& String(std::string_view key, std::string_view value) { return Raw(key, JsonString(value)); }
    JsonObject& Number(std::string_view key, long long value) { return Raw(key, std::to_string(value)); }
    JsonObject& Bool(std::string_view key, bool value) { return Raw(key, value ? "true" : "false"); }
    std::string Text() const { return "{" + body_ + "}"; }

private:
    std::string body_;
};

}  // namespace zavota::cli
