#pragma once
// An HTTP server on 127.0.0.1 at a free port, running on its own thread for one test. Handlers
// are added before start(); the destructor stops the server and joins its thread.
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

class TestHTTPServer {
public:
    TestHTTPServer() = default;
    ~TestHTTPServer() { stop(); }
    TestHTTPServer(const TestHTTPServer&) = delete;
    TestHTTPServer& operator=(const TestHTTPServer&) = delete;

    httplib::Server& server() { return server_; }

    // Binds 127.0.0.1 at a free port and starts serving; returns the port (0 on failure).
    int start() {
        port_ = server_.bind_to_any_port("127.0.0.1");
        if (port_ <= 0) return port_ = 0;
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return port_;
    }
    void stop() {
        if (thread_.joinable()) {
            server_.stop();
            thread_.join();
        }
    }

    int port() const { return port_; }
    std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }

private:
    httplib::Server server_;
    std::thread thread_;
    int port_ = 0;
};

// A port on 127.0.0.1 where nothing listens: bound without listening, then released, so a
// connection there is refused.
inline int ccClosedLocalPort() {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}
