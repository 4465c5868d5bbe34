#pragma once
// A probe of how long the UI thread's event loop is kept from its events, for
// the benchmarks: with VANTREL_LOOP_PROBE naming a file, a 1 ms timer runs on
// the UI thread and every gap of 4 ms or more between its ticks is appended to
// the file as "MS-SINCE-START GAP-MS BUSY-MS": the gap, and how much of it the
// thread itself ran (the rest it waited for a core). Off, and costing nothing,
// without it.

namespace platform {

// UI thread, once the toolkit is made.
void StartLoopProbe();

}  // namespace platform
