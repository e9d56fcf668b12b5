#include "fuzz/readers.h"

#include <fstream>
#include <string_view>

#include "fuzz/targets.h"
#include "lesson/core/lessonloader.h"
#include "platform/cstring.h"
#include "platform/file.h"
#include "core/downloaderexchange.h"
#include "core/downloadprogress.h"
#include "core/keywordmatch.h"
#include "core/quenlow.h"
#include "core/startupdefaults.h"
#include "core/uisettings.h"

namespace {

std::string_view Bytes(const uint8_t* data, size_t size) { return {reinterpret_cast<const char*>(data), size}; }

// Writes an input file in place: a plain write, since a run's file needs no
// crash safety and tens of thousands are written.
void WriteInput(const CString& path, const uint8_t* data, size_t size)
{
    std::ofstream(ToFsPath(path), std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// Writes the input under the work folder and gives its path.
CString PutInput(const char* name, const uint8_t* data, size_t size)
{
    const CString path = FromFsPath(FuzzWorkFolder() + name);
    WriteInput(path, data, size);
    return path;
}

void LoadAsLesson(const char* name, const uint8_t* data, size_t size)
{
    const CString path = PutInput(name, data, size);
    CQuenlowApp app;
    CString viewText;
    LoadLessonFile(app, path, viewText);
}

// An application object whose data paths lie in the work folder, where the
// data folders exist.
void UseWorkFolder(CQuenlowApp& app)
{
    static const bool made = [] {
        CQuenlowApp paths;
        ApplyStartupDefaults(paths, FromFsPath(FuzzWorkFolder()));
        return CreateDataFolders(paths).empty();
    }();
    (void)made;   // a folder that could not be made only makes the run find less
    ApplyStartupDefaults(app, FromFsPath(FuzzWorkFolder()));
}

} // namespace

void FuzzSrtLesson(const uint8_t* data, size_t size) { LoadAsLesson("lesson.srt", data, size); }
void FuzzAssLesson(const uint8_t* data, size_t size) { LoadAsLesson("lesson.ass", data, size); }
void FuzzLrcLesson(const uint8_t* data, size_t size) { LoadAsLesson("lesson.lrc", data, size); }
void FuzzScriptLesson(const uint8_t* data, size_t size) { LoadAsLesson("lesson.script", data, size); }

void FuzzUiSettings(const uint8_t* data, size_t size)
{
    const CString path = PutInput("UI.data", data, size);
    CQuenlowApp app;
    LoadUiSettings(app, path);
}

void FuzzDownloaderCommand(const uint8_t* data, size_t size)
{
    CQuenlowApp app;
    UseWorkFolder(app);
    WriteInput(app.m_strInboxCommandPath, data, size);
    CDownloaderExchange exchange(app);
    exchange.ReadDownloaderCommand();
}

void FuzzDownloadProgress(const uint8_t* data, size_t size)
{
    CQuenlowApp app;
    UseWorkFolder(app);
    // The oldest report is read only once a newer one exists.
    WriteInput(app.m_strDownloaderDataDir + "1.data", data, size);
    WriteInput(app.m_strDownloaderDataDir + "2.data", nullptr, 0);
    CDownloadProgress progress(app);
    progress.m_nStaleProgressCount = -1;   // read it, do not skip it
    progress.ReadDownloadProgress();
    DeleteFile(app.m_strDownloaderDataDir + "2.data");
}

void FuzzKeywordCommand(const uint8_t* data, size_t size)
{
    const CString text(Bytes(data, size));
    MatchPlayerKeywords(text);
    GetKeywordToken(text);
}
