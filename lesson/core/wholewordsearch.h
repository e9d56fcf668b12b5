// Whole-word occurrences of many words in a text, found in one pass over the
// text: the word list marking of the lesson text. A word matches where the
// text holds it in any case (ASCII letters) and it stands as a whole word by
// the text control's rules: the character before its start and the one after
// its end are of another class than its own first and last character (word
// characters: letters, digits, "_" and every byte of a non-ASCII character;
// blanks and control characters; punctuation: the rest).
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct STextRange {
    int start = 0;   // byte offsets in the text
    int end = 0;
};

// The occurrences of every word in the UTF-8 text, in text order (the ranges
// of different words may overlap; one word's occurrences never do). Empty
// words and words that start or end with a blank find nothing.
std::vector<STextRange> FindWholeWords(std::string_view text, const std::vector<std::string>& words);
