#include "ReadBack.h"
#include "SampleJobs.h"
#include "TempFolder.h"

#include "drawexport/DrawExportWindow.h"
#include "drawexport/PointTableModel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <filesystem>

class DrawExportWidgetTest : public QObject {
    Q_OBJECT

private slots:
    void droppedFilesAreShownAndExported();
    void kmlWithoutCoordinateSystemIsRefused();
    void closingDuringAnExportLeavesNothing();
    void anExistingOutputIsReplacedOnlyWhenTheUserSaysSo();
    void aChosenCodebookDrawsTheCodesAndNamesThoseItLacks();

private:
    static void Drop(QWidget& window, const QStringList& paths);
};

void DrawExportWidgetTest::Drop(QWidget& window, const QStringList& paths) {
    QMimeData mime;
    QList<QUrl> urls;
    for (const QString& path : paths) {
        urls << QUrl::fromLocalFile(path);
    }
    mime.setUrls(urls);
    const QPoint at = window.rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
    QVERIFY(drop.isAccepted());
}

void DrawExportWidgetTest::droppedFilesAreShownAndExported() {
    TempFolder folder;
    const auto points = SamplePoints(16);
    folder.WriteFile("job.gsi", GsiJobText(points, 16));
    const std::string job = GsiJobText(points, 16);
    folder.WriteFile("bad.gsi", job.substr(0, job.find('\n') + 1) + "not GSI\r\n");
    DrawExportWindow window;
    window.show();
    Drop(window, {QString::fromStdString(folder.Path("job.gsi")),
                  QString::fromStdString(folder.Path("bad.gsi"))});

    QCOMPARE(window.Files()->count(), 2);
    QVERIFY(window.Files()->item(0)->text().endsWith(
        QStringLiteral("job.gsi: %1 points").arg(points.size())));
    QVERIFY2(window.Files()->item(1)->text().endsWith(
                 "bad.gsi: 1 point; 1 line could not be read and was passed over (line 2)"),
             qPrintable(window.Files()->item(1)->text()));
    QVERIFY(window.Files()->item(1)->toolTip().endsWith("bad.gsi:2: \"not\" is not a GSI word"));
    QCOMPARE(window.Table()->rowCount(), int(points.size()) + 1);
    QCOMPARE(window.Table()->index(0, PointTableModel::Name).data().toString(),
             QString::fromStdString(points[0].name));
    QCOMPARE(window.Table()->index(0, PointTableModel::East).data().toString(),
             QString::number(points[0].east.Value(), 'f', points[0].Places()));

    const QString output = QString::fromStdString(folder.Path("out.gpkg"));
    window.Format()->setCurrentIndex(window.Format()->findData(QStringLiteral("gpkg")));
    window.Output()->setText(output);
    QSignalSpy finished(&window, &DrawExportWindow::exportFinished);
    QTest::mouseClick(window.ExportButton(), Qt::LeftButton);
    QCOMPARE(window.ExportButton()->text(), QStringLiteral("Cancel"));
    QVERIFY(finished.wait(60000));
    QCOMPARE(window.ExportButton()->text(), QStringLiteral("Export"));
    const QStringList summary = window.Summary()->toPlainText().split('\n');
    QCOMPARE(summary.last(),
             QStringLiteral("%1 points written to %2").arg(points.size() + 1).arg(output));
    QVERIFY(summary.at(2).endsWith(QStringLiteral("bad.gsi:2: \"not\" is not a GSI word")));
    QCOMPARE(window.Progress()->value(), window.Progress()->maximum());
    QVERIFY(std::filesystem::exists(folder.Path("out.gpkg")));
}

void DrawExportWidgetTest::kmlWithoutCoordinateSystemIsRefused() {
    TempFolder folder;
    folder.WriteFile("job.gsi", GsiJobText(SamplePoints(8), 8));
    DrawExportWindow window;
    window.OpenFiles({QString::fromStdString(folder.Path("job.gsi"))});
    window.Format()->setCurrentIndex(window.Format()->findData(QStringLiteral("kml")));
    QCOMPARE(window.Output()->text(), QString::fromStdString(folder.Path("job.kml")));
    window.Export();
    QCOMPARE(window.Summary()->toPlainText(),
             QStringLiteral("Not exported: KML needs a coordinate system: give its EPSG code."));
    QVERIFY(!std::filesystem::exists(folder.Path("job.kml")));
}

