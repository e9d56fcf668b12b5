// The lesson of a downloaded or stored subtitle package: the zip archive's
// first member that extracts is written to the staging lesson file, whatever
// its own name.
#pragma once

#include "platform/cstring.h"

enum class EUnpackResult {
    Unpacked,           // the staging lesson holds the member
    Missing,            // no package file
    Damaged,            // not a zip archive, or one without members
    NothingExtracted,   // members, none of which could be extracted
};

// The staging lesson is deleted first, so a lesson of an earlier package is
// never taken for this one: it exists afterwards only when Unpacked.
EUnpackResult UnpackLessonPackage(const CString& packagePath, const CString& stagingLesson);
