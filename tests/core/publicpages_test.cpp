#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/productsettingsfile.h"
#include "core/publicpages.h"

namespace {

// The host of an address ("" when it has none): between "://" and the first
// "/", "?", "#" or ":".
std::string HostOf(const std::string& address)
{
    const size_t scheme = address.find("://");
    if (scheme == std::string::npos)
        return std::string();
    const size_t start = scheme + 3;
    const size_t end = address.find_first_of("/?#:", start);
    std::string host = address.substr(start, end == std::string::npos ? std::string::npos : end - start);
    std::transform(host.begin(), host.end(), host.begin(), [](unsigned char c) { return std::tolower(c); });
    return host;
}

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// A host no public service can have: the names kept for examples and tests
// (the "example", "test", "invalid" and "localhost" top-level names and the
// example.com/.net/.org domains), loopback, and a placeholder whose name
// starts with "example".
bool IsReservedHost(const std::string& host)
{
    if (host.empty() || host == "localhost" || host.rfind("127.", 0) == 0)
        return true;
    for (const char* top : {".example", ".test", ".invalid", ".localhost"})
        if (EndsWith(host, top))
            return true;
    size_t label = 0;
    while (label < host.size()) {
        if (host.compare(label, 7, "example") == 0)
            return true;
        const size_t dot = host.find('.', label);
        if (dot == std::string::npos)
            break;
        label = dot + 1;
    }
    return false;
}

// Whether an address is one a learner's browser can open: https on a public host.
::testing::AssertionResult IsPublicPage(const std::string& address)
{
    if (address.rfind("https://", 0) != 0)
        return ::testing::AssertionFailure() << address << " is not an https address";
    if (IsReservedHost(HostOf(address)))
        return ::testing::AssertionFailure() << address << " names a reserved host";
    return ::testing::AssertionSuccess();
}

// Settings of the shipped file that name the program's own servers, which
// have no public host (the README says how to point them at one).
const char* const kOwnServiceSettings[] = {"HomePage",  "UpdateServerHost", "UpdateServerPort", "SubtitleHost",
                                           "TalkVideoHost", "PodcastHost"};
// Settings that are no address at all.
const char* const kPlainSettings[] = {"ProductId", "DisplayName"};

bool Listed(const char* const* begin, const char* const* end, const CString& name)
{
    return std::any_of(begin, end, [&](const char* listed) { return name == listed; });
}

} // namespace

// The checker itself: every kind of reserved host is caught, real hosts pass.
TEST(PublicPages, ReservedHostsAreRecognised)
{
    struct Case {
        const char* address;
        bool isPublic;
    };
    const Case cases[] = {
        {"https://translate.example.org/?hl=zh-CN", false},   // example.org
        {"https://fanyi.example.com/translator/", false},     // example.com
        {"https://dict.example.net/", false},                 // example.net
        {"https://trans.example.cn/", false},                 // a placeholder under a real top-level name
        {"https://pan.example-cloud.cn/", false},             // the same, hyphenated
        {"https://www.halviksoft.example/", false},           // the "example" top-level name
        {"https://dict.test/s?wd=", false},                   // the "test" top-level name
        {"https://a.invalid/", false},
        {"https://localhost:8080/", false},
        {"https://127.0.0.1:5000/", false},
        {"http://cn.bing.com/dict/", false},                  // not https
        {"https://cn.bing.com/dict/search?q=", true},
        {"https://translate.google.com/?sl=auto", true},
        {"https://counterexample.org/", true},                // "example" inside a label is a real name
    };
    for (const Case& c : cases)
        EXPECT_EQ(static_cast<bool>(IsPublicPage(c.address)), c.isPublic) << c.address;
}

// Every public-service address compiled into the program opens a public page.
TEST(PublicPages, CompiledAddressesArePublic)
{
    std::vector<std::string> addresses = {kAutoToChineseTranslatePage, kEnglishToChineseTranslatePage, kPanHomePage};
    addresses.insert(addresses.end(), std::begin(kTranslationSites), std::end(kTranslationSites));
    for (const std::string& address : addresses)
        EXPECT_TRUE(IsPublicPage(address));
}

// Every setting of the shipped settings file that is not one of the
// program's own servers (or no address) opens a public page, so a new
// service's setting is checked as soon as it ships.
TEST(PublicPages, ShippedSettingsArePublic)
{
    const auto settings = ReadProductSettings(QUENLOW_SOURCE_DIR "/data/AppData/CommonData/Product.cfg");
    ASSERT_TRUE(settings.count("DictionaryUrl")) << "the shipped settings file was not read";
    for (const auto& [name, value] : settings) {
        if (Listed(std::begin(kOwnServiceSettings), std::end(kOwnServiceSettings), name) ||
            Listed(std::begin(kPlainSettings), std::end(kPlainSettings), name))
            continue;
        EXPECT_TRUE(IsPublicPage(value.str())) << name.str();
    }
    for (const char* name : {"TranslateUrl", "PanHomeUrl"})
        EXPECT_TRUE(settings.count(name)) << name;
}
