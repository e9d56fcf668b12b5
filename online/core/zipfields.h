// Member fields of the zip format that need no zip library: the
// extended-timestamp extra field, DOS and FILETIME times, attribute bits.
// Kept apart from the reader so hostile bytes can be tested directly.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <sys/types.h>

// Times of an extended-timestamp ("UT") block, as 32-bit Unix times.
struct SZipUnixTimes {
    bool hasModify = false;
    bool hasAccess = false;
    bool hasCreate = false;
    uint32_t modify = 0;
    uint32_t access = 0;
    uint32_t create = 0;
};

// Walks an extra field block by block and reads the first "UT" block. A
// block whose size runs past the field ends the walk, and a time the flags
// announce but the block does not hold is left out: nothing is read beyond
// the field.
SZipUnixTimes ReadExtendedTimestamp(std::string_view extra);

// The "UT" block: the local form holds modification, access and creation
// time, the central form the modification time only. Times outside the
// 32-bit range are clamped.
std::string BuildExtendedTimestamp(time_t modify, time_t access, time_t create, bool local);

// FILETIME: 100 ns units since 1601-01-01 UTC.
constexpr uint64_t kFileTimeOfUnixEpoch = 116444736000000000ULL;
uint64_t FileTimeFromUnix(int64_t seconds);
struct timespec TimespecFromFileTime(uint64_t fileTime);

// A DOS date and time as the zip directory holds it (date in the high 16
// bits, time in the low 16), taken as local time.
uint64_t FileTimeFromDos(uint32_t dosDateTime);
// Local time as a DOS date and time, clamped to the years 1980 to 2107.
uint32_t DosFromUnix(time_t seconds);

// Attribute bits (kZipAttr...) from a member's external attributes. Archives
// made on MS-DOS-like hosts (0, 7, 11, 14) keep DOS bits in the low byte;
// others keep a Unix mode in the high 16 bits. A name ending in "/" is a
// folder whatever its attributes say.
uint32_t AttributesFromExternal(uint32_t external, int hostSystem, bool folderName);
// External attributes for a member written from a Unix mode: the mode in the
// high 16 bits, DOS bits in the low byte.
uint32_t ExternalFromMode(mode_t mode);
