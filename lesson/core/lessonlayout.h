// The lesson text in each of its layouts, built from the sentence model's
// lines: "script" (one sentence per line, as the loaders put it), "para"
// (the sentences run on in paragraphs that start before a capital letter
// after at least 21 sentences) and "engchn" (each English line followed by
// its Chinese line).
#pragma once

#include <vector>

#include "platform/cstring.h"

struct SLayoutText {
    CString text;
    // Per sentence: the characters the layout inserted before it ("para"
    // only; 0 otherwise), so that a sentence's "script" position plus its
    // correction is its position in this text.
    std::vector<int> corrections;
};

SLayoutText BuildLayoutText(const CString& layout, const CStringArray& english, const CStringArray& chinese);
