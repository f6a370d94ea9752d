#pragma once

#include <QWidget>

#include <atomic>
#include <thread>

class PortPresetBar;
class PresetBook;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;

// Sends a PC file to an instrument waiting to receive. The sending runs on
// a thread of its own; it reports through queued calls and stops on Cancel.
class SendPage : public QWidget {
    Q_OBJECT
public:
    SendPage(PresetBook& book, QWidget* parent = nullptr);
    // Cancels a running send and waits for it to stop.
    ~SendPage() override;

    PortPresetBar& Bar() { return *bar_; }
    void SetFile(const QString& path);
    void UseLineDelay(int milliseconds);
    bool Running() const { return worker_.joinable(); }
    void Start();
    void Cancel();
    QString Summary() const;
    int Progress() const;

signals:
    void Finished();

private:
    void Done(bool ok, const QString& message);

    PortPresetBar* bar_;
    QLineEdit* file_;
    QRadioButton* xonxoff_;
    QRadioButton* delay_;
    QSpinBox* delayMs_;
    QProgressBar* progress_;
    QPushButton* send_;
    QPushButton* cancel_;
    QLabel* summary_;
    std::thread worker_;
    std::atomic<bool> cancelled_{false};
};
