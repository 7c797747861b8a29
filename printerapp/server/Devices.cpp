#include "printerapp/server/Devices.h"

#include <fcntl.h>
#include <glob.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <regex>

#include <pappl/pappl.h>

namespace orvel::printerapp {
namespace {

// A printer that takes no byte for this long is reported as failing rather than waited for.
constexpr int kWriteTimeoutMs = 60 * 1000;

std::string captureFolder;
std::atomic<int> captureCounter{0};

struct FileDevice {
    int fd = -1;
    bool capture = false;
    std::string temporary;  // capture: renamed to its final name when the job is complete
    std::string final;
};

// A capture file for the next job, opened at the job's first byte.
bool openCaptureFile(pappl_device_t* device, FileDevice* file) {
    // Numbered on from the files that an earlier server left.
    for (int tries = 0; tries < 10000 && file->fd < 0; ++tries) {
        char name[32];
        std::snprintf(name, sizeof name, "/%04d", ++captureCounter);
        file->temporary = captureFolder + name + ".part";
        file->final = captureFolder + name + ".escp";
        if (::access(file->final.c_str(), F_OK) == 0)
            continue;
        file->fd = ::open(file->temporary.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, S_IRUSR | S_IWUSR);
        if (file->fd < 0 && errno != EEXIST)
            break;
    }
    if (file->fd < 0) {
        papplDeviceError(device, "Unable to create %s: %s", file->temporary.c_str(),
                         strerror(errno));
        return false;
    }
    return true;
}

void closeCaptureFile(FileDevice* file) {
    if (file->fd < 0)
        return;
    ::close(file->fd);
    file->fd = -1;
    std::rename(file->temporary.c_str(), file->final.c_str());
}

ssize_t writeBounded(pappl_device_t* device, const void* buffer, size_t bytes) {
    auto* file = static_cast<FileDevice*>(papplDeviceGetData(device));
    if (file->capture && file->fd < 0 && !openCaptureFile(device, file))
        return -1;
    const char* data = static_cast<const char*>(buffer);
    size_t left = bytes;
    while (left > 0) {
        pollfd ready{file->fd, POLLOUT, 0};
        const int polled = ::poll(&ready, 1, kWriteTimeoutMs);
        if (polled <= 0) {
            papplDeviceError(device, "The printer took no data for %d seconds.",
                             kWriteTimeoutMs / 1000);
            return -1;
        }
        const ssize_t written = ::write(file->fd, data, left);
        if (written < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            papplDeviceError(device, "Unable to write to the printer: %s", strerror(errno));
            return -1;
        }
        data += written;
        left -= static_cast<size_t>(written);
    }
    return static_cast<ssize_t>(bytes);
}

void closeFile(pappl_device_t* device) {
    auto* file = static_cast<FileDevice*>(papplDeviceGetData(device));
    if (!file)
        return;
    if (file->capture)
        closeCaptureFile(file);
    else if (file->fd >= 0)
        ::close(file->fd);
    delete file;
    papplDeviceSetData(device, nullptr);
}

bool isParallelPath(const std::string& path) {
    static const std::regex port("/dev/(usb/)?lp[0-9]{1,3}");
    return std::regex_match(path, port);
}

bool listParallel(pappl_device_cb_t cb, void* data, pappl_deverror_cb_t, void*) {
    for (const char* pattern : {"/dev/lp[0-9]*", "/dev/usb/lp[0-9]*"}) {
        glob_t found{};
        if (::glob(pattern, 0, nullptr, &found) == 0) {
            for (size_t i = 0; i < found.gl_pathc; ++i) {
                const std::string path = found.gl_pathv[i];
                if (!isParallelPath(path))
                    continue;
                const std::string uri = "parallel:" + path;
                if (cb(("Printer port " + path).c_str(), uri.c_str(), "", data)) {
                    ::globfree(&found);
                    return true;
                }
            }
        }
        ::globfree(&found);
    }
    return false;
}

bool openParallel(pappl_device_t* device, const char* uri, const char*) {
    const std::string path = std::string(uri).substr(std::strlen("parallel:"));
    if (!isParallelPath(path)) {
        papplDeviceError(device, "Not a printer port: %s", path.c_str());
        return false;
    }
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        papplDeviceError(device, "Unable to open %s: %s", path.c_str(), strerror(errno));
        return false;
    }
    auto* file = new FileDevice;
    file->fd = fd;
    papplDeviceSetData(device, file);
    return true;
}

bool listCapture(pappl_device_cb_t cb, void* data, pappl_deverror_cb_t, void*) {
    return !captureFolder.empty() && cb("Capture folder", "capture:/", "", data);
}

bool openCapture(pappl_device_t* device, const char*, const char*) {
    if (captureFolder.empty()) {
        papplDeviceError(device, "The server has no capture folder.");
        return false;
    }
    auto* file = new FileDevice;
    file->capture = true;
    papplDeviceSetData(device, file);
    return true;
}

ssize_t readNothing(pappl_device_t*, void*, size_t) {
    return 0;
}

}  // namespace

void endOfJob(pappl_device_t* device) {
    // The framework buffers what is written: the job's last bytes first.
    papplDeviceFlush(device);
    auto* file = static_cast<FileDevice*>(papplDeviceGetData(device));
    if (file && file->capture)
        closeCaptureFile(file);
}

bool isParallelPortPath(const std::string& path) {
    return isParallelPath(path);
}

void addDeviceSchemes(const std::string& folder) {
    captureFolder = folder;
    // The framework makes its own schemes (usb, socket) only when the first scheme is looked up,
    // and not at all once one of ours was added first: look one up before adding ours.
    papplDeviceIsSupported("socket://localhost");
    papplDeviceAddScheme("parallel", PAPPL_DEVTYPE_CUSTOM_LOCAL, listParallel, openParallel,
                         closeFile, readNothing, writeBounded, nullptr, nullptr);
    if (!folder.empty())
        papplDeviceAddScheme("capture", PAPPL_DEVTYPE_FILE, listCapture, openCapture, closeFile,
                             readNothing, writeBounded, nullptr, nullptr);
}

}  // namespace orvel::printerapp
