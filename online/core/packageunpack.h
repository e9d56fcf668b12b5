// The lesson of a downloaded or stored subtitle package: the zip archive's
// first member that is a lesson database with sentences is written to the
// staging lesson file, whatever its own name. A lesson package holds a
// lesson and perhaps a few files beside it; an archive of more members is
// refused before its directory is walked.
#pragma once

#include <cstddef>

#include "platform/cstring.h"

// The most members a subtitle package may have.
constexpr size_t kMaxPackageMembers = 16;

enum class EUnpackResult {
    Unpacked,   // the staging lesson holds a lesson with sentences
    Missing,    // no package file
    Damaged,    // not a zip archive, one without members, or one of more
                // than kMaxPackageMembers members
    NoLesson,   // members, none of which extracts as a lesson
};

// The staging lesson is deleted first, so a lesson of an earlier package is
// never taken for this one: it exists afterwards only when Unpacked.
EUnpackResult UnpackLessonPackage(const CString& packagePath, const CString& stagingLesson);
