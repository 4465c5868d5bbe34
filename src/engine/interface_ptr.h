#pragma once
// Small helpers for holding the graph's COM interfaces.

#include "platform/com/com.h"

namespace engine {

// Queries `from` for `iid` into `into`; false, with `into` null, when it is missing.
template <class T>
bool QueryInto(IUnknown* from, REFIID iid, T*& into)
{
    void* found = nullptr;
    const bool ok = SUCCEEDED(from->QueryInterface(iid, &found)) && found != nullptr;
    into = ok ? static_cast<T*>(found) : nullptr;
    return ok;
}

template <class T>
void ReleaseAndClear(T*& held)
{
    if (held != nullptr) {
        held->Release();
        held = nullptr;
    }
}

// An interface held for the length of one operation: queried when made, released
// when it goes out of scope. Empty when `from` is null or lacks the interface.
template <class T>
class ScopedInterface {
public:
    ScopedInterface(IUnknown* from, REFIID iid)
    {
        if (from != nullptr)
            QueryInto(from, iid, m_held);
    }
    ~ScopedInterface() { ReleaseAndClear(m_held); }
    ScopedInterface(const ScopedInterface&) = delete;
    ScopedInterface& operator=(const ScopedInterface&) = delete;

    explicit operator bool() const { return m_held != nullptr; }
    T* operator->() const { return m_held; }
    T& operator*() const { return *m_held; }

private:
    T* m_held = nullptr;
};

}  // namespace engine
