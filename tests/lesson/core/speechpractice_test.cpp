// The speech practice modes driven tick by tick: stand-in players whose time
// the test sets, a stand-in microphone that writes a small file for every
// recording, and the view's timers kept in a table the test runs by hand.
// Also the free recording's states, replay and export, reset, and the
// ribbon's rules.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "lesson/core/speechpractice.h"
#include "tests/lesson/core/standinpracticeplayer.h"
#include "platform/file.h"
#include "core/commandids.h"
#include "core/quenlow.h"
#include "tests/appstateguard.h"
#include "tests/testsupport.h"

using testsupport::ReadBytes;
using testsupport::TakeMessage;

namespace {

// A microphone that "records" a small file named after the start, or fails
// as told.
class CStandInRecorder : public IPracticeRecorder {
public:
    ERecordingStart Start(const CString& path) override
    {
        recording = false;
        if (next != ERecordingStart::Started)
            return next;
        started.push_back(path);
        EXPECT_TRUE(WriteFileAtomically(path, "voice " + std::to_string(started.size())));
        recording = true;
        return ERecordingStart::Started;
    }
    bool Stop() override
    {
        recording = false;
        return !stopFails;
    }
    void Pause() override { ++pauses; }
    void Resume() override { ++resumes; }

    ERecordingStart next = ERecordingStart::Started;
    std::vector<CString> started;
    bool recording = false;
    bool stopFails = false;   // the file could not be written whole
    int pauses = 0;
    int resumes = 0;
};

class CStandInView : public ISpeechPracticeView {
public:
    void SetTimer(int id, int ms) override { timers[id] = ms; }
    void KillTimer(int id) override { timers.erase(id); }
    IPracticePlayer* LessonPlayer() override { return &lesson; }
    IPracticePlayer* VoicePlayer() override { return &voice; }
    void ShowPlayerPane(bool show) override { paneShown = show; }
    void ShowSentence(int k) override { shown.push_back(k); }
    void SetProgressRange(int r) override { range = r; }
    void SetProgress(int p) override { progress = p; }
    void ShowChosen(int k, bool c) override
    {
        if (c)
            chosen.insert(k);
        else
            chosen.erase(k);
    }
    void ClearPracticeMarks() override { ++cleared; }

    std::map<int, int> timers;   // running timers: id -> period
    CStandInPlayer lesson;
    CStandInPlayer voice;
    bool paneShown = false;
    std::vector<int> shown;
    int range = 0;
    int progress = 0;
    std::set<int> chosen;
    int cleared = 0;
};

using P = CSpeechPractice;

class SpeechPracticeTest : public testing::Test {
protected:
    SpeechPracticeTest()
        : guard(&CQuenlowApp::m_strRecordWavPath, &CQuenlowApp::m_strReplayWavPath,
                &CQuenlowApp::m_strTmpRecordWavPath, &CQuenlowApp::m_strCompleteWavPath, &CQuenlowApp::m_strMediaPath,
                &CQuenlowApp::m_strSpeechMode, &CQuenlowApp::m_strRecordState, &CQuenlowApp::m_strMicrophoneReady,
                &CQuenlowApp::m_strActiveView, &CQuenlowApp::m_nVolume)
    {
        theApp.m_strRecordWavPath = Path("record.wav");
        theApp.m_strReplayWavPath = Path("replay.wav");
        theApp.m_strTmpRecordWavPath = Path("tmprecord.wav");
        theApp.m_strCompleteWavPath = Path("complete.wav");
        theApp.m_strMediaPath = Path("lesson.mp4");
        theApp.m_strSpeechMode.Empty();
        theApp.m_strRecordState.Empty();
        theApp.m_strMicrophoneReady = "true";
        theApp.m_strActiveView = "CSpeechFormView";
        theApp.m_nVolume = 80;
        TakeMessage();
        practice.SetSentences({{" One.", " 一", 0, 1000}, {" Two.", " 二", 1500, 2600}, {" Three.", " 三", 3000, 4000}});
    }

