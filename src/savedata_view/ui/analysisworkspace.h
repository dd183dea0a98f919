#pragma once

#include "spectrum/ramandata.h"

#include <QImage>
#include <QJsonObject>
#include <QObject>

#include <functional>
#include <memory>

class QWidget;

// What one analysis of a measuring point hands back when the user stores its result.
struct AnalysisResult
{
    QString suggestedAuto;
    double autoCorrelation = 0.0;
    QString suggestedManual;
    QString finalIdentification;
    // Of a mineral search: keywords as stored, and the answer at group level; else empty.
    QString autoConfidence;
    QString autoGroup;
    QString autoGroupConfidence;
    QImage graph;
    QImage table;
    QJsonObject settings; // how the analysis was set up, to be shown again on reopening
};

// One open analysis window as the measurement view sees it. The analysis workspace lives in a
// higher layer; the program plugs it in through AnalysisWorkspace, tests plug in their own.
class AnalysisSession : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Shows the window on `spectrum` of the measurement in `folder`, set up as `settings` stored
    // with the point say (empty: as the user's last analysis).
    virtual void start(const RamanData<Wavenumbers> &spectrum, const QString &folder,
                       const QJsonObject &settings)
        = 0;
    virtual AnalysisResult result() const = 0;
    // The window, to put questions about the session on top of it.
    virtual QWidget *window() const = 0;
    // Closes the window; emits closed().
    virtual void close() = 0;

signals:
    void saveRequested();
    void closed();
};

struct AnalysisWorkspace
{
    // A new session; the caller deletes it after closed(), which closes a window still open.
    // Empty: no analysis available.
    std::function<AnalysisSession *()> openSession;
    // Runs the export of a processed spectrum into a library folder, proposing `name`.
    std::function<void(const RamanData<Wavenumbers> &spectrum, const QString &name,
                       QWidget *parent)>
        exportForLibrary;
};
