#include "fuzz/readers.h"

#include <fstream>
#include <optional>
#include <string_view>

#include "core/httpheaders.h"
#include "downloader/address.h"
#include "downloader/command.h"
#include "fuzz/targets.h"
#include "lesson/core/lessonloader.h"
#include "lesson/core/wavereader.h"
#include "online/core/packageunpack.h"
#include "online/core/panlinks.h"
#include "vocabulary/core/exercisegen.h"
#include "vocabulary/core/exercisehistory.h"
#include "vocabulary/core/wordbookfile.h"
#include "vocabulary/core/wordlists.h"
#include "platform/cstring.h"
#include "platform/file.h"
#include "core/downloaderexchange.h"
#include "core/downloadprogress.h"
#include "core/keywordmatch.h"
#include "core/quenlow.h"
#include "core/startupdefaults.h"
#include "core/talkdownloadreport.h"
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
    progress.ReadDownloadProgress();
    DeleteFile(app.m_strDownloaderDataDir + "2.data");
}

void FuzzKeywordCommand(const uint8_t* data, size_t size)
{
    const CString text(Bytes(data, size));
    MatchPlayerKeywords(text);
    GetKeywordToken(text);
}

void FuzzLessonPackage(const uint8_t* data, size_t size)
{
    const CString package = PutInput("package.zip", data, size);
    UnpackLessonPackage(package, FromFsPath(FuzzWorkFolder() + "staging.script"));
}

void FuzzWaveFile(const uint8_t* data, size_t size)
{
    const CString path = PutInput("voice.wav", data, size);
    try {
        CWaveReader reader(path.GetString());
        int rate = 0;
        short bits = 0;
        short channels = 0;
        reader.GetFormat(&rate, &bits, &channels);
        char buffer[4096];
        for (int pass = 0; pass < 2; ++pass) {
            int len = sizeof buffer;
            while (reader.Read(buffer, &len), len > 0)
                len = sizeof buffer;
            reader.Seek(-1, true);
            reader.Seek(0, true);
        }
    } catch (...) {
        // A file refused as no WAV file: what the reader is meant to do.
    }
}

void FuzzDownloaderCommandText(const uint8_t* data, size_t size) { ParseCommand(CString(Bytes(data, size))); }

void FuzzDownloadAddress(const uint8_t* data, size_t size)
{
    TransferAddress(Bytes(data, size));
    FileNameOfAddress(Bytes(data, size));
}

void FuzzHttpHeaders(const uint8_t* data, size_t size)
{
    const std::string_view text = Bytes(data, size);
    SHttpHeaders headers;
    int64_t first = 0;
    int64_t length = 0;
    for (size_t start = 0; start < text.size();) {
        const size_t end = text.find('\n', start);
        const size_t next = end == std::string_view::npos ? text.size() : end + 1;
        ReadHeaderLine(text.substr(start, next - start), headers);
        // As the downloader reads a range answer: each line as a value too.
        ParseContentRange(text.substr(start, next - start), first, length);
        start = next;
    }
    ContentLengthOf(headers);
    ParseContentRange(headers.contentRange, first, length);
}

void FuzzWordList(const uint8_t* data, size_t size)
{
    const CString path = PutInput("words.txt", data, size);
    const std::vector<CString> lines = ReadImportLines(path);
    CStringArray sentences;
    for (const CString& line : lines)
        sentences.Add(line);
    WordsOfSentences(sentences);
    std::vector<CString> entries;
    ReadLessonWords(path, entries);
    ReadLessonPhrases(path, entries);
    ReadBookList(path, entries);
}

void FuzzExercises(const uint8_t* data, size_t size)
{
    const CString path = PutInput("exercise.script", data, size);
    const std::vector<SMergedSentence> merged = {{" One (first) sentence.", " 一", 0, 1000},
                                                 {" Two sentences here.", " 二", 1000, 2000}};
    LoadExercises(path, merged);
    ReadExerciseHistory(path);
}

void FuzzPanLink(const uint8_t* data, size_t size)
{
    const CString address(Bytes(data, size));
    IsPanDownloadAddress(address, [](const CString& url) { return url.Find(".mp4") >= 0; });
    DownloaderAddressOf(address);
}

void FuzzTalkReport(const uint8_t* data, size_t size)
{
    if (const std::optional<STalkDownloadReport> report = ParseTalkReport(CString(Bytes(data, size))))
        ParseTalkReport(TalkReportText(*report));
}
