// Media from the network: a URL served from this machine plays; a refused
// connection fails at once and a server that never answers fails at the bound.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <mutex>
#include <thread>
#include <vector>

#include "graph_session.h"
#include "support/test_media.h"

namespace graph_test {
namespace {

// A listening socket on 127.0.0.1 with a free port.
int Listen(int* port)
{
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    EXPECT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(listen(listener, 8), 0);
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    *port = ntohs(address.sin_port);
    return listener;
}

// Answers every request with one file, or, given no file, accepts and stays
// silent. Stops and drops its connections when destroyed.
class HttpServer {
public:
    explicit HttpServer(const std::string& file = {}) : m_silent(file.empty())
    {
        std::ifstream in(file, std::ios::binary);
        m_body.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        m_listener = Listen(&m_port);
        m_thread = std::thread([this] { Serve(); });
    }
    ~HttpServer()
    {
        shutdown(m_listener, SHUT_RDWR);
        {
            std::lock_guard lock(m_mutex);
            for (const int client : m_clients)
                shutdown(client, SHUT_RDWR);
        }
        m_thread.join();
        for (const int client : m_clients)
            close(client);
        close(m_listener);
    }
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(m_port) + "/clip.mpg"; }

private:
    void Serve()
    {
        for (int client; (client = accept(m_listener, nullptr, nullptr)) >= 0;) {
            {
                std::lock_guard lock(m_mutex);
                m_clients.push_back(client);
            }
            if (m_silent)
                continue;
            std::string head;
            char buffer[1024];
            for (ssize_t got; head.find("\r\n\r\n") == std::string::npos &&
                              (got = recv(client, buffer, sizeof buffer, 0)) > 0;)
                head.append(buffer, static_cast<std::size_t>(got));
            const std::string reply = "HTTP/1.1 200 OK\r\nContent-Type: video/mpeg\r\nConnection: close\r\n"
                                      "Content-Length: " + std::to_string(m_body.size()) + "\r\n\r\n" + m_body;
            for (std::size_t sent = 0; sent < reply.size();) {
                const ssize_t n = send(client, reply.data() + sent, reply.size() - sent, MSG_NOSIGNAL);
                if (n <= 0)
                    break;
                sent += static_cast<std::size_t>(n);
            }
        }
    }

    bool m_silent;
    std::string m_body;
    int m_listener = -1;
    int m_port = 0;
    std::mutex m_mutex;
    std::vector<int> m_clients;
    std::thread m_thread;
};

class NetworkTest : public GraphTest {};

using Clock = std::chrono::steady_clock;

TEST_F(NetworkTest, AUrlFromALocalServerPlaysToTheEnd)
{
    const HttpServer server(MediaPath(test_media::kClipMpg.name));
    Session session;
    ASSERT_EQ(session.Render(server.Url()), S_OK);
    LONG width = 0;
    EXPECT_EQ(session.video->get_SourceWidth(&width), S_OK);
    EXPECT_EQ(width, test_media::kClipMpg.squareWidth);
    ASSERT_EQ(session.control->Run(), S_OK);
    EXPECT_TRUE(session.WaitForPosition([](double now) { return now > 0.5; }));
    EXPECT_TRUE(session.WaitForEvent(EC_COMPLETE));
}

// Runs with the usual 15 s bound: failing well before it shows nothing waited for it.
TEST_F(NetworkTest, ARefusedConnectionFailsWithoutWaitingForTheBound)
{
    int port = 0;
    close(Listen(&port));  // free a moment ago, nothing listens there now
    Session session;
    const Clock::time_point start = Clock::now();
    const HRESULT result = session.Render("http://127.0.0.1:" + std::to_string(port) + "/clip.mpg");
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
    EXPECT_TRUE(FAILED(result));
    EXPECT_NE(result, VFW_E_TIMEOUT);
}

// A short bound, set while no GStreamer thread runs yet to read the environment.
class ShortBoundTest : public GraphTest {
protected:
    static constexpr std::chrono::milliseconds kBound{1500};
    static void SetUpTestSuite() { setenv("VANTREL_RENDER_TIMEOUT_MS", std::to_string(kBound.count()).c_str(), 1); }
    static void TearDownTestSuite() { unsetenv("VANTREL_RENDER_TIMEOUT_MS"); }
};

TEST_F(ShortBoundTest, AServerThatNeverAnswersFailsAtTheBound)
{
    const HttpServer server;
    Session session;
    const Clock::time_point start = Clock::now();
    const HRESULT result = session.Render(server.Url());
    const Clock::duration waited = Clock::now() - start;
    EXPECT_EQ(result, VFW_E_TIMEOUT);
    EXPECT_GE(waited, kBound);
    EXPECT_LT(waited, kBound + std::chrono::seconds(10));
    LONG code = 0;
    LONG_PTR param1 = 0, param2 = 0;
    EXPECT_EQ(session.events->GetEvent(&code, &param1, &param2, 0), E_ABORT);
}

}  // namespace
}  // namespace graph_test
