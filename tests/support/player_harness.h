#pragma once
// A live player window wired to the scripted graph: each test gets a fresh
// window, a fresh fake graph registration and an empty settings directory.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "fakes/fake_graph.h"
#include "ui/player/player_dlg.h"

namespace harness {

using Calls = std::vector<std::string>;

inline constexpr const char* kAppName = "vantrel-engine-test";
inline constexpr const char* kClip = "/media/clip.mpg";
inline constexpr const char* kOtherClip = "/media/other clip.mpg";

// The player window, with the messages the tests watch for counted as they pass.
class ObservedPlayer : public CPlayerDlg {
public:
    int ticks = 0;
    int erases = 0;
    std::vector<WPARAM> sysCommands;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// Process-wide set-up (application object, toolkit, resources), done once, and an
// empty settings directory for every test.
struct ProcessReady {
    ProcessReady();
};

class PlayerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

public:
    // Opens kClip and lets it play; the log starts empty afterwards.
    void OpenPlaying();
    void OpenPaused();
    void OpenStopped();

    // The graph calls, without the reads that refreshing the texts makes.
    Calls GraphCalls() const;
    // The window handle as the graph log writes it.
    std::string Self() const;

    // True as soon as a status tick reaches the window (bounded, never timed).
    bool TickArrives();
    // True when no status tick arrives during several periods.
    bool StaysQuiet();
    // Pumps messages until `done` holds (bounded).
    bool PumpUntil(const std::function<bool()>& done);

    void SetClientSize(LONG cx, LONG cy);
    RECT ClientRect() const;
    RECT WindowRect() const;
    // The label panel's rectangle in the player's client coordinates.
    RECT LabelPanelRect() const;

protected:
    ProcessReady m_ready;
    fakes::ScopedFakeGraph graph;
    ObservedPlayer dlg;
};

}  // namespace harness
