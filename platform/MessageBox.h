#pragma once
// Message boxes raised by code that has no window of its own (engine, audio,
// settings). By default the caption and text go to stderr; the GUI installs a
// hook that shows a real message box, and tests install one that records.

#include <functional>
#include <string>

namespace platform {

enum class MessageIcon { Error, Stop, Warning, Information, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageResult { Ok, Cancel, Yes, No };

inline constexpr const char* kProgramCaption = "Talvenor Mobile";

struct MessageBoxRequest {
    std::string caption;
    std::string text;
    MessageIcon icon = MessageIcon::Error;
    MessageButtons buttons = MessageButtons::Ok;
};

using MessageBoxHook = std::function<MessageResult(const MessageBoxRequest&)>;

// Shows a message with the program's caption; returns the button chosen
// (the first button's answer when no one can answer).
MessageResult ShowMessageBox(const std::string& text,
                             MessageIcon icon = MessageIcon::Error,
                             MessageButtons buttons = MessageButtons::Ok);

// The same under a caption of the caller's own (a dialog's title).
MessageResult ShowMessageBox(const std::string& caption, const std::string& text, MessageIcon icon,
                             MessageButtons buttons = MessageButtons::Ok);

// Installs a hook; an empty hook restores the stderr default.
void SetMessageBoxHook(MessageBoxHook hook);

} // namespace platform
