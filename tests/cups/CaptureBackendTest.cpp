// The capture backend on its own, run as the scheduler runs it (as lp, by its path under a
// scheduler's folder): a job of any bytes up to its 16 MiB cap is kept whole under its name, a
// bigger one is refused and leaves nothing behind, from standard input and from a file alike;
// and a link planted under its temporary name leads it nowhere.
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace orvel::test {
namespace {

namespace fs = std::filesystem;

constexpr char kBackend[] = ORVEL_CAPTURE_BACKEND;
constexpr char kQueue[] = "Orvel";
constexpr size_t kCap = 16 * 1024 * 1024;
// A job that can never be kept is cancelled: a failure would stop the queue with it inside.
constexpr int kJobCancelled = 5;

std::string fileBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// A scheduler's folder as the backend expects it: the backend at bin/backend/capture, root's,
// and the queue's capture folder, lp's.
class CaptureBackend : public testing::Test {
protected:
    void SetUp() override {
        if (geteuid() != 0)
            GTEST_SKIP() << "the backend runs as lp: only root can start it so";
        const passwd* lp = getpwnam("lp");
        if (lp == nullptr)
            GTEST_SKIP() << "no user lp here";
        char folderTemplate[] = "/tmp/orvel-backend.XXXXXX";
        if (mkdtemp(folderTemplate) == nullptr)
            throw std::runtime_error("cannot make a folder");
        root = folderTemplate;
        fs::permissions(root,
                        fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
        fs::create_directories(root / "bin" / "backend");
        fs::copy_file(kBackend, root / "bin" / "backend" / "capture");
        fs::permissions(root / "bin" / "backend" / "capture",
                        fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                            fs::perms::others_read | fs::perms::others_exec);
        fs::create_directories(captures());
        ASSERT_EQ(chown(captures().c_str(), lp->pw_uid, lp->pw_gid), 0);
    }

    void TearDown() override {
        std::error_code ignored;
        if (!root.empty())
            fs::remove_all(root, ignored);
    }

    fs::path captures() const { return root / "capture" / kQueue; }

    // Job 1 with the bytes given, through a pipe on standard input or as the file argument; the
    // exit status. The backend's shell runs as process 1 of a namespace of its own, so that its
    // temporary name is known beforehand: .1.1.tmp.
    int deliver(const std::string& bytes, bool asFile) {
        const fs::path input = root / "input";
        std::ofstream(input, std::ios::binary) << bytes;
        fs::permissions(input,
                        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        const std::string backend = (root / "bin" / "backend" / "capture").string();
        const std::string command =
            (asFile ? "" : "cat " + input.string() + " | ") +
            "timeout -k 1 60 unshare --pid --fork setpriv --reuid lp --regid lp --clear-groups"
            " env -i PATH=/usr/bin:/bin PRINTER=" +
            std::string(kQueue) + " DEVICE_URI=capture:" + captures().string() + " " + backend +
            " 1 user title 1 ''" + (asFile ? " " + input.string() : "") + " >/dev/null 2>&1";
        const int status = std::system(command.c_str());
        fs::remove(input);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(captures()))
            names.push_back(entry.path().filename().string());
        return names;
    }

    fs::path root;
};

TEST_F(CaptureBackend, KeepsEveryJobUpToItsCapWholeAndRefusesABiggerOneLeavingNothing) {
    struct Case {
        const char* what;
        std::string bytes;
        bool kept;
    };
    std::string everyByte;
    for (int value = 0; value < 256; ++value)
        everyByte += static_cast<char>(value);
    const std::vector<Case> cases = {
        {"every byte value, NUL and 0xFF included", everyByte + everyByte, true},
        {"an empty job", "", true},
        {"exactly 16 MiB", std::string(kCap, 'x'), true},
        {"16 MiB and one byte", std::string(kCap + 1, 'x'), false},
    };
    for (const bool asFile : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (asFile ? ", as a file" : ", on standard input"));
            const int status = deliver(c.bytes, asFile);
            if (c.kept) {
                EXPECT_EQ(status, 0);
                EXPECT_EQ(entries(), std::vector<std::string>{"1.raw"});
                EXPECT_TRUE(fileBytes(captures() / "1.raw") == c.bytes);
                const auto permissions = fs::status(captures() / "1.raw").permissions();
                EXPECT_NE(permissions & fs::perms::others_read, fs::perms::none);
            } else {
                EXPECT_EQ(status, kJobCancelled);
                EXPECT_EQ(entries(), std::vector<std::string>{}) << "a refused job left a file";
            }
            for (const std::string& name : entries())
                fs::remove(captures() / name);
        }
    }
}

// The links lead where lp may write: only the backend's own care keeps the job from going there.
TEST_F(CaptureBackend, FollowsNoLinkPlantedUnderItsTemporaryName) {
    const passwd* lp = getpwnam("lp");
    const fs::path outside = root / "outside";
    fs::create_directory(outside);
    ASSERT_EQ(chown(outside.c_str(), lp->pw_uid, lp->pw_gid), 0);
    std::ofstream(outside / "kept") << "untouched";
    ASSERT_EQ(chown((outside / "kept").c_str(), lp->pw_uid, lp->pw_gid), 0);
    struct Case {
        const char* what;
        fs::path linkTo;
    };
    const std::vector<Case> cases = {
        {"a link to a file of lp's", outside / "kept"},
        {"a link to a name that nothing has yet", outside / "made-through-the-link"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::create_symlink(c.linkTo, captures() / ".1.1.tmp");

        EXPECT_EQ(deliver("job 1", false), 0);

        EXPECT_EQ(fileBytes(captures() / "1.raw"), "job 1");
        EXPECT_TRUE(fs::is_symlink(captures() / ".1.1.tmp")) << "the planted link went";
        EXPECT_EQ(fileBytes(outside / "kept"), "untouched");
        EXPECT_FALSE(fs::exists(fs::symlink_status(outside / "made-through-the-link")));
        for (const std::string& name : entries())
            fs::remove(captures() / name);
    }
}

}  // namespace
}  // namespace orvel::test
