#pragma once
// A server on 127.0.0.1 that takes connections and never answers: the kernel completes
// the connection, nobody accepts it. For opens that wait on the network.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

class SilentServer {
public:
    SilentServer()
    {
        m_fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (bind(m_fd, reinterpret_cast<sockaddr*>(&address), length) == 0 && listen(m_fd, 8) == 0 &&
            getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
            m_port = ntohs(address.sin_port);
    }
    ~SilentServer() { close(m_fd); }
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;

    bool Listening() const { return m_port != 0; }
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(m_port) + "/clip.mpg"; }
    // Someone has connected (and waits for an answer that never comes).
    bool Called() const
    {
        pollfd waiting{m_fd, POLLIN, 0};
        return poll(&waiting, 1, 0) > 0;
    }

private:
    int m_fd = -1;
    int m_port = 0;
};
