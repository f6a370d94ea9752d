#pragma once

#include "codebook/JobCodeUsage.h"

#include <QDialog>

class QTableWidget;

// The codes that jobs use, with their point counts, those the book lacks
// first; "Add Missing Codes" takes them into the book.
class JobCodesDialog : public QDialog {
    Q_OBJECT
public:
    JobCodesDialog(const std::vector<JobCodeUsage::Entry>& entries, const QStringList& notes,
                   QWidget* parent = nullptr);

    QTableWidget* Table() const { return table_; }
    // The codes to add when the dialog was accepted through "Add Missing Codes".
    const std::vector<std::string>& Missing() const { return missing_; }

private:
    QTableWidget* table_;
    std::vector<std::string> missing_;
};
