// The zip for Windows users, as tools/windows-build leaves it: the window with its twelve button
// bitmaps, the command line, both as the wine tests run them, and the short README with the line
// ends of Windows' own editors, and nothing else.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/windows/BoundedProcess.h"

namespace orvel::test {
namespace {

namespace fs = std::filesystem;

constexpr char kBuildFolder[] = ORVEL_WINDOWS_BUILD;
constexpr char kProgramName[] = ORVEL_WINDOWS_PROGRAM_NAME;
constexpr char kWindowName[] = "varnet-orvel";
constexpr char kBitmapFolder[] = ORVEL_SOURCE_DIR "/assets";
// The window first, its bitmaps in the order the zip lists them, then the command line and the
// README.
const std::vector<std::string> kContents = {
    "varnet-orvel.exe",    "Apply_Settings1.bmp",  "Apply_Settings2.bmp",  "Close_Button1.bmp",
    "Close_Button2.bmp",   "Exit_Button1.bmp",     "Exit_Button2.bmp",     "Print_Features1.bmp",
    "Print_Features2.bmp", "Restore_Default1.bmp", "Restore_Default2.bmp", "Show_Features1.bmp",
    "Show_Features2.bmp",  "orvel-settings.exe",   "README.txt",
};
constexpr char kReadme[] = ORVEL_SOURCE_DIR "/packaging/windows/README.txt";
constexpr char kUnzip[] = "/usr/bin/unzip";

std::string fileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

ProcessResult unzip(const std::vector<std::string>& arguments) {
    ProcessRequest request;
    request.arguments = {kUnzip};
    request.arguments.insert(request.arguments.end(), arguments.begin(), arguments.end());
    request.timeout = std::chrono::seconds(30);
    return BoundedProcess::run(request);
}

std::vector<std::string> zipsIn(const std::string& folder) {
    std::vector<std::string> zips;
    std::error_code failed;
    for (const auto& entry : fs::directory_iterator(folder, failed)) {
        const std::string name = entry.path().filename().string();
        const std::string ending = "-windows-x64.zip";
        if (name.size() > ending.size() &&
            name.compare(name.size() - ending.size(), ending.size(), ending) == 0)
            zips.push_back(entry.path().string());
    }
    return zips;
}

TEST(WindowsZip, HoldsTheWindowItsBitmapsTheCommandLineAndTheReadmeAndNothingElse) {
    const std::string program = std::string(kBuildFolder) + "/" + kProgramName + ".exe";
    if (!fs::exists(program))
        GTEST_SKIP() << "the Windows build was not made (" << program << ")";
    ASSERT_EQ(access(kUnzip, X_OK), 0) << kUnzip << " is missing: tools/setup.sh installs it";
    const std::vector<std::string> zips = zipsIn(kBuildFolder);
    ASSERT_EQ(zips.size(), 1u) << "one zip in " << kBuildFolder;
    const std::string& zip = zips.front();
    EXPECT_EQ(fs::path(zip).filename().string().rfind(std::string(kWindowName) + "-", 0), 0u)
        << zip;

    const ProcessResult listing = unzip({"-Z1", zip});
    ASSERT_EQ(listing.exitCode, 0) << listing.err;
    std::string contents;
    for (const std::string& name : kContents)
        contents += name + "\n";
    EXPECT_EQ(listing.out, contents);

    char folderTemplate[] = "/tmp/orvel-zip.XXXXXX";
    ASSERT_NE(mkdtemp(folderTemplate), nullptr);
    const std::string folder = folderTemplate;
    const ProcessResult unpacked = unzip({"-q", zip, "-d", folder});
    EXPECT_EQ(unpacked.exitCode, 0) << unpacked.err;
    const std::string shipped = fileBytes(folder + "/" + kProgramName + ".exe");
    const std::string shippedWindow = fileBytes(folder + "/" + kWindowName + ".exe");
    const std::string shippedReadme = fileBytes(folder + "/README.txt");
    for (const std::string& name : kContents) {
        if (fs::path(name).extension() == ".bmp") {
            EXPECT_TRUE(fileBytes(folder + "/" + name) ==
                        fileBytes(std::string(kBitmapFolder) + "/" + name))
                << name;
        }
    }
    std::error_code ignored;
    fs::remove_all(folder, ignored);

    EXPECT_TRUE(shipped == fileBytes(program)) << "the zip's program is not the one built";
    EXPECT_TRUE(shippedWindow == fileBytes(std::string(kBuildFolder) + "/" + kWindowName + ".exe"))
        << "the zip's window is not the one built";
    std::string readme;
    for (char c : fileBytes(kReadme))
        readme += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(shippedReadme, readme);
}

}  // namespace
}  // namespace orvel::test
