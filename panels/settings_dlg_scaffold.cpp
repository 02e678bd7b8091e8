#include "panels/settings_dlg_scaffold.h"

#include "util_app/buddy_label.h"

#include "panels/numeric_edit.h"
#include "util_app/up_down_edit.h"
#include "util_app/user_prompts.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>

namespace vk {

CSettingsDlgScaffold::CSettingsDlgScaffold(PanelContext& context, QWidget* parent)
    : CCustomSettingsDlg(context, parent) {
    setWindowTitle(QStringLiteral("Settings"));
}

CNumericEdit* CSettingsDlgScaffold::NewField(std::string* text, const char* name, bool digitsOnly) {
    auto* edit = new CNumericEdit(this);
    edit->setObjectName(QString::fromLatin1(name));
    edit->SetDigitsOnly(digitsOnly);
    // Room for any value a sensor word gives, however the columns share the width.
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("-00000.000")) + 12);
    fields_.push_back({text, edit});
    return edit;
}

CNumericEdit* CSettingsDlgScaffold::AddField(QGridLayout* grid, int row, const char* label,
                                             std::string* text, const char* name, bool digitsOnly) {
    CNumericEdit* edit = NewField(text, name, digitsOnly);
    if (label)
        grid->addWidget(BuddyLabel(QString::fromLatin1(label), edit, this), row, 0);
    grid->addWidget(edit, row, 1);
    return edit;
}

UpDownEdit* CSettingsDlgScaffold::NewThresholdField(std::string* text) {
    auto* threshold = new UpDownEdit(NewField(text, "threshold", true), this);
    threshold->SetRange(0, 255);
    threshold->UpButton()->setObjectName(QStringLiteral("thresholdUp"));
    threshold->DownButton()->setObjectName(QStringLiteral("thresholdDown"));
    return threshold;
}

QPushButton* CSettingsDlgScaffold::AddButton(const char* text, const char* name,
                                             std::function<void()> handler) {
    auto* button = new QPushButton(QString::fromLatin1(text), this);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [handler = std::move(handler)] { handler(); });
    return button;
}

QLabel* CSettingsDlgScaffold::SecondaryText(const QString& text, const char* name) {
    auto* label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(name));
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

QGroupBox* CSettingsDlgScaffold::NewGroup(const char* title) {
    return new QGroupBox(QString::fromLatin1(title), this);
}

QBoxLayout* CSettingsDlgScaffold::NewRefreshCloseRow() {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(AddButton("Refresh", "refresh", [this] { ReloadSettings(); }));
    row->addWidget(AddButton("Close", "close", [this] { reject(); }));
    return row;
}

void CSettingsDlgScaffold::showEvent(QShowEvent* event) {
    CCustomSettingsDlg::showEvent(event);
    if (event->spontaneous())
        return;
    // A box is never narrower than its longest entry: the mode descriptions are what
    // tells the modes apart.
    for (QComboBox* box : findChildren<QComboBox*>()) {
        box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        box->setSizePolicy(QSizePolicy::MinimumExpanding, box->sizePolicy().verticalPolicy());
    }
    InitDialog();
    // The boxes may have been filled only now, after the dialog took its size.
    if (layout()) {
        layout()->activate();
        resize(size().expandedTo(sizeHint()));
    }
}

void CSettingsDlgScaffold::InitDialog() {
    TextsToControls();
}

void CSettingsDlgScaffold::TextsToControls() {
    // A closed dialog keeps its values; the controls take them when it next opens.
    if (!isVisible())
        return;
    for (const Field& field : fields_)
        field.edit->setText(QString::fromStdString(*field.text));
    ChoicesToControls();
}

void CSettingsDlgScaffold::ControlsToTexts() {
    for (const Field& field : fields_)
        *field.text = field.edit->text().toStdString();
    ChoicesFromControls();
}

void CSettingsDlgScaffold::Reloaded() {
    TextsToControls();
    Context().PostRefreshSensorBar();
}

void CSettingsDlgScaffold::Write(const std::function<WriteOutcome(SensorDevice&)>& write) {
    ControlsToTexts();
    SensorDevice* sensor = Sensor();
    if (!sensor)
        return;
    ExchangeGuard::Hold hold(Context().Exchanges());
    const WriteOutcome outcome = write(*sensor);
    if (!outcome.refusal.empty())
        Warn(outcome.refusal);
    else if (outcome.attempted)
        ReloadSettings();
}

void CSettingsDlgScaffold::Warn(const std::string& text) {
    Context().Prompts().Warn(this, QString::fromStdString(text));
}

} // namespace vk