void DrawExportWidgetTest::closingDuringAnExportLeavesNothing() {
    TempFolder folder;
    std::string job;
    for (int copy = 0; copy < 400; ++copy) {
        job += GsiJobText(SamplePoints(16), 16);
    }
    folder.WriteFile("job.gsi", job);
    auto window = std::make_unique<DrawExportWindow>();
    window->OpenFiles({QString::fromStdString(folder.Path("job.gsi"))});
    window->Export();
    QCOMPARE(window->ExportButton()->text(), QStringLiteral("Cancel"));
    window.reset();
    QCOMPARE(std::distance(std::filesystem::directory_iterator(folder.Path("")),
                           std::filesystem::directory_iterator()),
             1);
}

// Each answer to the question, clicked on its button in the box.
void DrawExportWidgetTest::anExistingOutputIsReplacedOnlyWhenTheUserSaysSo() {
    TempFolder folder;
    folder.WriteFile("job.gsi", GsiJobText(SamplePoints(8), 8));
    DrawExportWindow window;
    window.OpenFiles({QString::fromStdString(folder.Path("job.gsi"))});
    window.Format()->setCurrentIndex(window.Format()->findData(QStringLiteral("csv")));
    const QString output = QString::fromStdString(folder.Path("out.csv"));
    struct Case {
        const char* answer;
        std::vector<std::string> files; // in the folder afterwards
        bool replaced;
    };
    const Case cases[] = {
        {"Cancel", {"job.gsi", "out.csv"}, false},
        {"Keep Both", {"job.gsi", "out (2).csv", "out.csv"}, false},
        {"Replace", {"job.gsi", "out (2).csv", "out.csv"}, true},
    };
    for (const Case& c : cases) {
        folder.WriteFile("out.csv", "earlier");
        window.Output()->setText(output);
        QString question;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            question = box->text();
            for (QAbstractButton* button : box->buttons()) {
                if (button->text() == QString::fromLatin1(c.answer)) {
                    QTest::mouseClick(button, Qt::LeftButton);
                }
            }
        });
        QSignalSpy finished(&window, &DrawExportWindow::exportFinished);
        window.Export();
        QVERIFY(question.startsWith("\"out.csv\" already exists in "));
        if (std::string(c.answer) != "Cancel") {
            QVERIFY(finished.wait(60000));
        }
        std::vector<std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(folder.Path(""))) {
            files.push_back(entry.path().filename().string());
        }
        std::sort(files.begin(), files.end());
        QCOMPARE(files, c.files);
        QCOMPARE(folder.ReadFile("out.csv") != "earlier", c.replaced);
    }
}

void DrawExportWidgetTest::aChosenCodebookDrawsTheCodesAndNamesThoseItLacks() {
    TempFolder folder;
    folder.WriteFile("job.gsi", "*410001+000000000000KERB \r\n"
                                "*110002+00000000000000K1 81..00+0000000000100000 "
                                "82..00+0000000000200000 \r\n"
                                "*410003+0000000000000PIT \r\n"
                                "*110004+00000000000000P1 81..00+0000000000101000 "
                                "82..00+0000000000201000 \r\n");
    folder.WriteFile("topo.book", "codebook 1\ncode KERB\n  layer KERBS\n  symbol square\n");
    DrawExportWindow window;
    window.OpenFiles({QString::fromStdString(folder.Path("job.gsi"))});
    window.Codebook()->setText(QString::fromStdString(folder.Path("missing.book")));
    window.Export();
    QVERIFY2(window.Summary()->toPlainText().startsWith("Not exported: cannot read the codebook"),
             qPrintable(window.Summary()->toPlainText()));
    QVERIFY(!std::filesystem::exists(folder.Path("job.dxf")));

    window.Codebook()->setText(QString::fromStdString(folder.Path("topo.book")));
    QSignalSpy finished(&window, &DrawExportWindow::exportFinished);
    window.Export();
    QVERIFY(finished.wait(60000));
    const QString summary = window.Summary()->toPlainText();
    QVERIFY2(summary.contains("codes not in the codebook, drawn by code: PIT (1 point)"),
             qPrintable(summary));
    const auto drawing = ReadWithEzdxf(folder.Path("job.dxf"));
    QVERIFY(drawing);
    QVERIFY(std::count(drawing->layers.begin(), drawing->layers.end(), "KERBS") == 1);
    QVERIFY(std::count(drawing->others.begin(), drawing->others.end(), "INSERT") == 1);
}

QTEST_MAIN(DrawExportWidgetTest)
#include "DrawExportWidgetTest.moc"
