// Helpers shared by every test program; none of them needs the toolkit or a
// display.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/cstring.h"

namespace testsupport {

// A fresh temporary folder (UTF-8 path, trailing "/"), removed when the
// object goes away.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return m_path; }
    // The folder as program text (GB18030), with its trailing "/".
    CString ansi() const;
    // Writes bytes to a file below the folder, creating folders on the way.
    std::string write(const std::string& relative, const std::string& bytes) const;

private:
    std::string m_path;
};

// A temporary program folder holding a copy of the shipped data tree that the
// build lays beside the executable, without the subtitle host's setting and
// with the online dictionary pages on a loopback port; the read-only
// dictionary is a link to the shipped one.
class TempProgramFolder : public TempFolder {
public:
    TempProgramFolder();
};

// A stand-in for the desktop's opener: an "xdg-open" first on PATH (restored
// when the object goes away) that writes what it was asked to open into
// opened() and exits with the given code, so a test never starts the real
// file manager and can make the opener fail.
class FakeOpener {
public:
    explicit FakeOpener(int exitCode);
    ~FakeOpener();
    FakeOpener(const FakeOpener&) = delete;
    FakeOpener& operator=(const FakeOpener&) = delete;
    // What the last call asked to open ("" when none).
    std::string opened() const;

private:
    TempFolder m_folder;
    std::string m_savedPath;
};

// Reads a whole file as bytes ("" when missing).
std::string ReadBytes(const std::string& path);

// Measurements for the figures tests: resident memory of this process in
// KiB (-1 when unknown) and the CPU time it has used, in seconds.
long ResidentKiB();
double CpuSeconds();

// What RunBounded saw: the wall time of the work, the most its memory in use
// grew over the start, and whether it passed a bound.
struct SBoundedRun {
    double seconds = 0;
    long peakGrowthKiB = 0;
    bool overran = false;
};

// Runs `work` on its own thread, looking at the clock and this process's
// memory in use every 5 ms (resident memory; under AddressSanitizer the heap
// blocks not freed, since its quarantine keeps freed blocks resident and the
// shadow adds an eighth to all). When the work runs past `seconds` or grows the
// memory by more than `memoryKiB`, `stop` is called (e.g. to interrupt a
// query) and the run counts as overrun. Work that still has not ended 10 s
// later, or that grows the memory past four times the bound, ends the test
// program with a message: a hang fails instead of blocking the run, and
// runaway memory cannot take the machine down.
SBoundedRun RunBounded(const std::function<void()>& work, double seconds, long memoryKiB,
                       const std::function<void()>& stop = {});

// Runs `body` in a forked child with its address space limited to
// `memoryBytes`, and gives back the child's exit code (the value `body`
// returned). Empty when the child did not finish within `seconds` (it is
// killed) or died instead of returning (e.g. out of memory). Keeps a fault
// that blocks for good, or reads without end, from hanging the test program.
std::optional<int> RunBoundedInChild(const std::function<int()>& body, double seconds, long memoryBytes);

// The folder of the small fixture files.
std::string FixturePath(const std::string& name);

// Points HOME and the XDG folders at a temporary folder that lives until the
// program ends, so no test reads or writes the real profile or desktop.
void UseTemporaryHome();

} // namespace testsupport
