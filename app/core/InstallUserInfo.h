#pragma once
// The owner's name and company from the install file, as the About box
// shows them.

#include <string>

struct InstallUserInfo {
    static constexpr std::size_t kFieldSize = 80;

    std::string User;
    std::string Company;

    // Section "UserInfo", keys "User" and "Company", each at most 80
    // characters; missing file, section or key gives an empty field.
    static InstallUserInfo Read(const std::string& installIniPath);
};
