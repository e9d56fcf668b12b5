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

// The engine's renderer wraps a line only at spaces, so a long Chinese line
// would run off both sides of the picture. A space scaled to no width
// between two characters lets it wrap there, at whatever width the picture
// and the chosen font size leave, and shows nothing where it does not wrap.
inline constexpr const char* kAssWrapPoint = "{\\fscx0} {\\fscx100}";

// The text (program text) with kAssWrapPoint wherever a line may break
// without a space: between two characters of which one is Chinese (or
// another wide character), never before closing punctuation ("，", "。",
// "）", "”", "…", any ASCII punctuation but an opening bracket) nor after
// opening punctuation ("（", "“", "(", a quote mark). Text without wide
// characters comes back as it is.
CString AddWrapPoints(const CString& text);

// The head of every file (script info, style and event formats) in program
// text, lines ended by "\n".
CString BuildAssHeader(const CString& colourName, const CString& fontSizeText);
