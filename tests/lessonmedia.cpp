#include "tests/lessonmedia.h"

#include <cstdlib>

#include <gtest/gtest.h>

#include "platform/sqlitedb.h"

namespace testsupport {

std::string ShellQuote(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

namespace {

void RunFfmpegPattern(const std::string& target, int seconds, const std::string& encoding)
{
    const std::string length = std::to_string(seconds);
    const std::string command =
        "ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i testsrc=size=160x120:rate=25:duration=" +
        length + " -f lavfi -i sine=frequency=440:duration=" + length + " " + encoding + " -c:a aac -shortest " +
        ShellQuote(target);
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

} // namespace

void MakeClip(const std::string& target, int seconds) { RunFfmpegPattern(target, seconds, "-c:v mpeg4 -g 12"); }

void MakeH264Clip(const std::string& target, int seconds, EMp4Index index)
{
    RunFfmpegPattern(target, seconds,
                     std::string("-c:v libx264 -g 12 -pix_fmt yuv420p") +
                         (index == EMp4Index::AtStart ? " -movflags +faststart" : ""));
}

void MakeLesson(const CString& path)
{
    CSqliteDb db;
    ASSERT_TRUE(db.Open(path, CSqliteDb::ReadWriteCreate));
    ASSERT_TRUE(db.Exec("create table tablename( linecnt int, starttime int, endtime int, fgnstartpos int, "
                        "fgntxtlen int, chnstartpos int, chntxtlen int, fgntxt varchar(3000), chntxt varchar(3000) );"));
    db.Exec("create table wordlist( stroriginalword varchar(1000), strreference varchar(10000) );");
    db.Exec("create table phaselist( stroriginalphase varchar(1000), strreference varchar(10000) );");
    ASSERT_TRUE(db.Exec("insert into tablename values(0, 0, 1000, 0, 0, 0, 0, 'First line.', '第一句');"));
    ASSERT_TRUE(db.Exec("insert into tablename values(1, 1000, 5000, 0, 0, 0, 0, 'Second line.', '第二句');"));
    db.Close();
}

} // namespace testsupport
