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

inline void PutLe64(std::string& bytes, uint64_t value)
{
    for (int i = 0; i < 8; ++i)
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A package whose directory lists `entries` entries of its first member
// (made from `first`, its CRC spoilt when `wrongCrc`), followed by one entry
// of each further member. Past 65,534 entries the end records are zip64
// ones. How a hostile host plants a package that costs whoever walks it.
inline std::string RepeatedEntriesPackage(const std::vector<std::pair<std::string, std::string>>& members, int entries,
                                          bool wrongCrc)
{
    std::string zip = WriterPackage(members);
    const size_t end = zip.size() - 22;
    const size_t directory = ReadLe(zip, end + 16, 4);
    std::vector<std::string> records;
    for (size_t at = directory; at < end;) {
        const size_t length = 46 + ReadLe(zip, at + 28, 2) + ReadLe(zip, at + 30, 2) + ReadLe(zip, at + 32, 2);
        records.push_back(zip.substr(at, length));
        at += length;
    }
    if (wrongCrc) {
        PutLe(zip, 14, ReadLe(zip, 14, 4) ^ 0x5A5A5A5A, 4);
        PutLe(records[0], 16, ReadLe(records[0], 16, 4) ^ 0x5A5A5A5A, 4);
    }
    std::string listing;
    listing.reserve(records[0].size() * static_cast<size_t>(entries) + 1024);
    for (int i = 0; i < entries; ++i)
        listing += records[0];
    for (size_t i = 1; i < records.size(); ++i)
        listing += records[i];
    const uint64_t count = static_cast<uint64_t>(entries) + records.size() - 1;
    std::string out = zip.substr(0, directory) + listing;
    std::string record = zip.substr(end);
    if (count < 0xFFFF) {
        PutLe(record, 8, static_cast<uint32_t>(count), 2);
        PutLe(record, 10, static_cast<uint32_t>(count), 2);
        PutLe(record, 12, static_cast<uint32_t>(listing.size()), 4);
        return out + record;
    }
    const uint64_t zip64End = out.size();
    std::string end64 = std::string("PK\x06\x06", 4);
    PutLe64(end64, 44);
    end64 += std::string("\x2D\x00\x2D\x00", 4);   // made by and needed: 4.5
    end64 += std::string(8, '\0');                     // this disk, the directory's disk
    PutLe64(end64, count);
    PutLe64(end64, count);
    PutLe64(end64, listing.size());
    PutLe64(end64, directory);
    std::string locator = std::string("PK\x06\x07", 4) + std::string(4, '\0');
    PutLe64(locator, zip64End);
    locator += std::string("\x01\x00\x00\x00", 4);
    PutLe(record, 8, 0xFFFF, 2);
    PutLe(record, 10, 0xFFFF, 2);
    PutLe(record, 12, 0xFFFFFFFFu, 4);
    PutLe(record, 16, 0xFFFFFFFFu, 4);
    return out + end64 + locator + record;
}

} // namespace testzip
