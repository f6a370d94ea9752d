#include "workbench/CDlgComSetting.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

QStringList Items(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) {
        items << box->itemText(i);
    }
    return items;
}

// Runs the dialog modally; act works on it while it is shown, then presses a button.
int RunDialog(CDlgComSetting& dialog, const std::function<void()>& act, const char* button) {
    QTimer::singleShot(0, &dialog, [&dialog, act, button] {
        act();
        QTest::mouseClick(dialog.findChild<QAbstractButton*>(button), Qt::LeftButton);
    });
    return dialog.exec();
}

QComboBox* Box(const CDlgComSetting& dialog, const char* name) {
    return dialog.findChild<QComboBox*>(name);
}

} // namespace

class DlgComSettingTest : public QObject {
    Q_OBJECT

private slots:
    void labelsItemsAndInitialSelections();
    void offersThePreselectedPortAlone();
    void showsTheDeviceOfTheChosenPort();
    void okReturnsTheChosenTextsAndReopeningStartsAfresh();
    void cancelKeepsTheLastChoice();
};

void DlgComSettingTest::labelsItemsAndInitialSelections() {
    CDlgComSetting dialog;
    dialog.SetPortNames({"COM1", "COM10"});
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Communication settings"));

    QStringList labels;
    for (const char* name : {"portLabel", "instrumentLabel", "baudLabel", "parityLabel",
                             "stopBitsLabel", "dataBitsLabel", "endMarkLabel"}) {
        labels << dialog.findChild<QLabel*>(name)->text();
    }
    QCOMPARE(labels, (QStringList{"Port:", "Instrument:", "Baudrate:", "Parity",
                                  "Stopbits:", "Databits:", "Endmark:"}));
    QCOMPARE(dialog.findChild<QGroupBox*>("currentGroup")->title(),
             QStringLiteral("Current Selection"));
    QCOMPARE(dialog.findChild<QGroupBox*>("settingsGroup")->title(), QStringLiteral("Settings"));
    QCOMPARE(dialog.findChild<QAbstractButton*>("okButton")->text(), QStringLiteral("OK"));
    QCOMPARE(dialog.findChild<QAbstractButton*>("cancelButton")->text(), QStringLiteral("CANCEL"));

    QCOMPARE(Items(Box(dialog, "portBox")), (QStringList{"COM1", "COM10"}));
    QCOMPARE(Items(Box(dialog, "instrumentBox")), (QStringList{"X4 SERIES"}));
    QCOMPARE(Items(Box(dialog, "baudBox")), (QStringList{"1200", "9600", "19200", "115200"}));
    QCOMPARE(Items(Box(dialog, "parityBox")), (QStringList{"EVEN", "NONE", "ODD"}));
    QCOMPARE(Items(Box(dialog, "stopBitsBox")), (QStringList{"0", "1"}));
    QCOMPARE(Items(Box(dialog, "dataBitsBox")), (QStringList{"7", "8"}));
    QCOMPARE(Items(Box(dialog, "endMarkBox")), (QStringList{"\\R\\N"}));

    QCOMPARE(Box(dialog, "portBox")->currentText(), QStringLiteral("COM1"));
    QCOMPARE(Box(dialog, "instrumentBox")->currentText(), QStringLiteral("X4 SERIES"));
    QCOMPARE(Box(dialog, "baudBox")->currentText(), QStringLiteral("19200"));
    QCOMPARE(Box(dialog, "parityBox")->currentText(), QStringLiteral("NONE"));
    QCOMPARE(Box(dialog, "stopBitsBox")->currentText(), QStringLiteral("1"));
    QCOMPARE(Box(dialog, "dataBitsBox")->currentText(), QStringLiteral("8"));
    QCOMPARE(Box(dialog, "endMarkBox")->currentText(), QStringLiteral("\\R\\N"));
    for (QComboBox* box : dialog.findChildren<QComboBox*>()) {
        QVERIFY(!box->isEditable());
    }
}

void DlgComSettingTest::offersThePreselectedPortAlone() {
    CDlgComSetting dialog;
    dialog.SetPortNames({"COM1", "COM3", "COM7"});
    dialog.SetPreselectedPort(QStringLiteral("COM3"));
    dialog.show();
    QCOMPARE(Items(Box(dialog, "portBox")), (QStringList{"COM3"}));
    dialog.hide();
    dialog.SetPreselectedPort(QString());
    dialog.show();
    QCOMPARE(Items(Box(dialog, "portBox")), (QStringList{"COM1", "COM3", "COM7"}));
}

void DlgComSettingTest::showsTheDeviceOfTheChosenPort() {
    CDlgComSetting dialog;
    dialog.SetPortNames({"COM1", "COM2", "COM3"});
    dialog.SetPortDescriptions(
        {{"COM1", "/dev/ttyS0"},
         {"COM2", "/dev/ttyUSB0 - USB serial adapter (usb-Maker_Cable-if00)"}});
    dialog.show();
    auto* device = dialog.findChild<QLabel*>("deviceLabel");
    QCOMPARE(device->text(), QStringLiteral("/dev/ttyS0"));
    Box(dialog, "portBox")->setCurrentIndex(1);
    QCOMPARE(device->text(),
             QStringLiteral("/dev/ttyUSB0 - USB serial adapter (usb-Maker_Cable-if00)"));
    Box(dialog, "portBox")->setCurrentIndex(2);
    QCOMPARE(device->text(), QString());
}

void DlgComSettingTest::okReturnsTheChosenTextsAndReopeningStartsAfresh() {
    CDlgComSetting dialog;
    dialog.SetPortNames({"COM1", "COM4"});
    const int result = RunDialog(
        dialog,
        [&dialog] {
            Box(dialog, "portBox")->setCurrentIndex(1);
            Box(dialog, "baudBox")->setCurrentIndex(3);
            Box(dialog, "parityBox")->setCurrentIndex(2);
            Box(dialog, "stopBitsBox")->setCurrentIndex(0);
            Box(dialog, "dataBitsBox")->setCurrentIndex(0);
        },
        "okButton");
    QCOMPARE(result, int(QDialog::Accepted));
    const ComSettingChoice& choice = dialog.Choice();
    QCOMPARE(choice.port, QStringLiteral("COM4"));
    QCOMPARE(choice.instrument, QStringLiteral("X4 SERIES"));
    QCOMPARE(choice.baudRate, QStringLiteral("115200"));
    QCOMPARE(choice.parity, QStringLiteral("ODD"));
    QCOMPARE(choice.stopBits, QStringLiteral("0"));
    QCOMPARE(choice.dataBits, QStringLiteral("7"));
    QCOMPARE(choice.endMark, QStringLiteral("\\R\\N"));

    QString parityShown;
    QString portShown;
    RunDialog(
        dialog,
        [&] {
            parityShown = Box(dialog, "parityBox")->currentText();
            portShown = Box(dialog, "portBox")->currentText();
        },
        "cancelButton");
    QCOMPARE(parityShown, QStringLiteral("NONE"));
    QCOMPARE(portShown, QStringLiteral("COM1"));
}

void DlgComSettingTest::cancelKeepsTheLastChoice() {
    CDlgComSetting dialog;
    dialog.SetPortNames({"COM1"});
    const int result = RunDialog(
        dialog, [&dialog] { Box(dialog, "parityBox")->setCurrentIndex(0); }, "cancelButton");
    QCOMPARE(result, int(QDialog::Rejected));
    QVERIFY(dialog.Choice().parity.isEmpty());
    QVERIFY(dialog.Choice().port.isEmpty());
}

QTEST_MAIN(DlgComSettingTest)
#include "DlgComSettingTest.moc"
