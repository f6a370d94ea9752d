// The transfer dialog in each of its modes and the progress dialog.

#include "workbench/CDlgReceiving.h"
#include "workbench/CKSDeviceToPcDlg.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

class TransferDialogTest : public QObject {
    Q_OBJECT

private slots:
    void modesShowTheirControls_data();
    void modesShowTheirControls();
    void jobDownloadOffersTypesAndPreselectsThePart();
    void okCopiesTypedTextsCancelChangesNothing();
    void progressStopsAtTheEndOfTheBar();
};

namespace {

template <typename T>
T* Find(QDialog& dialog, const char* name) {
    return dialog.findChild<T*>(QLatin1String(name));
}

// Which of From/To, Data Type and File Type show (in this order), as "1"s and "0"s.
QString Shown(QDialog& dialog) {
    QString shown;
    for (const char* name : {"label1012", "text1003", "combo1005", "label1010", "combo1008"}) {
        shown += Find<QWidget>(dialog, name)->isVisible() ? QLatin1Char('1') : QLatin1Char('0');
    }
    return shown;
}

} // namespace

void TransferDialogTest::modesShowTheirControls_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("job download") << 0 << "Download File"
                                  << "11111"
                                  << "SITE1";
    QTest::newRow("code download") << 1 << "Download File"
                                   << "11110"
                                   << "ABCSITE1";
    QTest::newRow("hal download") << 2 << "Download File"
                                  << "11000"
                                  << "ABCSITE1";
    QTest::newRow("job delete") << 4 << "DELETE JOB FILE"
                                << "00001"
                                << "ABCSITE1";
    QTest::newRow("hal delete") << 6 << "DELETE COD FILE"
                                << "00000"
                                << "ABCSITE1";
    QTest::newRow("job upload") << 8 << "Upload File"
                                << "11110"
                                << "ABCSITE1";
    QTest::newRow("val upload") << 12 << "Upload File"
                                << "11000"
                                << "ABCSITE1";
}

void TransferDialogTest::modesShowTheirControls() {
    QFETCH(int, mode);
    QFETCH(QString, caption);
    QFETCH(QString, shown);
    QFETCH(QString, fileName);
    CKSDeviceToPcDlg dialog;
    dialog.dialogMode = mode;
    dialog.fromText = QStringLiteral("\\COM1\\JOB\\x");
    dialog.toText = QStringLiteral("/home/u/");
    dialog.fileName = QStringLiteral("ABCSITE1");
    dialog.dataTypeChoices = {QStringLiteral("GSI,0,x\r\n")};
    dialog.show();
    QCOMPARE(dialog.windowTitle(), caption);
    QCOMPARE(Shown(dialog), shown);
    QCOMPARE(Find<QLineEdit>(dialog, "edit1004")->text(), fileName);
    QVERIFY(Find<QLineEdit>(dialog, "edit1004")->isVisible());
    const bool deleting = mode >= 4 && mode <= 7;
    QCOMPARE(Find<QLabel>(dialog, "text1002")->text(), deleting ? QString() : dialog.fromText);
}

void TransferDialogTest::jobDownloadOffersTypesAndPreselectsThePart() {
    CKSDeviceToPcDlg dialog;
    dialog.dialogMode = 0;
    dialog.jobPart = 1;
    dialog.fileName = QStringLiteral("AB");
    dialog.dataTypeChoices = {QStringLiteral("IDEX,1\r\n"), QStringLiteral("GSI,0\r\n"),
                              QStringLiteral("NOCOMMA"), QStringLiteral("CASS,2")};
    dialog.show();
    auto* types = Find<QComboBox>(dialog, "combo1005");
    QStringList items;
    for (int i = 0; i < types->count(); ++i) {
        items << types->itemText(i);
    }
    QCOMPARE(items, (QStringList{"IDEX", "GSI", "", "CASS"}));
    QCOMPARE(types->currentText(), QStringLiteral("IDEX"));
    QCOMPARE(Find<QComboBox>(dialog, "combo1008")->currentText(), QStringLiteral("COORDS"));
    QCOMPARE(Find<QLineEdit>(dialog, "edit1004")->text(), QString());
    dialog.hide();
    dialog.jobPart = -100;
    dialog.show();
    // From the entry the user chooses the part before OK.
    auto* parts = Find<QComboBox>(dialog, "combo1008");
    QCOMPARE(parts->currentText(), QString());
    QVERIFY(!Find<QPushButton>(dialog, "okButton")->isEnabled());
    parts->setCurrentText(QStringLiteral("OBSERV"));
    QVERIFY(Find<QPushButton>(dialog, "okButton")->isEnabled());
}

void TransferDialogTest::okCopiesTypedTextsCancelChangesNothing() {
    CKSDeviceToPcDlg dialog;
    dialog.dialogMode = 0;
    dialog.jobPart = 2;
    dialog.fileName = QStringLiteral("IN:SITE");
    dialog.show();
    Find<QComboBox>(dialog, "combo1005")->setEditText(QStringLiteral("7"));
    Find<QLineEdit>(dialog, "edit1004")->setText(QStringLiteral("typed"));
    Find<QPushButton>(dialog, "cancelButton")->click();
    QCOMPARE(dialog.result(), 0);
    QCOMPARE(dialog.fileName, QStringLiteral("IN:SITE"));
    QVERIFY(dialog.chosenDataType.isEmpty());
    dialog.show();
    Find<QComboBox>(dialog, "combo1005")->setEditText(QStringLiteral("7"));
    Find<QLineEdit>(dialog, "edit1004")->setText(QStringLiteral("typed"));
    Find<QPushButton>(dialog, "okButton")->click();
    QCOMPARE(dialog.result(), 1);
    QCOMPARE(dialog.fileName, QStringLiteral("typed"));
    QCOMPARE(dialog.chosenDataType, QStringLiteral("7"));
    QCOMPARE(dialog.chosenFileType, QStringLiteral("OBSERV"));
}

void TransferDialogTest::progressStopsAtTheEndOfTheBar() {
    CDlgReceiving dialog;
    dialog.fileType = QStringLiteral("COORDS");
    dialog.total = 2;
    dialog.totalText = QStringLiteral("2");
    dialog.show();
    QCOMPARE(Find<QLabel>(dialog, "text1015")->text(), QStringLiteral("2"));
    QCOMPARE(Find<QLabel>(dialog, "text1033")->text(), QStringLiteral("COORDS"));
    QVERIFY(!Find<QPushButton>(dialog, "okButton")->isVisible());
    std::uint64_t bytes = 0;
    dialog.bytesDone = [&bytes] { return bytes; };
    dialog.SetDone(4);
    bytes = 1500;
    QCOMPARE(dialog.Position(), 0); // shown at the next refresh, not per line
    dialog.Refresh();
    QCOMPARE(dialog.Position(), 2);
    QCOMPARE(dialog.BlockText(), QStringLiteral("3"));
    QVERIFY2(dialog.RateText().startsWith(QStringLiteral("4 of 2 lines, 1.5 kB, ")),
             qPrintable(dialog.RateText()));
    QTRY_VERIFY(dialog.RateText().contains(QStringLiteral(" kB/s"))); // the timer refreshes too
    // "Cancel" ends the dialog with the user's result.
    dialog.findChild<QPushButton*>(QStringLiteral("cancelButton"))->click();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    // A new start begins at zero.
    dialog.hide();
    dialog.show();
    QCOMPARE(dialog.Position(), 0);
}

QTEST_MAIN(TransferDialogTest)
#include "TransferDialogTest.moc"