    CString Path(const char* name) const { return folder.ansi() + name; }
    bool Exists(const char* name) const { return FileExists(Path(name)); }
    bool Running(int id) const { return view.timers.count(id) != 0; }
    int Period(int id) const { return view.timers.count(id) ? view.timers.at(id) : -1; }

    // One tick of a running timer.
    void Tick(int id)
    {
        ASSERT_TRUE(Running(id)) << "timer " << id << " is not running";
        practice.OnTimer(id);
    }
    // Ticks a timer until it stops; the number of ticks.
    int TickOut(int id, int most = 1000)
    {
        int ticks = 0;
        while (Running(id) && ticks < most) {
            practice.OnTimer(id);
            ++ticks;
        }
        return ticks;
    }

    testsupport::AppStateGuard guard;
    testsupport::TempFolder folder;
    CStandInView view;
    CStandInRecorder recorder;
    CSpeechPractice practice{view, recorder};
};

} // namespace

TEST_F(SpeechPracticeTest, FollowReadingPlaysRecordsAndReplaysEverySentenceInTurn)
{
    practice.m_nPracticeIndex = 2;
    practice.OnFollowReading();
    EXPECT_EQ(theApp.m_strSpeechMode, "sentenceauto");
    EXPECT_EQ(view.timers, (std::map<int, int>{{P::kTimerAutoClip, 100}}));
    const int starts[] = {0, 1500, 3000};
    const int lengths[] = {1000, 1100, 1000};
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(k);
        Tick(P::kTimerAutoClip);
        EXPECT_EQ(view.shown.back(), k);
        EXPECT_EQ(view.lesson.opened, theApp.m_strMediaPath);
        EXPECT_EQ(view.lesson.playedFrom, starts[k]);
        EXPECT_EQ(view.lesson.volume, 80);
        EXPECT_EQ(view.range, lengths[k]);
        EXPECT_EQ(Period(P::kTimerAutoRecord), lengths[k]);

        Tick(P::kTimerAutoRecord);
        EXPECT_FALSE(view.lesson.playing) << "the lesson pauses while the learner speaks";
        ASSERT_EQ(recorder.started.size(), static_cast<size_t>(k + 1));
        EXPECT_EQ(recorder.started.back(), theApp.m_strRecordWavPath);
        EXPECT_TRUE(recorder.recording);

        // The learner gets as long as the clip lasted: 50 ms a tick.
        EXPECT_EQ(TickOut(P::kTimerAutoProgress), lengths[k] / 50 + 1);
        EXPECT_FALSE(recorder.recording);
        EXPECT_EQ(practice.m_bRecording, 0);
        EXPECT_EQ(view.progress, 0);
        // The recording is replayed from its own copy; record.wav is free.
        EXPECT_FALSE(Exists("record.wav"));
        EXPECT_EQ(ReadBytes(folder.path() + "tmprecord.wav"), "voice " + std::to_string(k + 1));
        EXPECT_EQ(view.voice.opened, theApp.m_strTmpRecordWavPath);
        EXPECT_TRUE(view.voice.playing);
        EXPECT_EQ(view.voice.volume, 100);
        EXPECT_EQ(Period(P::kTimerAutoNext), lengths[k] + 2000);

        Tick(P::kTimerAutoNext);
        EXPECT_EQ(view.voice.opened, theApp.m_strCompleteWavPath) << "the second player lets the file go";
        EXPECT_FALSE(Exists("tmprecord.wav"));
    }
    EXPECT_TRUE(view.timers.empty()) << "the run ends after the last sentence";
    EXPECT_EQ(theApp.m_strSpeechMode, "sentenceauto");
}

TEST_F(SpeechPracticeTest, AutomaticModeContinuesAtTheCurrentSentence)
{
    struct SCase {
        const char* command;
        void (CSpeechPractice::*start)();
        int first;
    };
    const SCase cases[] = {
        {"逐句跟读 starts at the first sentence", &CSpeechPractice::OnFollowReading, 0},
        {"自动 goes on from the current one", &CSpeechPractice::OnSentenceAuto, 1},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.command);
        practice.m_nPracticeIndex = 1;
        (practice.*c.start)();
        Tick(P::kTimerAutoClip);
        EXPECT_EQ(view.shown.back(), c.first);
        EXPECT_EQ(view.lesson.playedFrom, practice.m_nSentenceStart[static_cast<size_t>(c.first)]);
    }
}

