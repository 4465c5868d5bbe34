#include "platform/desktop/mpris_service.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QFileInfo>
#include <QStringList>
#include <QUrl>

#include <cmath>
#include <unistd.h>

#include "platform/desktop/mpris_adaptors.h"

namespace desktop {

namespace {

const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kNamePrefix = QStringLiteral("org.mpris.MediaPlayer2.");
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
constexpr double kMicroseconds = 1e6;
// A volume request walks the level one step a command; the level has eleven steps, so
// this many commands end any walk, even from a level read out of range.
constexpr int kMostVolumeSteps = 64;

QString Text(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A URL as it was opened; a local path as a file URL.
QString UrlOf(const std::string& location)
{
    const QString text = Text(location);
    if (text.contains(QStringLiteral("://")))
        return text;
    return QUrl::fromLocalFile(QFileInfo(text).absoluteFilePath()).toString(QUrl::FullyEncoded);
}

// Announcements from a request are held until the request is done, so that a walk of
// the volume is announced once, at its end.
class HeldAnnouncements {
public:
    explicit HeldAnnouncements(int& count) : m_count(count) { ++m_count; }
    ~HeldAnnouncements() { --m_count; }
    HeldAnnouncements(const HeldAnnouncements&) = delete;
    HeldAnnouncements& operator=(const HeldAnnouncements&) = delete;

private:
    int& m_count;
};

}  // namespace

MprisService::MprisService(PlayerIdentity identity, PlayerHooks hooks, std::function<void()> refresh)
    : m_identity(std::move(identity)), m_hooks(std::move(hooks)), m_refresh(std::move(refresh))
{
    new RootAdaptor(&m_object, *this);
    m_player = new PlayerAdaptor(&m_object, *this);
    if (m_hooks.facts)
        m_facts = m_hooks.facts();

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.registerObject(kObjectPath, &m_object))
        return;
    // A second player takes a name of its own, as the MPRIS interface asks.
    const QString name = kNamePrefix + Text(m_identity.busName);
    const QString instance = name + QStringLiteral(".instance") + QString::number(::getpid());
    for (const QString& candidate : {name, instance}) {
        if (bus.registerService(candidate)) {
            m_busName = candidate;
            return;
        }
    }
    bus.unregisterObject(kObjectPath);
}

MprisService::~MprisService()
{
    if (m_busName.isEmpty())
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterService(m_busName);
    bus.unregisterObject(kObjectPath);
}

void MprisService::Refresh()
{
    if (m_holdAnnouncements > 0 || !m_hooks.facts)
        return;
    const PlayerFacts before = m_facts;
    m_facts = m_hooks.facts();
    if (m_facts == before)
        return;
    if (m_facts.location != before.location)
        m_track = m_facts.location.empty() ? 0 : ++m_opened;
    m_cover.Show(m_facts.location.empty() ? nullptr : m_facts.cover, m_facts.coverType);
    Announce(before);
}

void MprisService::Announce(const PlayerFacts& before)
{
    if (m_busName.isEmpty())
        return;
    const std::vector<std::string> changed = ChangedPlayerProperties(before, m_facts);
    if (!changed.empty()) {
        QVariantMap values;
        for (const std::string& name : changed)
            values.insert(Text(name), m_player->property(name.c_str()));
        QDBusMessage signal = QDBusMessage::createSignal(kObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                         QStringLiteral("PropertiesChanged"));
        signal << kPlayerInterface << values << QStringList();
        QDBusConnection::sessionBus().send(signal);
    }
    if (m_facts.seeks != before.seeks)
        emit m_player->Seeked(PositionMicroseconds());
}

void MprisService::Raise()
{
    if (m_hooks.raise)
        m_hooks.raise();
}

void MprisService::Quit()
{
    Run(PlayerCommand::Close);
}

QVariantMap MprisService::Metadata() const
{
    QVariantMap metadata{
        {QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(Text(TrackIdPath(m_track))))}
    };
    if (m_track == 0)
        return metadata;
    metadata.insert(QStringLiteral("xesam:title"), Text(m_facts.title));
    metadata.insert(QStringLiteral("xesam:url"), UrlOf(m_facts.location));
    if (!m_facts.artist.empty())
        metadata.insert(QStringLiteral("xesam:artist"), QStringList{Text(m_facts.artist)});
    if (!m_facts.album.empty())
        metadata.insert(QStringLiteral("xesam:album"), Text(m_facts.album));
    if (const QString art = m_cover.Url(); !art.isEmpty())
        metadata.insert(QStringLiteral("mpris:artUrl"), art);
    if (m_facts.lengthSeconds > 0 && std::isfinite(m_facts.lengthSeconds))
        metadata.insert(QStringLiteral("mpris:length"),
                        static_cast<qlonglong>(std::llround(m_facts.lengthSeconds * kMicroseconds)));
    return metadata;
}

