#pragma once
// The transport state, held by the player window as a plain integer.

enum PlayState : int {
    STATE_NONE = 0,  // nothing opened since start
    STATE_STOPPED = 1,
    STATE_PAUSED = 2,
    STATE_PLAYING = 3,
};
