// Links the printer output to the winspool backend. Never run: it exists to be built.
#include "printer/RawJob.h"
#include "printer/win/WinSpooler.h"

namespace {

class SilentMessageBox : public orvel::MessageBoxService {
public:
    orvel::MessageAnswer show(const std::string&, orvel::MessageButtons, orvel::MessageIcon,
                              const std::optional<std::string>&) override {
        return orvel::MessageAnswer::OK;
    }
};

class NoSleep : public orvel::SleepService {
public:
    void sleep(int) override {}
};

}  // namespace

int main() {
    orvel::WinSpooler spooler;
    SilentMessageBox messageBox;
    NoSleep sleep;
    orvel::PrinterServices services{spooler, messageBox, sleep};
    return orvel::fncSendRawJob(services, "Check", {}, orvel::BusyCheck::Off) ==
                   orvel::RawJobOutcome::Sent
               ? 0
               : 1;
}
