// The codebook window offscreen, its questions answered from a script.

#include "TempFolder.h"
#include "codebook/CodeBookWindow.h"
#include "codebook/CodeDetails.h"
#include "codebook/CodeFilterProxy.h"
#include "codebook/CodeTableModel.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QtTest>

#include <deque>

namespace {

class ScriptedQuestions : public BookQuestions {
public:
    std::deque<QMessageBox::StandardButton> closeAnswers;
    std::deque<SaveChoice> saveAnswers;
    QStringList jobs;
    QStringList told;
    int asked = 0;

    QString AskOpenName(QWidget*) override { return {}; }
    std::optional<SaveChoice> AskSaveName(QWidget*, const QString&, CodeFormat) override {
        if (saveAnswers.empty()) {
            return std::nullopt;
        }
        SaveChoice choice = saveAnswers.front();
        saveAnswers.pop_front();
        return choice;
    }
    QStringList AskJobNames(QWidget*) override { return jobs; }
    QMessageBox::StandardButton AskSaveChanges(QWidget*, const QString&) override {
        ++asked;
        const auto answer = closeAnswers.front();
        closeAnswers.pop_front();
        return answer;
    }
    void Tell(QWidget*, const QString& text) override { told << text; }
    int Run(QDialog&) override { return QDialog::Accepted; }
};

constexpr const char* kBook = "codebook 1\n"
                              "code TREE\n  group Vegetation\n  symbol circle\n"
                              "code KERB\n  description Kerb stone\n  group Roads\n  line yes\n"
                              "code HEDGE\n  group Vegetation\n";

QStringList Codes(const CodeTableModel& model) {
    QStringList codes;
    for (const FeatureCode& code : model.Book().codes) {
        codes << QString::fromStdString(code.code);
    }
    return codes;
}

class CodeBookWidgetTest : public QObject {
    Q_OBJECT

    struct Fixture {
        TempFolder folder;
        ScriptedQuestions* questions = new ScriptedQuestions;
        CodeBookWindow window{std::unique_ptr<BookQuestions>(questions)};
        Fixture() {
            folder.WriteFile("topo.book", kBook);
            window.OpenFile(QString::fromStdString(folder.Path("topo.book")));
        }
    };

private slots:
    void EditsInPlaceAndUndoesThem() {
        Fixture f;
        QAbstractItemModel& table = *f.window.Table()->model();
        QVERIFY(table.setData(table.index(1, CodeTableModel::kCode), QStringLiteral("KERB2")));
        QVERIFY(
            table.setData(table.index(0, CodeTableModel::kLine), Qt::Checked, Qt::CheckStateRole));
        QCOMPARE(Codes(f.window.Model()), QStringList({"TREE", "KERB2", "HEDGE"}));
        QVERIFY(f.window.Model().Book().codes[0].line);
        QVERIFY(f.window.isWindowModified());
        f.window.Undo().undo();
        f.window.Undo().undo();
        QCOMPARE(Codes(f.window.Model()), QStringList({"TREE", "KERB", "HEDGE"}));
        QVERIFY(!f.window.Model().Book().codes[0].line);
        f.window.Undo().redo();
        QCOMPARE(Codes(f.window.Model()), QStringList({"TREE", "KERB2", "HEDGE"}));
    }

    void DragReordersTheBook_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("dropRow");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("first to the end") << 0 << -1 << QStringList({"KERB", "HEDGE", "TREE"});
        QTest::newRow("last before the first") << 2 << 0 << QStringList({"HEDGE", "TREE", "KERB"});
        QTest::newRow("first between 2 and 3") << 0 << 2 << QStringList({"KERB", "TREE", "HEDGE"});
    }
    void DragReordersTheBook() {
        QFETCH(int, from);
        QFETCH(int, dropRow);
        QFETCH(QStringList, order);
        Fixture f;
        CodeTableModel& model = f.window.Model();
        std::unique_ptr<QMimeData> mime(model.mimeData({model.index(from, 0)}));
        model.dropMimeData(mime.get(), Qt::MoveAction, dropRow, 0, {});
        QCOMPARE(Codes(model), order);
        f.window.Undo().undo();
        QCOMPARE(Codes(model), QStringList({"TREE", "KERB", "HEDGE"}));
    }

