// A private-profile (INI) file with the semantics of the Windows profile functions, as the memo,
// expense and commission table files need them.
//
// Reading: the whole file is decoded before it is parsed (a code page 932 second byte can be
// "[", "\" or "]"); CR, LF or CR LF end a line; lines are trimmed of ASCII white space; "["
// opens a section whose name runs to the last "]"; a key line splits at the first "=", both
// sides trimmed; ";" as the first character marks a comment; names compare case-insensitively
// (ASCII); the first of duplicate sections or keys wins; a value loses one matching pair of
// surrounding '"' or '\''. Files in UTF-16LE or UTF-8 after a byte-order mark are read too.
//
// Writing: a value that exists is replaced in place, a new key goes to the end of its section
// (after its last key line), a new section to the end of the file; an empty value is written
// "key=". Names and values are written as the Windows profile functions write them, so that
// both read them alike: names lose their outer white space, a value with outer white space or
// wrapped in quotes goes inside a pair of '"' (which reading takes off), and a line break, which
// no profile line can hold, becomes a space. Nothing else is changed: a TAB stays a TAB, and a
// name or value that looks like another line kind is written as it is; a NUL is left out.
// Lines are written with CR LF; the file is code page 932 when everything fits, else UTF-8
// after a byte-order mark; a file read in UTF-16LE (after its mark) is written back so. Every
// write replaces the file atomically and is on disk before it returns.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/FileIo.h"

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

    // The file was not valid code page 932 (or UTF-8 or UTF-16LE after a mark), held a NUL or was too
    // large. Whatever could be read is available; the file is kept aside before the first write
    // replaces it.
    bool Damaged() const { return damaged_; }

    // Section names in file order, each once, comment lines skipped.
    std::vector<std::string> Sections();
    // Key names of a section in file order, skipping comments and lines without "=".
    // An absent section gives an empty list.
    std::vector<std::string> Keys(std::string_view section);
    // Every section in file order (each name once) with the value its first block gives `key`,
    // nullopt where it has none: what Read would give for each, in one pass over the file.
    std::vector<std::pair<std::string, std::optional<std::string>>> ValuesOf(std::string_view key);
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

    // The file holds exactly these entries afterwards, in this order (no entries: an empty
    // file), put on disk in one replace; a damaged file is kept aside first. False when the file
    // could not be written; disk and memory are then unchanged.
    bool ReplaceAll(const std::vector<ProfileEntry>& entries);

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
    bool utf16_ = false;     // the file is UTF-16LE after a mark and is written back so
    // Identity of the file content last read, to notice changes by other processes.
    FileStamp stamp_{};
    std::vector<std::string> lines_;  // decoded lines, without line ends
};

}  // namespace zavota::platform
