// Registers the program's document type (".Quenlow") with the desktop, in the
// user's own data folder only ($XDG_DATA_HOME, else ~/.local/share).
#pragma once

#include "platform/cstring.h"

// Writes the MIME package and the desktop entry when they differ from what is
// there, so every start keeps them current without rewriting them. False when
// a file could not be written.
bool RegisterDocumentType(const CString& executablePath);
