#include "cli/io/JobFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/io/StandardStreams.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#include <windows.h>

#include <filesystem>
#else
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orvel::cli {

namespace {

std::string errorText() {
    return std::strerror(errno);
}

std::string writeToStandardOutput(const Bytes& bytes) {
    useBinary(stdout);
    std::fflush(stdout);
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() ||
        std::fflush(stdout) != 0)
        return errorText();
    return {};
}

// The folder that holds path, where the new file is made so that the rename stays in one file
// system.
std::string folderOf(const std::string& path) {
#ifdef _WIN32
    const auto slash = path.find_last_of("/\\");
#else
    const auto slash = path.find_last_of('/');
#endif
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? path.substr(0, 1) : path.substr(0, slash);
}

#ifdef _WIN32

std::string replaceFile(const std::string& path, const Bytes& bytes) {
    static int counter = 0;
    const std::string temporary = folderOf(path) + "\\.orvel-settings." +
                                  std::to_string(_getpid()) + "." + std::to_string(++counter);
    const int file =
        _open(temporary.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (file < 0)
        return errorText();
    const bool written = _write(file, bytes.data(), static_cast<unsigned>(bytes.size())) ==
                             static_cast<int>(bytes.size()) &&
                         _commit(file) == 0;
    const std::string reason = written ? std::string() : errorText();
    _close(file);
    if (!written) {
        _unlink(temporary.c_str());
        return reason;
    }
    if (!MoveFileExA(temporary.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        _unlink(temporary.c_str());
        return "cannot put it in place (error " + std::to_string(GetLastError()) + ")";
    }
    return {};
}

std::string writeFile(const std::string& path, const Bytes& bytes) {
    std::error_code error;
    const auto status = std::filesystem::symlink_status(path, error);
    if (std::filesystem::is_symlink(status))
        return "it is a symbolic link; name the file itself";
    if (std::filesystem::is_directory(status))
        return "it is a folder";
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
        return "it is not a regular file";
    return replaceFile(path, bytes);
}

#else

// A device that takes no bytes for this long is given up.
constexpr int kDeviceTimeoutMs = 30000;

std::string writeAll(int file, const Bytes& bytes, bool waitForRoom) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t count = ::write(file, bytes.data() + done, bytes.size() - done);
        if (count > 0) {
            done += static_cast<std::size_t>(count);
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 && errno == EAGAIN && waitForRoom) {
            pollfd ready{file, POLLOUT, 0};
            const int polled = ::poll(&ready, 1, kDeviceTimeoutMs);
            if (polled == 0)
                return "it took no bytes for " + std::to_string(kDeviceTimeoutMs / 1000) + " s";
            if (polled < 0 && errno != EINTR)
                return errorText();
            continue;
        }
        return count == 0 ? std::string("nothing was written") : errorText();
    }
    return {};
}

// Not blocking on the open: a pipe with no reader is refused at once instead of waited on.
std::string writeDevice(const std::string& path, const Bytes& bytes) {
    const int file =
        ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (file < 0)
        return errno == ENXIO ? "no one reads from it" : errorText();
    struct stat opened {};
    std::string reason;
    if (::fstat(file, &opened) != 0)
        reason = errorText();
    else if (!S_ISCHR(opened.st_mode) && !S_ISFIFO(opened.st_mode))
        reason = "it changed while it was opened";
    else
        reason = writeAll(file, bytes, true);
    ::close(file);
    return reason;
}

mode_t creationMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

std::string replaceFile(const std::string& path, const Bytes& bytes) {
    std::string temporary = folderOf(path) + "/.orvel-settings.XXXXXX";
    const int file = ::mkostemp(&temporary[0], O_CLOEXEC);
    if (file < 0)
        return errorText();
    std::string reason = writeAll(file, bytes, false);
    if (reason.empty() && ::fchmod(file, creationMode()) != 0)
        reason = errorText();
    if (reason.empty() && ::fsync(file) != 0)
        reason = errorText();
    if (::close(file) != 0 && reason.empty())
        reason = errorText();
    if (reason.empty() && ::rename(temporary.c_str(), path.c_str()) != 0)
        reason = errorText();
    if (!reason.empty())
        ::unlink(temporary.c_str());
    return reason;
}

std::string writeFile(const std::string& path, const Bytes& bytes) {
    struct stat existing {};
    if (::lstat(path.c_str(), &existing) != 0) {
        if (errno != ENOENT)
            return errorText();
        return replaceFile(path, bytes);
    }
    if (S_ISLNK(existing.st_mode))
        return "it is a symbolic link; name the file itself";
    if (S_ISDIR(existing.st_mode))
        return "it is a folder";
    if (S_ISCHR(existing.st_mode) || S_ISFIFO(existing.st_mode))
        return writeDevice(path, bytes);
    if (!S_ISREG(existing.st_mode))
        return "it is not a regular file, a device or a pipe";
    return replaceFile(path, bytes);
}

#endif

}  // namespace

std::string JobFile::write(const std::string& path, const Bytes& bytes) {
    if (path == "-")
        return writeToStandardOutput(bytes);
    return writeFile(path, bytes);
}

}  // namespace orvel::cli
