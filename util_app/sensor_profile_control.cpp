#include "util_app/sensor_profile_control.h"

#include "panels/profile_restore.h"
#include "panels/sensor_profile.h"
#include "util_app/document.h"
#include "util_app/profile_table_dialog.h"
#include "util_app/user_prompts.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMainWindow>

namespace vk {

namespace {

const QString kFilter = QStringLiteral("Sensor Profiles (*.json)");

QString Q(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// Our own lines hold file names, in the system's encoding.
QString Local(const std::string& text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

std::string Path(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

std::vector<QStringList> RestoreRows(const RestoreReport& report) {
    std::vector<QStringList> rows;
    for (const RestoreRow& r : report.rows)
        rows.push_back({Q(r.name), QString::fromLatin1(RestoreOutcomeName(r.outcome)), Q(r.profile),
                        Q(r.sensor), Q(r.note)});
    return rows;
}

} // namespace

SensorProfileControl::SensorProfileControl(CVKT02Doc& doc, QMainWindow& window)
    : QObject(&window), doc_(doc), window_(window),
      save_(new QAction(QStringLiteral("Save Sensor Profile..."), &window)),
      restore_(new QAction(QStringLiteral("Restore Sensor Profile..."), &window)),
      compare_(new QAction(QStringLiteral("Compare with Sensor Profile..."), &window)) {
    save_->setObjectName(QStringLiteral("saveSensorProfile"));
    save_->setStatusTip(QStringLiteral("Save the sensor's identity and settings to a file"));
    restore_->setObjectName(QStringLiteral("restoreSensorProfile"));
    restore_->setStatusTip(
        QStringLiteral("Write the settings of a sensor profile into the sensor"));
    compare_->setObjectName(QStringLiteral("compareSensorProfile"));
    compare_->setStatusTip(QStringLiteral("List how the sensor differs from a sensor profile"));
    connect(save_, &QAction::triggered, this, &SensorProfileControl::Save);
    connect(restore_, &QAction::triggered, this, &SensorProfileControl::Restore);
    connect(compare_, &QAction::triggered, this, &SensorProfileControl::Compare);
    connect(&doc_, &CVKT02Doc::connectionChanged, this, &SensorProfileControl::Refresh);
    Refresh();
}

void SensorProfileControl::Refresh() {
    for (QAction* action : {save_, restore_, compare_})
        action->setEnabled(doc_.IsConnected());
}

void SensorProfileControl::Refuse(const QString& text) {
    doc_.LogMessage(text.toUtf8().constData(), LogIcon::Error);
    doc_.Prompts().Error(&window_, text);
}

void SensorProfileControl::Save() {
    if (!doc_.IsConnected())
        return;
    const QString serial = Q(doc_.Sensor().Replies().serialNumber.Prefix(8)).trimmed();
    const QString path = doc_.Prompts().SaveFile(
        &window_, kFilter, (serial.isEmpty() ? QStringLiteral("sensor") : serial) + ".json");
    if (path.isEmpty() || !doc_.IsConnected())
        return;
    if (QFileInfo::exists(path)) {
        if (!ReadProfileFile(Path(path)).profile) {
            Refuse(QStringLiteral("%1 is not a sensor profile; it was left as it is.").arg(path));
            return;
        }
        if (!doc_.Prompts().AskYesNo(&window_,
                                     QStringLiteral("%1 already exists. Replace it?").arg(path)))
            return;
    }
    const std::optional<SensorProfile> profile = ReadSensor();
    if (!profile)
        return;
    std::string failure;
    if (!WriteProfileFile(Path(path), *profile, &failure)) {
        Refuse(Local(failure));
        return;
    }
    const QString saved =
        QStringLiteral("Sensor profile saved to %1").arg(QDir::toNativeSeparators(path));
    doc_.LogMessage(saved.toUtf8().constData(), LogIcon::Information);
}

std::optional<SensorProfile> SensorProfileControl::ReadSensor() {
    std::string failure;
    std::optional<SensorProfile> profile;
    {
        ExchangeGuard::Hold hold(doc_.Exchanges());
        profile = ProfileOfSensor(doc_.Connection(), "VkUtil", &failure);
    }
    if (!profile)
        Refuse(failure.empty() ? QStringLiteral("The sensor's settings could not be read.")
                               : Local(failure));
    return profile;
}

QString SensorProfileControl::PickProfile(SensorProfile* profile) {
    const QString path = doc_.Prompts().OpenFile(&window_, kFilter);
    if (path.isEmpty() || !doc_.IsConnected())
        return {};
    ProfileRead read = ReadProfileFile(Path(path));
    if (!read.profile) {
        Refuse(Local(read.error));
        return {};
    }
    if (const std::string mismatch = ModelMismatch(*read.profile, doc_.Model());
        !mismatch.empty()) {
        Refuse(Q(mismatch));
        return {};
    }
    *profile = std::move(*read.profile);
    return path;
}

void SensorProfileControl::Restore() {
    if (!doc_.IsConnected())
        return;
    SensorProfile profile;
    const QString path = PickProfile(&profile);
    if (path.isEmpty())
        return;
    RestoreReport plan;
    {
        ExchangeGuard::Hold hold(doc_.Exchanges());
        plan = RestoreSettings(doc_.Sensor(), doc_.Model(), profile, true);
    }
    if (!plan.failure.empty()) {
        Refuse(Q(plan.failure));
        return;
    }
    QStringList columns = {QStringLiteral("Setting"), QStringLiteral("Outcome"),
                           QStringLiteral("Profile"), QStringLiteral("Sensor now"),
                           QStringLiteral("Note")};
    const QString from = QStringLiteral("%1 (%2 %3, saved %4)")
                             .arg(QFileInfo(path).fileName(), Q(profile.identity.modelName),
                                  Q(profile.identity.serial), Q(profile.saved));
    CProfileTableDialog preview(
        QStringLiteral("Restore Sensor Profile"),
        QStringLiteral("Write the settings of %1 into this sensor? The settings marked \"would "
                       "write\" are written; the serial number, address, speed and check method "
                       "are left as they are.")
            .arg(from),
        columns, RestoreRows(plan), CProfileTableDialog::Buttons::OkCancel, &window_);
    if (preview.exec() != QDialog::Accepted || !doc_.IsConnected())
        return;

    RestoreReport report;
    {
        ExchangeGuard::Hold hold(doc_.Exchanges());
        report = RestoreSettings(doc_.Sensor(), doc_.Model(), profile, false);
    }
    for (const std::string& line : RestoreProblems(report))
        doc_.LogMessage((QStringLiteral("Restore ") + Q(line)).toUtf8().constData(),
                        LogIcon::Warning);
    // The settings dialog and the "System:" bar show what the sensor holds now.
    doc_.ReloadSettings();
    const QString outcome =
        report.Clean()
            ? QStringLiteral("The sensor holds the settings of %1.").arg(from)
            : QStringLiteral("Not every setting of %1 could be restored; the command log lists "
                             "each refusal and difference.")
                  .arg(from);
    columns[3] = QStringLiteral("Sensor after");
    CProfileTableDialog result(QStringLiteral("Sensor Profile Restored"), outcome, columns,
                               RestoreRows(report), CProfileTableDialog::Buttons::Close, &window_);
    result.exec();
}

void SensorProfileControl::Compare() {
    if (!doc_.IsConnected())
        return;
    const QString path = doc_.Prompts().OpenFile(&window_, kFilter);
    if (path.isEmpty() || !doc_.IsConnected())
        return;
    ProfileRead read = ReadProfileFile(Path(path));
    if (!read.profile) {
        Refuse(Local(read.error));
        return;
    }
    const std::optional<SensorProfile> sensor = ReadSensor();
    if (!sensor)
        return;
    const ProfileDifferences d = CompareProfiles(*sensor, *read.profile);
    std::vector<QStringList> rows;
    for (const Difference& x : d.settings)
        rows.push_back({QStringLiteral("setting"), Q(x.name), Q(x.first), Q(x.second)});
    for (const Difference& x : d.identity)
        rows.push_back({QStringLiteral("identity"), Q(x.name), Q(x.first), Q(x.second)});
    const QString name = QFileInfo(path).fileName();
    const QString text = d.settings.empty()
                             ? QStringLiteral("Every setting of the sensor matches %1.").arg(name)
                             : QStringLiteral("%1 setting(s) of the sensor differ from %2.")
                                   .arg(d.settings.size())
                                   .arg(name);
    doc_.LogMessage(text.toUtf8().constData(),
                    d.settings.empty() ? LogIcon::Information : LogIcon::Warning);
    CProfileTableDialog dialog(QStringLiteral("Compare with Sensor Profile"), text,
                               {QStringLiteral("Kind"), QStringLiteral("Name"),
                                QStringLiteral("Sensor"), QStringLiteral("Profile")},
                               rows, CProfileTableDialog::Buttons::Close, &window_);
    dialog.exec();
}

} // namespace vk
