// The progress files of the download-and-play task, as the program reads
// them: "<number>.data" in the progress folder, one value a line (CR LF):
//   0  the target file's full path
//   1  the file's length in bytes (0 while unknown)
//   2  bytes in the file so far
//   3  bytes still to come (0 while the length is unknown)
//   4  the percentage, one decimal ("37.5"); "100" only once the file is whole
//   5  the speed in bytes a second
//   6  seconds since the task began
//   7  estimated seconds still to go (0 when unknown)
//   8  1 while a transfer runs, 0 once it has ended
//   9  the task's tag (the same in every file of one task)
//  10  bytes in the file from its start (the part a player can read)
//  11  line 10 plus one: the program takes the first value that is smaller
//      than the value after it as the readable part
// Each file gets the next number and appears whole: it is written outside
// the folder and renamed in.
#pragma once

#include <cstdint>
#include <vector>

#include "downloader/paths.h"
#include "core/progressfileformat.h"
#include "platform/cstring.h"

struct SProgressFigures {
    CString target;
    int64_t total = -1;   // -1 while unknown
    int64_t written = 0;
    bool complete = false;
    bool active = false;
    int64_t bytesPerSecond = 0;
    int64_t seconds = 0;
    CString tag;
};

std::vector<CString> ProgressLines(const SProgressFigures& figures);

class CProgressFiles {
public:
    // Numbers go on after the highest one in the folder, so a file left by
    // an earlier run is never taken for a newer one.
    explicit CProgressFiles(const SDownloaderPaths& paths);
    // Numbered files in another folder, written first at `temp` (on the same
    // file system, outside the folder).
    CProgressFiles(const CString& folder, const CString& temp);

    // Writes the next numbered file; false when it could not be written.
    bool Write(const std::vector<CString>& lines);
    bool WriteText(const CString& text);
    // The number the next file gets.
    int64_t NextNumber() const { return m_next; }
    // Deletes the files not read yet: they tell of a task that is over.
    void RemoveAll();

private:
    void DropOldestBeyondLimit();

    CString m_folder;
    CString m_temp;
    int64_t m_next = 1;
};
