#pragma once

#include <QList>
#include <QWidget>

#include <memory>

class QAbstractButton;
class QComboBox;

namespace Ui {
class CDialogBar;
}

// The bar under the menu: three icon buttons ("Move File", "Delete File",
// "Port Setting") and the "Filter" box. The filter box lists its patterns
// sorted and starts on the first; only an entry chosen from its list counts,
// text typed into its field does nothing.
class CDialogBar : public QWidget {
    Q_OBJECT

public:
    explicit CDialogBar(QWidget* parent = nullptr);
    ~CDialogBar() override;

    QComboBox* FilterBox() const;
    QList<QAbstractButton*> CommandButtons() const;

signals:
    // A button was pressed; command is its FrameCommand.
    void CommandChosen(int command);
    // An entry of the filter box was chosen, also the one already selected.
    void FilterChosen(const QString& pattern);

private:
    void SetUpFilterBox();

    std::unique_ptr<Ui::CDialogBar> ui_;
};
