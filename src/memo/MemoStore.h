// The memo pad's files in the data folder: the page indexes, the per-stock page files, the
// free-form text pages and the simple calculator's file. At most one file is open at a time;
// every operation that touches a file holds the cross-process mutex of the settings store for
// its own duration only, so another instance can work between two operations.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Yen.h"
#include "platform/NamedMutex.h"
#include "platform/ProfileFile.h"

namespace zavota {

// Which page list a file belongs to.
enum class MemoPageKind { PerStock, FreeForm };

// "M00index.ini" or "N00index.ini".
std::string MemoIndexFileName(MemoPageKind kind);
// "M_" + n + ".ini" or "N_" + n + ".txt".
std::string MemoPageFileName(MemoPageKind kind, int number);
inline constexpr std::string_view kMemoCalculatorFileName = "Calc.ini";

// One page of a page list. Number 0 marks the placeholder of an empty list.
struct MemoPageEntry {
    std::string name;
    int number = 0;
    friend bool operator==(const MemoPageEntry&, const MemoPageEntry&) = default;
};

// Larger numbers in an index cannot come from the program: a page list never gets that long.
inline constexpr int kMaxMemoPageNumber = 99999;

// Cell kinds of a per-stock page file.
inline constexpr int kCellPageName = -2;  // "Name" of the page (the row is ignored)
inline constexpr int kCellSelected = -1;  // "*" when the row is ticked
inline constexpr int kCellComment = 0;
inline constexpr int kCellPrice = 1;
inline constexpr int kCellShares = 2;
inline constexpr int kMemoRows = 20;

// Items of the simple calculator's file: "0" to "9", "A", "B", "PER", "M1", "M2", "TRUNC",
// "DIGITS".
inline constexpr int kCalculatorItems = 17;

enum class MemoFileKind { Ini, Text };

// A page delete under way: the page `name` numbered `to` goes; when `moved`, the file of page
// `from` (the highest number) takes number `to`, else the file numbered `to` is removed. The
// index as it was before the delete and as the delete leaves it tie the journal to that one
// state of the page list: a replay onto any other would mix up pages made since.
struct MemoDeleteJournal {
    std::string name;
    int to = 0;
    int from = 0;
    bool moved = false;
    bool recorded = false;  // both lists were read (journals of earlier versions have none)
    std::vector<MemoPageEntry> before;
    std::vector<MemoPageEntry> after;
};

// One cell of a per-stock page: kind and row as for MemoStore::writeCell.
struct MemoCell {
    int kind = kCellComment;
    int row = 0;
    std::string text;
};

enum PageTotalsStatus : int {
    kTotalsDone = 0,
    kTotalsUnavailable = 1,  // the page file cannot be opened, or another file is open
    kTotalsInvalid = 2,      // a ticked row holds a price or count that is not a number
};

struct PageTotals {
    int status = kTotalsUnavailable;
    Yen average;  // whole yen
    Yen shares;
    Yen amount;   // whole yen
};

// A free-form page file. Read: the whole file decoded at open. Written: text is collected and
// put on disk when the store closes it, whole or not at all.
class MemoTextStream {
public:
    bool ForReading() const { return reading_; }

    // Reading: the file's lines joined with "\n" (the file may end its lines with CR LF, LF or
    // CR; a final line end adds no empty line).
    const std::string& Text() const { return text_; }
    std::vector<std::string> Lines() const;
    // Reading: the file held bytes that are not valid in its code page.
    bool Damaged() const { return damaged_; }

    // Writing: appends text; on disk every line ends with CR LF.
    void Write(std::string_view text) { text_ += text; }
    void WriteLine(std::string_view line) {
        text_ += line;
        text_ += '\n';
    }

private:
    friend class MemoStore;
    bool reading_ = true;
    bool damaged_ = false;
    std::string path_;
    std::string text_;
};

class MemoStore {
public:
    // `folder` is the data folder with a trailing "/"; `mutex` is the settings store's mutex.
    MemoStore(std::string folder, platform::NamedMutex& mutex);
    ~MemoStore();
    MemoStore(const MemoStore&) = delete;
    MemoStore& operator=(const MemoStore&) = delete;

    const std::string& folder() const { return folder_; }
    // The settings store's mutex, which every operation here takes; a caller holds it across
    // several operations that must not be interleaved with another copy's.
    platform::NamedMutex& mutex() { return mutex_; }
    bool isOpen() const { return open_; }

    // Ini: for reading and writing; an absent file opens as empty and appears at the first
    // write. Text, read: the file must exist and be readable. Text, !read: the file will be
    // replaced at close. False (nothing opened) on failure or while another file is open.
    bool open(std::string_view name, MemoFileKind kind, bool read);
    // Releases the open file. A text written through the stream goes to disk here: the result
    // tells whether it got there. False when nothing was open.
    bool close();