TEST_F(SpeechPracticeTest, ManualModeRecordsTheClickedClipWhereverThePointerMoves)
{
    practice.OnSentenceManual();
    EXPECT_EQ(theApp.m_strSpeechMode, "sentencemanu");
    EXPECT_TRUE(view.timers.empty());

    practice.m_nPracticeIndex = 0;
    practice.PlayManualSentence();
    EXPECT_EQ(view.lesson.playedFrom, 0);
    EXPECT_EQ(Period(P::kTimerManualWait), 50);
    // The pointer rests on the third line while the first clip plays.
    practice.m_nPracticeIndex = 2;
    view.lesson.time = 999;
    Tick(P::kTimerManualWait);
    EXPECT_TRUE(Running(P::kTimerManualWait));
    EXPECT_TRUE(recorder.started.empty());
    view.lesson.time = 1000;
    Tick(P::kTimerManualWait);
    EXPECT_FALSE(Running(P::kTimerManualWait));
    EXPECT_FALSE(view.lesson.playing);
    ASSERT_EQ(recorder.started.size(), 1u);
    // A click while recording plays nothing.
    practice.PlayManualSentence();
    EXPECT_FALSE(Running(P::kTimerManualWait));

    EXPECT_EQ(TickOut(P::kTimerManualProgress), 1000 / 50 + 1) << "as long as the clicked clip";
    EXPECT_EQ(view.voice.opened, theApp.m_strTmpRecordWavPath);
    EXPECT_EQ(Period(P::kTimerManualDone), 3000);
    Tick(P::kTimerManualDone);
    EXPECT_EQ(view.voice.opened, theApp.m_strCompleteWavPath);
    EXPECT_TRUE(view.timers.empty());

    // Media that ends before the clip's end time does not leave the wait
    // running: the end counts as reached.
    practice.m_nPracticeIndex = 2;
    practice.PlayManualSentence();
    view.lesson.time = 3100;
    view.lesson.finished = true;
    Tick(P::kTimerManualWait);
    EXPECT_FALSE(Running(P::kTimerManualWait));
    EXPECT_EQ(recorder.started.size(), 2u);
}

