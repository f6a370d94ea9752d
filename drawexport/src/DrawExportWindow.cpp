#include "drawexport/DrawExportWindow.h"

#include "drawexport/CodebookStyle.h"
#include "drawexport/ExportSummary.h"
#include "drawexport/ExportWorker.h"
#include "drawexport/InputReport.h"
#include "drawexport/PointTableModel.h"
#include "sharedwidgets/PlanView.h"
#include "transfer/FreeFileName.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QDragEnterEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>

#include <filesystem>

// Outside any namespace: Q_INIT_RESOURCE declares the global registration function.
static QIcon ProgramIcon() {
    // The resources sit in a static library: they register on first use.
    static const bool registered = [] {
        Q_INIT_RESOURCE(drawexport);
        return true;
    }();
    (void)registered;
    return QIcon(QStringLiteral(":/drawexport/icons/drawexport.svg"));
}

namespace {

// Column widths in characters: file, name, easting, northing, height, code.
constexpr int kColumnChars[] = {14, 12, 14, 14, 10, 12};

QString FromStd(const std::string& text) {
    return QString::fromStdString(text);
}

// The path with the format's extension in place of its own.
QString WithExtension(const QString& path, const ExportFormat& format) {
    const QFileInfo info(path);
    return info.dir().filePath(info.completeBaseName()) +
           QString::fromStdString(std::string(format.extension));
}

// Local files among dropped URLs; none when anything else was dropped.
QStringList DroppedFiles(const QMimeData* mime) {
    QStringList paths;
    for (const QUrl& url : mime->urls()) {
        if (!url.isLocalFile()) {
            return {};
        }
        paths << url.toLocalFile();
    }
    return paths;
}

} // namespace

DrawExportWindow::DrawExportWindow(QWidget* parent)
    : QMainWindow(parent), worker_(new ExportWorker(this)) {
    setWindowTitle(tr("Gsi To Dxf"));
    setWindowIcon(ProgramIcon());
    setAcceptDrops(true);
    QToolBar* tools = addToolBar(tr("Files"));
    tools->setMovable(false);
    fileActions_ << tools->addAction(tr("Open..."), this, &DrawExportWindow::ChooseOpenFiles)
                 << tools->addAction(tr("Clear"), this, &DrawExportWindow::ClearFiles);
    fileActions_.front()->setShortcut(QKeySequence::Open);

    auto* split = new QSplitter(Qt::Vertical);
    split->addWidget(MakeViews());
    split->addWidget(MakeOptions());
    split->setStretchFactor(0, 3);
    setCentralWidget(split);
    connect(worker_, &ExportWorker::progress, this, [this](qint64 written, qint64 total) {
        progress_->setMaximum(static_cast<int>(std::min<qint64>(total, INT_MAX)));
        progress_->setValue(static_cast<int>(std::min<qint64>(written, INT_MAX)));
    });
    connect(worker_, &ExportWorker::finished, this, &DrawExportWindow::OnExportFinished);
    statusBar()->showMessage(tr("Open GSI jobs (.gsi) or point files (.dat), or drop them here."));
    resize(1100, 760);
}

// The worker's thread reads the inputs: it goes, waiting for its thread,
// before they do.
DrawExportWindow::~DrawExportWindow() {
    delete worker_;
}

QWidget* DrawExportWindow::MakeViews() {
    plan_ = new PlanView;
    table_ = new PointTableModel(this);
    tableView_ = new QTableView;
    tableView_->setModel(table_);
    tableView_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tableView_->setSelectionMode(QAbstractItemView::SingleSelection);
    tableView_->verticalHeader()->setDefaultSectionSize(tableView_->fontMetrics().height() + 4);
    tableView_->verticalHeader()->hide();
    // Widths from the font: measuring a million rows would take long.
    for (int column = 0; column < PointTableModel::kColumns; ++column) {
        tableView_->setColumnWidth(column, tableView_->fontMetrics().averageCharWidth() *
                                               kColumnChars[column]);
    }
    connect(tableView_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { plan_->SetCurrent(current.row()); });
    connect(plan_, &PlanView::pointClicked, this, [this](int row) {
        tableView_->selectRow(row);
        tableView_->scrollTo(table_->index(row, 0));
    });
    auto* split = new QSplitter(Qt::Horizontal);
    split->addWidget(plan_);
    split->addWidget(tableView_);
    split->setSizes({600, 400});
    return split;
}

