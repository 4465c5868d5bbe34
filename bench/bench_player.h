#pragma once
// The player window the C++ benchmarks drive: the application object, the toolkit,
// the resources and the real filter graph, set up as the program does.

#include <cstdio>

#include "platform/com/dshow.h"
#include "platform/framework/app.h"
#include "res/resource_table.h"
#include "ui/player/player_dlg.h"

class BenchApp : public CWinApp {
public:
    BenchApp() : CWinApp("vantrel-bench") {}
};

// Registers the graph and creates the player window as the application's main one;
// false (said on stderr) when either cannot be had.
inline bool StartBenchPlayer(BenchApp& app, CPlayerDlg& dlg)
{
    platform::EnsureToolkit();
    res::RegisterResources();
    if (!platform::RegisterFilterGraph()) {
        std::fprintf(stderr, "no usable media framework\n");
        return false;
    }
    app.SetRegistryKey("Quorvel");
    app.m_pMainWnd = &dlg;
    return dlg.Create(IDD_PLAYER) != FALSE;
}
