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
// build lays beside the executable.
class TempProgramFolder : public TempFolder {
public:
    TempProgramFolder();
};

// Reads a whole file as bytes ("" when missing).
std::string ReadBytes(const std::string& path);

// Measurements for the figures tests: resident memory of this process in
// KiB (-1 when unknown) and the CPU time it has used, in seconds.
long ResidentKiB();
double CpuSeconds();

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