QWidget* DrawExportWindow::MakeOptions() {
    files_ = new QListWidget;
    files_->setWordWrap(true);
    auto* filesBox = new QGroupBox(tr("Files"));
    (new QVBoxLayout(filesBox))->addWidget(files_);

    format_ = new QComboBox;
    for (const ExportFormat& format : ExportFormat::All()) {
        format_->addItem(QStringLiteral("%1 (%2)").arg(FromStd(std::string(format.title)),
                                                       FromStd(std::string(format.extension))),
                         FromStd(std::string(format.name)));
    }
    epsg_ = new QSpinBox;
    epsg_->setRange(0, 999999);
    epsg_->setSpecialValueText(tr("none"));
    textHeight_ = new QDoubleSpinBox;
    textHeight_->setRange(0.01, ExportSettings::kMaxTextHeight);
    textHeight_->setValue(ExportSettings().textHeight);
    decimals_ = new QSpinBox;
    decimals_->setRange(0, ExportSettings::kMaxDecimals);
    decimals_->setValue(ExportSettings().decimals);
    output_ = new QLineEdit;
    auto* browse = new QPushButton(tr("Browse..."));
    connect(browse, &QPushButton::clicked, this, &DrawExportWindow::ChooseOutput);
    auto* outputRow = new QHBoxLayout;
    outputRow->addWidget(output_);
    outputRow->addWidget(browse);
    codebook_ = new QLineEdit;
    codebook_->setPlaceholderText(tr("none: layers by code"));
    auto* chooseBook = new QPushButton(tr("Browse..."));
    connect(chooseBook, &QPushButton::clicked, this, &DrawExportWindow::ChooseCodebook);
    auto* codebookRow = new QHBoxLayout;
    codebookRow->addWidget(codebook_);
    codebookRow->addWidget(chooseBook);
    exportButton_ = new QPushButton(tr("Export"));
    connect(exportButton_, &QPushButton::clicked, this, &DrawExportWindow::Export);
    progress_ = new QProgressBar;
    progress_->setValue(0);

    auto* exportBox = new QGroupBox(tr("Export"));
    auto* form = new QFormLayout(exportBox);
    form->addRow(tr("Format:"), format_);
    form->addRow(tr("EPSG code:"), epsg_);
    form->addRow(tr("Text height:"), textHeight_);
    form->addRow(tr("Height decimals:"), decimals_);
    form->addRow(tr("Codebook:"), codebookRow);
    form->addRow(tr("Output file:"), outputRow);
    form->addRow(exportButton_, progress_);
    connect(format_, &QComboBox::currentIndexChanged, this, &DrawExportWindow::OnFormatChanged);

    summary_ = new QPlainTextEdit;
    summary_->setReadOnly(true);
    auto* summaryBox = new QGroupBox(tr("Summary"));
    (new QVBoxLayout(summaryBox))->addWidget(summary_);

    auto* panel = new QWidget;
    auto* row = new QHBoxLayout(panel);
    row->addWidget(filesBox, 2);
    row->addWidget(exportBox, 2);
    row->addWidget(summaryBox, 3);
    return panel;
}

