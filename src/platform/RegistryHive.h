// The current user's registry hive, kept as one ".reg" text file that regedit would import:
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\Software\Orvane\Vekkar\Option]
//   "WordShow"=dword:00000001
//   "Word"="text with \\ and \" escaped"
//   "YearGain"=hex:00,00,00,00,00,00,00,00
//
// Key paths are given below HKEY_CURRENT_USER ("Software\\Orvane\\Vekkar\\Option") and compare
// case-insensitively (ASCII); a key keeps the spelling it was created with. Values keep their
// kind; reading a value as another kind finds nothing, like the registry's typed reads.
//
// The file is written as regedit exports it: UTF-16LE after a byte-order mark, CR LF lines,
// so that regedit imports every Japanese text intact. It is read in that form, in UTF-8 with or
// without a mark (what earlier versions wrote), and in the ANSI "REGEDIT4" form (code page 932),
// so that a user's own export loads as it is. A string holding a control character is written as
// hex(1): (its UTF-16LE bytes with the terminating zero, regedit's own form for such strings),
// so a line break can never end the line or open a key. Values of kinds the program does not
// use (hex(2):, hex(7):, hex(b):, …) and keys under other roots are kept and written back as
// they were. Reading accepts "\" line continuations, ";" comments, blank lines, "@" for the
// default value, and "[-key]" / "name"=- deletions.
//
// Each save of the settings store runs Reload, its writes and Commit under the named mutex, so
// instances merge at the value level as they would in the real registry.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileIo.h"

namespace zavota::platform {

class RegistryHive {
public:
    explicit RegistryHive(std::string path);
    ~RegistryHive();
    RegistryHive(const RegistryHive&) = delete;
    RegistryHive& operator=(const RegistryHive&) = delete;

    const std::string& Path() const { return path_; }

    // Reads the file again. A missing file is an empty hive. A file that does not parse (no
    // header, a line that is not a key, value, comment or blank, invalid UTF-8, a NUL byte, too
    // large) gives whatever lines could be read and marks the hive damaged; a file without the
    // header gives an empty hive.
    void Reload();
    bool Damaged() const { return damaged_; }
    // The file exists but could not be read at all (no permission, a folder or a FIFO in its
    // place): the hive is empty and Commit refuses to replace what it never saw.
    bool Unreadable() const;

    // Writes the whole hive: a damaged file is first kept aside (ReplaceDamagedFile), then the new text
    // replaces the file atomically; the folder is created when missing. False on any failure,
    // with the old file intact.
    bool Commit();

    // After a Reload that found the file damaged: links (or copies) it aside under the name
    // KeepAside gives, leaving it in place, so that the user can be told where it is before any
    // save; the next Commit then replaces it without a second copy. Returns the copy's path,
    // or an empty text when the hive is not damaged, the file changed since it was read, or no
    // copy could be made.
    std::string KeepDamagedCopy();

    bool KeyExists(std::string_view path) const;
    // Creates the key and its missing parents; existing keys are untouched.
    void CreateKey(std::string_view path);
    // Deletes the key with all its subkeys and values; an absent key is not an error.
    void DeleteKey(std::string_view path);
    // Names of the direct subkeys and of the values of a key, in the order they are held.
    std::vector<std::string> SubkeyNames(std::string_view path) const;
    std::vector<std::string> ValueNames(std::string_view path) const;

    // Typed reads: nullopt when the key or the value is absent or the value has another kind.
    std::optional<std::int32_t> ReadInteger(std::string_view path, std::string_view name) const;
    std::optional<std::string> ReadString(std::string_view path, std::string_view name) const;
    std::optional<std::string> ReadBinary(std::string_view path, std::string_view name) const;
    // A binary value of exactly 8 bytes read as a little-endian IEEE-754 double.
    std::optional<double> ReadReal(std::string_view path, std::string_view name) const;

    // Typed writes; the key is created when absent and a value of the same name (any kind) is
    // replaced in place, a new value goes last. False (nothing written) for a key path or a
    // value name that the format cannot hold (empty path component, control characters).
    bool WriteInteger(std::string_view path, std::string_view name, std::int32_t value);
    bool WriteString(std::string_view path, std::string_view name, std::string_view value);
    bool WriteBinary(std::string_view path, std::string_view name, std::string_view bytes);
    bool WriteReal(std::string_view path, std::string_view name, double value);

    // The text of the hive as it is in memory (UTF-8; the file holds it in UTF-16LE), and the
    // parse of a file's bytes in any form it is read in; exposed for tests and benchmarks.
    std::string Serialise() const;
    // Replaces the content with a parse of `bytes`; returns false when they are damaged (what
    // could be read is kept, as Reload does).
    bool Parse(std::string_view bytes);

private:
    struct Model;
    std::string path_;
    bool damaged_ = false;
    FileStamp loadedStamp_{};  // the file as the last Reload found it
    FileStamp keptStamp_{};    // the damaged file KeepDamagedCopy kept aside
    std::unique_ptr<Model> model_;
};

}  // namespace zavota::platform
