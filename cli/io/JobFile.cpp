#include "cli/io/JobFile.h"

#include <algorithm>
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
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
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

// The signals that end a run from the terminal or the system: a run ended by one of them
// removes its temporary file first. Only KILL (and a crash) can leave it behind.
constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};

// The temporary file while it exists, for the handler, which may use nothing else.
char g_temporary[PATH_MAX];
volatile sig_atomic_t g_temporaryExists = 0;
struct sigaction g_previousActions[sizeof kEndingSignals / sizeof kEndingSignals[0]];

void removeTemporaryAndEnd(int signal) {
    if (g_temporaryExists)
        ::unlink(g_temporary);
    g_temporaryExists = 0;
    // Ended by the signal, as without the handler: the caller sees how the program ended.
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

sigset_t endingSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : kEndingSignals)
        sigaddset(&set, signal);
    return set;
}

// While it lives, the ending signals wait: a temporary file is made or put away, and its name
// noted or forgotten, in one step that no signal comes between.
class EndingSignalsHeld {
public:
    EndingSignalsHeld() {
        const sigset_t set = endingSignals();
        ::sigprocmask(SIG_BLOCK, &set, &previous_);
    }
    ~EndingSignalsHeld() { ::sigprocmask(SIG_SETMASK, &previous_, nullptr); }
    EndingSignalsHeld(const EndingSignalsHeld&) = delete;
    EndingSignalsHeld& operator=(const EndingSignalsHeld&) = delete;

private:
    sigset_t previous_;
};

// Call with the ending signals held. A signal that the program ignores (nohup) stays ignored.
void noteTemporary(const std::string& temporary) {
    temporary.copy(g_temporary, sizeof g_temporary - 1);
    g_temporary[std::min(temporary.size(), sizeof g_temporary - 1)] = '\0';
    g_temporaryExists = 1;
    struct sigaction action {};
    action.sa_handler = removeTemporaryAndEnd;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < sizeof kEndingSignals / sizeof kEndingSignals[0]; ++i) {
        ::sigaction(kEndingSignals[i], nullptr, &g_previousActions[i]);
        if (g_previousActions[i].sa_handler != SIG_IGN)
            ::sigaction(kEndingSignals[i], &action, nullptr);
    }
}

// Call with the ending signals held, once the temporary file is renamed or removed.
void forgetTemporary() {
    g_temporaryExists = 0;
    for (std::size_t i = 0; i < sizeof kEndingSignals / sizeof kEndingSignals[0]; ++i)
        ::sigaction(kEndingSignals[i], &g_previousActions[i], nullptr);
}

// The new file takes the permissions, owner and group of the one it replaces, so that a file kept
// private stays private; a file whose owner or group can't be kept is not replaced (the new one
// would belong to somebody else). Special bits (set-user-ID and the like) are not carried over:
// a job file has no use for them. Without a file to replace, a new file's usual permissions.
std::string takeOverOwnerAndMode(int file, const struct stat* replaced) {
    if (replaced == nullptr)
        return ::fchmod(file, creationMode()) == 0 ? std::string() : errorText();
    struct stat made {};
    if (::fstat(file, &made) != 0)
        return errorText();
    if ((made.st_uid != replaced->st_uid || made.st_gid != replaced->st_gid) &&
        ::fchown(file, replaced->st_uid, replaced->st_gid) != 0) {
        const std::string why = errorText();
        return "cannot keep its owner and group (user " + std::to_string(replaced->st_uid) +
               ", group " + std::to_string(replaced->st_gid) + "): " + why +
               "; it was left as it was";
    }
    return ::fchmod(file, replaced->st_mode & 0777) == 0 ? std::string() : errorText();
}

std::string replaceFile(const std::string& path, const Bytes& bytes, const struct stat* replaced) {
    std::string temporary = folderOf(path) + "/.orvel-settings.XXXXXX";
    int file = -1;
    {
        const EndingSignalsHeld held;
        file = ::mkostemp(&temporary[0], O_CLOEXEC);
        if (file < 0)
            return errorText();
        noteTemporary(temporary);
    }
    std::string reason = writeAll(file, bytes, false);
    if (reason.empty())
        reason = takeOverOwnerAndMode(file, replaced);
    if (reason.empty() && ::fsync(file) != 0)
        reason = errorText();
    if (::close(file) != 0 && reason.empty())
        reason = errorText();
    const EndingSignalsHeld held;
    if (reason.empty() && ::rename(temporary.c_str(), path.c_str()) != 0)
        reason = errorText();
    if (!reason.empty())
        ::unlink(temporary.c_str());
    forgetTemporary();
    return reason;
}

std::string writeFile(const std::string& path, const Bytes& bytes) {
    struct stat existing {};
    if (::lstat(path.c_str(), &existing) != 0) {
        if (errno != ENOENT)
            return errorText();
        return replaceFile(path, bytes, nullptr);
    }
    if (S_ISLNK(existing.st_mode))
        return "it is a symbolic link; name the file itself";
    if (S_ISDIR(existing.st_mode))
        return "it is a folder";
    if (S_ISCHR(existing.st_mode) || S_ISFIFO(existing.st_mode))
        return writeDevice(path, bytes);
    if (!S_ISREG(existing.st_mode))
        return "it is not a regular file, a device or a pipe";
    return replaceFile(path, bytes, &existing);
}

#endif

}  // namespace

std::string JobFile::write(const std::string& path, const Bytes& bytes) {
    if (path == "-")
        return writeToStandardOutput(bytes);
    return writeFile(path, bytes);
}

}  // namespace orvel::cli
