// The volume level: stepping it and sending its attenuation to the graph.

#include "engine/interface_ptr.h"
#include "engine/volume_scale.h"
#include "platform/com/dshow.h"
#include "ui/player/player_dlg.h"

namespace {

constexpr int kSilent = 0;

}  // namespace

void CPlayerDlg::ApplyVolume()
{
    // A level edited out of range in the settings is sent clamped and shown as read.
    m_lAttenuation = AttenuationForLevel(m_nVolume);
    if (m_pGraph == nullptr)
        return;
    const engine::ScopedInterface<IBasicAudio> audio(m_pGraph, IID_IBasicAudio);
    if (audio)
        audio->put_Volume(m_lAttenuation);
}

void CPlayerDlg::OnVolumeUp()
{
    if (m_nVolume >= kLoudestVolume)
        return;
    ++m_nVolume;
    ApplyVolume();
    UpdateStatus(TRUE);
}

void CPlayerDlg::OnVolumeDown()
{
    if (m_nVolume <= kSilent)
        return;
    --m_nVolume;
    ApplyVolume();
    UpdateStatus(TRUE);
}