TEST_F(SpeechPracticeTest, RolePlayRecordsTheChosenSentencesThenPerformsWithTheLearnersVoice)
{
    practice.OnRolePlay();
    EXPECT_EQ(theApp.m_strSpeechMode, "sentenceselect");
    EXPECT_TRUE(practice.ToggleSelected(0));
    EXPECT_TRUE(practice.ToggleSelected(1));
    EXPECT_FALSE(practice.ToggleSelected(1));
    EXPECT_TRUE(practice.ToggleSelected(2));   // the last sentence too
    EXPECT_FALSE(practice.ToggleSelected(3)) << "no such sentence";
    EXPECT_EQ(view.chosen, (std::set<int>{0, 2}));

    practice.OnRolePlayStart();
    EXPECT_EQ(theApp.m_strSpeechMode, "sentenceselectfinish");
    EXPECT_EQ(practice.m_nSelectedCount, 2);
    for (int k : {0, 2}) {
        SCOPED_TRACE(k);
        Tick(P::kTimerRoleNext);
        EXPECT_EQ(view.shown.back(), k);
        EXPECT_EQ(view.lesson.playedFrom, practice.m_nSentenceStart[static_cast<size_t>(k)]);
        Tick(P::kTimerRoleRecord);
        EXPECT_EQ(recorder.started.back(), Path((std::to_string(k) + ".wav").c_str()));
        TickOut(P::kTimerRoleProgress);
        EXPECT_FALSE(recorder.recording);
        EXPECT_EQ(Period(P::kTimerRoleNext), 100);
    }

    // The performance: the lesson from the first sentence with the pane shown.
    Tick(P::kTimerRoleNext);
    EXPECT_TRUE(view.paneShown);
    EXPECT_EQ(view.lesson.opened, theApp.m_strMediaPath);
    EXPECT_EQ(view.lesson.playedFrom, 0);
    EXPECT_EQ(Period(P::kTimerPerformance), 100);
    struct SStep {
        int64_t time;
        int lessonVolume;       // after the tick
        const char* voiceFile;  // what the second player holds ("" when stopped)
        bool running;           // the performance goes on
    };
    view.lesson.time = -1;   // the engine has not reported yet
    const SStep steps[] = {
        {-1, 80, "", true},
        {0, 0, "0.wav", true},          // chosen: the learner's voice
        {1499, 0, "0.wav", true},
        {1500, 80, "", true},            // not chosen: the lesson's own voice
        {3000, 0, "2.wav", true},        // the last sentence is the learner's too
        {3999, 0, "2.wav", true},
        {4000, 80, "2.wav", false},      // its end ends the performance, the sound comes back
    };
    view.lesson.volume = 80;
    for (const SStep& step : steps) {
        SCOPED_TRACE(step.time);
        view.lesson.time = step.time;
        Tick(P::kTimerPerformance);
        EXPECT_EQ(view.lesson.volume, step.lessonVolume);
        if (*step.voiceFile != 0) {
            EXPECT_EQ(view.voice.opened, Path(step.voiceFile));
            EXPECT_TRUE(view.voice.playing);
        } else {
            EXPECT_FALSE(view.voice.playing);
        }
        EXPECT_EQ(Running(P::kTimerPerformance), step.running);
    }
    view.voice.volume = 30;
    Tick(P::kTimerVoiceVolume);
    EXPECT_EQ(view.voice.volume, 100);
    EXPECT_FALSE(Running(P::kTimerVoiceVolume));
}

TEST_F(SpeechPracticeTest, RolePlayWithoutChoiceOrWithAFailedRecording)
{
    practice.OnRolePlay();
    practice.OnRolePlayStart();
    EXPECT_EQ(TakeMessage(), "请选择要模仿的句子！");
    EXPECT_TRUE(view.timers.empty());

    // A start from another mode clears the choice first.
    practice.OnRolePlay();
    practice.ToggleSelected(1);
    theApp.m_strSpeechMode = "sentenceselectfinish";
    practice.OnRolePlayStart();
    EXPECT_EQ(TakeMessage(), "请选择要模仿的句子！");
    EXPECT_TRUE(view.chosen.empty());

    // A recording that fails moves on to the next chosen sentence; in the
    // performance that sentence keeps the lesson's voice.
    practice.OnRolePlay();
    practice.ToggleSelected(0);
    practice.ToggleSelected(1);
    practice.OnRolePlayStart();
    recorder.next = ERecordingStart::Failed;
    Tick(P::kTimerRoleNext);
    Tick(P::kTimerRoleRecord);
    EXPECT_EQ(TakeMessage(), "录音失败！");
    TickOut(P::kTimerRoleProgress);
    recorder.next = ERecordingStart::Started;
    Tick(P::kTimerRoleNext);
    EXPECT_EQ(view.shown.back(), 1);
    Tick(P::kTimerRoleRecord);
    TickOut(P::kTimerRoleProgress);
    Tick(P::kTimerRoleNext);
    ASSERT_TRUE(Running(P::kTimerPerformance));
    view.lesson.time = 0;
    Tick(P::kTimerPerformance);
    EXPECT_EQ(view.lesson.volume, 80) << "sentence 0 has no recording";
    EXPECT_FALSE(view.voice.playing);
    view.lesson.time = 1500;
    Tick(P::kTimerPerformance);
    EXPECT_EQ(view.lesson.volume, 0);
    EXPECT_EQ(view.voice.opened, Path("1.wav"));

    // Media that ends early ends the performance with the lesson's sound back.
    view.lesson.finished = true;
    Tick(P::kTimerPerformance);
    EXPECT_FALSE(Running(P::kTimerPerformance));
    EXPECT_EQ(view.lesson.volume, 80);
}

