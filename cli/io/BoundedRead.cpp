#include "cli/io/BoundedRead.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/io/StandardStreams.h"

#ifndef _WIN32
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orvel::cli {

namespace {

constexpr std::size_t kBlock = 64 * 1024;

std::string errorText(int error) {
    return error == 0 ? "read error" : std::strerror(error);
}

BoundedRead readStream(std::FILE* stream, std::size_t limit) {
    BoundedRead read;
    std::string buffer(kBlock, '\0');
    // One byte more than the limit tells a file of exactly the limit from a larger one.
    while (read.bytes.size() <= limit) {
        const std::size_t wanted = std::min(kBlock, limit + 1 - read.bytes.size());
        errno = 0;
        const std::size_t count = std::fread(&buffer[0], 1, wanted, stream);
        read.bytes.append(buffer, 0, count);
        if (count < wanted) {
            if (std::ferror(stream)) {
                read.reason = errorText(errno);
                read.bytes.clear();
                return read;
            }
            break;  // the end
        }
    }
    read.status =
        read.bytes.size() > limit ? BoundedRead::Status::TooLarge : BoundedRead::Status::Read;
    return read;
}

#ifndef _WIN32

std::string durationText(std::chrono::milliseconds duration) {
    if (duration.count() % 1000 == 0)
        return std::to_string(duration.count() / 1000) + " s";
    return std::to_string(duration.count()) + " ms";
}

// Reads what a pipe or device gives until its end, the limit or the deadline.
BoundedRead readWithDeadline(int file, std::size_t limit, std::chrono::milliseconds timeout) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + timeout;
    BoundedRead read;
    std::string buffer(kBlock, '\0');
    while (read.bytes.size() <= limit) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd ready{file, POLLIN, 0};
        const int polled = left.count() > 0 ? ::poll(&ready, 1, static_cast<int>(left.count())) : 0;
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled < 0) {
            read.reason = errorText(errno);
            read.bytes.clear();
            return read;
        }
        if (polled == 0) {
            read.reason = "it did not end within " + durationText(timeout);
            read.bytes.clear();
            return read;
        }
        const std::size_t wanted = std::min(kBlock, limit + 1 - read.bytes.size());
        const ssize_t count = ::read(file, &buffer[0], wanted);
        if (count < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (count < 0) {
            read.reason = errorText(errno);
            read.bytes.clear();
            return read;
        }
        if (count == 0)
            break;  // the end: every writer has closed it
        read.bytes.append(buffer, 0, static_cast<std::size_t>(count));
    }
    read.status =
        read.bytes.size() > limit ? BoundedRead::Status::TooLarge : BoundedRead::Status::Read;
    return read;
}

// A named file: a regular one is read as it is; a pipe or a device only until the deadline.
// The open does not wait for a pipe's writer.
BoundedRead readNamed(const std::string& path, std::size_t limit,
                      std::chrono::milliseconds timeout) {
    BoundedRead failed;
    const int file = ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (file < 0) {
        failed.reason = errorText(errno);
        return failed;
    }
    struct stat opened {};
    if (::fstat(file, &opened) != 0) {
        failed.reason = errorText(errno);
        ::close(file);
        return failed;
    }
    if (S_ISDIR(opened.st_mode)) {
        failed.reason = errorText(EISDIR);
        ::close(file);
        return failed;
    }
    if (!S_ISREG(opened.st_mode)) {
        // Blocking from here: poll waits for a pipe's first writer, which a read of a pipe
        // opened without waiting would take for its end.
        ::fcntl(file, F_SETFL, ::fcntl(file, F_GETFL) & ~O_NONBLOCK);
        BoundedRead read = readWithDeadline(file, limit, timeout);
        ::close(file);
        return read;
    }
    std::FILE* stream = ::fdopen(file, "rb");
    if (stream == nullptr) {
        failed.reason = errorText(errno);
        ::close(file);
        return failed;
    }
    BoundedRead read = readStream(stream, limit);
    std::fclose(stream);
    return read;
}

#endif

}  // namespace

BoundedRead BoundedRead::of(const std::string& path, std::size_t limit,
                            [[maybe_unused]] std::chrono::milliseconds streamTimeout) {
    if (path == "-") {
        useBinary(stdin);
        return readStream(stdin, limit);
    }
#ifdef _WIN32
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        BoundedRead failed;
        failed.reason = errorText(errno);
        return failed;
    }
    BoundedRead read = readStream(file, limit);
    std::fclose(file);
    return read;
#else
    return readNamed(path, limit, streamTimeout);
#endif
}

}  // namespace orvel::cli
