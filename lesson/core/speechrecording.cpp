#include "lesson/core/speechrecording.h"

ERecordingStart StartRecordingFile(CWaveRecorder& recorder, std::unique_ptr<CWaveWriter>& writer,
                                   const CString& path)
{
    if (path.IsEmpty())
        return ERecordingStart::NoPath;
    // Creating the new writer empties the file; the old recording must have
    // written its last buffer and its header before that, not after.
    recorder.Stop();
    writer.reset();
    try {
        writer = std::make_unique<CWaveWriter>(path.GetString(), kRecordingRate, kRecordingBits, kRecordingChannels);
    } catch (...) {
        return ERecordingStart::Failed;
    }
    ERecordingStart result = ERecordingStart::Started;
    if (!recorder.SetDataStore(writer.get()))
        result = recorder.GetDeviceStatus() == EWaveOpenResult::NoDevice ? ERecordingStart::NoMicrophone
                                                                          : ERecordingStart::Failed;
    else if (!recorder.Start())
        result = ERecordingStart::Failed;
    if (result != ERecordingStart::Started) {
        recorder.Stop();
        writer.reset();
    }
    return result;
}

bool FinishRecordingFile(CWaveRecorder& recorder, CWaveWriter* writer)
{
    recorder.Stop();
    return writer == nullptr || writer->Close();
}

const char* RecordingStartMessage(ERecordingStart result)
{
    switch (result) {
    case ERecordingStart::NoMicrophone: return "请接入话筒！";
    case ERecordingStart::Failed: return "录音失败！";
    case ERecordingStart::Started:
    case ERecordingStart::NoPath: break;
    }
    return "";
}
