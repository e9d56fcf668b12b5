// Zip packages made in memory by the program's zip writer, and a hostile
// one made from such a package: many directory entries over one large
// member with a wrong CRC, each of which would inflate the whole member.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "online/core/zipreader.h"
#include "online/core/zipwriter.h"

namespace testzip {

inline std::string WriterPackage(const std::vector<std::pair<std::string, std::string>>& members,
                                 bool withFolder = false)
{
    SZipHandle* writer = ZipWriterCreate(nullptr, 1 << 20, kZipFromMemory, nullptr);
    if (withFolder)
        ZipWriterAddFolder(writer, "Lessons");
    for (const auto& [name, content] : members)
        ZipWriterAddMemory(writer, name.c_str(), content.data(), content.size());
    void* data = nullptr;
    size_t length = 0;
    ZipWriterGetMemory(writer, &data, &length);
    std::string bytes(static_cast<const char*>(data), length);
    ZipWriterClose(writer);
    return bytes;
}

inline uint32_t ReadLe(const std::string& bytes, size_t at, int width)
{
    uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<size_t>(i)]);
    return value;
}

inline void PutLe(std::string& bytes, size_t at, uint32_t value, int width)
{
    for (int i = 0; i < width; ++i)
        bytes[at + static_cast<size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A package whose directory lists `entries` members that all point at one
// deflated member of the largest size allowed, with a wrong CRC: each entry
// inflates the whole member again and fails only at its end. Built from a
// one-member archive without a comment.
inline std::string OverlappingEntriesPackage(int entries)
{
    std::string zip = WriterPackage({{"lesson.script", std::string(static_cast<size_t>(kZipMaxMemberBytes), 'a')}});
    const size_t end = zip.size() - 22;
    const size_t directory = ReadLe(zip, end + 16, 4);
    std::string entry = zip.substr(directory, end - directory);
    PutLe(zip, 14, ReadLe(zip, 14, 4) ^ 0x5A5A5A5A, 4);        // local header's CRC
    PutLe(entry, 16, ReadLe(entry, 16, 4) ^ 0x5A5A5A5A, 4);    // directory entry's CRC
    std::string record = zip.substr(end);
    std::string listing;
    for (int i = 0; i < entries; ++i)
        listing += entry;
    PutLe(record, 8, static_cast<uint32_t>(entries), 2);
    PutLe(record, 10, static_cast<uint32_t>(entries), 2);
    PutLe(record, 12, static_cast<uint32_t>(listing.size()), 4);
    return zip.substr(0, directory) + listing + record;
}

} // namespace testzip
