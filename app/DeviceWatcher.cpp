#include "app/DeviceWatcher.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

DeviceWatcher::DeviceWatcher(std::vector<WatchedFolder> folders, QObject* parent)
    : QObject(parent), m_Folders(std::move(folders))
{
    connect(&m_Watcher, &QFileSystemWatcher::directoryChanged, this, [this] {
        if (!m_Settle.isActive())
            m_Settle.start();
    });
    // Shared memory is busy on a desktop (a browser makes and drops files
    // there all the time): the folders are read once a burst has settled,
    // not at every change, so a running analyzer is not kept listing them.
    m_Settle.setSingleShot(true);
    m_Settle.setInterval(kSettleMs);
    connect(&m_Settle, &QTimer::timeout, this, &DeviceWatcher::OnFolderChanged);
    WatchFolders();
    m_Present = device_presence::Snapshot(m_Folders);
}

std::vector<WatchedFolder> DeviceWatcher::SoundFolders()
{
    // The server a JACK client connects to when it names none.
    return device_presence::SoundFolders(qgetenv("XDG_RUNTIME_DIR").toStdString(),
                                         qgetenv("JACK_DEFAULT_SERVER").toStdString());
}

void DeviceWatcher::WatchFolders()
{
    for (const WatchedFolder& folder : m_Folders) {
        QString path = QString::fromStdString(folder.path);
        // A folder that is not there yet (no sound card so far) is watched
        // through its parent, which sees it appear.
        if (!QFileInfo(path).isDir())
            path = QFileInfo(path).absolutePath();
        if (QFileInfo(path).isDir() && !m_Watcher.directories().contains(path))
            m_Watcher.addPath(path);
    }
}

void DeviceWatcher::OnFolderChanged()
{
    // A folder that has just appeared is watched itself from now on.
    WatchFolders();
    ++m_Readings;
    std::set<std::string> present = device_presence::Snapshot(m_Folders);
    if (present == m_Present)
        return;
    m_Present = std::move(present);
    emit DeviceChanged();
}
