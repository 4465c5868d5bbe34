#include "platform/desktop/mpris_adaptors.h"

#include "platform/desktop/mpris_service.h"

namespace desktop {

namespace {

QString Text(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QStringList Texts(const std::vector<std::string>& items)
{
    QStringList list;
    for (const std::string& item : items)
        list << Text(item);
    return list;
}

}  // namespace

RootAdaptor::RootAdaptor(QObject* parent, MprisService& service) : QDBusAbstractAdaptor(parent), m_service(service) {}

QString RootAdaptor::Identity() const
{
    return Text(m_service.Identity().name);
}
QString RootAdaptor::DesktopEntry() const
{
    return Text(m_service.Identity().desktopEntry);
}
QStringList RootAdaptor::SupportedUriSchemes() const
{
    return Texts(m_service.Identity().uriSchemes);
}
QStringList RootAdaptor::SupportedMimeTypes() const
{
    return Texts(m_service.Identity().mimeTypes);
}
void RootAdaptor::Raise()
{
    m_service.Raise();
}
void RootAdaptor::Quit()
{
    m_service.Quit();
}

PlayerAdaptor::PlayerAdaptor(QObject* parent, MprisService& service) : QDBusAbstractAdaptor(parent), m_service(service)
{}

QString PlayerAdaptor::PlaybackStatus() const
{
    return Text(PlaybackStatusText(m_service.Facts().playback));
}
QString PlayerAdaptor::LoopStatus() const
{
    return Text(LoopStatusText(m_service.Facts().repeat));
}
void PlayerAdaptor::SetLoopStatus(const QString& status)
{
    m_service.SetLoopStatus(status);
}
QVariantMap PlayerAdaptor::Metadata() const
{
    return m_service.Metadata();
}
double PlayerAdaptor::Volume() const
{
    return VolumeForLevel(m_service.Facts().volumeLevel, m_service.Facts().loudestVolume);
}
void PlayerAdaptor::SetVolume(double volume)
{
    m_service.SetVolume(volume);
}
qlonglong PlayerAdaptor::Position() const
{
    return m_service.PositionMicroseconds();
}
bool PlayerAdaptor::CanPlay() const
{
    return desktop::CanPlay(m_service.Facts());
}
bool PlayerAdaptor::CanSeek() const
{
    return desktop::CanSeek(m_service.Facts());
}
void PlayerAdaptor::Play()
{
    m_service.Request(TransportRequest::Play);
}
void PlayerAdaptor::Pause()
{
    m_service.Request(TransportRequest::Pause);
}
void PlayerAdaptor::PlayPause()
{
    m_service.Request(TransportRequest::PlayPause);
}
void PlayerAdaptor::Stop()
{
    m_service.Request(TransportRequest::Stop);
}
void PlayerAdaptor::Seek(qlonglong offset)
{
    m_service.Seek(offset);
}
void PlayerAdaptor::SetPosition(const QDBusObjectPath& trackId, qlonglong position)
{
    m_service.SetPosition(trackId, position);
}
void PlayerAdaptor::OpenUri(const QString& uri)
{
    m_service.OpenUri(uri);
}

}  // namespace desktop
