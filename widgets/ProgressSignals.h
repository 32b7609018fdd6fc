#pragma once
// Progress of a long job, as signals: the job's owner raises Show before
// the job starts and Hide when it ends; the worker thread raises Set. The
// status bar connects to them queued, so every one is handled on the GUI
// thread in the order it was raised.

#include <QObject>

class ProgressSignals : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

signals:
    void ProgressShow();
    // percent is 0 … 99; anything else is ignored by the receiver.
    void ProgressSet(int percent);
    void ProgressHide();
};
