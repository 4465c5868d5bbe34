// Choosing the medium's sound and subtitle streams. The graph keeps the choice;
// the window only remembers which subtitles it hid, to show them again.

#include <vector>

#include "engine/interface_ptr.h"
#include "engine/seek_target.h"
#include "platform/com/dshow.h"
#include "ui/player/player_dlg.h"

namespace {

struct GroupStreams {
    std::vector<LONG> indexes;  // the graph's numbers of the group's streams, in order
    int enabled = -1;           // the position in `indexes` of the one playing or shown
};

GroupStreams StreamsOf(IAMStreamSelect& select, DWORD wanted)
{
    GroupStreams streams;
    DWORD count = 0;
    if (FAILED(select.Count(&count)))
        return streams;
    for (DWORD index = 0; index < count; ++index) {
        DWORD flags = 0;
        DWORD group = 0;
        if (FAILED(select.Info(static_cast<LONG>(index), &flags, &group, nullptr)) || group != wanted)
            continue;
        if (flags & AMSTREAMSELECTINFO_ENABLED)
            streams.enabled = static_cast<int>(streams.indexes.size());
        streams.indexes.push_back(static_cast<LONG>(index));
    }
    return streams;
}

}  // namespace

void CPlayerDlg::OnNextSubtitles()
{
    const engine::ScopedInterface<IAMStreamSelect> select(m_pGraph, IID_IAMStreamSelect);
    if (!select)
        return;
    const GroupStreams subtitles = StreamsOf(*select, STREAM_GROUP_SUBTITLES);
    const int count = static_cast<int>(subtitles.indexes.size());
    const int next = NextSubtitleStream(subtitles.enabled, count);
    if (next >= 0)
        select->Enable(subtitles.indexes[static_cast<std::size_t>(next)], AMSTREAMSELECTENABLE_ENABLE);
    else if (subtitles.enabled >= 0)
        select->Enable(subtitles.indexes[static_cast<std::size_t>(subtitles.enabled)], 0);
    m_nHiddenSubtitles = -1;
}

void CPlayerDlg::OnToggleSubtitles()
{
    const engine::ScopedInterface<IAMStreamSelect> select(m_pGraph, IID_IAMStreamSelect);
    if (!select)
        return;
    const GroupStreams subtitles = StreamsOf(*select, STREAM_GROUP_SUBTITLES);
    if (subtitles.enabled >= 0) {
        const LONG shown = subtitles.indexes[static_cast<std::size_t>(subtitles.enabled)];
        if (SUCCEEDED(select->Enable(shown, 0)))
            m_nHiddenSubtitles = shown;
        return;
    }
    // Shown again as they were hidden; the list may have changed meanwhile.
    for (const LONG index : subtitles.indexes) {
        if (index == m_nHiddenSubtitles) {
            select->Enable(index, AMSTREAMSELECTENABLE_ENABLE);
            break;
        }
    }
    m_nHiddenSubtitles = -1;
}

void CPlayerDlg::OnNextAudio()
{
    const engine::ScopedInterface<IAMStreamSelect> select(m_pGraph, IID_IAMStreamSelect);
    if (!select)
        return;
    const GroupStreams audio = StreamsOf(*select, STREAM_GROUP_AUDIO);
    const int next = NextAudioStream(audio.enabled, static_cast<int>(audio.indexes.size()));
    if (next >= 0 && next != audio.enabled)
        select->Enable(audio.indexes[static_cast<std::size_t>(next)], AMSTREAMSELECTENABLE_ENABLE);
}
