#include "graph_session.h"

#include <chrono>
#include <cstdlib>
#include <thread>

#include <QImage>
#include <QWidget>

#include "platform/framework/app.h"

namespace graph_test {

namespace {

constexpr int kPollSliceMs = 10;
constexpr int kPollBoundMs = 15000;

// Test runs stay silent also when a test program is started by hand.
struct SilentAudio : ::testing::Environment {
    void SetUp() override { setenv("VANTREL_AUDIOSINK", "fakesink", 0); }
};
const auto* const g_silentAudio = ::testing::AddGlobalTestEnvironment(new SilentAudio);

template <typename T>
Ref<T> Query(IUnknown* object, REFIID iid)
{
    void* face = nullptr;
    EXPECT_EQ(object->QueryInterface(iid, &face), S_OK);
    return Ref<T>(static_cast<T*>(face));
}

}  // namespace

void GraphTest::SetUp()
{
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    ASSERT_TRUE(platform::RegisterFilterGraph());
}

void GraphTest::TearDown()
{
    CoUninitialize();
}

Session::Session()
{
    void* created = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, &created), S_OK);
    graph.reset(static_cast<IGraphBuilder*>(created));
    if (!graph)
        return;
    control = Query<IMediaControl>(graph.get(), IID_IMediaControl);
    events = Query<IMediaEventEx>(graph.get(), IID_IMediaEventEx);
    window = Query<IVideoWindow>(graph.get(), IID_IVideoWindow);
    position = Query<IMediaPosition>(graph.get(), IID_IMediaPosition);
    seeking = Query<IMediaSeeking>(graph.get(), IID_IMediaSeeking);
    audio = Query<IBasicAudio>(graph.get(), IID_IBasicAudio);
    video = Query<IBasicVideo>(graph.get(), IID_IBasicVideo);
    streams = Query<IAMStreamSelect>(graph.get(), IID_IAMStreamSelect);
    tags = Query<IMediaTags>(graph.get(), IID_IMediaTags);
}

HRESULT Session::Render(const std::string& pathOrUrl)
{
    return graph->RenderFile(pathOrUrl.c_str(), nullptr);
}

bool Session::NextEvent(LONG* code, LONG_PTR* param1, LONG boundMs)
{
    while (NextOfAny(code, param1, boundMs)) {
        if (*code != EC_LENGTH_CHANGED && *code != EC_TAGS_CHANGED)
            return true;
    }
    return false;
}

bool Session::NextOfAny(LONG* code, LONG_PTR* param1, LONG boundMs)
{
    LONG_PTR first = 0;
    LONG_PTR second = 0;
    if (FAILED(events->GetEvent(code, &first, &second, boundMs)))
        return false;
    events->FreeEventParams(*code, first, second);
    if (param1)
        *param1 = first;
    return true;
}

bool Session::WaitForEvent(LONG code)
{
    LONG got = 0;
    while (NextOfAny(&got, nullptr, 15000)) {
        if (got == code)
            return true;
    }
    return false;
}

double Session::Position()
{
    REFTIME now = -1;
    EXPECT_EQ(position->get_CurrentPosition(&now), S_OK);
    return now;
}

bool Session::WaitForPosition(const std::function<bool(double)>& holds)
{
    for (int waited = 0; waited < kPollBoundMs; waited += kPollSliceMs) {
        if (holds(Position()))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollSliceMs));
    }
    return holds(Position());
}

OAFilterState Session::State()
{
    OAFilterState state = -1;
    EXPECT_EQ(control->GetState(0, &state), S_OK);
    return state;
}

void Settle(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

QImage GrabOnceShown(QWidget* widget, int probeX, int probeY)
{
    QImage shot = widget->grab().toImage();
    for (int waited = 0; waited < 5000 && (shot.pixel(probeX, probeY) & 0xFFFFFF) == 0; waited += 10) {
        platform::PumpEvents(10);
        shot = widget->grab().toImage();
    }
    return shot;
}

}  // namespace graph_test
