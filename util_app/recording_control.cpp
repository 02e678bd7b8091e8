#include "util_app/recording_control.h"

#include "util_app/document.h"
#include "util_app/user_prompts.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <QTimer>

namespace vk {

RecordingControl::RecordingControl(CVKT02Doc& doc, QMainWindow& window)
    : QObject(&window), doc_(doc), window_(window),
      record_(new QAction(QStringLiteral("Record to CSV..."), &window)),
      stop_(new QAction(QStringLiteral("Stop Recording"), &window)), status_(new QLabel(&window)) {
    record_->setObjectName(QStringLiteral("recordCsv"));
    // Shifted letters, to leave the plain ones to the menus' own shortcuts.
    record_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R));
    stop_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
    record_->setStatusTip(QStringLiteral("Append every poll of the panel to a CSV file"));
    stop_->setObjectName(QStringLiteral("stopRecording"));
    stop_->setStatusTip(QStringLiteral("End the CSV recording"));
    status_->setObjectName(QStringLiteral("recordingStatus"));
    status_->setAccessibleName(QStringLiteral("Recording status"));
    window.statusBar()->addPermanentWidget(status_);
    status_->hide();

    connect(record_, &QAction::triggered, this, &RecordingControl::Record);
    connect(stop_, &QAction::triggered, this, &RecordingControl::Stop);
    connect(&doc_, &CVKT02Doc::pollSampled, this, &RecordingControl::OnSample);
    connect(&doc_, &CVKT02Doc::connectionChanged, this, &RecordingControl::Refresh);
    connect(&doc_, &CVKT02Doc::portLost, this, &RecordingControl::EndBecause);
    Refresh();
}

void RecordingControl::EndBecause(const QString& reason) {
    if (!recorder_.Active())
        return;
    recorder_.StopBecause(reason.toStdString(), std::chrono::system_clock::now());
    ShowStatus();
    Refresh();
}

void RecordingControl::Refresh() {
    if (recorder_.Active() && !doc_.IsConnected())
        Stop();
    record_->setEnabled(doc_.IsConnected() && !recorder_.Active());
    stop_->setEnabled(recorder_.Active());
}

void RecordingControl::Record() {
    if (!doc_.IsConnected())
        return;
    const QString path = doc_.Prompts().SaveFile(&window_, QStringLiteral("CSV Files (*.csv)"),
                                                 QStringLiteral("recording.csv"));
    if (path.isEmpty() || !doc_.IsConnected())
        return;
    std::string error;
    if (!recorder_.Start(QFile::encodeName(path).toStdString(), &error)) {
        doc_.LogMessage(error.c_str(), LogIcon::Error);
        doc_.Prompts().Error(&window_, QString::fromStdString(error));
    }
    ShowStatus();
    Refresh();
}

void RecordingControl::Stop() {
    if (!recorder_.Active())
        return;
    recorder_.Stop();
    ShowStatus();
    Refresh();
}

void RecordingControl::OnSample(const PollSample& sample) {
    if (!recorder_.Active())
        return;
    std::string error;
    if (!recorder_.Append(sample, &error)) {
        Fail(error);
        return;
    }
    ShowStatus();
}

void RecordingControl::Fail(const std::string& reason) {
    doc_.LogMessage(reason.c_str(), LogIcon::Error);
    ShowStatus();
    Refresh();
    // The poll that found the failure is still running; the box waits until it is done.
    const QString text = QString::fromStdString(reason);
    QTimer::singleShot(0, this, [this, text] { doc_.Prompts().Error(&window_, text); });
}

void RecordingControl::ShowStatus() {
    if (recorder_.Path().empty())
        return;
    const QString file = QDir::toNativeSeparators(QFile::decodeName(recorder_.Path().c_str()));
    const QString rows = QString::number(recorder_.Rows());
    status_->setText(recorder_.Active() ? QStringLiteral("Recording %1: %2 rows").arg(file, rows)
                                        : QStringLiteral("Recorded %1: %2 rows").arg(file, rows));
    status_->show();
}

} // namespace vk
