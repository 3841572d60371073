#pragma once
// One UDP socket sending datagrams to the sight's group and port (time to live 1: pictures stay
// on the local network).

#include <cstddef>
#include <cstdint>
#include <string>

namespace scenegen {

class DatagramSender {
public:
    // Resolves `host` (a dotted IPv4 address or a host name) once. Raises std::runtime_error
    // when it cannot be resolved or no socket can be had.
    DatagramSender(const std::string& host, unsigned short port);
    ~DatagramSender();
    DatagramSender(const DatagramSender&) = delete;
    DatagramSender& operator=(const DatagramSender&) = delete;

    // Sends one datagram; false (with the reason in error()) when the system refused it.
    bool send(const std::uint8_t* data, std::size_t size);
    const std::string& error() const { return error_; }
    // "ADDR:PORT" as resolved.
    const std::string& endPoint() const { return endPoint_; }

private:
    int socket_ = -1;
    unsigned char address_[16] = {};  // struct sockaddr_in
    std::string endPoint_;
    std::string error_;
};

}  // namespace scenegen
