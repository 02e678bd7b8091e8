#pragma once
// RecordingControl: File > Record to CSV... and File > Stop Recording. While a recording
// runs, every successful poll of the shown panel appends one row to the file the user
// chose, and the status bar shows the file and the rows written. Stop Recording, a
// disconnect, closing the program or a file that cannot be written ends it; the file then
// holds every row written. A failure is said in the command log and an error box, and
// nothing else is affected.

#include "util_app/csv_recorder.h"

#include <QObject>
#include <QString>

class QAction;
class QLabel;
class QMainWindow;

namespace vk {

class CVKT02Doc;

class RecordingControl : public QObject {
public:
    // The actions and the status label belong to `window`; `doc` must outlive this.
    RecordingControl(CVKT02Doc& doc, QMainWindow& window);

    QAction* RecordAction() const { return record_; }
    QAction* StopAction() const { return stop_; }
    QLabel* StatusLabel() const { return status_; }
    const CsvRecorder& Recorder() const { return recorder_; }

    // Asks for a file and starts recording into it.
    void Record();
    // Ends the recording; the status label says how many rows the file got.
    void Stop();
    // Enables the actions for the connection's state; a disconnect ends the recording.
    void Refresh();
    // The port went away: the recording ends with a line in the file that says so.
    void EndBecause(const QString& reason);

private:
    void OnSample(const PollSample& sample);
    void Fail(const std::string& reason);
    void ShowStatus();

    CVKT02Doc& doc_;
    QMainWindow& window_;
    CsvRecorder recorder_;
    QAction* record_;
    QAction* stop_;
    QLabel* status_;
};

} // namespace vk
