#include "tests/online/core/rawzip.h"

namespace {

uint32_t Crc32(const std::string& bytes)
{
    uint32_t crc = 0xFFFFFFFFU;
    for (const char byte : bytes) {
        crc ^= static_cast<unsigned char>(byte);
        for (int k = 0; k < 8; ++k)
            crc = (crc & 1) ? 0xEDB88320U ^ (crc >> 1) : crc >> 1;
    }
    return ~crc;
}

void Put(std::string& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

} // namespace

std::string Le32(uint32_t value)
{
    std::string out;
    Put(out, value, 4);
    return out;
}

std::string ExtraBlock(uint16_t tag, const std::string& bytes)
{
    std::string out;
    Put(out, tag, 2);
    Put(out, static_cast<uint32_t>(bytes.size()), 2);
    return out + bytes;
}

std::string BuildRawZip(const std::vector<SRawMember>& members)
{
    std::string archive;
    std::string directory;
    for (const SRawMember& m : members) {
        uint32_t crc = Crc32(m.data);
        if (m.wrongCrc)
            crc ^= 0x5A5A5A5A;
        const auto size = static_cast<uint32_t>(m.data.size());
        const auto usize = m.uncompressedSize < 0 ? size : static_cast<uint32_t>(m.uncompressedSize);
        const auto offset = static_cast<uint32_t>(archive.size());
        Put(archive, 0x04034b50, 4);
        Put(archive, 20, 2);
        Put(archive, m.flag, 2);
        Put(archive, m.method, 2);
        Put(archive, m.dosDateTime, 4);
        Put(archive, crc, 4);
        Put(archive, size, 4);
        Put(archive, usize, 4);
        Put(archive, static_cast<uint32_t>(m.name.size()), 2);
        Put(archive, static_cast<uint32_t>(m.localExtra.size()), 2);
        archive += m.name + m.localExtra + m.data;

        Put(directory, 0x02014b50, 4);
        Put(directory, m.versionMadeBy, 2);
        Put(directory, 20, 2);
        Put(directory, m.flag, 2);
        Put(directory, m.method, 2);
        Put(directory, m.dosDateTime, 4);
        Put(directory, crc, 4);
        Put(directory, size, 4);
        Put(directory, usize, 4);
        Put(directory, static_cast<uint32_t>(m.name.size()), 2);
        Put(directory, 0, 2);   // extra
        Put(directory, 0, 2);   // comment
        Put(directory, 0, 2);   // disk
        Put(directory, 0, 2);   // internal attributes
        Put(directory, m.external, 4);
        Put(directory, offset, 4);
        directory += m.name;
    }
    const auto directoryOffset = static_cast<uint32_t>(archive.size());
    archive += directory;
    Put(archive, 0x06054b50, 4);
    Put(archive, 0, 2);
    Put(archive, 0, 2);
    Put(archive, static_cast<uint32_t>(members.size()), 2);
    Put(archive, static_cast<uint32_t>(members.size()), 2);
    Put(archive, static_cast<uint32_t>(directory.size()), 4);
    Put(archive, directoryOffset, 4);
    Put(archive, 0, 2);
    return archive;
}
