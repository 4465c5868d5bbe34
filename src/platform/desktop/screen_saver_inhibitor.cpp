#include "platform/desktop/screen_saver_inhibitor.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>
#include <QVariantMap>

#include "platform/desktop/x_screen_saver.h"

namespace desktop {

namespace {

const QString kScreenSaverService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kScreenSaverPath = QStringLiteral("/org/freedesktop/ScreenSaver");
const QString kPortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kPortalInhibit = QStringLiteral("org.freedesktop.portal.Inhibit");
const QString kPortalRequest = QStringLiteral("org.freedesktop.portal.Request");
const QString kReason = QStringLiteral("Playing a video");
constexpr quint32 kPortalIdle = 8;
// A hung service must not hold up the player: an answer later than this counts as none.
constexpr int kCallTimeoutMs = 2000;
constexpr const char* kAnsweredProperty = "answered";
constexpr const char* kWayProperty = "way";

bool HasOwner(const QDBusConnection& bus, const QString& name)
{
    const QDBusConnectionInterface* names = bus.interface();
    return names != nullptr && names->isServiceRegistered(name).value();
}

}  // namespace

ScreenSaverInhibitor::ScreenSaverInhibitor(QString appName) : m_appName(std::move(appName)) {}

ScreenSaverInhibitor::~ScreenSaverInhibitor()
{
    m_wanted = false;
    // An inhibition still on its way is let go as soon as it arrives.
    for (auto* watcher : m_replies.findChildren<QDBusPendingCallWatcher*>()) {
        watcher->waitForFinished();
        if (watcher->property(kAnsweredProperty).toBool() || watcher->isError())
            continue;
        const QVariant value = watcher->reply().arguments().value(0);
        if (static_cast<Way>(watcher->property(kWayProperty).toInt()) == Way::Portal)
            Let(Way::Portal, 0, value.value<QDBusObjectPath>().path(), true);
        else
            Let(Way::ScreenSaver, value.toUInt(), {}, true);
    }
    Let(m_way, m_cookie, m_handle, true);
}

void ScreenSaverInhibitor::Hold(bool wanted)
{
    if (wanted == m_wanted)
        return;
    if (wanted)
        Take();
    else
        Release();
}

void ScreenSaverInhibitor::Take()
{
    m_wanted = true;
    const std::uint64_t take = ++m_take;
    const QDBusConnection bus = QDBusConnection::sessionBus();
    QDBusMessage call;
    Way way = Way::Nothing;
    // A Wayland client's inhibitions go through the portal, which knows its windows.
    const bool portalFirst = QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    if (bus.isConnected() && HasOwner(bus, kScreenSaverService) && !(portalFirst && HasOwner(bus, kPortalService))) {
        call = QDBusMessage::createMethodCall(kScreenSaverService, kScreenSaverPath, kScreenSaverService,
                                              QStringLiteral("Inhibit"));
        call << m_appName << kReason;
        way = Way::ScreenSaver;
    } else if (bus.isConnected() && HasOwner(bus, kPortalService)) {
        call = QDBusMessage::createMethodCall(kPortalService, kPortalPath, kPortalInhibit, QStringLiteral("Inhibit"));
        call << QString() << kPortalIdle
             << QVariantMap{
                    {QStringLiteral("reason"), kReason}
        };
        way = Way::Portal;
    } else {
        if (XScreenSaverAvailable()) {
            SuspendXScreenSaver(true);
            m_way = Way::XServer;
        }
        return;
    }
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, kCallTimeoutMs), &m_replies);
    watcher->setProperty(kWayProperty, static_cast<int>(way));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, &m_replies, [this, take, way, watcher] {
        watcher->setProperty(kAnsweredProperty, true);
        watcher->deleteLater();
        if (watcher->isError())
            return;
        const QVariant value = watcher->reply().arguments().value(0);
        if (way == Way::Portal)
            Answered(take, way, 0, value.value<QDBusObjectPath>().path());
        else
            Answered(take, way, value.toUInt(), {});
    });
}

void ScreenSaverInhibitor::Answered(std::uint64_t take, Way way, quint32 cookie, const QString& handle)
{
    if (m_wanted && take == m_take && m_way == Way::Nothing) {
        m_way = way;
        m_cookie = cookie;
        m_handle = handle;
    } else {
        Let(way, cookie, handle, false);
    }
}

void ScreenSaverInhibitor::Release()
{
    m_wanted = false;
    ++m_take;
    Let(m_way, m_cookie, m_handle, false);
    m_way = Way::Nothing;
    m_cookie = 0;
    m_handle.clear();
}

void ScreenSaverInhibitor::Let(Way way, quint32 cookie, const QString& handle, bool closing)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    // While playing the call goes out without a wait; at close it must leave before we do.
    const auto deliver = [&bus, closing](const QDBusMessage& call) {
        if (closing)
            bus.call(call, QDBus::Block, kCallTimeoutMs);
        else
            bus.send(call);
    };
    switch (way) {
    case Way::Nothing: break;
    case Way::ScreenSaver: {
        QDBusMessage call = QDBusMessage::createMethodCall(kScreenSaverService, kScreenSaverPath, kScreenSaverService,
                                                           QStringLiteral("UnInhibit"));
        call << cookie;
        deliver(call);
        break;
    }
    case Way::Portal:
        if (!handle.isEmpty())
            deliver(QDBusMessage::createMethodCall(kPortalService, handle, kPortalRequest, QStringLiteral("Close")));
        break;
    case Way::XServer: SuspendXScreenSaver(false); break;
    }
}

}  // namespace desktop
