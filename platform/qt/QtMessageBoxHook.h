#pragma once

namespace platform {
// Routes ShowMessageBox to a QMessageBox. Messages raised off the GUI
// thread are shown on it, and the calling thread waits for the answer.
void InstallQtMessageBoxHook();
} // namespace platform
