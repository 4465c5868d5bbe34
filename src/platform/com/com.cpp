#include "platform/com/com.h"

#include <mutex>
#include <utility>
#include <vector>

const IID IID_IUnknown = {
    0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}
};

namespace {

thread_local int t_initCount = 0;

class ClassRegistry {
public:
    platform::ClassFactory Set(const CLSID& clsid, platform::ClassFactory factory)
    {
        std::lock_guard lock(m_mutex);
        for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
            if (it->first == clsid) {
                platform::ClassFactory previous = std::move(it->second);
                if (factory)
                    it->second = std::move(factory);
                else
                    m_entries.erase(it);
                return previous;
            }
        }
        if (factory)
            m_entries.emplace_back(clsid, std::move(factory));
        return {};
    }

    // A copy, so the factory runs outside the lock and may itself use the registry.
    platform::ClassFactory Find(const CLSID& clsid) const
    {
        std::lock_guard lock(m_mutex);
        for (const auto& [id, factory] : m_entries) {
            if (id == clsid)
                return factory;
        }
        return {};
    }

private:
    mutable std::mutex m_mutex;
    std::vector<std::pair<CLSID, platform::ClassFactory>> m_entries;
};

ClassRegistry& Registry()
{
    static ClassRegistry registry;
    return registry;
}

}  // namespace

HRESULT CoInitialize(void* /*reserved*/)
{
    return ++t_initCount == 1 ? S_OK : S_FALSE;
}

void CoUninitialize()
{
    if (t_initCount > 0)
        --t_initCount;
}

int CoInitializeCount()
{
    return t_initCount;
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD /*context*/, REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (t_initCount <= 0)
        return CO_E_NOTINITIALIZED;
    if (outer)
        return E_INVALIDARG;  // no class here can be aggregated

    const platform::ClassFactory factory = Registry().Find(clsid);
    if (!factory)
        return REGDB_E_CLASSNOTREG;
    IUnknown* instance = factory();
    if (!instance)
        return E_OUTOFMEMORY;
    // The query takes its own reference; the factory's one goes either way.
    const HRESULT hr = instance->QueryInterface(iid, object);
    instance->Release();
    if (FAILED(hr))
        *object = nullptr;
    return hr;
}

namespace platform {

ClassFactory RegisterClassFactory(REFCLSID clsid, ClassFactory factory)
{
    return Registry().Set(clsid, std::move(factory));
}

}  // namespace platform
