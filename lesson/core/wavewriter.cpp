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

CWaveWriter::~CWaveWriter() { Close(); }

bool CWaveWriter::OpenEmpty()
{
    m_nDataBytes = 0;
    if (!m_file.Open(m_strPath, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary | CFile::shareDenyNone))
        return false;
    WriteHeaders();
    return true;
}

void CWaveWriter::WriteHeaders()
{
    const uint32_t dataBytes = static_cast<uint32_t>(std::min(m_nDataBytes, kMaxDataBytes));
    PutLe32(m_pRiffHeader + 4, 36 + dataBytes);
    PutLe32(m_pDataHeader + 4, dataBytes);
    m_file.Write(m_pRiffHeader, kRiffHeaderSize);
    m_file.Write(m_pFmtChunk, kFmtChunkSize);
    m_file.Write(m_pDataHeader, kDataHeaderSize);
}

void CWaveWriter::Close()
{
    if (!m_file.IsOpen())
        return;
    m_file.Seek(0, CFile::begin);
    WriteHeaders();
    m_file.Close();
}

void CWaveWriter::Write(const char* data, int* len)
{
    if (!m_file.IsOpen() || data == nullptr || len == nullptr || *len <= 0)
        return;
    // Only bytes that reached the file are counted, so the header never
    // promises more samples than the file holds.
    if (m_file.Write(data, static_cast<unsigned>(*len)))
        m_nDataBytes += *len;
}

void CWaveWriter::GetFormat(int* rate, short* bits, short* channels) { FormatFromFmtChunk(rate, bits, channels); }

bool CWaveWriter::Seek(int pos, bool absolute)
{
    if (pos == 0 && absolute && m_file.IsOpen()) {
        m_file.Close();
        OpenEmpty();
    }
    return false;
}
