#pragma once
// The game's own HTTP server: on 127.0.0.1 at a free port, on its own thread, serving the
// files of Resources/house/ (the promotion list, house banners and ad answers) and the reward
// service's report endpoint. Its address is what "{house}" means in the configuration.
#include <memory>
#include <string>
#include <thread>

namespace httplib {
class Server;
}

class HouseServer {
public:
    HouseServer();
    ~HouseServer(); // stops
    HouseServer(const HouseServer&) = delete;
    HouseServer& operator=(const HouseServer&) = delete;

    // Serves `folder`; false (logged) when the folder is missing or no port can be bound.
    bool start(const std::string& folder);
    // Stops serving and joins the thread; answers in progress finish first.
    void stop();

    bool isRunning() const { return thread_.joinable(); }
    int port() const { return port_; }
    // "127.0.0.1:PORT" while running, else empty.
    std::string address() const;

    // What the report endpoint accepts: an identifier, an application id and a key of 32
    // upper-case hexadecimal digits.
    static bool isValidReport(const std::string& uuid, const std::string& appid, const std::string& key);

private:
    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;
    int port_ = 0;
};
