#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <QTimer>

// Answers every message box of the program as soon as it shows and keeps
// what the last one said; for start-up code that shows one before any event
// loop of the test runs.
class MessageBoxAnswer {
public:
    MessageBoxAnswer() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                title = box->windowTitle();
                text = box->text();
                box->accept();
            }
        });
        timer_.start(10);
    }

    QString title;
    QString text;

private:
    QTimer timer_;
};
