#include "tests/windows/UnderWine.h"

#include <cstdio>
#include <fstream>
#include <future>
#include <iterator>
#include <memory>

#include "tests/windows/WinePrefix.h"

namespace orvel::test {

namespace {

constexpr char kWindowsProgram[] = ORVEL_WINDOWS_PROGRAM;
constexpr char kLinuxProgram[] = ORVEL_LINUX_PROGRAM;

// Boots the prefix once for every test of the run, whichever suite it belongs to.
class WineEnvironment : public testing::Environment {
public:
    void SetUp() override {
        whySkipped_ = CupsSandbox::whyUnavailable();
        if (whySkipped_.empty())
            whySkipped_ = WinePrefix::whyUnavailable();
        if (whySkipped_.empty() && !std::ifstream(kWindowsProgram))
            whySkipped_ = std::string("the Windows build was not made (") + kWindowsProgram +
                          "): the mingw-w64 cross compiler is missing";
        if (!whySkipped_.empty()) {
            std::printf("wine tests skipped: %s\n", whySkipped_.c_str());
            return;
        }
        try {
            prefix_ = std::make_unique<WinePrefix>();
            std::printf("wine prefix booted in %lld ms\n",
                        static_cast<long long>(prefix_->bootTime().count()));
        } catch (const std::exception& error) {
            bootFailure_ = error.what();
        }
    }

    void TearDown() override { prefix_.reset(); }

    static const std::string& whySkipped() { return whySkipped_; }
    static const std::string& bootFailure() { return bootFailure_; }
    static const WinePrefix& prefix() { return *prefix_; }

private:
    static inline std::unique_ptr<WinePrefix> prefix_;
    static inline std::string whySkipped_;
    static inline std::string bootFailure_;
};

[[maybe_unused]] testing::Environment* const kWineEnvironment =
    testing::AddGlobalTestEnvironment(new WineEnvironment);

ProgramAnswer answerOf(const ProcessResult& result, std::chrono::steady_clock::time_point start) {
    return {result.exitCode, result.timedOut, result.out, result.err,
            std::chrono::steady_clock::now() - start};
}

// A Windows program's text: CR LF line ends become LF.
std::string unixLines(const std::string& text) {
    std::string lines;
    for (size_t i = 0; i < text.size(); ++i) {
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            lines += text[i];
    }
    return lines;
}

}  // namespace

std::string shown(const ProgramAnswer& answer) {
    return "exit " + std::to_string(answer.exitCode) + (answer.timedOut ? " (timed out)" : "") +
           "\nstdout: " + answer.out + "\nstderr: " + answer.err;
}

void UnderWine::SetUp() {
    if (!WineEnvironment::whySkipped().empty())
        GTEST_SKIP() << WineEnvironment::whySkipped();
    ASSERT_TRUE(WineEnvironment::bootFailure().empty()) << WineEnvironment::bootFailure();
    sandbox.emplace();
}

void UnderWine::startWithQueues() {
    sandbox->start();
    sandbox->addQueue(kQueue, true);
    sandbox->addQueue(kSecondQueue, false);
}

ProgramAnswer UnderWine::runWindowsRaw(const std::vector<std::string>& arguments) const {
    const auto start = std::chrono::steady_clock::now();
    return answerOf(WineEnvironment::prefix().run(kWindowsProgram, arguments), start);
}

ProgramAnswer UnderWine::runWindows(const std::vector<std::string>& arguments) const {
    ProgramAnswer answer = runWindowsRaw(arguments);
    answer.out = unixLines(answer.out);
    answer.err = unixLines(answer.err);
    return answer;
}

ProgramAnswer UnderWine::runLinux(const std::vector<std::string>& arguments) const {
    ProcessRequest request;
    request.arguments = {kLinuxProgram};
    request.arguments.insert(request.arguments.end(), arguments.begin(), arguments.end());
    request.workingFolder = WineEnvironment::prefix().workFolder();
    request.timeout = WinePrefix::kRunTimeout;
    const auto start = std::chrono::steady_clock::now();
    return answerOf(BoundedProcess::run(request), start);
}

std::pair<ProgramAnswer, ProgramAnswer> UnderWine::runBoth(
    const std::vector<std::string>& arguments) const {
    auto windows =
        std::async(std::launch::async, [this, &arguments] { return runWindows(arguments); });
    ProgramAnswer onLinux = runLinux(arguments);
    return {windows.get(), onLinux};
}

std::string UnderWine::writeFile(const std::string& name, const std::string& bytes) const {
    std::ofstream(WineEnvironment::prefix().workFolder() + "/" + name, std::ios::binary) << bytes;
    return name;
}

std::string UnderWine::readFile(const std::string& name) const {
    std::ifstream file(WineEnvironment::prefix().workFolder() + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void UnderWine::expectNothingArrived(const std::vector<std::string>& queues) const {
    for (const std::string& queue : queues) {
        SCOPED_TRACE(queue);
        EXPECT_TRUE(sandbox->activeJobs(queue).empty());
        EXPECT_TRUE(sandbox->completedJobs(queue).empty());
        EXPECT_TRUE(sandbox->capturedJobs(queue).empty());
    }
}

}  // namespace orvel::test
