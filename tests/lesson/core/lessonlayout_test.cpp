// The lesson text in its three layouts, and the corrections that keep each
// sentence's "script" position valid in the paragraph layout.
#include <string>

#include <gtest/gtest.h>

#include "lesson/core/lessonlayout.h"

namespace {

CStringArray Lines(std::initializer_list<const char*> lines)
{
    CStringArray array;
    for (const char* line : lines)
        array.Add(line);
    return array;
}

} // namespace

TEST(LessonLayoutTest, ScriptAndBilingualLayouts)
{
    const CStringArray english = Lines({"One.\n", "Two.\r\n", "Three.\n"});
    const CStringArray chinese = Lines({"一。\n", "二。\n"});
    EXPECT_EQ(BuildLayoutText("script", english, chinese).text, "One.\nTwo.\r\nThree.\n");
    // Each English line and its Chinese line; the shorter list ends it.
    EXPECT_EQ(BuildLayoutText("engchn", english, chinese).text, "One. \n一。 \nTwo.  \n二。 \n");
    EXPECT_EQ(BuildLayoutText("other", english, chinese).text, "");
}

TEST(LessonLayoutTest, ParagraphsBreakBeforeACapitalAfterTwentySentences)
{
    CStringArray english;
    for (int i = 0; i < 25; ++i)
        english.Add(i == 20 || i == 21 ? "lower case.\n" : "Sentence.\r\n");
    const SLayoutText para = BuildLayoutText("para", english, CStringArray());
    const std::string text = para.text.str();
    // The first paragraph is indented; the second starts before sentence 22,
    // the first capital after more than twenty sentences (20 and 21 are not).
    EXPECT_EQ(text.rfind("    Sentence.  Sentence.", 0), 0u);
    EXPECT_EQ(text.find('\n'), 4 + 20 * 11 + 2 * 12u);
    ASSERT_EQ(para.corrections.size(), 25u);
    for (int i = 0; i < 25; ++i)
        EXPECT_EQ(para.corrections[static_cast<size_t>(i)], i < 22 ? 4 : 9) << i;
    // A sentence's script position plus its correction is its place here.
    int script = 0;
    for (int i = 0; i < 25; ++i) {
        const std::string line = english[i].str();
        EXPECT_EQ(text.substr(static_cast<size_t>(script + para.corrections[static_cast<size_t>(i)]), 8),
                  line.substr(0, 8))
            << i;
        script += static_cast<int>(line.size());
    }
}
