#pragma once
// CFindSensorsDlg ("Find Sensors"): searches one port for sensors at every speed, check
// method and address, lists each as it is found, and hands back the chosen one as the
// settings to connect with. The search runs on a thread of its own with a port of its
// own, so the window answers throughout; it never touches the document's link, which is
// closed while the dialog can be reached (it is offered only while disconnected). Stop,
// OK, Cancel and closing end the search after the request in progress.

#include "link/port_names.h"
#include "sensor/connection_host.h"
#include "sensor/line_search.h"

#include <QDialog>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace vk {

class CFindSensorsDlg : public QDialog {
public:
    // Where the sensor on a port ("COMn" or a device path) was last time.
    using LastPlaces = std::function<std::vector<LinePlace>(const std::string& port)>;

    // Searches `port` as soon as the dialog shows, and the port chosen in its list at
    // "Search"; `devices` add one list entry each; `lastPlaces` (may be empty) names the
    // places of a port that are asked before the others.
    CFindSensorsDlg(const std::string& port, const std::vector<ComDevice>& devices,
                    LastPlaces lastPlaces, QWidget* parent = nullptr);
    // Stops a search still running.
    ~CFindSensorsDlg() override;

    // The chosen sensor as the Connect dialog takes it: port name, baud rate, address
    // and check method (the other fields at their defaults). Valid after OK.
    ConnectSettings chosen() const { return chosen_; }
    bool Searching() const { return worker_.joinable() && !ended_; }
    // The sensors listed so far.
    const std::vector<FoundSensor>& Sensors() const { return sensors_; }

    // Searches the chosen port from the start, forgetting the sensors listed.
    void StartSearch();
    // Asks the search to end after the request in progress; returns at once.
    void RequestStop();

    void accept() override;
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    class Observer;
    // Asks the search to end and waits for its thread, which takes one request at most.
    void EndSearch();
    void OnProbing(const LineSearchProgress& progress);
    void OnFound(const FoundSensor& sensor);
    void OnEnded(const LineSearchResult& result);
    // Stops a busy progress bar, for a search that has ended.
    void EndBusyProgress();
    void UpdateButtons();

    LastPlaces lastPlaces_;
    std::string port_; // of the search that listed the rows
    QComboBox* portList_;
    QLabel* status_;
    QProgressBar* progress_;
    QTableWidget* table_;
    QPushButton* search_;
    QPushButton* stop_;
    QPushButton* ok_;

    std::thread worker_;
    std::shared_ptr<std::atomic<bool>> stopRequested_;
    int run_ = 0; // which search the thread's reports belong to
    bool ended_ = true;
    bool started_ = false;
    std::vector<FoundSensor> sensors_;
    ConnectSettings chosen_;
};

} // namespace vk
