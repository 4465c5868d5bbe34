#include "platform/desktop/media_session.h"

#include "platform/desktop/mpris_service.h"
#include "platform/desktop/screen_saver_inhibitor.h"

namespace desktop {

class MediaSession::Impl {
public:
    Impl(PlayerIdentity identity, PlayerHooks hooks)
        : mpris(std::move(identity), std::move(hooks), [this] { Refresh(); }),
          inhibitor(QString::fromStdString(mpris.Identity().name))
    {}
    void Refresh()
    {
        mpris.Refresh();
        inhibitor.Hold(KeepsScreenAwake(mpris.Facts()));
    }
    MprisService mpris;
    // Declared last, so that the screen saver is let go before the name leaves the bus.
    ScreenSaverInhibitor inhibitor;
};

MediaSession::MediaSession(PlayerIdentity identity, PlayerHooks hooks)
    : m_impl(std::make_unique<Impl>(std::move(identity), std::move(hooks)))
{
    Refresh();
}

MediaSession::~MediaSession() = default;

void MediaSession::Refresh()
{
    m_impl->Refresh();
}

std::string MediaSession::BusName() const
{
    return m_impl->mpris.BusName().toStdString();
}

}  // namespace desktop
