#pragma once

#include <QDialog>
#include <QMap>
#include <QString>
#include <QStringList>

#include <memory>

class QComboBox;

namespace Ui {
class CDlgComSetting;
}

// The texts chosen in the "Communication settings" dialog.
struct ComSettingChoice {
    QString port;
    QString instrument;
    QString baudRate; // "1200", "9600", "19200", "115200"
    QString parity;   // "EVEN", "NONE", "ODD"
    QString stopBits; // "0", "1"
    QString dataBits; // "7", "8"
    QString endMark;  // "\R\N"
};

// The "Communication settings" dialog. It shows the settings stored for the
// chosen port, or the fixed selections for a port never configured; on "OK"
// it returns the chosen texts, and the caller applies them to the port's
// settings record.
class CDlgComSetting : public QDialog {
    Q_OBJECT

public:
    explicit CDlgComSetting(QWidget* parent = nullptr);
    ~CDlgComSetting() override;

    // The names of the port list, in list order.
    void SetPortNames(const QStringList& names);
    // The port the command applies to; when set, the dialog offers it alone.
    void SetPreselectedPort(const QString& name);
    // What to show for each port name: its device file and description.
    void SetPortDescriptions(const QMap<QString, QString>& descriptions);
    // The settings each configured port holds, by port name (the port and
    // the instrument and end-mark texts are not used).
    void SetStoredChoices(const QMap<QString, ComSettingChoice>& stored);

    // The texts chosen with "OK"; empty until then, kept on "CANCEL".
    const ComSettingChoice& Choice() const { return choice_; }

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void InitDialog();
    void OnPortChosen();
    static void Select(QComboBox* box, const QString& text);

    std::unique_ptr<Ui::CDlgComSetting> ui_;
    QStringList portNames_;
    QString preselectedPort_;
    QMap<QString, QString> descriptions_;
    QMap<QString, ComSettingChoice> stored_;
    ComSettingChoice choice_;
};
