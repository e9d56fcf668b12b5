#include "online/core/zipfields.h"

#include <sys/stat.h>

#include "online/core/ziphandle.h"

namespace {

constexpr uint16_t kExtendedTimestampTag = 0x5455;   // "UT"

uint32_t ReadLe(std::string_view bytes, size_t pos, int count)
{
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[pos + static_cast<size_t>(i)]);
    return value;
}

void AppendLe(std::string& out, uint32_t value, int count)
{
    for (int i = 0; i < count; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

uint32_t Clamp32(time_t seconds)
{
    if (seconds < 0)
        return 0;
    if (static_cast<uint64_t>(seconds) > 0xFFFFFFFFULL)
        return 0xFFFFFFFFU;
    return static_cast<uint32_t>(seconds);
}

} // namespace

SZipUnixTimes ReadExtendedTimestamp(std::string_view extra)
{
    SZipUnixTimes times;
    size_t pos = 0;
    while (extra.size() - pos >= 4) {
        const uint32_t tag = ReadLe(extra, pos, 2);
        const size_t size = ReadLe(extra, pos + 2, 2);
        pos += 4;
        if (size > extra.size() - pos)
            break;   // the block claims more than the field holds
        if (tag == kExtendedTimestampTag) {
            const std::string_view block = extra.substr(pos, size);
            if (block.empty())
                return times;
            const unsigned flags = static_cast<unsigned char>(block[0]);
            size_t at = 1;
            // The times follow the flag byte in this order, each only when
            // its flag is set and the block really holds it.
            const struct {
                unsigned flag;
                bool SZipUnixTimes::*has;
                uint32_t SZipUnixTimes::*value;
            } fields[] = {{1, &SZipUnixTimes::hasModify, &SZipUnixTimes::modify},
                          {2, &SZipUnixTimes::hasAccess, &SZipUnixTimes::access},
                          {4, &SZipUnixTimes::hasCreate, &SZipUnixTimes::create}};
            for (const auto& field : fields) {
                if ((flags & field.flag) == 0)
                    continue;
                if (block.size() - at < 4)
                    break;
                times.*field.has = true;
                times.*field.value = ReadLe(block, at, 4);
                at += 4;
            }
            return times;
        }
        pos += size;
    }
    return times;
}

std::string BuildExtendedTimestamp(time_t modify, time_t access, time_t create, bool local)
{
    std::string block;
    AppendLe(block, kExtendedTimestampTag, 2);
    AppendLe(block, local ? 13 : 5, 2);
    block += static_cast<char>(0x07);   // all three times in the local header
    AppendLe(block, Clamp32(modify), 4);
    if (local) {
        AppendLe(block, Clamp32(access), 4);
        AppendLe(block, Clamp32(create), 4);
    }
    return block;
}

uint64_t FileTimeFromUnix(int64_t seconds)
{
    const int64_t minimum = -static_cast<int64_t>(kFileTimeOfUnixEpoch / 10000000);
    if (seconds < minimum)
        return 0;
    return static_cast<uint64_t>(static_cast<int64_t>(kFileTimeOfUnixEpoch) + seconds * 10000000);
}

struct timespec TimespecFromFileTime(uint64_t fileTime)
{
    const int64_t units = static_cast<int64_t>(fileTime) - static_cast<int64_t>(kFileTimeOfUnixEpoch);
    int64_t seconds = units / 10000000;
    int64_t rest = units % 10000000;
    if (rest < 0) {
        rest += 10000000;
        --seconds;
    }
    struct timespec ts {};
    ts.tv_sec = static_cast<time_t>(seconds);
    ts.tv_nsec = static_cast<long>(rest * 100);
    return ts;
}

uint64_t FileTimeFromDos(uint32_t dosDateTime)
{
    const uint32_t date = dosDateTime >> 16;
    const uint32_t time = dosDateTime & 0xFFFF;
    struct tm local {};
    local.tm_year = static_cast<int>(1980 + (date >> 9) - 1900);
    local.tm_mon = static_cast<int>((date >> 5) & 0x0F) - 1;
    local.tm_mday = static_cast<int>(date & 0x1F);
    local.tm_hour = static_cast<int>(time >> 11);
    local.tm_min = static_cast<int>((time >> 5) & 0x3F);
    local.tm_sec = static_cast<int>(2 * (time & 0x1F));
    local.tm_isdst = -1;
    const time_t seconds = mktime(&local);
    return seconds == static_cast<time_t>(-1) ? 0 : FileTimeFromUnix(seconds);
}

uint32_t DosFromUnix(time_t seconds)
{
    struct tm local {};
    if (localtime_r(&seconds, &local) == nullptr || local.tm_year < 80)
        return (1u << 21) | (1u << 16);   // 1980-01-01 00:00:00
    if (local.tm_year > 207)
        return (127u << 25) | (12u << 21) | (31u << 16) | (23u << 11) | (59u << 5) | 29u;
    const uint32_t date = (static_cast<uint32_t>(local.tm_year - 80) << 9) |
                          (static_cast<uint32_t>(local.tm_mon + 1) << 5) | static_cast<uint32_t>(local.tm_mday);
    const uint32_t time = (static_cast<uint32_t>(local.tm_hour) << 11) | (static_cast<uint32_t>(local.tm_min) << 5) |
                          static_cast<uint32_t>(local.tm_sec / 2);
    return (date << 16) | time;
}

uint32_t AttributesFromExternal(uint32_t external, int hostSystem, bool folderName)
{
    uint32_t attributes = 0;
    if (hostSystem == 0 || hostSystem == 7 || hostSystem == 11 || hostSystem == 14) {
        attributes = external & (kZipAttrReadOnly | kZipAttrHidden | kZipAttrSystem | kZipAttrDirectory |
                                 kZipAttrArchive);
    } else {
        attributes = kZipAttrArchive;
        if (external & (1u << 30))   // S_IFDIR in the high 16 bits
            attributes |= kZipAttrDirectory;
        if ((external & (1u << 23)) == 0)   // owner write permission
            attributes |= kZipAttrReadOnly;
    }
    if (folderName)
        attributes |= kZipAttrDirectory;
    return attributes;
}

uint32_t ExternalFromMode(mode_t mode)
{
    uint32_t dos = S_ISDIR(mode) ? kZipAttrDirectory : kZipAttrArchive;
    if ((mode & S_IWUSR) == 0)
        dos |= kZipAttrReadOnly;
    return (static_cast<uint32_t>(mode & 0xFFFF) << 16) | dos;
}
