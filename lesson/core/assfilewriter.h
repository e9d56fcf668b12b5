// The subtitle files that the video shows: the sentence model written as
// Advanced SubStation Alpha files. The writer is a method of the application
// object (CQuenlowApp::WriteAssFiles, declared in core/quenlow.h); the header, names and colours of a
// file are built here so that they can be checked on their own.
#pragma once

class CQuenlowApp;

#include "platform/cstring.h"

// The style line's primary and secondary colour for a colour name; an
// unknown name gets the "GoldYellow" colours.
struct SAssColours {
    const char* primary;
    const char* secondary;
};
SAssColours GetAssColours(const CString& colourName);

// The numbered file name: the base path with the counter put before its
// trailing ".ass" ("Both.ass", 3 -> "Both3.ass").
CString NumberedAssPath(const CString& basePath, int counter);

// Deletes the numbered subtitle files written for earlier media (the three
// base names with any number) and the UTF-8 copies handed to the engine, so
// they do not pile up in the temporary folder. Other files stay.
void RemoveWrittenSubtitleFiles(const CQuenlowApp& app);

// The head of every file (script info, style and event formats) in program
// text, lines ended by "\n".
CString BuildAssHeader(const CString& colourName, const CString& fontSizeText);