qlonglong MprisService::PositionMicroseconds() const
{
    if (!CanPlay(m_facts) || !m_hooks.position)
        return 0;
    const double seconds = m_hooks.position();
    if (!std::isfinite(seconds) || seconds <= 0)
        return 0;
    return static_cast<qlonglong>(std::llround(seconds * kMicroseconds));
}

void MprisService::Request(TransportRequest request)
{
    if (const auto command = CommandForRequest(request, m_facts.playback))
        Run(*command);
}

void MprisService::SetVolume(double volume)
{
    const std::optional<int> target = LevelForVolume(volume, m_facts.loudestVolume);
    if (!target || !m_hooks.facts)
        return;
    {
        const HeldAnnouncements held(m_holdAnnouncements);
        for (int step = 0; step < kMostVolumeSteps; ++step) {
            const int level = m_hooks.facts().volumeLevel;
            if (level == *target)
                break;
            Run(level < *target ? PlayerCommand::VolumeUp : PlayerCommand::VolumeDown);
            if (m_hooks.facts().volumeLevel == level)
                break;  // the command would not move it
        }
    }
    m_refresh();
}

void MprisService::SetLoopStatus(const QString& status)
{
    const std::optional<bool> repeat = RepeatForLoopStatus(status.toStdString());
    if (repeat && *repeat != m_facts.repeat)
        Run(PlayerCommand::Repeat);
}

void MprisService::Seek(qlonglong offsetMicroseconds)
{
    const double position = static_cast<double>(PositionMicroseconds()) / kMicroseconds;
    const auto target = SeekTarget(m_facts, position, static_cast<double>(offsetMicroseconds) / kMicroseconds);
    if (!target || !m_hooks.seek)
        return;
    m_hooks.seek(*target);
    m_refresh();
}

void MprisService::SetPosition(const QDBusObjectPath& track, qlonglong positionMicroseconds)
{
    // A position meant for another medium than the one open now is dropped.
    if (track.path() != Text(TrackIdPath(m_track)))
        return;
    const auto target = PositionTarget(m_facts, static_cast<double>(positionMicroseconds) / kMicroseconds);
    if (!target || !m_hooks.seek)
        return;
    m_hooks.seek(*target);
    m_refresh();
}

void MprisService::OpenUri(const QString& uri)
{
    const QUrl url(uri);
    // A file URL that names another machine goes on as a URL, which the player refuses.
    const bool here = url.host().isEmpty() || url.host().compare(QStringLiteral("localhost"), Qt::CaseInsensitive) == 0;
    const QString location = url.isLocalFile() && here ? url.toLocalFile() : uri;
    if (location.isEmpty() || !m_hooks.open)
        return;
    // After the answer: an open may take a while and may show a message box.
    QMetaObject::invokeMethod(
        &m_object,
        [this, path = location.toStdString()] {
            m_hooks.open(path);
            m_refresh();
        },
        Qt::QueuedConnection);
}

void MprisService::Run(PlayerCommand command)
{
    if (m_hooks.command)
        m_hooks.command(command);
    m_refresh();
}

}  // namespace desktop
