// Reads a whole file, or standard input, but never more than a limit: whatever is given, the
// program holds at most limit + 1 bytes of it. A named file that is no regular file (a pipe, a
// device) must also have given all it has within a time limit.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>

namespace orvel::cli {

struct BoundedRead {
    enum class Status { Read, TooLarge, Unreadable };

    Status status = Status::Unreadable;
    // All of it when Read; the first limit + 1 bytes when TooLarge, so that a reader with a
    // limit of its own sees that it is over.
    std::string bytes;
    std::string reason;  // why not, when Unreadable

    // How long a named pipe or device may take to give all it has: a pipe that no one writes
    // to would otherwise hold the command for ever.
    static constexpr std::chrono::milliseconds kStreamTimeout{30000};

    // path "-" is standard input, read as the caller's own stream: without a time limit, so
    // that a person may type a profile.
    static BoundedRead of(const std::string& path, std::size_t limit,
                          std::chrono::milliseconds streamTimeout = kStreamTimeout);
};

}  // namespace orvel::cli
