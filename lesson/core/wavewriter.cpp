#include "lesson/core/wavewriter.h"

#include <algorithm>

namespace {

// The header's sizes are 32 bits and the RIFF size counts 36 header bytes
// too: a longer recording is described as long as the header can say.
constexpr int64_t kMaxDataBytes = 0xFFFFFFFFLL - 36;

} // namespace

CWaveWriter::CWaveWriter(const char* path, int rate, int bits, int channels) : m_strPath(path)
{
    FillHeaders(rate, bits, channels, 0);
    if (!OpenEmpty())
        throw WaveErrors::FileOperation();
}

CWaveWriter::~CWaveWriter() { (void)Close(); }   // a caller that cares has closed it already

bool CWaveWriter::OpenEmpty()
{
    m_nDataBytes = 0;
    m_bWriteFailed = false;
    if (!m_file.Open(m_strPath, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary | CFile::shareDenyNone))
        return false;
    m_bWriteFailed = !WriteHeaders();
    return true;
}

bool CWaveWriter::WriteHeaders()
{
    const uint32_t dataBytes = static_cast<uint32_t>(std::min(m_nDataBytes, kMaxDataBytes));
    PutLe32(m_pRiffHeader + 4, 36 + dataBytes);
    PutLe32(m_pDataHeader + 4, dataBytes);
    return m_file.Write(m_pRiffHeader, kRiffHeaderSize) && m_file.Write(m_pFmtChunk, kFmtChunkSize) &&
           m_file.Write(m_pDataHeader, kDataHeaderSize);
}

bool CWaveWriter::Close()
{
    if (!m_file.IsOpen())
        return !m_bWriteFailed;
    const bool headers = m_file.Seek(0, CFile::begin) == 0 && WriteHeaders();
    const bool closed = m_file.Close();
    m_bWriteFailed = m_bWriteFailed || !headers || !closed;
    return !m_bWriteFailed;
}

void CWaveWriter::Write(const char* data, int* len)
{
    if (!m_file.IsOpen() || data == nullptr || len == nullptr || *len <= 0)
        return;
    // Only bytes that reached the file are counted, so the header never
    // promises more samples than the file holds.
    if (m_file.Write(data, static_cast<unsigned>(*len)))
        m_nDataBytes += *len;
    else
        m_bWriteFailed = true;
}

void CWaveWriter::GetFormat(int* rate, short* bits, short* channels) { FormatFromFmtChunk(rate, bits, channels); }

bool CWaveWriter::Seek(int pos, bool absolute)
{
    if (pos == 0 && absolute && m_file.IsOpen()) {
        (void)m_file.Close();   // emptied and written again at once
        if (!OpenEmpty())
            m_bWriteFailed = true;
    }
    return false;
}
