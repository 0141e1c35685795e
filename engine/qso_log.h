// CQsoLog: the store of QSOs in the order they were added, with an index by
// call and band so that the dupe search of an added QSO and the call check
// cost the same however long the log grows. The index keeps store order, so
// the first and last matches are those a scan from the start would find.
#pragma once
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/info.h"

class CQsoLog : public CArray<CInfo> {
public:
    // Appends a record; returns its index.
    int Add(const CInfo& record);
    // Removes a record; the later ones move up. Linear in the log.
    void RemoveAt(int index);
    void RemoveAll();

    // The records of this call on this band (exact texts), in store order,
    // until visit returns false.
    template <class Visit>
    void ForEachOfCallOnBand(const CString& call, const CString& band, Visit visit) const
    {
        auto hit = m_byCallBand.find(Key(call, band));
        if (hit == m_byCallBand.end())
            return;
        for (int index : hit->second)
            if (!visit(GetAt(index)))
                return;
    }

    // Records are changed only through the members above, which keep the
    // index right.
    CInfo& ElementAt(int) = delete;
    void SetAt(int, const CInfo&) = delete;
    void InsertAt(int, const CInfo&) = delete;
    CInfo& operator[](int) = delete;
    const CInfo& operator[](int index) const { return GetAt(index); }

private:
    static std::string Key(const CString& call, const CString& band);

    // Store indexes of each call and band, ascending.
    std::unordered_map<std::string, std::vector<int>> m_byCallBand;
};