TEST_F(SpeechPracticeTest, DubbingRecordsOverTheMutedVideoThenPlaysTheVoiceWithIt)
{
    practice.SetSentences({{" One.", " 一", 2500, 3500}, {" Two.", " 二", 4000, 5000}});
    practice.OnDubAll();
    EXPECT_EQ(theApp.m_strSpeechMode, "sentenceall");
    EXPECT_TRUE(view.paneShown);
    EXPECT_EQ(view.lesson.playedFrom, 500) << "2000 ms before the first sentence";
    EXPECT_EQ(view.lesson.volume, 0);
    EXPECT_EQ(recorder.started, std::vector<CString>{theApp.m_strRecordWavPath});
    EXPECT_EQ(view.shown.back(), 0);

    for (int k = 0; k < 2; ++k) {
        SCOPED_TRACE(k);
        const int start = practice.m_nSentenceStart[static_cast<size_t>(k)];
        Tick(P::kTimerDubPrepare);
        EXPECT_EQ(view.range, 1000);
        EXPECT_EQ(Period(P::kTimerDubFollow), 50);
        // Something else turned the lesson up: every tick mutes it again.
        view.lesson.volume = 80;
        view.lesson.time = start + 400;
        Tick(P::kTimerDubFollow);
        EXPECT_EQ(view.lesson.volume, 0);
        EXPECT_EQ(view.progress, 400);
        view.lesson.time = start + 1000;
        Tick(P::kTimerDubFollow);
        EXPECT_FALSE(Running(P::kTimerDubFollow));
    }
    EXPECT_EQ(practice.m_nPracticeIndex, 2);
    EXPECT_TRUE(view.timers.empty()) << "the learner finishes when ready";
    EXPECT_TRUE(recorder.recording);
    EXPECT_EQ(TakeMessage(), P::kDubLastSentenceMessage) << "and is told how";

    view.paneShown = false;
    practice.OnDubAllFinish();
    EXPECT_FALSE(recorder.recording);
    EXPECT_EQ(theApp.m_strSpeechMode, "sentenceallfinish");
    EXPECT_EQ(ReadBytes(folder.path() + "tmprecord.wav"), ReadBytes(folder.path() + "record.wav"));
    EXPECT_TRUE(view.paneShown);
    EXPECT_EQ(view.lesson.playedFrom, 0) << "3000 ms before the first sentence, not before the media";
    EXPECT_EQ(view.voice.opened, theApp.m_strTmpRecordWavPath);
    EXPECT_EQ(view.voice.volume, 100);
    EXPECT_EQ(view.timers, (std::map<int, int>{{P::kTimerDubPlayback, 50}}));

    // While the second player is still starting the recording the lesson
    // stays muted; once the recording has played out its sound returns.
    view.voice.playing = false;
    view.lesson.time = 100;
    Tick(P::kTimerDubPlayback);
    EXPECT_EQ(view.lesson.volume, 0);
    view.lesson.time = 3500;
    Tick(P::kTimerDubPlayback);
    EXPECT_EQ(view.shown.back(), 1);
    view.voice.finished = true;
    Tick(P::kTimerDubPlayback);
    EXPECT_EQ(view.lesson.volume, 80);
    view.lesson.time = 5000;
    Tick(P::kTimerDubPlayback);
    EXPECT_FALSE(Running(P::kTimerDubPlayback));
    EXPECT_FALSE(view.lesson.playing);
}

TEST_F(SpeechPracticeTest, DubbingStopsFollowingWhenTheVideoEndsEarly)
{
    practice.OnDubAll();
    Tick(P::kTimerDubPrepare);
    view.lesson.time = 700;
    view.lesson.finished = true;
    Tick(P::kTimerDubFollow);
    EXPECT_TRUE(view.timers.empty());
    EXPECT_EQ(practice.m_nPracticeIndex, practice.m_nPracticeCount);
    // The recording runs on: the learner is told that "结束" ends it.
    EXPECT_TRUE(recorder.recording);
    EXPECT_EQ(TakeMessage(), P::kDubVideoEndedMessage);
    practice.OnDubAllFinish();
    EXPECT_EQ(theApp.m_strSpeechMode, "sentenceallfinish");
    EXPECT_TRUE(Running(P::kTimerDubPlayback));
}

