// The readers of files that come from outside the program, each wrapped as a
// fuzz target: one function that takes arbitrary bytes, puts them where the
// reader looks (a file of the right name) and runs the reader on a fresh
// application object. The fuzzing driver and the replay test call the same
// functions, so a reproducer found by one is replayed by the other.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct SFuzzTarget {
    const char* name;   // also the folder of its seed corpus
    void (*run)(const uint8_t* data, size_t size);
};

// Every target, in a fixed order.
const std::vector<SFuzzTarget>& FuzzTargets();
// The target of that name, or nullptr.
const SFuzzTarget* FindFuzzTarget(const std::string& name);

// Where the targets write their input files: a private folder made on first
// use (a program folder with the data folders), removed at exit.
const std::string& FuzzWorkFolder();
