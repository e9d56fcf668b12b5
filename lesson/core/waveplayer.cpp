#include "lesson/core/waveplayer.h"

CWavePlayer::~CWavePlayer() { Shutdown(); }

void CWavePlayer::PrepareBuffer(CWaveHdr* hdr)
{
    if (hdr == nullptr)
        return;
    hdr->Clear();
    hdr->dwBufferLength = static_cast<uint32_t>(m_nBufferSize);
    if (m_pDataStore != nullptr) {
        int len = m_nBufferSize;
        m_pDataStore->Read(hdr->lpData, &len);
        hdr->dwBufferLength = static_cast<uint32_t>(len > 0 ? len : 0);
    }
}

void CWavePlayer::ReclaimBuffer(CWaveHdr* hdr)
{
    if (hdr != nullptr && (hdr->dwFlags & WHDR_PREPARED) && m_hDevice != nullptr)
        m_hDevice->UnprepareHeader(hdr);
}

bool CWavePlayer::OpenDevice()
{
    m_hDevice = CWaveDevice::Open(CWaveDevice::Playback, m_format, WaveDeviceCallback, this, &m_eDeviceStatus);
    return m_hDevice != nullptr;
}

void CWavePlayer::StartDevice()
{
    // Playback begins with the first buffer the device is given.
}

void CWavePlayer::ResumeDevice()
{
    if (m_hDevice != nullptr)
        m_hDevice->Restart();
}

