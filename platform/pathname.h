// The parts of a path. Paths are Linux paths: "/" alone separates folders,
// and every other character ("\" and spaces included) belongs to a name.
#pragma once

#include "platform/cstring.h"

// The file name: what follows the last "/" (the whole path when there is
// none; "" for a path ending in "/"). "a/b.mp4" -> "b.mp4".
CString FileNameOf(const CString& path);

// The folder part with its trailing "/" ("" when there is none).
// "a/b.mp4" -> "a/".
CString FolderOf(const CString& path);

// The path with the final extension of its file name (from its last ".")
// replaced; a name without one, or one whose only "." leads it (".hidden"),
// gets the extension appended. A "." in a folder name is never taken.
// "a/b.c.mp4", ".lrc" -> "a/b.c.lrc".
CString WithExtension(const CString& path, const char* extension);
