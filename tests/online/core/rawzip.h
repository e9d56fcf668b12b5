// Zip archives assembled byte by byte, for cases the writer never makes:
// names with "\" or "..", broken extra fields, wrong CRCs, other methods.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct SRawMember {
    SRawMember(std::string memberName, std::string memberData)
        : name(std::move(memberName)), data(std::move(memberData)) {}

    std::string name;            // bytes as stored
    std::string data;            // the member's bytes as stored in the archive
    std::string localExtra;      // extra field of the local header
    uint16_t method = 0;         // 0 stored
    uint16_t flag = 0;
    uint16_t versionMadeBy = 20;   // host 0 (MS-DOS): DOS attributes
    uint32_t external = 0x20;
    uint32_t dosDateTime = (44u << 25) | (3u << 21) | (15u << 16) | (12u << 11);   // 2024-03-15 12:00
    bool wrongCrc = false;       // store a CRC that does not match data
    int64_t uncompressedSize = -1;   // -1: data's length
};

// The archive: local headers with data, the central directory, the end record.
std::string BuildRawZip(const std::vector<SRawMember>& members);

// An extra-field block: two-byte tag, two-byte size, then the bytes.
std::string ExtraBlock(uint16_t tag, const std::string& bytes);
std::string Le32(uint32_t value);
