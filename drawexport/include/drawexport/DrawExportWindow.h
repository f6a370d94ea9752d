#pragma once

#include "drawexport/ExportSettings.h"
#include "drawexport/LoadedInput.h"

#include <QMainWindow>

#include <memory>
#include <vector>

class ExportWorker;
class PlanView;
class PointTableModel;
class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableView;

// The "Gsi To Dxf" window: field files opened (or dropped from a file
// manager) are shown in a plan beside a table of their points; the export
// options below lead to one output file, written on a worker thread with
// a progress bar, and a summary of what was written and what was not.
class DrawExportWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit DrawExportWindow(QWidget* parent = nullptr);
    ~DrawExportWindow() override;

    // Reads the files and adds them to those open; a file that cannot be
    // read is listed with its line and reason.
    void OpenFiles(const QStringList& paths);
    void ClearFiles();
    // Exports the open files to the output named in the window, asking
    // first (Replace, Keep Both, Cancel) when that file exists.
    void Export();

    PlanView* Plan() const { return plan_; }
    QListWidget* Files() const { return files_; }
    QPlainTextEdit* Summary() const { return summary_; }
    QProgressBar* Progress() const { return progress_; }
    QLineEdit* Output() const { return output_; }
    // The codebook the drawing is made by; empty: none.
    QLineEdit* Codebook() const { return codebook_; }
    QComboBox* Format() const { return format_; }
    PointTableModel* Table() const { return table_; }
    QPushButton* ExportButton() const { return exportButton_; }

signals:
    void exportFinished();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* MakeOptions();
    QWidget* MakeViews();
    void ShowPoints();
    void ChooseOpenFiles();
    void ChooseOutput();
    void ChooseCodebook();
    // Settings() with the chosen codebook read; false, with the reason in
    // the summary, when it cannot be.
    bool AddCodebook(ExportSettings& settings);
    void OnFormatChanged();
    void OnExportFinished(const QString& error, qint64 written);
    void SetBusy(bool busy);
    bool MayWriteOutput();
    ExportSettings Settings() const;

    std::vector<std::unique_ptr<LoadedInput>> inputs_;
    PlanView* plan_ = nullptr;
    PointTableModel* table_ = nullptr;
    QTableView* tableView_ = nullptr;
    QListWidget* files_ = nullptr;
    QComboBox* format_ = nullptr;
    QSpinBox* epsg_ = nullptr;
    QDoubleSpinBox* textHeight_ = nullptr;
    QSpinBox* decimals_ = nullptr;
    QLineEdit* output_ = nullptr;
    QLineEdit* codebook_ = nullptr;
    QPushButton* exportButton_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPlainTextEdit* summary_ = nullptr;
    QList<QAction*> fileActions_;
    ExportWorker* worker_ = nullptr;
    std::vector<std::string> reportLines_;
};
