#pragma once
// What the desktop is told about the player: plain values the program fills in after
// every change. Nothing here knows the program's types.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace desktop {

enum class Playback { None, Stopped, Paused, Playing };  // None: nothing opened yet

struct PlayerFacts {
    Playback playback = Playback::None;
    bool hasPicture = false;
    std::string title;   // the medium's title, else its name as the window shows it; empty when none is open
    std::string artist;  // from the medium's tags; empty when it names none
    std::string album;
    // The medium's cover as it stores it (PNG, JPEG...), compared by identity; null when none.
    std::shared_ptr<const std::vector<std::uint8_t>> cover;
    std::string coverType;     // the cover's MIME type
    std::string location;      // the path or URL that was opened
    double lengthSeconds = 0;  // 0 or less: not known
    int volumeLevel = 0;       // 0..loudestVolume; a level read from edited settings may lie outside
    int loudestVolume = 1;     // the top of the player's volume scale
    bool repeat = false;
    unsigned seeks = 0;  // counts jumps of the position (seeks and rewinds)
    friend bool operator==(const PlayerFacts&, const PlayerFacts&) = default;
};

// The idle screen saver stays off while a picture plays, and only then.
bool KeepsScreenAwake(const PlayerFacts& facts);

}  // namespace desktop
