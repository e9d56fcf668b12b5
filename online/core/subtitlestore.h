// The subtitle store: SQLite files holding downloaded subtitle packages (zip
// archives) as blobs keyed by the media digest, so the same media never
// needs the network again. The program writes one store file; every file
// below the subtitle folder whose path there contains ".data" is read as a
// library of the same layout:
//   tablename(strkeyword varchar(200) primary key, DATA blob)
// Keys are lowered when stored and looked up. Libraries come from outside
// and are opened read-only with bounds.
#pragma once

#include <vector>

#include "online/core/packageunpack.h"
#include "platform/cstring.h"

// The library files below the subtitle folder: regular files, sorted, found
// recursively without entering linked folders, whose path below the folder
// contains ".data".
std::vector<CString> CollectDataFiles(const CString& subtitleDir);

// Whether some library holds the key. A library that cannot be opened or
// queried is skipped, so it cannot hide a package in a later library.
bool IsInSubtitleLibrary(const CString& subtitleDir, const CString& key);

enum class ELibraryLoad {
    NotFound,   // no library holds the key
    Loaded,     // the staging lesson holds the package's lesson
    Damaged,    // a library holds the key, but no package under it gave a lesson
};

// Writes the package of each library holding the key to stagingPackage and
// unpacks its lesson into stagingLesson, until one gives a lesson. The
// staging package is deleted afterwards, whether a lesson came out or not.
// A package under the key in the store file (storePath) that gives no
// lesson is removed from it, so the subtitle host is asked again. Reads
// files and inflates archives: not for the interface thread.
ELibraryLoad LoadSubtitleFromLibrary(const CString& subtitleDir, const CString& key, const CString& stagingPackage,
                                     const CString& stagingLesson, const CString& storePath);

// Removes the package under the key from the store file; true when the key
// is not there afterwards.
bool RemoveSubtitlePackage(const CString& storePath, const CString& key);

// Stores the package file under the key in the store file, creating the file
// and its table when missing. The first package stored under a key stays. A
// file that is not a zip archive with members is not stored: it would stay
// in place of every later good one. True when the key is in the store
// afterwards.
bool StoreSubtitlePackage(const CString& storePath, const CString& key, const CString& packagePath);
