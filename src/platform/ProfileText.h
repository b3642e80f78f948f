// The line-level rules of private-profile files, kept apart from the file handling so that
// ProfileFile is only about when to read and write. See ProfileFile.h for the rules.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace zavota::platform::profile {

// CR, LF and CR LF each end a line; a last line without an end still counts.
std::vector<std::string> SplitLines(std::string_view text);
// Every line followed by CR LF.
std::string JoinLines(const std::vector<std::string>& lines);

enum class LineKind { Blank, Comment, Section, Key, Other };
struct Line {
    LineKind kind = LineKind::Blank;
    std::string_view name;   // section or key name as it stands in the file, trimmed
    std::string_view value;  // key lines: the text after "=", trimmed, quotes still on
};
Line ParseLine(std::string_view line);

// ASCII case-insensitive equality, as the profile functions compare names; names that share one
// code page 932 form are equal too.
bool SameName(std::string_view a, std::string_view b);

// Stored form to text: a name as it stands, a value without one pair of surrounding quotes.
std::string NameFromFile(std::string_view stored);
std::string ValueFromFile(std::string_view stored);

// Text to stored form, as the Windows profile functions store it: a line break becomes a
// space; a name loses its outer white space; a value with outer white space or wrapped in
// quotes is put inside a pair of '"', which reading (ours and Windows') takes off again.
std::string NameToFile(std::string_view name);
std::string ValueToFile(std::string_view value);

}  // namespace zavota::platform::profile
