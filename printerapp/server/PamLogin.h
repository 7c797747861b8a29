// Who may administer the printer by their own login: a user whom PAM authenticates and who
// belongs to the administrators' group.
#pragma once

#include <string>

namespace orvel::printerapp {

struct PamLogin {
    std::string service;       // the PAM service, /etc/pam.d/SERVICE
    std::string configFolder;  // empty: the system's PAM configuration
    std::string group;         // the administrators' group
};

enum class LoginOutcome { Admitted, Refused, Unanswered };

// Checks a user name and password with PAM (authentication and the account's validity), then
// the user's membership of the group. PAM may take long (a module's delay after a failure, a
// directory server that does not answer): the check gives up after a bound, and only a few run
// at once; the rest are Unanswered at once.
LoginOutcome checkLogin(const PamLogin& login, const std::string& user,
                        const std::string& password);

// Whether the user (by name) belongs to the group, as primary or supplementary group.
bool userInGroup(const std::string& user, const std::string& group);

// Whether the group exists.
bool groupExists(const std::string& group);

}  // namespace orvel::printerapp
