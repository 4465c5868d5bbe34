#pragma once
// Platform-private: holds off the idle screen saver while asked to. It asks the session
// bus's org.freedesktop.ScreenSaver, or the desktop portal's Inhibit where that name is
// absent, or suspends the X server's screen saver on a bare X server.

#include <QObject>
#include <QString>

#include <cstdint>

namespace desktop {

class ScreenSaverInhibitor {
public:
    explicit ScreenSaverInhibitor(QString appName);
    ~ScreenSaverInhibitor();  // releases what it holds
    ScreenSaverInhibitor(const ScreenSaverInhibitor&) = delete;
    ScreenSaverInhibitor& operator=(const ScreenSaverInhibitor&) = delete;

    void Hold(bool wanted);

private:
    enum class Way { Nothing, ScreenSaver, Portal, XServer };

    void Take();
    void Release();
    void Answered(std::uint64_t take, Way way, quint32 cookie, const QString& handle);
    void Let(Way way, quint32 cookie, const QString& handle, bool closing);

    QString m_appName;
    QObject m_replies;  // parent of the calls still waiting for their answer
    bool m_wanted = false;
    std::uint64_t m_take = 0;  // counts takes, so that a late answer finds its own
    Way m_way = Way::Nothing;  // what holds the screen saver off now
    quint32 m_cookie = 0;
    QString m_handle;
};

}  // namespace desktop
