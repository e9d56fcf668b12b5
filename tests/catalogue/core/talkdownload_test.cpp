// Talk video names in list items, and the download and podcast addresses in
// the three qualities: the quality suffix and extension of the stored name
// give way to the requested ones, on the file name only.
#include <vector>

#include <gtest/gtest.h>

#include "catalogue/core/talkdownload.h"
#include "core/quenlow.h"
#include "tests/appstateguard.h"
#include "tests/testsupport.h"

namespace {

TEST(TalkDownloadTest, FileNameOfAListItem)
{
    struct Case {
        const char* item;
        const char* name;
    };
    const Case cases[] = {
        {"[12][Maya Lin][Maya Lin][MayaLin_2009.mp4][TED2009]\n", "MayaLin_2009.mp4"},
        {"[3][Audio only][S][Talk_2010.mp3][E]\n", "Talk_2010.mp3"},
        {"[4][a][b][Old.mp3][New.mp4]\n", "New.mp4"},                          // ".mp4" first
        {"[5][Why .mp4 files win][S][Why_2011-480p.mp4][E]\n", "Why_2011-480p.mp4"},   // not a title's ".mp4"
        {"[6][乕乕][S][乕a_2012.mp4][E]\n", "乕a_2012.mp4"},   // "乕" ends in the byte of "["
        {"[7][No media][S][notes.txt][E]\n", ""},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TalkFileNameOf(c.item), CString(c.name)) << c.item;
}

class TalkDownloadAddressTest : public testing::Test {
protected:
    void SetUp() override
    {
        theApp.m_strAppDir = m_program.ansi();
        m_program.write("AppData/CommonData/Product.cfg",
                        "TalkVideoHost=talks.test\nPodcastHost=podcast.test\n");
    }

    testsupport::TempFolder m_program;
    testsupport::AppStateGuard m_guard{&CQuenlowApp::m_strAppDir};
};

TEST_F(TalkDownloadAddressTest, QualitiesOfTheStoredName)
{
    struct Case {
        const char* name;
        ETalkQuality quality;
        const char* download;
        const char* podcast;
    };
    const Case cases[] = {
        {"MayaLin_2009-480p.mp4", ETalkQuality::Light, "http://talks.test/talks/MayaLin_2009-light.mp4",
         "http://podcast.test/talk/podcast/2009/None/MayaLin_2009-light.mp4"},
        {"MayaLin_2009-480p.mp4", ETalkQuality::Normal, "http://talks.test/talks/MayaLin_2009.mp4",
         "http://podcast.test/talk/podcast/2009/None/MayaLin_2009.mp4"},
        {"Talk_2010.mp3", ETalkQuality::P480, "http://talks.test/talks/Talk_2010-480p.mp4",
         "http://podcast.test/talk/podcast/2010/None/Talk_2010-480p.mp4"},
        {"Talk_2010-light.mp4", ETalkQuality::P480, "http://talks.test/talks/Talk_2010-480p.mp4",
         "http://podcast.test/talk/podcast/2010/None/Talk_2010-480p.mp4"},
        // A suffix-like text inside the name is part of the name.
        {"Go-lightly_2008.mp4", ETalkQuality::Light, "http://talks.test/talks/Go-lightly_2008-light.mp4",
         "http://podcast.test/talk/podcast/2008/None/Go-lightly_2008-light.mp4"},
        // The year ends at the first "." after the last "_".
        {"Dr.Who_2007.mp4", ETalkQuality::Normal, "http://talks.test/talks/Dr.Who_2007.mp4",
         "http://podcast.test/talk/podcast/2007/None/Dr.Who_2007.mp4"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TalkDownloadAddress(c.name, c.quality), CString(c.download)) << c.name;
        EXPECT_EQ(TalkPodcastAddress(c.name, c.quality), CString(c.podcast)) << c.name;
    }
}

TEST_F(TalkDownloadAddressTest, CommandsForTheDownloader)
{
    EXPECT_EQ(TalkDownloadCommands({"A_2001.mp4", "", "B_2002-480p.mp4", "C_2003.mp3"}, ETalkQuality::Light),
              "HalvikSoftDL:http://talks.test/talks/A_2001-light.mp4  "
              "HalvikSoftDL:http://talks.test/talks/B_2002-light.mp4  "
              "HalvikSoftDL:http://talks.test/talks/C_2003-light.mp4  ");
    EXPECT_EQ(TalkDownloadCommands({}, ETalkQuality::Normal), "");

    // Without a configured host there is no address to hand over.
    m_program.write("AppData/CommonData/Product.cfg", "PodcastHost=podcast.test\n");
    EXPECT_EQ(TalkDownloadAddress("A_2001.mp4", ETalkQuality::Normal), "");
    EXPECT_EQ(TalkDownloadCommands({"A_2001.mp4"}, ETalkQuality::Normal), "");
}

} // namespace
