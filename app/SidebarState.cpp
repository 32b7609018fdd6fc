#include "app/SidebarState.h"

SidebarLatches SidebarState::Latches(bool running, bool dataLoggingActive)
{
    SidebarLatches latches;
    latches.run = running;
    latches.stop = !running;
    latches.dataLog = running && dataLoggingActive;
    return latches;
}

bool SidebarState::ShowsLogo(int clientHeight)
{
    return clientHeight >= kLogoMinHeight;
}

int SidebarState::LogoTop(int clientHeight)
{
    return clientHeight - kLogoHeight;
}
