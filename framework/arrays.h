// CObject, CArray and CStringArray: the platform's root object and growable
// arrays. An index outside an array is a programming error and throws.
#pragma once
#include <stdexcept>
#include <vector>

#include "framework/str.h"

class CObject {
public:
    virtual ~CObject() = default;
};

template <class T>
class CArray : public CObject {
public:
    int GetSize() const { return static_cast<int>(m_items.size()); }
    int GetCount() const { return GetSize(); }
    bool IsEmpty() const { return m_items.empty(); }
    int Add(const T& item)
    {
        m_items.push_back(item);
        return GetSize() - 1;
    }
    T& ElementAt(int index) { return m_items[Checked(index)]; }
    const T& GetAt(int index) const { return m_items[Checked(index)]; }
    void SetAt(int index, const T& item) { m_items[Checked(index)] = item; }
    T& operator[](int index) { return ElementAt(index); }
    const T& operator[](int index) const { return GetAt(index); }
    void InsertAt(int index, const T& item)
    {
        if (index < 0 || index > GetSize())
            throw std::invalid_argument("array index out of range");
        m_items.insert(m_items.begin() + index, item);
    }
    void RemoveAt(int index) { m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(Checked(index))); }
    void RemoveAll() { m_items.clear(); }

private:
    size_t Checked(int index) const
    {
        if (index < 0 || index >= GetSize())
            throw std::invalid_argument("array index out of range");
        return static_cast<size_t>(index);
    }
    std::vector<T> m_items;
};

class CStringArray : public CArray<CString> {
};
