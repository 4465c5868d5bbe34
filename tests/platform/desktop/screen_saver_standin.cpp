// A stand-in for the desktop's screen saver on a test's private bus: it owns
// org.freedesktop.ScreenSaver (or, with --portal, the desktop portal's Inhibit) and writes
// every call it gets as a line to the log file it is given. "ready" is the first line.
//
//   screen_saver_standin [--portal] LOG

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QFile>
#include <QObject>
#include <QTextStream>
#include <QVariantMap>

#include <cstdio>

namespace {

QFile* g_log = nullptr;

void Log(const QString& line)
{
    g_log->write((line + QLatin1Char('\n')).toUtf8());
    g_log->flush();
}

class ScreenSaver : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")

public Q_SLOTS:
    uint Inhibit(const QString& application, const QString& reason)
    {
        const uint cookie = ++m_cookies;
        Log(QStringLiteral("Inhibit %1 %2 \"%3\"").arg(cookie).arg(application, reason));
        return cookie;
    }
    void UnInhibit(uint cookie) { Log(QStringLiteral("UnInhibit %1").arg(cookie)); }

private:
    uint m_cookies = 40;
};

class PortalRequest : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Request")

public Q_SLOTS:
    void Close() { Log(QStringLiteral("Close %1").arg(message().path())); }
};

class PortalInhibit : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Inhibit")

public Q_SLOTS:
    QDBusObjectPath Inhibit(const QString& window, uint flags, const QVariantMap& options)
    {
        const QString handle = QStringLiteral("/org/freedesktop/portal/desktop/request/standin/%1").arg(++m_requests);
        QDBusConnection::sessionBus().registerObject(handle, new PortalRequest, QDBusConnection::ExportAllSlots);
        Log(QStringLiteral("Inhibit %1 flags=%2 \"%3\"")
                .arg(handle)
                .arg(flags)
                .arg(options.value("reason").toString()));
        Q_UNUSED(window);
        return QDBusObjectPath(handle);
    }

private:
    int m_requests = 0;
};

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const bool portal = args.contains(QStringLiteral("--portal"));
    QFile log(args.last());
    if (args.size() < 2 || !log.open(QIODevice::WriteOnly | QIODevice::Append))
        return 2;
    g_log = &log;

    QDBusConnection bus = QDBusConnection::sessionBus();
    ScreenSaver screenSaver;
    PortalInhibit inhibit;
    const bool ok = portal ? bus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), &inhibit,
                                                QDBusConnection::ExportAllSlots) &&
                                 bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop"))
                           : bus.registerObject(QStringLiteral("/org/freedesktop/ScreenSaver"), &screenSaver,
                                                QDBusConnection::ExportAllSlots) &&
                                 bus.registerService(QStringLiteral("org.freedesktop.ScreenSaver"));
    if (!ok) {
        std::fprintf(stderr, "screen_saver_standin: cannot take the name on the bus\n");
        return 1;
    }
    Log(QStringLiteral("ready"));
    return app.exec();
}

#include "screen_saver_standin.moc"
