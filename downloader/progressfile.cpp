#include "downloader/progressfile.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/file.h"
#include "core/progressfileformat.h"

namespace {

// The program reads one file a second and the task writes one: without a
// program reading them, files would pile up for as long as a download runs.
constexpr size_t kMaxFilesKept = 100;

CString Number(int64_t value)
{
    CString text;
    text.Format("%lld", static_cast<long long>(value));
    return text;
}

struct SNumberedFile {
    int64_t number;
    CString path;
};

// The progress files in the folder, by ascending number.
std::vector<SNumberedFile> NumberedFiles(const CString& folder)
{
    std::vector<SNumberedFile> files;
    for (const SFolderEntry& entry : ListFolder(folder)) {
        if (!entry.isFolder && IsProgressFileName(entry.name))
            files.push_back({std::strtoll(entry.name, nullptr, 10), entry.path});
    }
    std::sort(files.begin(), files.end(),
              [](const SNumberedFile& a, const SNumberedFile& b) { return a.number < b.number; });
    return files;
}

} // namespace

std::vector<CString> ProgressLines(const SProgressFigures& f)
{
    const int64_t total = f.total > 0 ? f.total : 0;
    const int64_t left = total > f.written ? total - f.written : 0;
    const int64_t secondsLeft = f.bytesPerSecond > 0 && total > 0 ? left / f.bytesPerSecond : 0;
    return {
        f.target,
        Number(total),
        Number(f.written),
        Number(left),
        PercentText(f.written, f.total, f.complete),
        Number(f.bytesPerSecond),
        Number(f.seconds),
        Number(secondsLeft),
        f.active ? "1" : "0",
        f.tag,
        Number(f.written),
        Number(f.written + 1),
    };
}

CProgressFiles::CProgressFiles(const SDownloaderPaths& paths) : CProgressFiles(paths.progressFolder, paths.progressTemp)
{
}

CProgressFiles::CProgressFiles(const CString& folder, const CString& temp) : m_folder(folder), m_temp(temp)
{
    const std::vector<SNumberedFile> files = NumberedFiles(m_folder);
    // strtoll gives its largest value for a longer number: start over then.
    if (!files.empty() && files.back().number < INT64_MAX)
        m_next = files.back().number + 1;
}

bool CProgressFiles::Write(const std::vector<CString>& lines)
{
    CString text;
    for (const CString& line : lines)
        text += line + "\r\n";
    return WriteText(text);
}

bool CProgressFiles::WriteText(const CString& text)
{
    CreateFolders(m_folder);
    const CString path = m_folder + Number(m_next) + ".data";
    if (!WriteFileAtomically(m_temp, text.view()) || !MoveFile(m_temp, path)) {
        DeleteFile(m_temp);
        return false;
    }
    ++m_next;
    DropOldestBeyondLimit();
    return true;
}

void CProgressFiles::DropOldestBeyondLimit()
{
    const std::vector<SNumberedFile> files = NumberedFiles(m_folder);
    for (size_t i = 0; i + kMaxFilesKept < files.size(); ++i)
        DeleteFile(files[i].path);
}

void CProgressFiles::RemoveAll()
{
    for (const SNumberedFile& file : NumberedFiles(m_folder))
        DeleteFile(file.path);
}
