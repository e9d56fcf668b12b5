// The sentence model's housekeeping. The table starts with room for a normal
// lesson and grows with the file, so no lesson is ever cut short.
#include <algorithm>

#include "core/quenlow.h"

void CQuenlowApp::ClearSentenceModel()
{
    const size_t size = std::max<size_t>(kSentenceTableSize, m_arrSentenceTiming.size());
    m_arrSentenceTiming.assign(size, SSentenceTiming{});
    // One correction per sentence slot: a correction left by a longer lesson
    // must not shift the selection of the next one.
    m_arrTextCorrection.assign(size, 0);
    m_arrForeignText.RemoveAll();
    m_arrChineseText.RemoveAll();
    m_nSentenceCount = 0;
    m_nCurrentSentence = -1;
}

void CQuenlowApp::EnsureSentenceCapacity(int count)
{
    if (count <= 0)
        return;
    const size_t needed = static_cast<size_t>(count);
    if (m_arrSentenceTiming.size() < needed)
        m_arrSentenceTiming.resize(std::max(needed, m_arrSentenceTiming.size() * 2));
    if (m_arrTextCorrection.size() < m_arrSentenceTiming.size())
        m_arrTextCorrection.resize(m_arrSentenceTiming.size(), 0);
}

int CQuenlowApp::FindSentenceAt(int64_t t) const
{
    const int count = std::min<int>(m_nSentenceCount, static_cast<int>(m_arrSentenceTiming.size()));
    for (int i = 0; i < count; ++i) {
        const SSentenceTiming& s = m_arrSentenceTiming[static_cast<size_t>(i)];
        if (int64_t{s.starttime} + m_nTimeOffset <= t && t <= int64_t{s.endtime} + m_nTimeOffset)
            return i;
    }
    return -1;
}

int64_t CQuenlowApp::NextSentenceChange(int64_t t) const
{
    const int count = std::min<int>(m_nSentenceCount, static_cast<int>(m_arrSentenceTiming.size()));
    int64_t next = -1;
    for (int i = 0; i < count; ++i) {
        const SSentenceTiming& s = m_arrSentenceTiming[static_cast<size_t>(i)];
        for (const int64_t edge : {int64_t{s.starttime} + m_nTimeOffset, int64_t{s.endtime} + m_nTimeOffset + 1}) {
            if (edge > t && (next < 0 || edge < next))
                next = edge;
        }
    }
    return next;
}
