// The program's shortcut on the user's desktop: a freedesktop launcher file
// "<display name>.desktop" in the desktop folder that starts the program's
// executable. Written at every start, but only when its content changed, and
// marked executable (desktops launch only executable launcher files).
//
// The shortcut has no key combination: a launcher file cannot carry one, and
// a global key belongs to the desktop's own settings.
#pragma once

#include <string>

#include "platform/cstring.h"

enum class EShortcutResult {
    Written,     // created or replaced
    Unchanged,   // the same shortcut was already there
    Failed,      // no desktop folder, or the file could not be written
};

// The user's desktop folder (no trailing "/"): what `xdg-user-dir DESKTOP`
// reports, else $HOME/Desktop. Empty when the desktop folder is the home
// folder itself (the desktop is switched off then).
CString GetDesktopFolder();

// One argument of a launcher file's Exec key (UTF-8), quoted: inside the
// quotes '"', '`', '$' and '\' take a backslash, '%' is doubled (field codes
// start with it), and the whole is then escaped as a string value. Any
// program folder name gives a command line that starts that program.
std::string QuoteExecArgument(const std::string& argument);

// The launcher file's content (UTF-8), with the executable's path quoted and
// escaped for the launcher's command line.
std::string MakeDesktopEntry(const CString& executablePath, const CString& displayName);

// The file name for a display name: "/" cannot stand in a file name and
// becomes "_"; an empty name gives "HalvikEnglish.desktop".
CString DesktopEntryFileName(const CString& displayName);

// Writes the shortcut into an existing folder; the folder is never created.
EShortcutResult WriteDesktopShortcut(const CString& desktopFolder, const CString& executablePath,
                                     const CString& displayName);

// The start-up call: the running program's executable in the program folder
// (theApp.m_strAppDir), named by the product setting "DisplayName"
// (default "HalvikEnglish"), on the user's desktop.
EShortcutResult CreateDesktopShortcut();
