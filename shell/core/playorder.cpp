#include "shell/core/playorder.h"

#include "shell/core/quenlow.h"

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
