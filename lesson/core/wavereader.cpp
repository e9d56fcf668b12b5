#include "lesson/core/wavereader.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// The data chunk of a file whose fmt chunk is not the plain 16 bytes is
// looked for from here on: the end of the plain headers before "data".
constexpr int64_t kScanStart = 36;
constexpr unsigned kScanBlock = 64 * 1024;

} // namespace

CWaveReader::CWaveReader(const char* path) : m_strPath(path)
{
    if (!IsRegularFile(m_strPath) || !m_file.Open(m_strPath, CFile::modeRead | CFile::typeBinary | CFile::shareDenyNone))
        throw WaveErrors::FileOperation();
    // The destructor does not run when the constructor throws.
    try {
        ReadHeaders();
    } catch (...) {
        (void)m_file.Close();   // read only: nothing to lose
        throw;
    }
}

CWaveReader::~CWaveReader() { Close(); }

void CWaveReader::Close()
{
    if (m_file.IsOpen())
        (void)m_file.Close();   // read only: nothing to lose
}

unsigned CWaveReader::ReadZeroFilled(unsigned char* target, unsigned count)
{
    std::memset(target, 0, count);
    return m_file.Read(target, count);
}

void CWaveReader::ReadHeaders()
{
    ReadZeroFilled(m_pRiffHeader, kRiffHeaderSize);
    if (!CheckChunkId(m_pRiffHeader, 'R', 'I', 'F', 'F'))
        throw WaveErrors::RiffDoesntMatch();
    if (!CheckChunkId(m_pRiffHeader + 8, 'W', 'A', 'V', 'E'))
        throw WaveErrors::WaveDoesntMatch();
    ReadZeroFilled(m_pFmtChunk, kFmtChunkSize);
    if (!CheckChunkId(m_pFmtChunk, 'f', 'm', 't', ' '))
        throw WaveErrors::FmtDoesntMatch();
    ReadZeroFilled(m_pDataHeader, kDataHeaderSize);
    if (CheckChunkId(m_pDataHeader, 'd', 'a', 't', 'a')) {
        m_nDataStart = kHeaderSize;
    } else {
        const int64_t found = FindDataChunk(kScanStart);
        if (found < 0)
            throw WaveErrors::DataDoesntMatch();
        m_file.Seek(found, CFile::begin);
        ReadZeroFilled(m_pDataHeader, kDataHeaderSize);
        m_nDataStart = found + kDataHeaderSize;
    }
    // A stated size beyond the end of the file (a cut-off recording, or a
    // hostile one) is held to the bytes that are there.
    const int64_t available = std::max<int64_t>(0, m_file.GetLength() - m_nDataStart);
    m_nDataSize = std::min<int64_t>(GetLe32(m_pDataHeader + 4), available);
    m_nDataLeft = m_nDataSize;
    m_file.Seek(m_nDataStart, CFile::begin);
}

int64_t CWaveReader::FindDataChunk(int64_t from)
{
    if (m_file.Seek(from, CFile::begin) < 0)
        return -1;
    // Blocks overlap by three bytes, so an id split between two blocks is found.
    std::vector<unsigned char> block(kScanBlock + 3);
    size_t carried = 0;
    int64_t blockStart = from;
    for (;;) {
        const unsigned got = m_file.Read(block.data() + carried, kScanBlock);
        const size_t filled = carried + got;
        for (size_t i = 0; i + 4 <= filled; ++i) {
            if (CheckChunkId(block.data() + i, 'd', 'a', 't', 'a'))
                return blockStart + static_cast<int64_t>(i);
        }
        if (got == 0)
            return -1;
        carried = std::min<size_t>(3, filled);
        std::memmove(block.data(), block.data() + filled - carried, carried);
        blockStart += static_cast<int64_t>(filled - carried);
    }
}

void CWaveReader::Read(char* buf, int* len)
{
    if (len == nullptr)
        return;
    if (!m_file.IsOpen() || buf == nullptr || *len <= 0 || m_nDataLeft <= 0) {
        *len = 0;
        return;
    }
    const unsigned wanted = static_cast<unsigned>(std::min<int64_t>(*len, m_nDataLeft));
    const unsigned got = m_file.Read(buf, wanted);
    *len = static_cast<int>(got);
    // A file that shrank under the reader ends where it ends now.
    m_nDataLeft = got < wanted ? 0 : m_nDataLeft - got;
}

void CWaveReader::GetFormat(int* rate, short* bits, short* channels) { FormatFromFmtChunk(rate, bits, channels); }

bool CWaveReader::Seek(int pos, bool absolute)
{
    if (!m_file.IsOpen())
        return false;
    int64_t offset = pos;   // from the first sample byte
    if (absolute) {
        if (offset < 0 || offset > m_nDataSize)
            offset = m_nDataSize;
    } else {
        const int64_t current = m_nDataSize - m_nDataLeft;
        offset = current + std::clamp<int64_t>(pos, -current, m_nDataLeft);
    }
    m_file.Seek(m_nDataStart + offset, CFile::begin);
    m_nDataLeft = m_nDataSize - offset;
    return true;
}
