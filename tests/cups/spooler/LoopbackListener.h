// A listening TCP socket on 127.0.0.1 at a port the system picks, for stand-in schedulers.
#pragma once

namespace orvel::test {

struct LoopbackListener {
    int socket = -1;
    int port = 0;
};

// Throws std::runtime_error when no socket can listen there.
LoopbackListener listenOnLoopback();

}  // namespace orvel::test
