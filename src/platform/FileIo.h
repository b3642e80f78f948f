// Whole-file reading and writing with the guarantees every store of the program relies on:
// a write is on disk before it returns, and a crash never leaves a torn file.
#pragma once
#include <array>
#include <cstddef>
#include <functional>
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
// folder. Any failure returns false (errno tells why), removes the temporary file and leaves the
// old file intact; only a failed fsync of the folder comes after the rename, and it is reported
// all the same, since the new file may not survive a crash. A file without any write permission
// is refused (EACCES), as Windows refuses a read-only file, and so is a FIFO, socket or device
// (EINVAL). A new file gets mode 0644 (less the
// umask); an existing file keeps its mode. A symbolic link stays as it is: the file it leads to
// is replaced, in that file's folder. The temporary file is ".<name>.zavota-XXXXXX" beside the
// file replaced; those of this one file that saves killed before this process started are
// removed first, and nothing else is.
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes);

// The file a save of `path` replaces: `path` itself, or the end of its chain of symbolic links
// (which need not exist yet). Empty, with errno ELOOP, for a loop of links.
std::string SaveTarget(const std::string& path);

// What tells one version of a file from another (device, inode, size, modification time): a
// replacement is a new inode, an edit in place changes the size or the time. All zero for a
// missing file. Links are followed.
using FileStamp = std::array<long long, 4>;
FileStamp StampOf(const std::string& path);

// Something that exists and is neither a regular file nor a folder (a FIFO, socket or device):
// never read, written through or replaced.
bool IsSpecialFile(const std::string& path);

// A file that exists and may not be written (no write permission at all, or none for us).
bool IsReadOnlyFile(const std::string& path);

// The steps of the file operations above, where a test can make one fail or stop the process.
enum class FileStep { Create, Write, Sync, Close, Rename, SyncFolder, Link, Unlink };
// Test seam: called before each step with the path it concerns; a non-zero result fails the
// step with that errno value; at a Write step, kWroteNothing makes write() return 0. An empty
// hook (the default) lets every step run.
using FileStepHook = std::function<int(FileStep step, const std::string& path)>;
void SetFileStepHook(FileStepHook hook);
inline constexpr int kWroteNothing = -1;

// Renames a damaged file out of the way, to "<path>.damaged-YYYYMMDD-HHMMSS" (with "-2", "-3", …
// when that exists). Returns the new path, or an empty text when nothing was renamed.
std::string KeepAside(const std::string& path);

// "<path>.<why>-YYYYMMDD-HHMMSS" in local time, with "-2", "-3", … for the n-th try: the name
// a file set aside is given, so that neither it nor an earlier one is overwritten.
std::string StampedName(const std::string& path, const char* why, int n);

// Links (or copies) the file a save of `path` replaces to the name KeepAside gives, leaving it
// in place. Returns the new path, or an empty text when no copy was made.
std::string CopyAside(const std::string& path);

// Replaces a damaged file as ReplaceFileAtomically does, after linking (or copying) it aside
// under the name KeepAside gives, so that `path` holds the old or the new file at every moment;
// when the replace fails before the rename, the copy aside is removed again. A read-only file
// is refused before anything is copied.
bool ReplaceDamagedFile(const std::string& path, std::string_view bytes);

// The last file operation of this thread that failed, as Windows keeps GetLastError: the path it
// concerned and the errno value. Set by a read that fails (not for a missing file), the
// replaces, EnsureFolder, RemoveFile (not for a file already gone) and RenameFile; never
// cleared by a success.
struct FileFailure {
    std::string path;
    int error = 0;
};
FileFailure LastFileFailure();
void ClearFileFailure();
// "<path>: <the system's text for the error>", what a failure report names; empty for none.
std::string DescribeFailure(const FileFailure& failure);

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
