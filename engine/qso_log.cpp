#include "engine/qso_log.h"

#include <algorithm>

std::string CQsoLog::Key(const CString& call, const CString& band)
{
    // A text from the host holds no NUL, so the key is unambiguous.
    std::string key = call.str();
    key += '\0';
    key += band.str();
    return key;
}

int CQsoLog::Add(const CInfo& record)
{
    // Room is made in the index first, so that once the record is stored
    // its index entry cannot fail: an allocation that fails leaves the
    // index and the store agreeing.
    std::vector<int>& indexes = m_byCallBand[Key(record.m_call, record.m_band)];
    if (indexes.size() == indexes.capacity())
        indexes.reserve(indexes.size() * 2 + 1);
    const int index = CArray<CInfo>::Add(record);
    indexes.push_back(index);
    return index;
}

void CQsoLog::RemoveAt(int index)
{
    const CInfo& r = GetAt(index);
    auto hit = m_byCallBand.find(Key(r.m_call, r.m_band));
    std::vector<int>& indexes = hit->second;
    indexes.erase(std::find(indexes.begin(), indexes.end(), index));
    if (indexes.empty())
        m_byCallBand.erase(hit);
    CArray<CInfo>::RemoveAt(index);
    // The records after it moved up by one.
    for (auto& entry : m_byCallBand)
        for (int& i : entry.second)
            if (i > index)
                --i;
}

void CQsoLog::RemoveAll()
{
    m_byCallBand.clear();
    CArray<CInfo>::RemoveAll();
}
