// Drives the player's 50 ms status tick on a visible panel (with MPRIS on the session bus when
// there is one) and reports what one
// tick costs: CPU time of the call, CPU time of showing the result, and the area
// repainted.

#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/framework/app.h"
#include "platform/framework/window_host.h"
#include "res/resource_table.h"
#include "ui/player/player_dlg.h"
#include "bench_player.h"

namespace {

double CpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// The player writes its settings when its window is destroyed: they go to a
// scratch folder for the run, never into the user's own.
class ScratchConfig {
public:
    ScratchConfig()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "vantrel-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror("vantrel_bench_tick: scratch settings folder");
            std::exit(1);
        }
        m_path = pattern;
        ::setenv("XDG_CONFIG_HOME", m_path.c_str(), 1);
    }
    ~ScratchConfig()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchConfig(const ScratchConfig&) = delete;
    ScratchConfig& operator=(const ScratchConfig&) = delete;

private:
    std::filesystem::path m_path;
};

}  // namespace

int main(int argc, char** argv)
{
    const int ticks = argc > 1 ? std::atoi(argv[1]) : 1000;
    const ScratchConfig config;
    BenchApp app;
    platform::EnsureToolkit();
    res::RegisterResources();
    app.SetRegistryKey("Quorvel");

    CPlayerDlg dlg;
    app.m_pMainWnd = &dlg;
    if (!dlg.Create(IDD_PLAYER))
        return 1;
    dlg.SetWindowPos(nullptr, 0, 0, 488, 108, SWP_NOZORDER);  // a roomy panel: 480 x 100 client
    dlg.m_wndLabel.SetWindowPos(nullptr, 0, 0, 480, 100, SWP_NOMOVE | SWP_NOZORDER);
    dlg.m_nState = STATE_PLAYING;
    dlg.m_dDuration = 95.48;
    dlg.m_strPath = "bench.mpg";
    dlg.UpdateInfo();
    platform::PumpEvents(100);

    const HWND panel = dlg.m_wndLabel.GetSafeHwnd();
    const platform::PaintCounters before = platform::PaintCountersOf(panel);
    double callCpu = 0.0;
    double showCpu = 0.0;
    for (int i = 0; i < ticks; ++i) {
        const double t0 = CpuSeconds();
        // As the timer delivers it: the status line, then the facts the desktop follows.
        dlg.SendMessage(WM_TIMER, TIMER_STATUS, 0);
        const double t1 = CpuSeconds();
        platform::PumpEvents(0);  // let the toolkit put the strip on screen
        showCpu += CpuSeconds() - t1;
        callCpu += t1 - t0;
    }
    const platform::PaintCounters after = platform::PaintCountersOf(panel);
    const double paints = static_cast<double>(after.paints - before.paints);
    RECT rc;
    dlg.m_wndLabel.GetClientRect(&rc);
    std::printf("ticks                      %d\n", ticks);
    std::printf("panel client               %d x %d\n", rc.right, rc.bottom);
    std::printf("cpu per tick, WM_TIMER     %.4f ms\n", 1000.0 * callCpu / ticks);
    std::printf("cpu per tick, to screen    %.4f ms\n", 1000.0 * showCpu / ticks);
    std::printf("cpu per tick, total        %.4f ms\n", 1000.0 * (callCpu + showCpu) / ticks);
    std::printf("paints per tick            %.2f\n", paints / ticks);
    std::printf("pixels repainted per tick  %.0f (%.1f rows of the %d-px-wide panel)\n",
                static_cast<double>(after.pixels - before.pixels) / ticks,
                static_cast<double>(after.pixels - before.pixels) / ticks / rc.right, rc.right);
    dlg.DestroyWindow();
    app.m_pMainWnd = nullptr;
    return 0;
}
