#include "platform/qt/QtMessageBoxHook.h"

#include "platform/MessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QMetaObject>
#include <QThread>

namespace platform {

namespace {

QMessageBox::Icon ToQtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Error:
    case MessageIcon::Stop:
        return QMessageBox::Critical;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Information:
        break;
    }
    return QMessageBox::Information;
}

QMessageBox::StandardButtons ToQtButtons(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

MessageResult FromQtButton(int button)
{
    switch (button) {
    case QMessageBox::Cancel:
        return MessageResult::Cancel;
    case QMessageBox::Yes:
        return MessageResult::Yes;
    case QMessageBox::No:
        return MessageResult::No;
    default:
        return MessageResult::Ok;
    }
}

MessageResult ShowOnGuiThread(const MessageBoxRequest& request)
{
    QMessageBox box(ToQtIcon(request.icon), QString::fromStdString(request.caption),
                    QString::fromStdString(request.text), ToQtButtons(request.buttons));
    return FromQtButton(box.exec());
}

} // namespace

void InstallQtMessageBoxHook()
{
    SetMessageBoxHook([](const MessageBoxRequest& request) {
        auto* app = QCoreApplication::instance();
        if (app == nullptr || QThread::currentThread() == app->thread())
            return ShowOnGuiThread(request);
        MessageResult result = MessageResult::Ok;
        QMetaObject::invokeMethod(
            app, [&] { result = ShowOnGuiThread(request); }, Qt::BlockingQueuedConnection);
        return result;
    });
}

} // namespace platform