TEST_F(SpeechPracticeTest, AFailedRecordingEndsTheChainAndLeavesAnOlderRecordingAlone)
{
    ASSERT_TRUE(WriteFileAtomically(theApp.m_strRecordWavPath, "free recording"));
    recorder.next = ERecordingStart::NoMicrophone;
    practice.OnFollowReading();
    Tick(P::kTimerAutoClip);
    Tick(P::kTimerAutoRecord);
    EXPECT_EQ(TakeMessage(), "请接入话筒！");
    EXPECT_EQ(practice.m_bRecording, 0);
    TickOut(P::kTimerAutoProgress);
    EXPECT_TRUE(view.timers.empty()) << "no replay, no next sentence";
    EXPECT_EQ(ReadBytes(folder.path() + "record.wav"), "free recording");
    EXPECT_FALSE(Exists("tmprecord.wav"));
}

// A recording that could not be written whole (a full disk) and a copy of it
// that could not be made are both told: the learner would otherwise hear
// silence, or an older recording, and think it the new one.
TEST_F(SpeechPracticeTest, ARecordingOrCopyThatCouldNotBeWrittenIsTold)
{
    recorder.stopFails = true;
    practice.OnRecordStart();
    practice.OnRecordStop();
    EXPECT_EQ(TakeMessage(), "录音保存失败！");

    recorder.stopFails = false;
    theApp.m_strTmpRecordWavPath = Path("no/such/folder/tmprecord.wav");
    practice.OnFollowReading();
    Tick(P::kTimerAutoClip);
    Tick(P::kTimerAutoRecord);
    TickOut(P::kTimerAutoProgress);
    EXPECT_EQ(TakeMessage(), "录音保存失败！");
    EXPECT_NE(view.voice.opened, theApp.m_strTmpRecordWavPath) << "nothing to replay";

    theApp.m_strReplayWavPath = Path("no/such/folder/replay.wav");
    practice.OnRecordReplay();
    EXPECT_EQ(TakeMessage(), "录音保存失败！");
}

// A clip whose end is not after its start still ends (a timer period of 1 ms).
TEST_F(SpeechPracticeTest, AnEmptyClipStillEnds)
{
    practice.SetSentences({{" Zero.", "", 2000, 2000}, {" Back.", "", 3000, 2500}});
    practice.OnFollowReading();
    for (int k = 0; k < 2; ++k) {
        Tick(P::kTimerAutoClip);
        EXPECT_EQ(Period(P::kTimerAutoRecord), 1);
        Tick(P::kTimerAutoRecord);
        EXPECT_EQ(TickOut(P::kTimerAutoProgress), 1);
        EXPECT_GE(Period(P::kTimerAutoNext), 1);
        Tick(P::kTimerAutoNext);
    }
    EXPECT_TRUE(view.timers.empty());
}

TEST_F(SpeechPracticeTest, TicksAfterTheViewWasLeftResetEverything)
{
    practice.OnRolePlay();
    practice.ToggleSelected(1);
    practice.OnRolePlayStart();
    Tick(P::kTimerRoleNext);
    Tick(P::kTimerRoleRecord);
    ASSERT_TRUE(recorder.recording);
    view.paneShown = true;

    theApp.m_strActiveView = "CQuenlowView";
    Tick(P::kTimerRoleProgress);
    EXPECT_TRUE(view.timers.empty());
    EXPECT_FALSE(recorder.recording);
    EXPECT_EQ(theApp.m_strSpeechMode, "");
    EXPECT_TRUE(view.chosen.empty());
    EXPECT_EQ(practice.m_nSelected, (std::vector<char>{0, 0, 0}));
    EXPECT_FALSE(view.paneShown);
    // Both players hold the blank file, stopped; the lesson at the learner's volume.
    EXPECT_EQ(view.lesson.opened, theApp.m_strCompleteWavPath);
    EXPECT_TRUE(view.lesson.finished);
    EXPECT_EQ(view.lesson.volume, 80);
    EXPECT_EQ(view.voice.opened, theApp.m_strCompleteWavPath);
    EXPECT_TRUE(view.voice.finished);
    EXPECT_GT(view.cleared, 0);
}

