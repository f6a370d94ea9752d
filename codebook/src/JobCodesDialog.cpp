#include "codebook/JobCodesDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

JobCodesDialog::JobCodesDialog(const std::vector<JobCodeUsage::Entry>& entries,
                               const QStringList& notes, QWidget* parent)
    : QDialog(parent), table_(new QTableWidget(static_cast<int>(entries.size()), 3, this)) {
    setWindowTitle(tr("Codes Used in Jobs"));
    std::vector<JobCodeUsage::Entry> sorted = entries;
    std::stable_partition(sorted.begin(), sorted.end(), [](const auto& e) { return !e.inBook; });
    table_->setHorizontalHeaderLabels({tr("Code"), tr("Points"), tr("In the book")});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->horizontalHeader()->setStretchLastSection(true);
    for (int row = 0; row < static_cast<int>(sorted.size()); ++row) {
        const JobCodeUsage::Entry& entry = sorted[row];
        table_->setItem(row, 0, new QTableWidgetItem(QString::fromStdString(entry.code)));
        auto* count = new QTableWidgetItem;
        count->setData(Qt::DisplayRole, static_cast<qulonglong>(entry.points));
        table_->setItem(row, 1, count);
        table_->setItem(row, 2, new QTableWidgetItem(entry.inBook ? tr("yes") : tr("missing")));
        if (!entry.inBook) {
            missing_.push_back(entry.code);
        }
    }
    const std::size_t lacking = missing_.size();
    auto* summary = new QLabel(tr("%1 codes in the jobs, %2 of them missing from the book.")
                                   .arg(sorted.size())
                                   .arg(lacking),
                               this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* add = buttons->addButton(tr("Add Missing Codes"), QDialogButtonBox::AcceptRole);
    add->setEnabled(lacking > 0);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    if (!notes.isEmpty()) {
        auto* problems = new QLabel(notes.join(QLatin1Char('\n')), this);
        problems->setWordWrap(true);
        layout->addWidget(problems);
    }
    layout->addWidget(table_, 1);
    layout->addWidget(buttons);
    resize(420, 480);
}
