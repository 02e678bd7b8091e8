#pragma once
// SensorProfileControl: File > Save Sensor Profile..., Restore Sensor Profile... and
// Compare with Sensor Profile..., enabled while connected. Restoring shows first what
// will change (OK writes it, Cancel nothing), then each setting's outcome; every refusal
// and every setting the sensor does not keep as written gets a line in the command log.

#include <QObject>
#include <QString>

#include <optional>

class QAction;
class QMainWindow;

namespace vk {

class CVKT02Doc;
struct SensorProfile;

class SensorProfileControl : public QObject {
public:
    // The actions belong to `window`; `doc` must outlive this.
    SensorProfileControl(CVKT02Doc& doc, QMainWindow& window);

    QAction* SaveAction() const { return save_; }
    QAction* RestoreAction() const { return restore_; }
    QAction* CompareAction() const { return compare_; }

    void Save();
    void Restore();
    void Compare();
    // Enables the actions for the connection's state.
    void Refresh();

private:
    // The profile file the user picks, read and checked for the connected model; an empty
    // path when cancelled or refused (the refusal is shown and logged).
    QString PickProfile(SensorProfile* profile);
    void Refuse(const QString& text);
    // The connected sensor as a profile; nothing when it could not be read (said and logged).
    std::optional<SensorProfile> ReadSensor();

    CVKT02Doc& doc_;
    QMainWindow& window_;
    QAction* save_;
    QAction* restore_;
    QAction* compare_;
};

} // namespace vk