TEST_F(SpeechPracticeTest, FreeRecordingRecordsPausesResumesAndStops)
{
    practice.OnRecordStart();
    EXPECT_EQ(recorder.started, std::vector<CString>{theApp.m_strRecordWavPath});
    EXPECT_EQ(theApp.m_strRecordState, "record");
    EXPECT_EQ(theApp.m_strSpeechMode, "DIY");
    EXPECT_EQ(practice.m_bRecording, 1);

    practice.OnRecordStart();
    EXPECT_EQ(TakeMessage(), "正在录音中！");
    practice.OnRecordPause();
    EXPECT_EQ(theApp.m_strRecordState, "pause");
    EXPECT_EQ(recorder.pauses, 1);
    practice.OnRecordPause();
    EXPECT_EQ(TakeMessage(), "暂停中！");
    EXPECT_EQ(recorder.pauses, 1) << "pausing twice changes nothing";
    // Record again resumes into the same file.
    practice.OnRecordStart();
    EXPECT_EQ(recorder.resumes, 1);
    EXPECT_EQ(recorder.started.size(), 1u);
    EXPECT_EQ(theApp.m_strRecordState, "record");
    EXPECT_EQ(practice.m_bPaused, 0);

    practice.OnRecordStop();
    EXPECT_FALSE(recorder.recording);
    EXPECT_EQ(theApp.m_strRecordState, "");
    EXPECT_EQ(theApp.m_strSpeechMode, "");
    EXPECT_EQ(practice.m_bRecording, 0);

    // Leaving the category mid-recording ends the recording and its state.
    practice.OnRecordStart();
    practice.ResetPractice();
    EXPECT_FALSE(recorder.recording);
    EXPECT_EQ(theApp.m_strRecordState, "");
    practice.OnRecordStart();
    EXPECT_EQ(recorder.started.size(), 3u) << "a new recording, no warning";
    EXPECT_EQ(TakeMessage(), "");

    // A start that fails leaves the buttons idle.
    practice.OnRecordStop();
    recorder.next = ERecordingStart::Failed;
    practice.OnRecordStart();
    EXPECT_EQ(TakeMessage(), "录音失败！");
    EXPECT_EQ(theApp.m_strRecordState, "");
    EXPECT_EQ(theApp.m_strSpeechMode, "");
    EXPECT_EQ(practice.m_bRecording, 0);
}

TEST_F(SpeechPracticeTest, ReplayPlaysACopyAndExportNeverEmptiesTheRecording)
{
    practice.OnRecordReplay();
    EXPECT_EQ(view.voice.opened, "") << "nothing recorded yet";

    ASSERT_TRUE(WriteFileAtomically(theApp.m_strRecordWavPath, "RIFF recorded voice"));
    practice.OnRecordReplay();
    EXPECT_EQ(ReadBytes(folder.path() + "replay.wav"), "RIFF recorded voice");
    EXPECT_EQ(view.voice.opened, theApp.m_strReplayWavPath);
    EXPECT_TRUE(view.voice.playing);
    EXPECT_EQ(view.voice.volume, 100);

    std::filesystem::create_directory(folder.path() + "sub");
    std::filesystem::create_symlink(folder.path() + "record.wav", folder.path() + "link.wav");
    struct SCase {
        const char* why;
        std::string target;   // below the folder
        bool ok;
        const char* message;
    };
    const SCase cases[] = {
        {"another file", "mine.wav", true, "保存完了！"},
        {"the recording itself", "record.wav", true, "保存完了！"},
        {"the recording by another path", "sub/../record.wav", true, "保存完了！"},
        {"a link to the recording", "link.wav", true, "保存完了！"},
        {"a folder that does not exist", "missing/mine.wav", false, "导出失败！"},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(practice.ExportRecording(folder.ansi() + c.target.c_str()), c.ok);
        EXPECT_EQ(TakeMessage(), c.message);
        EXPECT_EQ(ReadBytes(folder.path() + "record.wav"), "RIFF recorded voice");
        if (c.ok) {
            EXPECT_EQ(ReadBytes(folder.path() + c.target), "RIFF recorded voice");
        }
    }
}