    void FiltersByTextAndGroup() {
        Fixture f;
        f.window.FilterEdit()->setText(QStringLiteral("stone"));
        QCOMPARE(f.window.Filter().rowCount(), 1);
        f.window.FilterEdit()->clear();
        f.window.GroupBox()->setCurrentIndex(
            f.window.GroupBox()->findData(QStringLiteral("Vegetation")));
        QCOMPARE(f.window.Filter().rowCount(), 2);
    }

    void DetailsChangeTheSelectedCode() {
        Fixture f;
        f.window.Table()->setCurrentIndex(f.window.Table()->model()->index(2, 0));
        CodeDetails& details = *f.window.Details();
        details.pickColour = [](const QColor&) { return QColor(0x12, 0x34, 0x56); };
        details.ColourButton()->click();
        details.SymbolBox()->setCurrentIndex(details.SymbolBox()->findData(QStringLiteral("star")));
        details.AttributeTable()->setItem(1, 1, new QTableWidgetItem(QStringLiteral("YEW")));
        const FeatureCode& hedge = f.window.Model().Book().codes[2];
        QCOMPARE(hedge.colour, std::string("#123456"));
        QCOMPARE(hedge.symbol, std::string("star"));
        // The second info word keeps its place behind an empty first one.
        QCOMPARE(hedge.attributes, (std::vector<CodeAttribute>{{"", ""}, {"", "YEW"}}));
        QCOMPARE(f.window.Undo().count(), 3);
    }

    void AsksBeforeClosingUnsavedWork() {
        Fixture f;
        f.window.show();
        f.window.AddCode();
        f.window.Model().setData(f.window.Model().index(3, 0), QStringLiteral("WALL"));
        f.questions->closeAnswers = {QMessageBox::Cancel, QMessageBox::Save};
        QVERIFY(!f.window.close());
        QVERIFY(f.window.isVisible());
        QVERIFY(f.window.close());
        QCOMPARE(f.questions->asked, 2);
        QVERIFY(f.folder.ReadFile("topo.book").find("code WALL\n") != std::string::npos);
    }

    void RefusesAListTheInstrumentCannotTake() {
        Fixture f;
        f.window.Model().setData(f.window.Model().index(2, 0), QStringLiteral("TREE"));
        const QString out = QString::fromStdString(f.folder.Path("topo.crf"));
        f.questions->saveAnswers = {{out, CodeFormat::Gsi16}};
        QVERIFY(!f.window.SaveAs());
        QCOMPARE(f.questions->told.size(), 1);
        QVERIFY(f.questions->told[0].contains(QStringLiteral("TREE: duplicate code")));
        QVERIFY(!QFile::exists(out));
    }

    void AddsTheCodesJobsUseAndTheBookLacks() {
        Fixture f;
        f.folder.WriteFile(
            "job.gsi",
            "*410001+000000000000TREE \r\n"
            "*110002+00000000000000P1 81..00+0000000001140796 82..00+0000000002477096 \r\n"
            "*410003+0000000000000PIT \r\n"
            "*110004+00000000000000P2 81..00+0000000001140796 82..00+0000000002477096 \r\n"
            "*110005+00000000000000P3 81..00+0000000001140796 82..00+0000000002477096 \r\n");
        f.questions->jobs = {QString::fromStdString(f.folder.Path("job.gsi"))};
        f.window.CodesUsedInJobs();
        QCOMPARE(Codes(f.window.Model()), QStringList({"TREE", "KERB", "HEDGE", "PIT"}));
        f.window.Undo().undo();
        QCOMPARE(Codes(f.window.Model()), QStringList({"TREE", "KERB", "HEDGE"}));
    }
};

} // namespace

QTEST_MAIN(CodeBookWidgetTest)
#include "CodeBookWidgetTest.moc"
