#pragma once
// A real filter graph made through CoCreateInstance, with every interface the
// player holds, and the waits the tests need (bounded; nothing is timed).

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/com/dshow.h"

class QImage;
class QWidget;

namespace graph_test {

struct Releaser {
    void operator()(IUnknown* object) const { object->Release(); }
};
template <typename T>
using Ref = std::unique_ptr<T, Releaser>;

// COM for the test's thread and the GStreamer graph registered.
class GraphTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

class Session {
public:
    Session();  // expects every interface to be there

    HRESULT Render(const std::string& pathOrUrl);
    // The next event of the transport within `boundMs`, past the notices of a new
    // length or new tags; false when none came.
    bool NextEvent(LONG* code, LONG_PTR* param1 = nullptr, LONG boundMs = 15000);
    // Fetches events, notices too, until one with `code` comes (bounded); the others are dropped.
    bool WaitForEvent(LONG code);
    double Position();
    // Polls the position until `holds` is true of it (bounded).
    bool WaitForPosition(const std::function<bool(double)>& holds);
    OAFilterState State();

    Ref<IGraphBuilder> graph;
    Ref<IMediaControl> control;
    Ref<IMediaEventEx> events;
    Ref<IVideoWindow> window;
    Ref<IMediaPosition> position;
    Ref<IMediaSeeking> seeking;
    Ref<IBasicAudio> audio;
    Ref<IBasicVideo> video;
    Ref<IAMStreamSelect> streams;
    Ref<IMediaTags> tags;

private:
    bool NextOfAny(LONG* code, LONG_PTR* param1, LONG boundMs);
};

// Lets the process's threads run for a while (no assertion on time follows).
void Settle(int ms);

// What `widget` shows once its picture has come (pictures are made away from
// the UI thread): the first grab whose pixel at `probe` is not black, or the
// last one after a few seconds.
QImage GrabOnceShown(QWidget* widget, int probeX = 5, int probeY = 20);

}  // namespace graph_test
