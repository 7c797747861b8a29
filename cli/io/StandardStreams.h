// The few things about the standard streams that differ between platforms.
#pragma once

#include <cstdio>

namespace orvel::cli {

bool isTerminal(std::FILE* stream);
// Bytes pass unchanged: no line-end translation where the platform would make one.
void useBinary(std::FILE* stream);

}  // namespace orvel::cli
