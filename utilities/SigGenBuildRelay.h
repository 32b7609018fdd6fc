#pragma once
// Carries the building thread's reports to the generator window. Its
// signals are raised on the building thread; the window connects to them
// queued, so it handles them on the GUI thread and the worker never waits
// for that thread (which may itself be joining the build).

#include <QMetaType>
#include <QObject>

#include "utilities/siggen/TSigGenBuildListener.h"
#include "utilities/siggen/TSigGenBuildResult.h"

Q_DECLARE_METATYPE(TSigGenBuildResult)

class SigGenBuildRelay : public QObject, public TSigGenBuildListener {
    Q_OBJECT

public:
    explicit SigGenBuildRelay(QObject* parent = nullptr);

    void OnBuildProgress(int percent) override { emit BuildProgress(percent); }
    void OnBuildFinished(const TSigGenBuildResult& result) override { emit BuildFinished(result); }

signals:
    void BuildProgress(int percent);
    void BuildFinished(const TSigGenBuildResult& result);
};
