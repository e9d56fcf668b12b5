#include "online/core/packageunpack.h"

#include "lesson/core/lessonloader.h"
#include "online/core/zipreader.h"
#include "online/core/zipwriter.h"
#include "platform/file.h"

namespace {

// Closes whatever the open returned: a failed open leaves a null handle,
// which the writer's close refuses harmlessly.
void CloseArchive(SZipHandle* archive)
{
    if (ZipReaderIsHandle(archive))
        ZipReaderClose(archive);
    else
        ZipWriterClose(archive);
}

} // namespace

EUnpackResult UnpackLessonPackage(const CString& packagePath, const CString& stagingLesson)
{
    DeleteFile(stagingLesson);
    if (!IsRegularFile(packagePath))
        return EUnpackResult::Missing;
    SZipHandle* archive = ZipReaderCreateBounded(packagePath.GetString(), 0, kZipFromName, kMaxPackageMembers);
    SZipItemInfo info{};
    if (archive == nullptr || ZipReaderGetItem(archive, -1, &info) != kZipOk || info.nIndex < 1) {
        CloseArchive(archive);
        return EUnpackResult::Damaged;
    }
    const int count = info.nIndex;
    EUnpackResult result = EUnpackResult::NoLesson;
    for (int index = 0; index < count; ++index) {
        // A folder member would "extract" as a folder named like the lesson.
        if (ZipReaderGetItem(archive, index, &info) != kZipOk || (info.dwAttributes & kZipAttrDirectory))
            continue;
        if (ZipReaderExtractToFile(archive, index, stagingLesson) != kZipOk)
            continue;
        // Only a lesson the loader takes, with something to follow, is one:
        // anything else would be stored and shown as an unreadable lesson.
        if (IsLessonWithSentences(stagingLesson)) {
            result = EUnpackResult::Unpacked;
            break;
        }
        DeleteFile(stagingLesson);
    }
    CloseArchive(archive);
    return result;
}
