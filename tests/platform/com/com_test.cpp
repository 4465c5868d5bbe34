// The minimal COM: per-thread initialisation, the class registry behind
// CoCreateInstance, and the graph object's identity and reference count.

#include <atomic>
#include <filesystem>
#include <iterator>
#include <thread>

#include "graph_session.h"

namespace graph_test {
namespace {

const CLSID kFakeClass = {
    0x1234ABCD, 0x0001, 0x0002, {1, 2, 3, 4, 5, 6, 7, 8}
};
const IID kOtherInterface = {
    0x1234ABCD, 0x0003, 0x0004, {8, 7, 6, 5, 4, 3, 2, 1}
};

std::atomic<int> g_alive{0};  // shows a leaked or doubly freed object

class FakeObject final : public IUnknown {
public:
    FakeObject() { ++g_alive; }
    HRESULT QueryInterface(REFIID iid, void** object) override
    {
        *object = iid == IID_IUnknown ? this : nullptr;
        if (!*object)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG AddRef() override { return ++m_references; }
    ULONG Release() override
    {
        const ULONG left = --m_references;
        if (left == 0)
            delete this;
        return left;
    }

private:
    ~FakeObject() { --g_alive; }
    std::atomic<ULONG> m_references{1};
};

HRESULT Create(REFCLSID clsid, REFIID iid, void** object)
{
    *object = reinterpret_cast<void*>(1);  // must be cleared on failure
    return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, object);
}

TEST(Com, InitialisationIsCountedPerThreadAndCreationNeedsIt)
{
    void* object = nullptr;
    EXPECT_EQ(Create(kFakeClass, IID_IUnknown, &object), CO_E_NOTINITIALIZED);
    EXPECT_EQ(object, nullptr);

    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
    EXPECT_EQ(CoInitializeCount(), 2);
    int otherThread = -1;
    std::thread([&] { otherThread = CoInitializeCount(); }).join();
    EXPECT_EQ(otherThread, 0);
    CoUninitialize();
    CoUninitialize();
    CoUninitialize();  // one too many is harmless
    EXPECT_EQ(CoInitializeCount(), 0);
}

TEST(Com, CreatesRegisteredClassesOnlyAndFreesAnObjectThatLacksTheInterface)
{
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    void* object = nullptr;
    EXPECT_EQ(Create(kFakeClass, IID_IUnknown, &object), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(object, nullptr);

    EXPECT_FALSE(platform::RegisterClassFactory(kFakeClass, [] { return new FakeObject; }));
    ASSERT_EQ(Create(kFakeClass, IID_IUnknown, &object), S_OK);
    EXPECT_EQ(g_alive, 1);
    EXPECT_EQ(static_cast<IUnknown*>(object)->Release(), 0u);

    EXPECT_EQ(Create(kFakeClass, kOtherInterface, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(g_alive, 0);

    // An empty factory removes the class and hands back the one it replaced.
    EXPECT_TRUE(platform::RegisterClassFactory(kFakeClass, {}));
    EXPECT_EQ(Create(kFakeClass, IID_IUnknown, &object), REGDB_E_CLASSNOTREG);
    CoUninitialize();
}

class GraphObjectTest : public GraphTest {};

TEST_F(GraphObjectTest, AnswersEveryGraphInterfaceAsOneCountedObject)
{
    void* created = nullptr;
    ASSERT_EQ(Create(CLSID_FilterGraph, IID_IUnknown, &created), S_OK);
    auto* identity = static_cast<IUnknown*>(created);
    for (const IID* iid : {&IID_IGraphBuilder, &IID_IMediaControl, &IID_IMediaEventEx, &IID_IVideoWindow,
                           &IID_IMediaPosition, &IID_IMediaSeeking, &IID_IBasicAudio, &IID_IBasicVideo}) {
        IUnknown* face = nullptr;
        IUnknown* back = nullptr;
        ASSERT_EQ(identity->QueryInterface(*iid, reinterpret_cast<void**>(&face)), S_OK);
        ASSERT_EQ(face->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&back)), S_OK);
        EXPECT_EQ(back, identity);
        back->Release();
        face->Release();
    }
    void* none = reinterpret_cast<void*>(1);
    EXPECT_EQ(identity->QueryInterface(kOtherInterface, &none), E_NOINTERFACE);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(identity->AddRef(), 2u);
    EXPECT_EQ(identity->Release(), 1u);
    EXPECT_EQ(identity->Release(), 0u);
}

std::ptrdiff_t ThreadCount()
{
    const std::filesystem::directory_iterator tasks("/proc/self/task");
    return std::distance(begin(tasks), end(tasks));
}

// The set-up has registered the graph once already; registering again (each
// test does) must not start more background work.
TEST_F(GraphObjectTest, RegisteringAgainStartsNoFurtherThreads)
{
    const std::ptrdiff_t before = ThreadCount();
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(platform::RegisterFilterGraph());
    EXPECT_LE(ThreadCount(), before);
}

}  // namespace
}  // namespace graph_test
