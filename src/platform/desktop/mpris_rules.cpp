#include "platform/desktop/mpris_rules.h"

#include <algorithm>
#include <cmath>

namespace desktop {

namespace {

bool SameMedium(const PlayerFacts& a, const PlayerFacts& b)
{
    return a.title == b.title && a.artist == b.artist && a.album == b.album && a.cover == b.cover &&
           a.location == b.location && a.lengthSeconds == b.lengthSeconds;
}

}  // namespace

std::string_view PlaybackStatusText(Playback playback)
{
    switch (playback) {
    case Playback::Playing: return "Playing";
    case Playback::Paused: return "Paused";
    case Playback::None:
    case Playback::Stopped: break;
    }
    return "Stopped";
}

std::string_view LoopStatusText(bool repeat)
{
    return repeat ? "Track" : "None";
}

std::optional<bool> RepeatForLoopStatus(std::string_view status)
{
    if (status == "None")
        return false;
    if (status == "Track" || status == "Playlist")
        return true;
    return std::nullopt;
}

double VolumeForLevel(int level, int loudest)
{
    if (loudest <= 0)
        return 0.0;
    return std::clamp(level, 0, loudest) / static_cast<double>(loudest);
}

std::optional<int> LevelForVolume(double volume, int loudest)
{
    if (std::isnan(volume))
        return std::nullopt;
    const double level = std::clamp(volume * loudest, 0.0, static_cast<double>(std::max(loudest, 0)));
    return static_cast<int>(std::lround(level));
}

std::optional<PlayerCommand> CommandForRequest(TransportRequest request, Playback playback)
{
    switch (request) {
    case TransportRequest::Play:
        if (playback == Playback::Stopped || playback == Playback::Paused)
            return PlayerCommand::PlayPause;
        return std::nullopt;
    case TransportRequest::Pause:
        if (playback == Playback::Playing)
            return PlayerCommand::PlayPause;
        return std::nullopt;
    case TransportRequest::PlayPause: return PlayerCommand::PlayPause;
    case TransportRequest::Stop: return PlayerCommand::Stop;
    }
    return std::nullopt;
}

bool CanPlay(const PlayerFacts& facts)
{
    return facts.playback != Playback::None;
}

bool CanSeek(const PlayerFacts& facts)
{
    return CanPlay(facts) && !facts.location.empty() && facts.lengthSeconds > 0;
}

std::optional<double> SeekTarget(const PlayerFacts& facts, double position, double offsetSeconds)
{
    if (!CanSeek(facts) || !std::isfinite(position + offsetSeconds))
        return std::nullopt;
    return std::clamp(position + offsetSeconds, 0.0, facts.lengthSeconds);
}

std::optional<double> PositionTarget(const PlayerFacts& facts, double seconds)
{
    if (!CanSeek(facts) || !(seconds >= 0 && seconds <= facts.lengthSeconds))
        return std::nullopt;
    return seconds;
}

std::string TrackIdPath(unsigned number)
{
    if (number == 0)
        return "/org/mpris/MediaPlayer2/TrackList/NoTrack";
    return "/org/mpris/MediaPlayer2/vantrel/track/" + std::to_string(number);
}

std::vector<std::string> ChangedPlayerProperties(const PlayerFacts& before, const PlayerFacts& after)
{
    std::vector<std::string> changed;
    if (PlaybackStatusText(before.playback) != PlaybackStatusText(after.playback))
        changed.emplace_back("PlaybackStatus");
    if (before.repeat != after.repeat)
        changed.emplace_back("LoopStatus");
    if (VolumeForLevel(before.volumeLevel, before.loudestVolume) !=
        VolumeForLevel(after.volumeLevel, after.loudestVolume))
        changed.emplace_back("Volume");
    if (!SameMedium(before, after))
        changed.emplace_back("Metadata");
    if (CanPlay(before) != CanPlay(after)) {
        changed.emplace_back("CanPlay");
        changed.emplace_back("CanPause");
    }
    if (CanSeek(before) != CanSeek(after))
        changed.emplace_back("CanSeek");
    return changed;
}

}  // namespace desktop