    // Only while nothing is open.
    bool removeFile(std::string_view name);
    bool renameFile(std::string_view oldName, std::string_view newName);
    bool fileExists(std::string_view name);

    // On an open index: the pages in file order with their numbers; sections whose "FileNo"
    // is missing, not a number or outside 1 to kMaxMemoPageNumber are left out (this drops
    // "FONT" and damaged entries). Replaces the list's content.
    bool readPageIndex(std::vector<MemoPageEntry>& list);
    bool writeIndexEntry(std::string_view pageName, int number);

    // On the open free-form index: "FONT"/"SIZE". A missing value gives 1 and true; a value
    // that cannot be read gives 1 and false.
    bool readFontSize(int& index);
    bool writeFontSize(int index);

    // On an open page file. Any kind other than the five above writes nothing and fails.
    bool writeCell(int kind, int row, std::string_view text);
    // The values of the first min(key count, maxRows) keys of a kind's section, in file order:
    // the k-th key fills row k whatever its name. Kinds -1 to 2.
    bool readColumn(int kind, int maxRows, std::vector<std::string>& list);

    // On the open calculator file: exactly kCalculatorItems texts.
    bool writeCalculator(const std::vector<std::string>& items);
    // Appends the kCalculatorItems values, with their defaults where missing.
    bool readCalculator(std::vector<std::string>& items);

    // Totals of the ticked rows of per-stock page n; opens and closes the page file itself.
    PageTotals pageTotals(int number);

    // The open text stream, or nullptr.
    MemoTextStream* textStream();

    // --- Whole-file writes: each puts its file on disk as one replace, so a page or an index
    // is never left half written.

    // On an open page file: every cell in order, as writeCell would write them. False, with
    // nothing written, when a kind is unknown or the file could not be written.
    bool writeCells(const std::vector<MemoCell>& cells);
    // On an open index: the free-form font size (when given) and the page's entry.
    bool writeIndexEntries(std::string_view pageName, int number, std::optional<int> fontIndex);
    // With nothing open: the index holds exactly these pages in this order afterwards, put in
    // place in one replace, so a failure leaves the old one whole. Without pages the index is
    // empty.
    bool replaceIndex(MemoPageKind kind, const std::vector<MemoPageEntry>& pages);
    // Frees page number n for a new page: a file an index lost (left by a crash) is moved aside to
    // "<file>.orphan-YYYYMMDD-HHMMSS", a name no copy of the program reads, so the numbers stay
    // 1 to N and nothing is overwritten. False when a file is still in the way.
    bool setAsideOrphan(MemoPageKind kind, int number);

    // Creates the data folder when it is missing; true when pages can be written into it.
    bool folderWritable();

    // True once after a save put a file in UTF-8 that was not UTF-8 before (a character code
    // page 932 cannot hold); the window tells the user.
    bool takeUtf8Fallback();
    // True once after a write was refused because another program held the mutex for the
    // whole wait (NamedMutex::SetWaitLimit); nothing was written then.
    bool takeBusy();
    // A write under a lock that another program kept: noted for takeBusy, and refused (true).
    bool refusedAsBusy(const platform::MutexGuard& guard);

    // Deleting a page moves files and rewrites the index; a journal written first lets the next
    // reading of the index finish a delete that was cut off, so a kill never mixes up pages.
    bool writeDeleteJournal(MemoPageKind kind, const MemoDeleteJournal& journal);
    std::optional<MemoDeleteJournal> readDeleteJournal(MemoPageKind kind);
    // The file step of a delete; repeating it after it was done changes nothing.
    bool moveDeletedPageFiles(MemoPageKind kind, const MemoDeleteJournal& journal);
    bool removeDeleteJournal(MemoPageKind kind);
    // Renames a journal that must not be applied to "<journal>.stale-YYYYMMDD-HHMMSS"; the new
    // path, or empty when it stays in place.
    std::string setAsideDeleteJournal(MemoPageKind kind);

private:
    bool saveText(const MemoTextStream& stream);
    // Remembers a file that a successful write turned from code page 932 into UTF-8.
    void noteUtf8(const std::string& path, bool wasUtf8, bool written);
    std::string journalPath(MemoPageKind kind) const;
    // The open INI file, re-read when another process changed it; nullptr when none is open
    // or it cannot be read.
    platform::ProfileFile* currentIni();

    std::string folder_;
    platform::NamedMutex& mutex_;
    bool open_ = false;
    MemoFileKind kind_ = MemoFileKind::Ini;
    std::unique_ptr<platform::ProfileFile> ini_;
    std::unique_ptr<MemoTextStream> text_;
    bool utf8Fallback_ = false;
    bool busy_ = false;
};

}  // namespace zavota
