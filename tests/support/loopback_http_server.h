#pragma once
// A tiny HTTP server on 127.0.0.1 for tests: it answers every request with
// one scripted reply (whole, cut short, or never), records what it was sent
// and counts the connections it accepted. One connection at a time.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class LoopbackHttpServer {
public:
    enum class Ending {
        Whole,   // the reply, then the connection closes
        Short,   // announces 100 more body bytes than it sends, then closes
        Stall,   // reads the request and never answers
    };
    struct Reply {
        int status = 200;
        std::string reason = "OK";
        std::string headers;   // extra header lines, each ending "\r\n"
        std::string body;
        Ending ending = Ending::Whole;
    };
    struct Request {
        std::string method;
        std::string target;
        std::string headers;
        std::string body;
    };

    explicit LoopbackHttpServer(Reply reply) : reply_(std::move(reply))
    {
        listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in at{};
        at.sin_family = AF_INET;
        at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof at;
        if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&at), size) != 0 ||
            listen(listener_, 8) != 0 || getsockname(listener_, reinterpret_cast<sockaddr*>(&at), &size) != 0)
            std::abort();
        port_ = ntohs(at.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~LoopbackHttpServer()
    {
        stop_ = true;
        thread_.join();
        close(listener_);
    }
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    std::string address(const std::string& path = "/version.txt") const
    {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }
    int connections() const { return connections_.load(); }
    std::vector<Request> requests() const
    {
        std::lock_guard<std::mutex> guard(lock_);
        return requests_;
    }
    // Waits until that many requests have come in (at most 20 s).
    bool waitForRequests(size_t count)
    {
        std::unique_lock<std::mutex> guard(lock_);
        return arrived_.wait_for(guard, std::chrono::seconds(20), [&] { return requests_.size() >= count; });
    }
    // True once a stalled connection saw its client hang up.
    bool clientLeft() const { return clientLeft_.load(); }

private:
    bool waitReadable(int fd)
    {
        pollfd p{fd, POLLIN, 0};
        while (!stop_) {
            const int n = poll(&p, 1, 20);
            if (n > 0)
                return true;
            if (n < 0)
                return false;
        }
        return false;
    }

    void serve()
    {
        while (waitReadable(listener_)) {
            const int fd = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0)
                continue;
            ++connections_;
            answer(fd);
            close(fd);
        }
    }

    static size_t contentLength(const std::string& headers)
    {
        for (size_t at = 0; (at = headers.find('\n', at)) != std::string::npos;) {
            ++at;
            if (strncasecmp(headers.c_str() + at, "content-length:", 15) == 0)
                return std::strtoul(headers.c_str() + at + 15, nullptr, 10);
        }
        return 0;
    }

    bool readRequest(int fd, Request& request)
    {
        std::string bytes;
        char buffer[65536];
        size_t headerEnd = std::string::npos;
        while (headerEnd == std::string::npos || bytes.size() < headerEnd + 4 + contentLength(bytes.substr(0, headerEnd))) {
            if (!waitReadable(fd))
                return false;
            const ssize_t got = recv(fd, buffer, sizeof buffer, 0);
            if (got <= 0)
                return false;
            bytes.append(buffer, static_cast<size_t>(got));
            if (headerEnd == std::string::npos)
                headerEnd = bytes.find("\r\n\r\n");
        }
        const size_t space1 = bytes.find(' ');
        const size_t space2 = bytes.find(' ', space1 + 1);
        request.method = bytes.substr(0, space1);
        request.target = bytes.substr(space1 + 1, space2 - space1 - 1);
        request.headers = bytes.substr(0, headerEnd + 2);
        request.body = bytes.substr(headerEnd + 4);
        return true;
    }

    void sendAll(int fd, const std::string& bytes)
    {
        for (size_t done = 0; done < bytes.size() && !stop_;) {
            const ssize_t n = send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
            if (n <= 0)
                return;
            done += static_cast<size_t>(n);
        }
    }

    void answer(int fd)
    {
        Request request;
        if (!readRequest(fd, request))
            return;
        {
            std::lock_guard<std::mutex> guard(lock_);
            requests_.push_back(request);
        }
        arrived_.notify_all();
        if (reply_.ending == Ending::Stall) {
            char byte;
            while (waitReadable(fd))
                if (recv(fd, &byte, 1, 0) <= 0) {
                    clientLeft_ = true;
                    return;
                }
            return;
        }
        const size_t announced = reply_.body.size() + (reply_.ending == Ending::Short ? 100 : 0);
        sendAll(fd, "HTTP/1.1 " + std::to_string(reply_.status) + " " + reply_.reason + "\r\nContent-Length: " +
                        std::to_string(announced) + "\r\nConnection: close\r\n" + reply_.headers + "\r\n");
        sendAll(fd, reply_.body);
    }

    Reply reply_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> connections_{0};
    std::atomic<bool> clientLeft_{false};
    mutable std::mutex lock_;
    std::condition_variable arrived_;
    std::vector<Request> requests_;
    std::thread thread_;
};

// The named part of a multipart form: its file name and content; empty
// strings when the request holds no such part.
struct FormPart {
    std::string fileName;
    std::string content;
    int partCount = 0;   // parts in the whole form
};

inline FormPart formPart(const LoopbackHttpServer::Request& request, const std::string& name)
{
    FormPart found;
    const size_t key = request.headers.find("boundary=");
    if (key == std::string::npos)
        return found;
    const size_t end = request.headers.find_first_of("\r\n;", key);
    const std::string boundary = "--" + request.headers.substr(key + 9, end - key - 9);
    for (size_t at = request.body.find(boundary); at != std::string::npos;) {
        const size_t next = request.body.find("\r\n" + boundary, at + boundary.size());
        if (next == std::string::npos)
            break;
        const std::string part = request.body.substr(at + boundary.size(), next - at - boundary.size());
        ++found.partCount;
        const size_t headerEnd = part.find("\r\n\r\n");
        const std::string headers = part.substr(0, headerEnd);
        if (headers.find("name=\"" + name + "\"") != std::string::npos) {
            const size_t file = headers.find("filename=\"");
            if (file != std::string::npos)
                found.fileName = headers.substr(file + 10, headers.find('"', file + 10) - file - 10);
            found.content = part.substr(headerEnd + 4);
        }
        at = next + 2;
    }
    return found;
}
