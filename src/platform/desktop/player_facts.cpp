#include "platform/desktop/player_facts.h"

namespace desktop {

bool KeepsScreenAwake(const PlayerFacts& facts)
{
    return facts.playback == Playback::Playing && facts.hasPicture;
}

}  // namespace desktop
