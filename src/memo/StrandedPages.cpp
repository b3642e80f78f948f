#include "memo/StrandedPages.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <system_error>

#include "platform/FileIo.h"
#include "platform/Folders.h"

namespace zavota {

namespace {

namespace fs = std::filesystem;

bool HoldsMemoFiles(const std::string& folder) {
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (it->is_regular_file(error) && IsMemoFileName(it->path().filename().string())) return true;
    }
    return false;
}

bool SameFolder(const std::string& a, const std::string& b) {
    std::error_code error;
    return fs::equivalent(a, b, error);
}

// Never over an existing file: link() refuses an existing name, where rename() would replace it.
bool MoveOneFile(const std::string& from, const std::string& to) {
    if (::link(from.c_str(), to.c_str()) != 0) {
        if (errno != EXDEV && errno != EPERM) return false;
        // Another file system (or one without links): a copy under a passing name, linked in.
        const platform::FileContent content = platform::ReadFileBytes(from);
        const std::string passing = to + ".moving";
        if (content.status != platform::ReadStatus::Ok || platform::FileExists(passing) ||
            !platform::ReplaceFileAtomically(passing, content.bytes))
            return false;
        const bool linked = ::link(passing.c_str(), to.c_str()) == 0;
        ::unlink(passing.c_str());
        if (!linked) return false;
    }
    return ::unlink(from.c_str()) == 0;
}

}  // namespace

bool IsMemoFileName(const std::string& name) {
    static const std::regex memo(R"((M00index\.ini|N00index\.ini|Calc\.ini|M_[0-9]+\.ini|N_[0-9]+\.txt))",
                                 std::regex::icase);
    return std::regex_match(name, memo);
}

std::string StrandedMemoFolder(const std::string& executableFolder, const std::string& dataFolder) {
    const std::string old = executableFolder + "Data/";
    if (platform::InstalledFolder(executableFolder, "").empty() || !platform::FolderExists(old)) return {};
    if (SameFolder(old, dataFolder) || ::access(old.c_str(), W_OK) != 0) return {};
    if (!HoldsMemoFiles(old) || HoldsMemoFiles(dataFolder)) return {};
    return old;
}

std::string StrandedMemoQuestion(const std::string& from, const std::string& to) {
    return "以前の版のメモパッドのページが " + from + " に残っています。\n" + to +
           " に移しますか？\n（同じ名前のファイルがあるときは、上書きせずに残します）";
}

StrandedMoveResult MoveStrandedMemoFiles(const std::string& from, const std::string& to) {
    StrandedMoveResult result;
    platform::EnsureFolder(to);
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(from, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (it->is_regular_file(error) && IsMemoFileName(name)) names.push_back(name);
    }
    for (const std::string& name : names) {
        if (MoveOneFile(from + name, to + name)) ++result.moved;
        else result.left.push_back(name);
    }
    // rmdir refuses a folder with anything left in it.
    result.folderRemoved = ::rmdir(from.c_str()) == 0;
    return result;
}

}  // namespace zavota
