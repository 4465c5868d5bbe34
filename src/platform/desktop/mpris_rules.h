#pragma once
// How the player's facts read through the MPRIS interface, and what its requests become.
// Plain rules, no bus.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop/player_facts.h"

namespace desktop {

// The menu commands a desktop request turns into; the program maps them to its ids.
enum class PlayerCommand { PlayPause, Stop, VolumeUp, VolumeDown, Repeat, Close };

enum class TransportRequest { Play, Pause, PlayPause, Stop };

// "Playing", "Paused" or "Stopped" (nothing open reads as stopped).
std::string_view PlaybackStatusText(Playback playback);
// "Track" when the medium repeats, else "None".
std::string_view LoopStatusText(bool repeat);
// Whether a loop status asks for Repeat; nothing for a text that is no loop status. A
// single medium repeated is also the whole list repeated, so "Playlist" asks for it too.
std::optional<bool> RepeatForLoopStatus(std::string_view status);

// level / loudest, within 0..1.
double VolumeForLevel(int level, int loudest);
// The nearest level 0..loudest to a volume; nothing for a volume that is not a number.
std::optional<int> LevelForVolume(double volume, int loudest);

// The command a transport request is in the menu, or nothing where the request asks for
// the state the player is already in (Play while playing, Pause while not playing).
std::optional<PlayerCommand> CommandForRequest(TransportRequest request, Playback playback);

bool CanPlay(const PlayerFacts& facts);  // CanPlay and CanPause: once a medium was opened
bool CanSeek(const PlayerFacts& facts);  // an open medium of known length

// Where a relative seek lands: clamped to the medium (past its end is its end, which the
// player treats as any other end of the stream). Nothing when it cannot seek.
std::optional<double> SeekTarget(const PlayerFacts& facts, double position, double offsetSeconds);
// An absolute position is taken only inside the medium.
std::optional<double> PositionTarget(const PlayerFacts& facts, double seconds);

// The object path naming the n-th medium opened; n = 0 is the "no track" path.
std::string TrackIdPath(unsigned number);

// The Player properties whose values differ between two sets of facts (Position is not
// among them: clients ask for it).
std::vector<std::string> ChangedPlayerProperties(const PlayerFacts& before, const PlayerFacts& after);

}  // namespace desktop
