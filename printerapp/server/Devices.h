// Device schemes of our own, beside the framework's usb: and socket: (AppSocket, port 9100):
//   parallel:/dev/lp0, parallel:/dev/usb/lp0  a printer port's character device;
//   capture:/                                  each job written to a file of the capture folder
//                                              (for tests), only while the server was started
//                                              with one.
#pragma once

#include <string>

namespace orvel::printerapp {

void addDeviceSchemes(const std::string& captureFolder);

// Whether a parallel: URI names a printer port device that we accept.
bool isParallelPortPath(const std::string& path);

}  // namespace orvel::printerapp
