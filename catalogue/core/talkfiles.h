// Where the files of a talk or a local lesson lie: the media file chosen for
// a stored talk video name, and the lesson script beside a media file. Every
// rewrite acts on the file name only, never on the folders above it.
#pragma once

#include <functional>

#include "platform/cstring.h"

// Whether an entry exists at a path (the file system's test in the program,
// a set of names in tests).
using FileExistsFn = std::function<bool(const CString& path)>;

// The name of a talk's media in the playlist folder: the stored name when
// that file exists, else the first of the stored name with ".mp4" made
// ".mp3", "-480p.mp4" or "-light.mp4" that exists; the stored name when
// none does.
CString ChooseTalkMediaName(const CString& playlistDir, const CString& storedName, const FileExistsFn& exists);

// The lesson script of a talk's media: the final extension ".mp4" or ".mp3"
// becomes ".script" and the quality suffixes "-480p" and "-light" go.
// "talk-480p.mp4" -> "talk.script".
CString TalkScriptPath(const CString& mediaPath);

// The lesson script beside a local media file: its final extension becomes
// ".script" ("a.b.mp4" -> "a.b.script"); a name without extension gets it
// appended.
CString ScriptPathBeside(const CString& mediaPath);

// The file name of a path (after its last "/"), and the folder part with its
// trailing "/".
CString FileNamePart(const CString& path);
CString FolderPart(const CString& path);
