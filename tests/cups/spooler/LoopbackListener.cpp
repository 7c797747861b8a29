#include "tests/cups/spooler/LoopbackListener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace orvel::test {

LoopbackListener listenOnLoopback() {
    LoopbackListener listener;
    listener.socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener.socket < 0 ||
        bind(listener.socket, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(listener.socket, 16) != 0 ||
        getsockname(listener.socket, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (listener.socket >= 0)
            close(listener.socket);
        throw std::runtime_error("cannot listen on 127.0.0.1");
    }
    listener.port = ntohs(address.sin_port);
    return listener;
}

}  // namespace orvel::test
