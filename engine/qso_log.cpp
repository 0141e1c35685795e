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

int CQsoLog::IndexOf(uint32_t id) const
{
    return static_cast<int>(std::lower_bound(m_ids.begin(), m_ids.end(), id) - m_ids.begin());
}

int CQsoLog::Add(const CInfo& record)
{
    const uint32_t id = m_nextId++;
    m_byCallBand[Key(record.m_call, record.m_band)].push_back(id);
    m_ids.push_back(id);
    return CArray<CInfo>::Add(record);
}

void CQsoLog::RemoveAt(int index)
{
    const CInfo& r = GetAt(index);
    const uint32_t id = m_ids[static_cast<size_t>(index)];
    auto hit = m_byCallBand.find(Key(r.m_call, r.m_band));
    std::vector<uint32_t>& ids = hit->second;
    ids.erase(std::find(ids.begin(), ids.end(), id));
    if (ids.empty())
        m_byCallBand.erase(hit);
    m_ids.erase(m_ids.begin() + index);
    CArray<CInfo>::RemoveAt(index);
}

void CQsoLog::RemoveAll()
{
    m_byCallBand.clear();
    m_ids.clear();
    m_nextId = 0;
    CArray<CInfo>::RemoveAll();
}
