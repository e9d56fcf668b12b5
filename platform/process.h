// Processes: finding and stopping programs by executable name, starting
// programs detached, and opening files and addresses with the desktop.
#pragma once

#include <sys/types.h>

#include <vector>

#include "platform/cstring.h"

// Pids of the running processes whose executable file name (the last part
// of /proc/<pid>/exe, without " (deleted)") equals exeName exactly.
std::vector<pid_t> FindProcessesByExeName(const CString& exeName);
// Whether another process runs an executable of this program's file name
// (another instance of the program).
bool IsAnotherInstanceRunning();
// Terminates them (SIGTERM, then SIGKILL for any still alive after a short wait).
void KillProcessesByExeName(const CString& exeName);
// Whether process `pid` runs the executable file at `program` (compared by
// its resolved path, so another copy of the same program elsewhere, or a
// reused pid, does not count).
bool ProcessRunsProgram(pid_t pid, const CString& program);
// Terminates process `pid` when it runs `program` (SIGTERM, then SIGKILL
// after a short wait); any other process is left alone. True when no such
// process runs afterwards.
bool TerminateProgramProcess(pid_t pid, const CString& program);
// Starts a program in its own session with the given arguments, detached
// (it is reaped by an intermediate child); true when it could be started.
// With watchMs > 0 the program is also watched that long: one that ends
// with a failure by then counts as not started (one still running counts
// as started), and the call waits at most that long.
bool StartDetached(const CString& program, const std::vector<CString>& arguments = {}, int watchMs = 0);
// Opens a file, folder or address with the desktop's default program
// (xdg-open). False when there is no opener or it reports within a second
// that nothing could open the target; the caller tells the learner.
[[nodiscard]] bool ShellOpen(const CString& target);
