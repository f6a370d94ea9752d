#pragma once

#include <QWidget>

#include <functional>
#include <memory>

class CaptureSession;
class PortPresetBar;
class PresetBook;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;

// Listens on a port and shows what comes, line by line with the problems
// found on each and live counts; keeps the capture and, for GSI, a point
// file beside it.
class ReceivePage : public QWidget {
    Q_OBJECT
public:
    // Asks whether a file may be replaced; true to replace it.
    using Confirm = std::function<bool(const QString& question)>;

    ReceivePage(PresetBook& book, Confirm confirm, QWidget* parent = nullptr);
    ~ReceivePage() override;

    PortPresetBar& Bar() { return *bar_; }
    void SetFile(const QString& path);
    bool Running() const { return session_ != nullptr; }
    void Start();
    void Stop();
    void Cancel();
    QString Summary() const;
    QString Log() const;

signals:
    void Finished();

private:
    void Poll();
    void End();
    void ShowLines();
    void ShowCounts();

    Confirm confirm_;
    PortPresetBar* bar_;
    QLineEdit* file_;
    QCheckBox* points_;
    QLineEdit* export_;
    QPushButton* start_;
    QPushButton* stop_;
    QPushButton* cancel_;
    QLabel* counts_;
    QLabel* summary_;
    QPlainTextEdit* log_;
    QTimer* timer_;
    std::unique_ptr<CaptureSession> session_;
};
