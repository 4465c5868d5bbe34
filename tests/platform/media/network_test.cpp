// Media from the network: a URL served from this machine plays; a refused
// connection fails at once and a server that never answers fails at the bound.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <mutex>
#include <optional>
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
    explicit HttpServer(const std::string& file = {}) : m_silent(file.empty()) { Start(file); }
    // Announces the whole file but sends only its first `cutAt` bytes, and holds
    // the connection until BreakOff resets it (later ones at once); a request for
    // a range is refused.
    HttpServer(const std::string& file, std::size_t cutAt) : m_silent(false), m_cutAt(cutAt) { Start(file); }
    void BreakOff()
    {
        std::lock_guard lock(m_mutex);
        m_broken = true;
        for (const int client : m_partial)
            ResetLocked(client);
        m_partial.clear();
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
    void Start(const std::string& file)
    {
        std::ifstream in(file, std::ios::binary);
        m_body.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        m_listener = Listen(&m_port);
        m_thread = std::thread([this] { Serve(); });
    }

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
            for (ssize_t got;
                 head.find("\r\n\r\n") == std::string::npos && (got = recv(client, buffer, sizeof buffer, 0)) > 0;)
                head.append(buffer, static_cast<std::size_t>(got));
            if (m_cutAt && Lowercase(head).find("\r\nrange:") != std::string::npos) {
                Send(client, "HTTP/1.1 416 Range Not Satisfiable\r\nConnection: close\r\nContent-Length: 0\r\n\r\n");
                shutdown(client, SHUT_WR);
                continue;
            }
            const std::string head200 = "HTTP/1.1 200 OK\r\nContent-Type: video/mpeg\r\nConnection: close\r\n"
                                        "Content-Length: " +
                                        std::to_string(m_body.size()) + "\r\n\r\n";
            if (!m_cutAt) {
                Send(client, head200 + m_body);
                continue;
            }
            Send(client, head200 + m_body.substr(0, *m_cutAt));
            std::lock_guard lock(m_mutex);
            if (m_broken)
                ResetLocked(client);
            else
                m_partial.push_back(client);
        }
    }

    void ResetLocked(int client)
    {
        // A zero linger time makes the close a reset, not an orderly end.
        const linger reset{1, 0};
        setsockopt(client, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
        close(client);
        std::erase(m_clients, client);
    }

    static std::string Lowercase(std::string text)
    {
        for (char& c : text)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return text;
    }

    static void Send(int client, const std::string& data)
    {
        for (std::size_t sent = 0; sent < data.size();) {
            const ssize_t n = send(client, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
            if (n <= 0)
                break;
            sent += static_cast<std::size_t>(n);
        }
    }

    bool m_silent;
    std::optional<std::size_t> m_cutAt;
    std::string m_body;
    int m_listener = -1;
    int m_port = 0;
    std::mutex m_mutex;
    std::vector<int> m_clients;
    std::vector<int> m_partial;
    bool m_broken = false;
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

// The connection breaks at 30 % of the file and the request that would resume it
// is refused: GStreamer reports errors and then ends the stream of what it had
// buffered. That is one failure, never an end of the medium.
TEST_F(NetworkTest, AConnectionResetWhilePlayingIsOneFailureAndRunTriesAgain)
{
    // An MPEG program stream would not preroll on its first 30 %.
    const std::string file = MediaPath(test_media::kClipAvi.name);
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    HttpServer server(file, static_cast<std::size_t>(in.tellg()) * 3 / 10);
    Session session;
    ASSERT_EQ(session.Render(server.Url()), S_OK);
    ASSERT_EQ(session.control->Run(), S_OK);
    ASSERT_TRUE(session.WaitForPosition([](double now) { return now > 0.1; }));
    server.BreakOff();
    LONG code = 0;
    ASSERT_TRUE(session.NextEvent(&code));
    EXPECT_EQ(code, EC_ERRORABORT);
    // Long enough for the buffered 0.6 s to play out.
    EXPECT_FALSE(session.NextEvent(&code, nullptr, 3000)) << "then event " << code;

    ASSERT_EQ(session.control->Stop(), S_OK);
    ASSERT_EQ(session.control->Run(), S_OK);
    ASSERT_TRUE(session.NextEvent(&code));
    EXPECT_EQ(code, EC_ERRORABORT);
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