TEST_F(SpeechPracticeTest, RibbonRulesFollowTheMicrophoneModeAndRecording)
{
    struct SCase {
        int id;
        const char* microphone;
        const char* mode;
        const char* state;
        int recording;
        bool recordFile;
        bool enabled;
        bool checked;
    };
    const SCase cases[] = {
        {kCmdRecord, "true", "", "", 0, false, true, false},
        {kCmdRecord, "true", "DIY", "record", 1, false, true, true},
        {kCmdRecord, "true", "sentenceauto", "", 0, false, false, false},   // a mode runs
        {kCmdRecord, "", "", "", 0, false, false, false},                   // no microphone
        {kCmdRecordPause, "true", "DIY", "", 0, false, false, false},
        {kCmdRecordPause, "true", "DIY", "pause", 1, false, true, true},
        {kCmdRecordStop, "true", "DIY", "record", 1, false, true, false},
        {kCmdRecordStop, "true", "", "record", 1, false, false, false},
        {kCmdReplayRecording, "true", "", "", 0, false, false, false},       // nothing recorded
        {kCmdReplayRecording, "true", "", "", 0, true, true, false},
        {kCmdReplayRecording, "true", "DIY", "record", 1, true, false, false},
        {kCmdExportRecording, "true", "", "", 0, true, true, false},
        {kCmdExportRecording, "", "", "", 0, true, false, false},
        {kCmdSpeechReset, "true", "DIY", "record", 1, false, false, false},
        {kCmdSpeechReset, "", "DIY", "", 0, false, true, false},
        {kCmdSpeechReset, "true", "sentenceall", "", 1, false, true, false},
        {kCmdFollowRead, "true", "sentencemanu", "", 0, false, true, true},
        {kCmdFollowRead, "true", "sentenceauto", "", 1, false, false, true},
        {kCmdFollowReadAuto, "true", "", "", 0, false, false, false},
        {kCmdFollowReadAuto, "true", "sentencemanu", "", 0, false, true, false},
        {kCmdFollowReadAuto, "true", "sentenceauto", "", 0, false, true, true},
        {kCmdFollowReadManual, "", "sentencemanu", "", 0, false, true, true},
        {kCmdRolePlay, "true", "sentenceselect", "", 0, false, true, true},
        {kCmdRolePlay, "true", "sentenceselectfinish", "", 1, false, false, false},
        {kCmdRolePlayStart, "", "", "", 1, false, true, false},
        {kCmdDubbing, "true", "sentenceall", "", 1, false, true, true},   // pressed again: starts over
        {kCmdDubbing, "true", "", "", 1, false, false, false},
        {kCmdDubbingEnd, "true", "sentenceall", "", 1, false, true, false},
        {kCmdDubbingEnd, "true", "sentenceallfinish", "", 0, false, false, false},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.id << " mode \"" << c.mode << "\" state \"" << c.state << '"');
        theApp.m_strMicrophoneReady = c.microphone;
        theApp.m_strSpeechMode = c.mode;
        theApp.m_strRecordState = c.state;
        practice.m_bRecording = c.recording;
        if (c.recordFile)
            ASSERT_TRUE(WriteFileAtomically(theApp.m_strRecordWavPath, "RIFF"));
        else
            DeleteFile(theApp.m_strRecordWavPath);
        const CSpeechPractice::SCommandState state = practice.GetCommandState(c.id);
        EXPECT_TRUE(state.handled);
        EXPECT_EQ(state.enabled, c.enabled);
        EXPECT_EQ(state.checked, c.checked);
    }
    practice.m_bRecording = 0;
    EXPECT_FALSE(practice.GetCommandState(kCmdPlayerPane).handled);
}
