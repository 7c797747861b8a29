// Which scheduler a thread's spooler requests go to, and how: what -h, -E, -U and a printer URI
// choose.
#pragma once

#include <optional>
#include <string>

namespace orvel::cli {

struct SchedulerChoice {
    std::optional<std::string> server;  // HOST[:PORT] or a socket's path; none: the usual one
    bool encrypt = false;               // -E: the connection is encrypted
    bool encryptFromStart = false;      // ipps: encrypted from the first byte
    std::optional<std::string> user;    // -U

    bool operator==(const SchedulerChoice& other) const {
        return server == other.server && encrypt == other.encrypt &&
               encryptFromStart == other.encryptFromStart && user == other.user;
    }
};

}  // namespace orvel::cli
