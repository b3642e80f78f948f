// A private-profile (INI) file with the semantics of the Windows profile functions, as the memo,
// expense and commission table files need them.
//
// Reading: the whole file is decoded before it is parsed (a code page 932 second byte can be
// "[", "\" or "]"); CR, LF or CR LF end a line; lines are trimmed of ASCII white space; "["
// opens a section whose name runs to the last "]"; a key line splits at the first "=", both
// sides trimmed; ";" as the first character marks a comment; names compare case-insensitively
// (ASCII); the first of duplicate sections or keys wins; a value loses one matching pair of
// surrounding '"' or '\''.
//
// Writing: a value that exists is replaced in place, a new key goes to the end of its section
// (after its last key line), a new section to the end of the file; an empty value is written
// "key=". Lines are written with CR LF; the file is code page 932 when everything fits, else
// UTF-8 after a byte-order mark. Every write replaces the file atomically and is on disk
// before it returns.
//
// Texts the format cannot carry as they stand are stored so that they read back exactly and
// can never open a section or a key: a value with leading or trailing white space, or one that
// is wrapped in matching quotes, is written inside a pair of '"' (which Windows strips too); a
// value, key or section name holding a control character (CR, LF, TAB, …), a key name holding
// "=" or starting with ";" or "[", a section name holding "]" followed by anything, or any
// name with leading or trailing white space, is written in the escaped form: the prefix "\:"
// followed by the text with "\" doubled and each control character as "\r", "\n", "\t" or
// "\xHH"; "=" in a key name, "]" in a section name and trailing spaces become "\xHH" too, so
// that neither the split at "=", nor the last "]", nor trimming can cut the text. A text that
// itself starts with "\:" is escaped the same way, so reading is unambiguous.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zavota::platform {

// One value of a batch write.
struct ProfileEntry {
    std::string section;
    std::string key;
    std::string value;
};

class ProfileFile {
public:
    explicit ProfileFile(std::string path);

    const std::string& Path() const { return path_; }

    // Reads the file again when it changed on disk since it was last read (or was never read).
    // A missing file is an empty profile. False when the file exists but cannot be read; the
    // profile is then empty.
    bool Refresh();

    // The file was not valid code page 932 (or UTF-8 after a mark), held a NUL byte or was too
    // large. Whatever could be read is available; the file is kept aside before the first write
    // replaces it.
    bool Damaged() const { return damaged_; }

    // Section names in file order, each once, comment lines skipped.
    std::vector<std::string> Sections();
    // Key names of a section in file order, skipping comments and lines without "=".
    // An absent section gives an empty list.
    std::vector<std::string> Keys(std::string_view section);
    // The value, or nullopt when the section or the key is absent.
    std::optional<std::string> Read(std::string_view section, std::string_view key);
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view fallback);

    // Writes one value and puts the whole file on disk before returning. False when the file
    // could not be written; the file on disk and the profile in memory are then unchanged.
    bool Write(std::string_view section, std::string_view key, std::string_view value);

    // Writes every entry, in order, as Write would, and puts the file on disk once: a kill or a
    // failure leaves the file as it was before or as it is after all of them, never between.
    // False when the file could not be written; disk and memory are then unchanged.
    bool WriteBatch(const std::vector<ProfileEntry>& entries);

    // Puts the profile on disk as it is (creating the file when absent). False on failure.
    bool Flush();

private:
    // Puts the lines on disk, keeping a damaged file aside first; memory follows only on success.
    bool Store(std::vector<std::string> lines);

    std::string path_;
    bool damaged_ = false;
    bool loaded_ = false;
    bool readable_ = true;   // false while the file exists but cannot be read: no write may replace it
    bool tooLarge_ = false;  // the file was not read at all
    // Identity of the file content last read, to notice changes by other processes.
    long long stamp_[4] = {0, 0, 0, 0};
    std::vector<std::string> lines_;  // decoded lines, without line ends
};

}  // namespace zavota::platform
