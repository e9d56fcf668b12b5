#include "lesson/core/wavebuffers.h"

CWaveHdr::CWaveHdr(int size) : WAVEHDR()
{
    lpData = new char[size > 0 ? static_cast<size_t>(size) : 0]();
}

CWaveHdr::~CWaveHdr() { delete[] lpData; }

void CWaveHdr::Clear()
{
    char* data = lpData;
    static_cast<WAVEHDR&>(*this) = WAVEHDR();
    lpData = data;
}

void CWaveDoneCounter::Increment()
{
    std::lock_guard<std::mutex> lock(m_lock);
    ++m_nValue;
}

void CWaveDoneCounter::Decrement()
{
    std::lock_guard<std::mutex> lock(m_lock);
    --m_nValue;
}

void CWaveDoneCounter::Reset()
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_nValue = 0;
}
