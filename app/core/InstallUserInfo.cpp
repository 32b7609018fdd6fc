#include "app/core/InstallUserInfo.h"

#include "platform/ProfileFile.h"

InstallUserInfo InstallUserInfo::Read(const std::string& installIniPath)
{
    InstallUserInfo info;
    // The profile API's size counts the terminator.
    info.User = platform::GetProfileString("UserInfo", "User", "", kFieldSize + 1, installIniPath);
    info.Company = platform::GetProfileString("UserInfo", "Company", "", kFieldSize + 1, installIniPath);
    return info;
}
