#pragma once
// Tells the main frame when sound devices come or go: a USB module plugged
// in or pulled out changes /dev/snd, and a JACK (or PipeWire) server coming
// up or going down changes its sockets. Each change of what is present
// raises one DeviceChanged; the frame's debounce turns a burst into one
// refresh.

#include "app/core/DevicePresence.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

#include <set>
#include <string>
#include <vector>

class DeviceWatcher : public QObject {
    Q_OBJECT

public:
    DeviceWatcher(std::vector<WatchedFolder> folders, QObject* parent = nullptr);

    // /dev/snd, shared memory (the default JACK server's socket) and the
    // user's runtime folder.
    static std::vector<WatchedFolder> SoundFolders();
    // How often the folders were read after a change (not counting the first
    // reading): one burst of changes gives one reading.
    int Readings() const { return m_Readings; }
    static constexpr int kSettleMs = 150;

signals:
    void DeviceChanged();

private:
    void OnFolderChanged();
    void WatchFolders();

    std::vector<WatchedFolder> m_Folders;
    QFileSystemWatcher m_Watcher;
    QTimer m_Settle;
    std::set<std::string> m_Present;
    int m_Readings = 0;
};
