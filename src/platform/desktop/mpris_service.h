#pragma once
// Platform-private: the MPRIS interface of the player on the session bus. It keeps the
// facts last read, announces their changes (PropertiesChanged, Seeked) and turns the
// desktop's requests into the player's commands and hooks.

#include <QDBusObjectPath>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include "platform/desktop/cover_art_file.h"
#include "platform/desktop/media_session.h"

namespace desktop {

class PlayerAdaptor;

class MprisService {
public:
    // `refresh` reads the facts anew after a request changed them, for whoever follows them.
    MprisService(PlayerIdentity identity, PlayerHooks hooks, std::function<void()> refresh);
    ~MprisService();
    MprisService(const MprisService&) = delete;
    MprisService& operator=(const MprisService&) = delete;

    // Reads the facts and announces what changed since the last read.
    void Refresh();
    const PlayerFacts& Facts() const { return m_facts; }
    const QString& BusName() const { return m_busName; }

    // org.mpris.MediaPlayer2
    const PlayerIdentity& Identity() const { return m_identity; }
    void Raise();
    void Quit();

    // org.mpris.MediaPlayer2.Player
    QVariantMap Metadata() const;
    qlonglong PositionMicroseconds() const;
    void Request(TransportRequest request);
    void SetVolume(double volume);
    void SetLoopStatus(const QString& status);
    void Seek(qlonglong offsetMicroseconds);
    void SetPosition(const QDBusObjectPath& track, qlonglong positionMicroseconds);
    void OpenUri(const QString& uri);

private:
    void Run(PlayerCommand command);
    void Announce(const PlayerFacts& before);

    PlayerIdentity m_identity;
    PlayerHooks m_hooks;
    std::function<void()> m_refresh;
    PlayerFacts m_facts;
    unsigned m_opened = 0;  // media opened so far
    unsigned m_track = 0;   // the number of the medium open now; 0: none
    int m_holdAnnouncements = 0;
    CoverArtFile m_cover;  // the cover for mpris:artUrl
    QObject m_object;      // carries the adaptors
    PlayerAdaptor* m_player = nullptr;
    QString m_busName;
};

}  // namespace desktop
