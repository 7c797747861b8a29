#include "printerapp/server/PamLogin.h"

#include <grp.h>
#include <pwd.h>
#include <security/pam_appl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <future>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

namespace orvel::printerapp {
namespace {

constexpr auto kMostWait = std::chrono::seconds(10);
constexpr int kMostAtOnce = 4;
constexpr std::size_t kMostNameLength = 256;
constexpr std::size_t kMostPasswordLength = 512;

std::atomic<int> running{0};

struct Credentials {
    std::string user;
    std::string password;
};

// PAM asks for the user name and the password; informational messages are not shown anywhere.
int converse(int count, const pam_message** messages, pam_response** responses, void* data) {
    if (count <= 0 || count > PAM_MAX_NUM_MSG)
        return PAM_CONV_ERR;
    const auto* credentials = static_cast<const Credentials*>(data);
    auto* answers = static_cast<pam_response*>(std::calloc(count, sizeof(pam_response)));
    if (!answers)
        return PAM_BUF_ERR;
    for (int i = 0; i < count; ++i) {
        const char* answer = nullptr;
        switch (messages[i]->msg_style) {
            case PAM_PROMPT_ECHO_OFF:
                answer = credentials->password.c_str();
                break;
            case PAM_PROMPT_ECHO_ON:
                answer = credentials->user.c_str();
                break;
            case PAM_ERROR_MSG:
            case PAM_TEXT_INFO:
                continue;
            default:
                answer = nullptr;
        }
        if (!answer || !(answers[i].resp = ::strdup(answer))) {
            for (int j = 0; j < i; ++j)
                std::free(answers[j].resp);
            std::free(answers);
            return PAM_CONV_ERR;
        }
    }
    *responses = answers;
    return PAM_SUCCESS;
}

bool pamAccepts(const PamLogin& login, const Credentials& credentials) {
    const pam_conv conversation{converse, const_cast<Credentials*>(&credentials)};
    pam_handle_t* handle = nullptr;
    int status = ::pam_start_confdir(
        login.service.c_str(), credentials.user.c_str(), &conversation,
        login.configFolder.empty() ? nullptr : login.configFolder.c_str(), &handle);
    if (status != PAM_SUCCESS)
        return false;
    status = ::pam_authenticate(handle, PAM_SILENT | PAM_DISALLOW_NULL_AUTHTOK);
    if (status == PAM_SUCCESS)
        status = ::pam_acct_mgmt(handle, PAM_SILENT | PAM_DISALLOW_NULL_AUTHTOK);
    ::pam_end(handle, status);
    return status == PAM_SUCCESS;
}

bool plausible(const std::string& text, std::size_t most) {
    return !text.empty() && text.size() <= most &&
           std::none_of(text.begin(), text.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

}  // namespace

namespace {

constexpr std::size_t kEntryBuffer = 16384;

std::optional<gid_t> groupId(const std::string& name) {
    std::vector<char> buffer(kEntryBuffer);
    struct group entry {};
    struct group* found = nullptr;
    if (::getgrnam_r(name.c_str(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found)
        return std::nullopt;
    return entry.gr_gid;
}

std::optional<gid_t> primaryGroupOf(const std::string& user) {
    std::vector<char> buffer(kEntryBuffer);
    passwd account{};
    passwd* found = nullptr;
    if (::getpwnam_r(user.c_str(), &account, buffer.data(), buffer.size(), &found) != 0 || !found)
        return std::nullopt;
    return account.pw_gid;
}

}  // namespace

bool groupExists(const std::string& group) {
    return groupId(group).has_value();
}

bool userInGroup(const std::string& user, const std::string& group) {
    const std::optional<gid_t> primary = primaryGroupOf(user);
    const std::optional<gid_t> wanted = groupId(group);
    if (!primary || !wanted)
        return false;
    int count = 64;
    std::vector<gid_t> groups(count);
    if (::getgrouplist(user.c_str(), *primary, groups.data(), &count) < 0) {
        if (count <= 0 || count > 65536)
            return false;
        groups.resize(count);
        if (::getgrouplist(user.c_str(), *primary, groups.data(), &count) < 0)
            return false;
    }
    groups.resize(count);
    return std::find(groups.begin(), groups.end(), *wanted) != groups.end();
}

LoginOutcome checkLogin(const PamLogin& login, const std::string& user,
                        const std::string& password) {
    if (login.group.empty() || !plausible(user, kMostNameLength) ||
        !plausible(password, kMostPasswordLength) || user[0] == '-')
        return LoginOutcome::Refused;
    if (running.fetch_add(1) >= kMostAtOnce) {
        running.fetch_sub(1);
        return LoginOutcome::Unanswered;
    }
    // On a thread of its own, so that the request waits no longer than the bound; a check
    // still running then ends on its own and frees its place.
    auto credentials = std::make_shared<Credentials>(Credentials{user, password});
    auto result = std::make_shared<std::promise<bool>>();
    std::future<bool> admitted = result->get_future();
    try {
        std::thread([login, credentials, result] {
            const bool ok =
                pamAccepts(login, *credentials) && userInGroup(credentials->user, login.group);
            result->set_value(ok);
            running.fetch_sub(1);
        }).detach();
    } catch (const std::system_error&) {
        running.fetch_sub(1);
        return LoginOutcome::Unanswered;
    }
    if (admitted.wait_for(kMostWait) != std::future_status::ready)
        return LoginOutcome::Unanswered;
    return admitted.get() ? LoginOutcome::Admitted : LoginOutcome::Refused;
}

}  // namespace orvel::printerapp
