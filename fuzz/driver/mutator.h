// Byte-level changes that turn one input into another: bit flips, odd
// values, inserted and removed runs, copies within the input, pieces of the
// file formats' syntax, huge numbers, and splices with another input.
#pragma once

#include <cstddef>
#include <random>
#include <string>

class CMutator {
public:
    explicit CMutator(unsigned long long seed, size_t maxSize) : m_random(seed), m_maxSize(maxSize) {}

    // One to four changes to `input`; `other` is the input spliced in.
    void Mutate(std::string& input, const std::string& other);
    size_t Pick(size_t count) { return count ? std::uniform_int_distribution<size_t>(0, count - 1)(m_random) : 0; }

private:
    void MutateOnce(std::string& input, const std::string& other);

    std::mt19937_64 m_random;
    size_t m_maxSize;
};
