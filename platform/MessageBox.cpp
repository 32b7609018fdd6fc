#include "platform/MessageBox.h"

#include <cstdio>
#include <mutex>

namespace platform {

namespace {

std::mutex hookMutex;
MessageBoxHook installedHook;

MessageResult DefaultAnswer(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::YesNo:
    case MessageButtons::YesNoCancel:
        return MessageResult::Yes;
    case MessageButtons::Ok:
    case MessageButtons::OkCancel:
        break;
    }
    return MessageResult::Ok;
}

} // namespace

MessageResult ShowMessageBox(const std::string& text, MessageIcon icon, MessageButtons buttons)
{
    return ShowMessageBox(kProgramCaption, text, icon, buttons);
}

MessageResult ShowMessageBox(const std::string& caption, const std::string& text, MessageIcon icon,
                             MessageButtons buttons)
{
    MessageBoxRequest request{caption, text, icon, buttons};
    MessageBoxHook hook;
    {
        std::lock_guard lock(hookMutex);
        hook = installedHook;
    }
    if (hook)
        return hook(request);
    std::fprintf(stderr, "%s: %s\n", request.caption.c_str(), request.text.c_str());
    return DefaultAnswer(buttons);
}

void SetMessageBoxHook(MessageBoxHook hook)
{
    std::lock_guard lock(hookMutex);
    installedHook = std::move(hook);
}

} // namespace platform
