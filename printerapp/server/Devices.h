// Device schemes of our own, beside the framework's usb: and socket: (AppSocket, port 9100):
//   parallel:/dev/lp0, parallel:/dev/usb/lp0  a printer port's character device;
//   capture:/                                  each job written to a file of the capture folder
//                                              (for tests), only while the server was started
//                                              with one.
#pragma once

#include <string>

#include <pappl/pappl.h>

namespace orvel::printerapp {

void addDeviceSchemes(const std::string& captureFolder);

// A job has ended on the device: the capture device completes the job's file (renamed from
// NNNN.part to NNNN.escp), the next job's bytes go to the next file. The framework keeps a device
// open while jobs follow one another, so the device alone cannot tell where one ends.
void endOfJob(pappl_device_t* device);

// Whether a parallel: URI names a printer port device that we accept.
bool isParallelPortPath(const std::string& path);

}  // namespace orvel::printerapp
