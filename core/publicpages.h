// Addresses of public web services the program opens for the learner:
// translation pages, translation sites and the cloud-disk start page. They
// are pages anyone can open; the program's own servers (updates, subtitles,
// talks) are product settings instead (core/productsettings.h).
#pragma once

// The lesson view's translation pages; the selected text, in UTF-8 and
// percent-encoded, is appended.
// From any language into simplified Chinese.
constexpr const char* kAutoToChineseTranslatePage = "https://translate.google.com/?sl=auto&tl=zh-CN&op=translate&text=";
// From English into simplified Chinese.
constexpr const char* kEnglishToChineseTranslatePage = "https://translate.google.com/?sl=en&tl=zh-CN&op=translate&text=";

// The translation view's five sites, in the order of its commands.
constexpr const char* kTranslationSites[] = {
    "https://translate.google.com/?hl=zh-CN&tab=wT",
    "https://cn.bing.com/translator/",
    "https://fanyi.baidu.com/",
    "https://fanyi.youdao.com/",
    "https://www.deepl.com/translator",
};

// Start page of the cloud-disk browser (product setting "PanHomeUrl" replaces it).
constexpr const char* kPanHomePage = "https://pan.baidu.com/";
