#pragma once

#include <QMainWindow>
#include <QMessageBox>

#include <optional>

class AlignmentDocument;
class AlignmentTableModel;
class PlanCanvas;
class ProfileCanvas;
class QListWidget;
class QTableView;
class QTabWidget;

// The "Road Line Editor": the element tables beside the plan and the
// profile, the checks listed under the tables. The questions it asks are
// virtual so that tests can answer them.
class RouteBookWindow : public QMainWindow {
    Q_OBJECT
public:
    struct StationOptions {
        double interval = 20;
        double left = 0;
        double right = 0;
    };

    explicit RouteBookWindow(QWidget* parent = nullptr);
    ~RouteBookWindow() override;

    void OpenFiles(const QStringList& paths);
    bool Open(const QString& path);
    bool Save();
    // Stations of the open alignment to a .csv or .gsi file.
    bool ExportStations(const QString& path, const StationOptions& options);

    AlignmentDocument* Document() const { return document_; }
    AlignmentTableModel* HorizontalModel() const { return halModel_; }
    AlignmentTableModel* VerticalModel() const { return valModel_; }
    PlanCanvas* Plan() const { return plan_; }
    ProfileCanvas* Profile() const { return profile_; }
    QListWidget* IssueList() const { return issues_; }

protected:
    void closeEvent(QCloseEvent* event) override;

    virtual QString AskOpenPath();
    virtual QString AskSavePath(const QString& title, const QString& filter);
    virtual QMessageBox::StandardButton AskSaveChanges();
    virtual bool AskSaveDespite(const QString& issues);
    virtual std::optional<StationOptions> AskStationOptions();
    virtual void Tell(const QString& message);

private:
    void BuildMenus();
    void Refresh();
    void OnOpen();
    void OnExportStations();
    void OnExportLandXml();
    QTableView* CurrentTable() const;

    AlignmentDocument* document_;
    AlignmentTableModel* halModel_;
    AlignmentTableModel* valModel_;
    QTabWidget* tabs_;
    QTableView* halTable_;
    QTableView* valTable_;
    QListWidget* issues_;
    PlanCanvas* plan_;
    ProfileCanvas* profile_;
};
