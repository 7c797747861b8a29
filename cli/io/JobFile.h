// Writes a job's bytes to a file whole or not at all.
//
// A regular file (or none yet) is replaced through a new file in the same folder that is renamed
// over it once every byte is written and flushed to disk: a reader never sees part of a job, a
// failure leaves the old file as it was, and a link planted at the name is replaced, never
// followed. The new file keeps the permissions, owner and group of the one it replaces; when the
// owner or group can't be kept, the old file stays. A run ended by INT, TERM or HUP meanwhile
// removes the new file first. A name that is a symbolic link is refused (the bytes would land
// wherever it points). A device or a pipe named directly, not through a link, is written to as it
// is: that is how bytes reach a printer port without a spooler.
#pragma once

#include <string>

#include "printer/job/Spooler.h"

namespace orvel::cli {

class JobFile {
public:
    // "-" is standard output. Returns why the bytes could not be written; empty when they were.
    static std::string write(const std::string& path, const Bytes& bytes);
};

}  // namespace orvel::cli
