// Whole-file reading and writing with the guarantees every store of the program relies on:
// a write is on disk before it returns, and a crash never leaves a torn file.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace zavota::platform {

// Files larger than this are not read: they cannot be anything the program wrote.
inline constexpr std::size_t kMaxFileBytes = 32u * 1024u * 1024u;

enum class ReadStatus { Ok, Missing, Failed, TooLarge };
struct FileContent {
    ReadStatus status = ReadStatus::Missing;
    std::string bytes;  // only with Ok
};
FileContent ReadFileBytes(const std::string& path, std::size_t limit = kMaxFileBytes);

// Writes a temporary file in the same folder, fsyncs it, renames it over `path` and fsyncs the
// folder. Any failure returns false, removes the temporary file and leaves the old file intact.
// A new file gets mode 0644 (less the umask); an existing file keeps its mode.
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes);

// Renames a damaged file out of the way, to "<path>.damaged-YYYYMMDD-HHMMSS" (with "-2", "-3", …
// when that exists). Returns the new path, or an empty text when nothing was renamed.
std::string KeepAside(const std::string& path);

bool FileExists(const std::string& path);    // a regular file
bool FolderExists(const std::string& path);  // a directory
// Creates the folder and its missing parents; true when it exists afterwards.
bool EnsureFolder(const std::string& path);
// Deletes a file; false when it did not exist or could not be deleted.
bool RemoveFile(const std::string& path);
// Renames a file (replacing the target) and fsyncs the folder; false on failure.
bool RenameFile(const std::string& from, const std::string& to);
// The folder part of a path with a trailing "/", "./" when there is none.
std::string FolderOf(const std::string& path);

}  // namespace zavota::platform
