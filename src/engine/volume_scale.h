#pragma once
// The volume curve: levels 0..10 as the attenuation the audio renderer takes,
// in hundredths of a decibel (-10000 is silence, 0 full volume).

#include "platform/system/win_types.h"

// The volume's levels run from 0, silence, to this.
inline constexpr int kLoudestVolume = 10;

// 1000 × ln(fraction), truncated toward zero; exactly 0.0 is silence. A fraction
// with no logarithm (negative, NaN) is silence too.
LONG LevelToAttenuation(double fraction);

// The attenuation for a volume level. Levels outside 0..10 (an edited settings
// file) count as the nearest end, so the result always lies in -10000..0.
LONG AttenuationForLevel(int level);
