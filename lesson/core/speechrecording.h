// Starting and finishing a speech-practice recording into a WAV file, with
// the outcome the speech view reports to the learner.
#pragma once

#include <memory>

#include "lesson/core/waverecorder.h"
#include "lesson/core/wavewriter.h"
#include "platform/cstring.h"

// Every practice recording: 44.1 kHz, 16 bits, 2 channels.
constexpr int kRecordingRate = 44'100;
constexpr int kRecordingBits = 16;
constexpr int kRecordingChannels = 2;

enum class ERecordingStart {
    Started,
    NoPath,         // nothing to record into: nothing was done
    NoMicrophone,   // the system has no capture device
    Failed,         // the file could not be made, or the device would not record
};

// Records from the microphone into a new file at path. A recording that is
// still running (perhaps into the same file) is stopped and its file
// completed and released first, so it can never write into the new file.
// `writer` holds the new file's writer while it records, and is empty when
// the start failed (any file made then is a complete WAV file without
// samples).
ERecordingStart StartRecordingFile(CWaveRecorder& recorder, std::unique_ptr<CWaveWriter>& writer,
                                   const CString& path);
// Stops the recorder and completes the file; the writer stays, closed. False
// when the file could not be written whole (the learner must be told).
[[nodiscard]] bool FinishRecordingFile(CWaveRecorder& recorder, CWaveWriter* writer);

// The message the speech view shows for a start that did not record ("" for
// Started and NoPath).
const char* RecordingStartMessage(ERecordingStart result);
// The message for a recording, or a copy of one, that could not be written
// (a full disk, a removed drive).
constexpr const char* kRecordingNotSavedMessage = "录音保存失败！";
