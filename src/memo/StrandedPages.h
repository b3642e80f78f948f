// Memo pages that builds older than the portable-marker rule kept in Data/ beside an installed
// executable (/usr/bin as root, ~/.local/bin): the current build never looks there, so after an
// upgrade the pages seem lost. The memo pad offers once to move them into the user's folder.
#pragma once

#include <string>
#include <vector>

namespace zavota {

// A file the memo pad writes: a page index, a page, the simple calculator's file.
bool IsMemoFileName(const std::string& name);

// The old folder ("<executableFolder>Data/") when its pages should be offered: the executable
// is installed under a prefix (so never portable), the folder holds memo files and may be
// written (else nothing could be moved), and `dataFolder`, another folder, holds none. Else
// empty.
std::string StrandedMemoFolder(const std::string& executableFolder, const std::string& dataFolder);

// The question the memo pad asks about the folder.
std::string StrandedMemoQuestion(const std::string& from, const std::string& to);

struct StrandedMoveResult {
    int moved = 0;
    std::vector<std::string> left;  // memo files not moved: a file of that name is in `to`, or a failure
    bool folderRemoved = false;
};

// Moves the memo files of `from` into `to` (made when missing): never over a file there, across
// file systems by copying then removing; the old folder is removed only when nothing is left in it.
StrandedMoveResult MoveStrandedMemoFiles(const std::string& from, const std::string& to);

}  // namespace zavota
