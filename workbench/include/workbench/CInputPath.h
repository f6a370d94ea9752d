#pragma once

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class CInputPath;
}

// "InputPath": asks for the PC folder of a "Move File" download. The edit
// starts with the home folder and a final "/".
class CInputPath : public QDialog {
    Q_OBJECT

public:
    explicit CInputPath(QWidget* parent = nullptr);
    ~CInputPath() override;

    // The edit's text (after OK: what the user typed).
    QString Path() const;

private:
    std::unique_ptr<Ui::CInputPath> ui_;
};
