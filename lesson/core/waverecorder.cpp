#include "lesson/core/waverecorder.h"

CWaveRecorder::~CWaveRecorder() { Shutdown(); }

void CWaveRecorder::PrepareBuffer(CWaveHdr* hdr)
{
    if (hdr == nullptr)
        return;
    hdr->Clear();
    hdr->dwBufferLength = static_cast<uint32_t>(m_nBufferSize);
}

void CWaveRecorder::ReclaimBuffer(CWaveHdr* hdr)
{
    if (hdr == nullptr)
        return;
    if (m_pDataStore != nullptr) {
        int len = static_cast<int>(hdr->dwBytesRecorded);
        m_pDataStore->Write(hdr->lpData, &len);
    }
    if ((hdr->dwFlags & WHDR_PREPARED) && m_hDevice != nullptr)
        m_hDevice->UnprepareHeader(hdr);
}

bool CWaveRecorder::OpenDevice()
{
    m_hDevice = CWaveDevice::Open(CWaveDevice::Capture, m_format, WaveDeviceCallback, this, &m_eDeviceStatus);
    return m_hDevice != nullptr;
}

void CWaveRecorder::StartDevice()
{
    if (m_hDevice != nullptr)
        m_hDevice->Start();
}

void CWaveRecorder::ResumeDevice()
{
    if (m_hDevice != nullptr)
        m_hDevice->Start();
}

