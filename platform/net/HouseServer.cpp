#include "HouseServer.h"

#include <httplib.h>

#include <chrono>
#include <filesystem>

#include "CCLog.h"

HouseServer::HouseServer() = default;
HouseServer::~HouseServer() { stop(); }

bool HouseServer::isValidReport(const std::string& uuid, const std::string& appid, const std::string& key) {
    if (uuid.empty() || appid.empty() || key.size() != 32) return false;
    for (char c : key)
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
    return true;
}

bool HouseServer::start(const std::string& folder) {
    if (isRunning()) return true;
    std::error_code error;
    if (folder.empty() || !std::filesystem::is_directory(folder, error)) {
        CCLog("House server: no folder \"%s\" to serve", folder.c_str());
        return false;
    }
    server_ = std::make_unique<httplib::Server>();
    auto& s = *server_;
    // Few, short exchanges: two workers, no kept-alive connections (stopping never waits on one).
    s.new_task_queue = [] { return new httplib::ThreadPool(2); };
    s.set_keep_alive_max_count(1);
    s.set_read_timeout(5, 0);
    s.set_write_timeout(5, 0);
    s.Get("/appredeem/redeem.php", [](const httplib::Request& q, httplib::Response& r) {
        if (isValidReport(q.get_param_value("uuid"), q.get_param_value("appid"), q.get_param_value("k"))) {
            r.set_content("OK", "text/plain");
        } else {
            r.status = 400;
            r.set_content("bad report", "text/plain");
        }
    });
    if (!s.set_mount_point("/", folder)) {
        CCLog("House server: cannot serve \"%s\"", folder.c_str());
        server_.reset();
        return false;
    }
    port_ = s.bind_to_any_port("127.0.0.1");
    if (port_ <= 0) {
        CCLog("House server: no port on 127.0.0.1");
        server_.reset();
        port_ = 0;
        return false;
    }
    thread_ = std::thread([&s] { s.listen_after_bind(); });
    while (!s.is_running() && thread_.joinable()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return true;
}

void HouseServer::stop() {
    if (!thread_.joinable()) return;
    server_->stop();
    thread_.join();
    server_.reset();
    port_ = 0;
}

std::string HouseServer::address() const {
    return isRunning() ? "127.0.0.1:" + std::to_string(port_) : std::string();
}
