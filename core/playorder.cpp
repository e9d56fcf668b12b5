#include "core/playorder.h"

#include <algorithm>

#include "core/quenlow.h"

const char* const kNoPlayableFileMessage = "播放文件不存在！";

int StepPlayIndex(int index, int count, int order, EPlayStep step)
{
    switch (order) {
    case 1:
        if (step == EPlayStep::Next)
            return index + 1 < count ? index + 1 : 0;
        return index - 1 > 0 ? index - 1 : 0;
    case 2:
        return theApp.RandomIndex(count);
    default:
        return index;
    }
}

int ChoosePlayEntry(int index, int count)
{
    if (count <= 0)
        return kNoPlayableEntry;
    if (index < 0)
        return 0;
    return index < count ? index : kNoPlayableEntry;
}

int StepPlayList(EPlayStep step)
{
    const int count = theApp.m_arrPlayList.GetSize();
    theApp.m_nPlayIndex = StepPlayIndex(theApp.m_nPlayIndex, count, theApp.m_nPlayOrder, step);
    return ChoosePlayEntry(theApp.m_nPlayIndex, count);
}

bool ReachedMediaEnd(int64_t t, int64_t length, bool engineEnded)
{
    return engineEnded || (length > kMediaEndMarginMs && t >= length - kMediaEndMarginMs);
}

int NextTimeDisplayDelay(int64_t t, int64_t length)
{
    constexpr int64_t kPastTheSecondMs = 20;
    if (t < 0)
        return 1000;
    int64_t delay = 1000 - t % 1000 + kPastTheSecondMs;
    if (length > kMediaEndMarginMs && t + delay > length - kMediaEndMarginMs)
        delay = length - kMediaEndMarginMs / 2 - t;
    return static_cast<int>(std::max<int64_t>(1, delay));
}
