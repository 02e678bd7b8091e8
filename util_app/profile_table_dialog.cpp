#include "util_app/profile_table_dialog.h"

#include "util_app/dialog_buttons.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vk {

CProfileTableDialog::CProfileTableDialog(const QString& title, const QString& text,
                                         const QStringList& columns,
                                         const std::vector<QStringList>& rows, Buttons buttons,
                                         QWidget* parent)
    : QDialog(parent), text_(new QLabel(text, this)), table_(new QTableWidget(this)) {
    setObjectName(QStringLiteral("profileTableDialog"));
    setWindowTitle(title);
    text_->setObjectName(QStringLiteral("profileText"));
    text_->setWordWrap(true);
    text_->setTextFormat(Qt::PlainText);
    table_->setObjectName(QStringLiteral("profileTable"));
    table_->setAccessibleName(title);
    table_->setColumnCount(static_cast<int>(columns.size()));
    table_->setHorizontalHeaderLabels(columns);
    table_->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < table_->rowCount(); ++r) {
        const QStringList& cells = rows[static_cast<std::size_t>(r)];
        for (int c = 0; c < cells.size() && c < table_->columnCount(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setToolTip(cells[c]); // a long refusal is cut off in its cell
            table_->setItem(r, c, item);
        }
    }
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(20);
    table_->setWordWrap(false);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setStretchLastSection(true);

    QDialogButtonBox* box;
    if (buttons == Buttons::OkCancel) {
        box = OkCancelButtons(this);
    } else {
        box = new QDialogButtonBox(this);
        QPushButton* close = box->addButton(QStringLiteral("Close"), QDialogButtonBox::RejectRole);
        close->setObjectName(QStringLiteral("close"));
        close->setDefault(true);
        connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(table_, 1);
    layout->addWidget(box);
    resize(900, 520);
}

} // namespace vk
