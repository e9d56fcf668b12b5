// Which addresses of the cloud-disk browser are downloads to hand over.
#include <gtest/gtest.h>

#include "online/core/panlinks.h"

namespace {

// A stand-in for the program's media test: an "http:" address of a video.
bool MediaUrl(const CString& address)
{
    return address.Find("http:") == 0 && (address.Find(".mp4") > 0 || address.Find(".mkv") > 0);
}

TEST(PanLinksTest, RecognisedDownloadsAndPages)
{
    struct Case {
        const char* address;
        bool download;
    };
    const Case cases[] = {
        {"http://files.example/file/abc?expires=1", true},
        {"http://x.example/get?fid=12", true},
        {"http://x.example/api?method=Download.downloadFile&qid=3", true},
        {"http://x.example/api?method=Share.download&fhash=9", true},
        {"http://x.example/share.php?method=Share.download&id=1", true},
        {"http://yun.example-disk.cn/files/7", true},
        {"http://other.example/files/7", false},   // rule of service B needs its host
        {"http://d.example-cloud.cn/x?f=1&h=2", true},
        {"http://pan.example-cloud.cn/download/x?f=1&h=2", true},
        {"http://pan.example-cloud.cn/netdisk/index.html?f=1&h=2&r=http://d.example-cloud.cn/", false},
        {"https://s.example/?u=http://h.example/file/1&key=2&mode=download", true},
        {"http://dl.example-box.cn:8080/cdlnode/dl/xyz", true},
        {"http://t.example/d?cts=1&ctk=2", true},
        {"http://media.example/talk.mp4", true},
        {"https://media.example/talk.mp4", false},   // the media test wants "http:"
        {"https://files.example/file/abc?expires=1", false},
        {"http://pan.example-cloud.cn/netdisk/index.html#v.mp4", false},
        {"http://www.example/index.html", false},
        {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsPanDownloadAddress(c.address, MediaUrl), c.download) << c.address;
}

TEST(PanLinksTest, OneServerIsReachedThroughAnother)
{
    EXPECT_EQ(DownloaderAddressOf("http://d1.example-cloud.cn/a?f=1"), "http://d.example-cloud.cn/a?f=1");
    EXPECT_EQ(DownloaderAddressOf("http://media.example/a.mp4"), "http://media.example/a.mp4");
}

} // namespace
