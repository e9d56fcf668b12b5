#include "lesson/core/subtitlehandover.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "lesson/core/lessonloader.h"
#include "platform/codepage.h"
#include "platform/file.h"
#include "core/quenlow.h"

namespace {

// The subtitle formats that are text; ".idx" (with its ".sub" pictures) and
// others are given as they are.
bool IsSubtitleText(const CString& path)
{
    const int dot = path.ReverseFind('.');
    CString extension = dot >= 0 ? path.Mid(dot) : CString();
    extension.MakeLower();
    return extension == ".srt" || extension == ".ass" || extension == ".ssa" || extension == ".smi" ||
           extension == ".lrc";
}

bool IsUnicodeAlready(const CQuenlowApp& app, std::string_view bytes)
{
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF") || bytes.starts_with("\xEF\xBB\xBF"))
        return true;
    const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return ascii || app.IsUtf8Text(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
}

CString CopyFolder(const CQuenlowApp& app)
{
    const CString& base = app.m_strAssBothBasePath;
    return base.Left(base.ReverseFind('/') + 1) + kUtf8CopyFolder;
}

CString NameOf(const CString& path) { return path.Mid(path.ReverseFind('/') + 1); }

bool IsLrc(const CString& path)
{
    CString extension = path.Mid(path.ReverseFind('.'));
    extension.MakeLower();
    return extension == ".lrc";
}

void AppendSrtTime(std::string& text, int ms)
{
    char buffer[32];
    snprintf(buffer, sizeof buffer, "%02d:%02d:%02d,%03d", ms / 3600000, ms / 60000 % 60, ms / 1000 % 60, ms % 1000);
    text += buffer;
}

// The sentences of a lesson model as ".srt" text (program text): the English
// line above the Chinese one, an empty line left out.
std::string BuildSrtText(const CQuenlowApp& model)
{
    std::string text;
    for (int i = 0; i < model.m_nSentenceCount; ++i) {
        const SSentenceTiming& timing = model.m_arrSentenceTiming[static_cast<size_t>(i)];
        text += std::to_string(i + 1) + "\r\n";
        AppendSrtTime(text, timing.starttime);
        text += " --> ";
        AppendSrtTime(text, timing.endtime);
        text += "\r\n";
        for (CString line : {model.m_arrForeignText[i], model.m_arrChineseText[i]}) {
            line.Trim();
            if (!line.IsEmpty())
                text += line.str() + "\r\n";
        }
        text += "\r\n";
    }
    return text;
}

// The engine reads no ".lrc": the sentences the program reads from it are
// handed over as a UTF-8 ".srt" copy, <name>.srt in the copies' folder.
CString LrcCopyForEngine(CQuenlowApp& app, const CString& path)
{
    // A model of its own, so the lesson that is open stays as it is.
    const auto model = std::make_unique<CQuenlowApp>();
    CString viewText;
    if (LoadLrcFile(*model, path, viewText) != EFileReadResult::Read)
        return path;
    if (model->m_nSentenceCount == 0) {
        app.ShowMessage("字幕文件中没有带时间的句子：" + NameOf(path), "error", 5000);
        return path;
    }
    const CString folder = CopyFolder(app);
    const CString copy = folder + NameOf(path) + ".srt";
    if (!CreateFolders(folder) || !WriteFileAtomically(copy, AnsiToUtf8Bytes(BuildSrtText(*model)))) {
        app.ShowMessage("无法写入视频字幕文件：" + copy, "error", 5000);
        return path;
    }
    return copy;
}

} // namespace

CString SubtitleFileForEngine(CQuenlowApp& app, const CString& path)
{
    if (!IsSubtitleText(path))
        return path;
    if (IsLrc(path))
        return LrcCopyForEngine(app, path);
    std::string bytes;
    if (ReadRegularFile(path, bytes, kMaxSubtitleFileBytes) != EFileReadResult::Read || IsUnicodeAlready(app, bytes))
        return path;

    const CString folder = CopyFolder(app);
    const CString copy = folder + NameOf(path);
    if (!CreateFolders(folder) || !WriteFileAtomically(copy, AnsiToUtf8Bytes(bytes))) {
        app.ShowMessage("无法写入视频字幕文件：" + copy, "error", 5000);
        return path;
    }
    return copy;
}