void DrawExportWindow::OpenFiles(const QStringList& paths) {
    if (worker_->Running()) {
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    for (const QString& path : paths) {
        inputs_.push_back(std::make_unique<LoadedInput>(path.toStdString()));
        const InputReport report = InputReport::Of(*inputs_.back());
        auto* item = new QListWidgetItem(FromStd(report.error ? ExportSummary::FailureLine(report)
                                                              : ExportSummary::InputLine(report)));
        const auto unreadable = ExportSummary::UnreadableLines(report);
        item->setForeground(report.error         ? Qt::red
                            : unreadable.empty() ? palette().text().color()
                                                 : QColor(0xB0, 0x60, 0x00));
        QStringList tip{item->text()};
        for (const std::string& line : unreadable) {
            tip << FromStd(line);
        }
        item->setToolTip(tip.join('\n'));
        files_->addItem(item);
    }
    QApplication::restoreOverrideCursor();
    if (output_->text().isEmpty() && !inputs_.empty()) {
        const QFileInfo first(FromStd(inputs_.front()->Path()));
        output_->setText(WithExtension(first.absoluteFilePath(), *Settings().format));
    }
    ShowPoints();
}

void DrawExportWindow::ClearFiles() {
    if (worker_->Running()) {
        return;
    }
    plan_->Clear();
    table_->SetRows({});
    files_->clear();
    inputs_.clear();
    ShowPoints();
}

void DrawExportWindow::ShowPoints() {
    std::vector<const SurveyPoint*> points;
    std::vector<PointTableModel::Row> rows;
    for (const auto& input : inputs_) {
        const QString file = QFileInfo(FromStd(input->Path())).fileName();
        for (const SurveyPoint& point : input->Points().Points()) {
            points.push_back(&point);
            rows.push_back({&point, file});
        }
    }
    plan_->SetPoints(std::move(points));
    table_->SetRows(std::move(rows));
    statusBar()->showMessage(
        tr("%n points from %1 files", nullptr, table_->rowCount()).arg(inputs_.size()));
}

void DrawExportWindow::ChooseOpenFiles() {
    const QStringList paths =
        QFileDialog::getOpenFileNames(this, tr("Open field files"), QString(),
                                      tr("Field files (*.gsi *.GSI *.dat *.DAT);;All files (*)"));
    OpenFiles(paths);
}

void DrawExportWindow::ChooseOutput() {
    const QString path = QFileDialog::getSaveFileName(this, tr("Export to"), output_->text(),
                                                      format_->currentText());
    if (!path.isEmpty()) {
        output_->setText(path);
    }
}

void DrawExportWindow::ChooseCodebook() {
    const QString path = QFileDialog::getOpenFileName(
        this, tr("Codebook"), codebook_->text(),
        tr("Codebooks and code lists (*.book *.csv *.crf);;All files (*)"));
    if (!path.isEmpty()) {
        codebook_->setText(path);
    }
}

bool DrawExportWindow::AddCodebook(ExportSettings& settings) {
    if (codebook_->text().isEmpty()) {
        return true;
    }
    std::string error;
    std::vector<std::string> warnings;
    auto style = CodebookStyle::Load(codebook_->text().toStdString(), error, warnings);
    if (!style) {
        summary_->setPlainText(
            tr("Not exported: cannot read the codebook %1.").arg(FromStd(error)));
        return false;
    }
    reportLines_.insert(reportLines_.end(), warnings.begin(), warnings.end());
    settings.codebook = std::make_shared<const CodebookStyle>(std::move(*style));
    return true;
}

// The output keeps its name with the new format's extension; labels only
// go into drawings.
void DrawExportWindow::OnFormatChanged() {
    const ExportFormat* format = Settings().format;
    textHeight_->setEnabled(format->IsDxf());
    decimals_->setEnabled(format->IsDxf());
    if (!output_->text().isEmpty()) {
        output_->setText(WithExtension(output_->text(), *format));
    }
}

ExportSettings DrawExportWindow::Settings() const {
    ExportSettings settings;
    settings.format = ExportFormat::ByName(format_->currentData().toString().toStdString());
    settings.epsg = epsg_->value();
    settings.textHeight = textHeight_->value();
    settings.decimals = decimals_->value();
    return settings;
}

void DrawExportWindow::Export() {
    if (worker_->Running()) {
        worker_->Cancel();
        return;
    }
    ExportSettings settings = Settings();
    std::vector<const ExportInput*> readable;
    PointExtents extents;
    reportLines_.clear();
    for (const auto& input : inputs_) {
        const InputReport report = InputReport::Of(*input);
        reportLines_.push_back(report.error ? ExportSummary::FailureLine(report)
                                            : ExportSummary::InputLine(report));
        for (const std::string& line : ExportSummary::UnreadableLines(report)) {
            reportLines_.push_back(line);
        }
        if (!report.error) {
            readable.push_back(input.get());
            extents.Add(report.extents);
        }
    }
    std::optional<std::string> problem = settings.Problem();
    if (output_->text().isEmpty()) {
        problem = "no output file";
    }
    if (readable.empty() || extents.Empty()) {
        problem = "nothing to export";
    }
    if (problem) {
        summary_->setPlainText(tr("Not exported: %1.").arg(FromStd(*problem)));
        return;
    }
    if (!AddCodebook(settings)) {
        return;
    }
    if (!MayWriteOutput()) {
        summary_->setPlainText(tr("Not exported: %1 was kept.").arg(output_->text()));
        return;
    }
    if (const auto note = settings.Note()) {
        reportLines_.push_back(*note);
    }
    if (settings.codebook) {
        if (std::string missing = settings.codebook->MissingCodes(readable); !missing.empty()) {
            reportLines_.push_back(std::move(missing));
        }
    }
    SetBusy(true);
    progress_->setValue(0);
    summary_->setPlainText(tr("Exporting..."));
    worker_->Start(std::move(readable), extents, settings, output_->text());
}

// An existing output is replaced only when the user says so; keeping both
// exports under a free name beside it.
bool DrawExportWindow::MayWriteOutput() {
    const std::string path = output_->text().toStdString();
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::symlink_status(path, error))) {
        return true;
    }
    const QFileInfo info(output_->text());
    const QString free = FromStd(FreeFileName::Beside(path));
    QMessageBox box(QMessageBox::Question, windowTitle(),
                    tr("\"%1\" already exists in %2.\n\nReplace it, or keep both and "
                       "export to \"%3\"?")
                        .arg(info.fileName(), info.absolutePath(), QFileInfo(free).fileName()),
                    QMessageBox::NoButton, this);
    QPushButton* replace = box.addButton(tr("Replace"), QMessageBox::DestructiveRole);
    QPushButton* keep = box.addButton(tr("Keep Both"), QMessageBox::AcceptRole);
    box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(keep);
    box.exec();
    if (box.clickedButton() == keep) {
        output_->setText(free);
        return true;
    }
    return box.clickedButton() == replace;
}

void DrawExportWindow::OnExportFinished(const QString& error, qint64 written) {
    SetBusy(false);
    QStringList lines;
    for (const std::string& line : reportLines_) {
        lines << FromStd(line);
    }
    lines << (error.isEmpty() ? FromStd(ExportSummary::ResultLine(static_cast<std::size_t>(written),
                                                                  output_->text().toStdString()))
                              : tr("Nothing written to %1: %2.").arg(output_->text(), error));
    summary_->setPlainText(lines.join('\n'));
    emit exportFinished();
}

void DrawExportWindow::SetBusy(bool busy) {
    exportButton_->setText(busy ? tr("Cancel") : tr("Export"));
    for (QAction* action : fileActions_) {
        action->setEnabled(!busy);
    }
    setAcceptDrops(!busy);
}

void DrawExportWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedFiles(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void DrawExportWindow::dropEvent(QDropEvent* event) {
    const QStringList paths = DroppedFiles(event->mimeData());
    if (!paths.isEmpty()) {
        event->acceptProposedAction();
        OpenFiles(paths);
    }
}

void DrawExportWindow::closeEvent(QCloseEvent* event) {
    worker_->Cancel();
    event->accept();
}
