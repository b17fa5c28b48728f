#pragma once

// CSharedRef: shares one heap object among several owners and deletes it with the last one.
// The count is atomic: a save thread may hold a frame source while the user-interface thread
// drops its own holders. A single holder is not itself safe to use from two threads at once.

#include <atomic>
#include <utility>

template <class T>
class CSharedRef {
public:
    // Takes ownership of object (null gives an empty holder).
    explicit CSharedRef(T* object = nullptr)
        : m_object(object), m_count(object ? new std::atomic<int>(1) : nullptr) {}
    CSharedRef(const CSharedRef& other) : m_object(other.m_object), m_count(other.m_count) {
        if (m_count)
            m_count->fetch_add(1, std::memory_order_relaxed);
    }
    CSharedRef& operator=(const CSharedRef& other) {
        if (this == &other)
            return *this;
        // Take the new share before letting go of the old one, so that assigning a holder that
        // shares our object never passes through zero.
        if (other.m_count)
            other.m_count->fetch_add(1, std::memory_order_relaxed);
        Release();
        m_object = other.m_object;
        m_count = other.m_count;
        return *this;
    }
    virtual ~CSharedRef() { Release(); }

    // Lets go of the object (deleting it when this was the last holder); the holder is empty
    // afterwards.
    void Release() {
        T* object = std::exchange(m_object, nullptr);
        std::atomic<int>* count = std::exchange(m_count, nullptr);
        if (count && count->fetch_sub(1, std::memory_order_acq_rel) <= 1) {
            delete count;
            delete object;
        }
    }

    T* Get() const { return m_object; }
    T* operator->() const { return m_object; }
    T& operator*() const { return *m_object; }
    bool IsEmpty() const { return m_object == nullptr; }
    // Holders sharing the object (0 when empty).
    int UseCount() const { return m_count ? m_count->load(std::memory_order_relaxed) : 0; }

private:
    T* m_object;
    std::atomic<int>* m_count;
};
