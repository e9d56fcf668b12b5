// Parts of a path: "/" alone separates folders; "\", spaces and dots in
// folder names belong to names and are kept as they are.
#include <gtest/gtest.h>

#include "platform/pathname.h"

namespace {

TEST(PathNameTest, NameAndFolderSplitOnTheLastSlashOnly)
{
    struct Case {
        const char* path;
        const char* name;
        const char* folder;
    };
    const Case cases[] = {
        {"/media/talks/a.mp4", "a.mp4", "/media/talks/"},
        {"a.mp4", "a.mp4", ""},
        {"/a.mp4", "a.mp4", "/"},
        {"/media/cache/", "", "/media/cache/"},
        {"", "", ""},
        // A Linux file name may hold "\": it is not a separator.
        {"/media/a\\b.mp4", "a\\b.mp4", "/media/"},
        // Spaces around a name are part of it: a file " a.mp4 " is not "a.mp4".
        {"/media/ a.mp4 ", " a.mp4 ", "/media/"},
        {"/媒体/课程 一.mp3", "课程 一.mp3", "/媒体/"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FileNameOf(c.path), CString(c.name)) << c.path;
        EXPECT_EQ(FolderOf(c.path), CString(c.folder)) << c.path;
    }
}

TEST(PathNameTest, WithExtensionReplacesOnlyTheFileNamesExtension)
{
    struct Case {
        const char* path;
        const char* result;
    };
    const Case cases[] = {
        {"a.mp4", "a.lrc"},
        {"/m/a.b.mp4", "/m/a.b.lrc"},
        {"/m/a", "/m/a.lrc"},
        // A dot in a folder name is not the file's extension.
        {"/m/v1.2/a", "/m/v1.2/a.lrc"},
        // A name whose only dot leads it has no extension.
        {".hidden", ".hidden.lrc"},
        {"/m/.hidden", "/m/.hidden.lrc"},
        {"/m/a.", "/m/a.lrc"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WithExtension(c.path, ".lrc"), CString(c.result)) << c.path;
}

} // namespace
