#include "BookSamples.h"

#include "coordbook/BookLoader.h"
#include "coordbook/BookPage.h"
#include "coordbook/BookSortProxy.h"
#include "coordbook/BookTableModel.h"
#include "coordbook/CoordBookWindow.h"
#include "sharedwidgets/PlanView.h"
#include "testsupport/ActiveWindow.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>

#include <deque>

namespace {

// Answers the window's questions from a script and writes down what it asked.
class ScriptedDialogs : public BookDialogs {
public:
    std::deque<SaveChoice> saveAnswers;
    std::deque<QMessageBox::StandardButton> closeAnswers;
    std::deque<bool> goOnAnswers;
    std::deque<std::optional<ExactCoordinates>> coordinateAnswers;
    std::deque<RenumberChoice> renumberAnswers;
    QStringList asked;
    QStringList errors;

    QStringList AskOpenNames(QWidget*) override { return {}; }
    std::optional<SaveChoice> AskSaveName(QWidget*, const QString& initial, BookFormat) override {
        asked << "save as " + initial;
        return Next(saveAnswers);
    }
    QMessageBox::StandardButton AskYesNoCancel(QWidget*, const QString& text) override {
        asked << text;
        return Next(closeAnswers);
    }
    bool AskGoOn(QWidget*, const QString& text) override {
        asked << text;
        return Next(goOnAnswers);
    }
    void ShowError(QWidget*, const QString& text) override { errors << text; }
    std::optional<ExactCoordinates> AskCoordinates(QWidget*, const QString& title, const QString&,
                                                   const ExactCoordinates&) override {
        asked << title;
        return Next(coordinateAnswers);
    }
    std::optional<RenumberChoice> AskRenumber(QWidget*, const QString& first) override {
        asked << "renumber from " + first;
        return Next(renumberAnswers);
    }

private:
    // An answer the script lacks fails the test and cancels.
    template <typename T>
    static T Next(std::deque<T>& answers) {
        if (answers.empty()) {
            QTest::qFail("a question the script did not expect", __FILE__, __LINE__);
            return T();
        }
        T answer = std::move(answers.front());
        answers.pop_front();
        return answer;
    }
};

FixedDecimal Number(const char* text) {
    return *FixedDecimal::Parse(text);
}

} // namespace

class CoordBookWidgetTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void editsInPlaceAreCheckedMarkedAndUndone();
    void pointsAreAddedDeletedRenumberedAndMovedAndAllOfItUndone();
    void sortedFilteredTableAndPlanShareTheSelection();
    void closingAsksAboutUnsavedChanges();
    void savingAsksWhatAnotherFormatLeavesOutAndKeepsTheFileOnErrors();

private:
    BookPage& Open(const std::string& name, const std::string& bytes);
    QString Cell(int row, BookColumn column) const;
    // The cell editor open in the table, if any.
    QLineEdit* Editor() const {
        return window_->Current()->Table()->viewport()->findChild<QLineEdit*>();
    }
    void Type(int row, BookColumn column, const QString& text);
    QString Path(const std::string& name) const {
        return QString::fromStdString(folder_->Path(name));
    }

    std::unique_ptr<TempFolder> folder_;
    ScriptedDialogs* dialogs_ = nullptr;
    std::unique_ptr<CoordBookWindow> window_;
};

void CoordBookWidgetTest::init() {
    folder_ = std::make_unique<TempFolder>();
    auto dialogs = std::make_unique<ScriptedDialogs>();
    dialogs_ = dialogs.get();
    window_ = std::make_unique<CoordBookWindow>(std::move(dialogs));
    window_->show();
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
}

BookPage& CoordBookWidgetTest::Open(const std::string& name, const std::string& bytes) {
    folder_->WriteFile(name, bytes);
    window_->OpenFiles({Path(name)});
    return *window_->Current();
}

QString CoordBookWidgetTest::Cell(int row, BookColumn column) const {
    const QTableView* table = window_->Current()->Table();
    return table->model()->index(row, static_cast<int>(column)).data().toString();
}

// Types into the cell's editor as a user does, and presses Enter.
void CoordBookWidgetTest::Type(int row, BookColumn column, const QString& text) {
    QTableView* table = window_->Current()->Table();
    const QModelIndex index = table->model()->index(row, static_cast<int>(column));
    table->setCurrentIndex(index);
    table->edit(index);
    QLineEdit* editor = Editor();
    QVERIFY(editor != nullptr);
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Backspace);
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    // The delegate commits the text from the event loop.
    QTRY_VERIFY(Editor() == nullptr);
}

void CoordBookWidgetTest::editsInPlaceAreCheckedMarkedAndUndone() {
    SL_SKIP_UNLESS_ACTIVE(window_);
    BookPage& page = Open("demo.gsi", BookSamples::DemoJob());
    QCOMPARE(window_->windowTitle(), QStringLiteral("demo.gsi[*] - Coordinate Editor"));
    Type(1, BookColumn::East, "1885.9");
    QCOMPARE(Cell(1, BookColumn::East), QStringLiteral("1885.900"));
    QVERIFY(page.IsModified());
    QCOMPARE(window_->Tabs()->tabText(0), QStringLiteral("demo.gsi*"));

    // Refused: the cell keeps its value and the status bar says why.
    Type(1, BookColumn::North, "19x6.5");
    QCOMPARE(Cell(1, BookColumn::North), QStringLiteral("1976.491"));
    QCOMPARE(window_->statusBar()->currentMessage(), QStringLiteral("\"19x6.5\" is not a number"));
    Type(2, BookColumn::Name, "B 3");
    QCOMPARE(window_->statusBar()->currentMessage(),
             QStringLiteral("a blank would end the GSI word"));
    QCOMPARE(page.Undo().count(), 1);

    // A name used twice is marked on both points.
    Type(2, BookColumn::Name, "B1");
    const QAbstractItemModel* table = page.Table()->model();
    for (const int row : {0, 2}) {
        QCOMPARE(table->index(row, 0).data(Qt::BackgroundRole).value<QColor>(),
                 QColor(0xFF, 0xC8, 0xC8));
    }
    QVERIFY(!table->index(1, 0).data(Qt::BackgroundRole).isValid());

    QTest::keySequence(window_.get(), QKeySequence::Undo);
    QCOMPARE(Cell(2, BookColumn::Name), QStringLiteral("B3"));
    QVERIFY(!table->index(0, 0).data(Qt::BackgroundRole).isValid());
    QTest::keySequence(window_.get(), QKeySequence::Undo);
    QCOMPARE(Cell(1, BookColumn::East), QStringLiteral("1885.955"));
    QVERIFY(!page.IsModified());
    QTest::keyClick(window_.get(), Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(Cell(1, BookColumn::East), QStringLiteral("1885.900"));

    QVERIFY(window_->Save());
    QVERIFY(!page.IsModified());
    std::string expected = BookSamples::DemoJob();
    const std::string old = "81..00+0000000001885955";
    expected.replace(expected.find(old), old.size(), "81..00+0000000001885900");
    QCOMPARE(folder_->ReadFile("demo.gsi"), expected);
}

void CoordBookWidgetTest::pointsAreAddedDeletedRenumberedAndMovedAndAllOfItUndone() {
    BookPage& page = Open("points.dat", BookSamples::PointFile());
    const std::string original = folder_->ReadFile("points.dat");
    page.SelectRows({1});
    window_->AddPoint();
    QCOMPARE(page.Book().Rows(), std::size_t{13});
    // Named after P2 with the first number no point has, and open for typing.
    QCOMPARE(Cell(2, BookColumn::Name), QStringLiteral("P6"));
    QVERIFY(Editor() != nullptr);
    QTest::keyClick(Editor(), Qt::Key_Escape);

    page.SelectRows({0, 1, 2});
    dialogs_->renumberAnswers.push_back(BookDialogs::RenumberChoice{"K08", 2});
    window_->RenumberPoints();
    QCOMPARE(dialogs_->asked.last(), QStringLiteral("renumber from STN1"));
    QCOMPARE(Cell(0, BookColumn::Name) + Cell(1, BookColumn::Name) + Cell(2, BookColumn::Name),
             QStringLiteral("K08K10K12"));

    dialogs_->coordinateAnswers.push_back(
        ExactCoordinates{Number("10"), Number("-0.5"), Number("0.25")});
    window_->ShiftPoints();
    QCOMPARE(Cell(0, BookColumn::East), QStringLiteral("522.250"));
    QCOMPARE(Cell(1, BookColumn::North), QStringLiteral("-50.0625"));

    page.SelectRows({3});
    dialogs_->coordinateAnswers.push_back(
        ExactCoordinates{Number("1000"), Number("2000"), std::nullopt});
    window_->MovePoints();
    QCOMPARE(Cell(3, BookColumn::East) + " " + Cell(3, BookColumn::North),
             QStringLiteral("1000.00000 2000.00000"));

    page.SelectRows({4, 6});
    window_->DeletePoints();
    QCOMPARE(page.Book().Rows(), std::size_t{11});
    QCOMPARE(page.Undo().count(), 5);

    while (page.Undo().canUndo()) {
        page.Undo().undo();
    }
    QVERIFY(!page.IsModified());
    QVERIFY(window_->Save());
    QCOMPARE(folder_->ReadFile("points.dat"), original);
}

void CoordBookWidgetTest::sortedFilteredTableAndPlanShareTheSelection() {
    BookPage& page = Open("demo.gsi", BookSamples::DemoJob());
    QTableView* table = page.Table();
    table->horizontalHeader()->setSortIndicator(0, Qt::DescendingOrder);
    QCOMPARE(Cell(0, BookColumn::Name), QStringLiteral("B12"));
    QCOMPARE(Cell(3, BookColumn::Name), QStringLiteral("B9"));

    // Renamed, added and deleted points take their places in the order.
    Type(0, BookColumn::Name, "B0");
    QCOMPARE(Cell(11, BookColumn::Name), QStringLiteral("B0"));
    page.Undo().undo();
    QCOMPARE(Cell(0, BookColumn::Name), QStringLiteral("B12"));
    page.SelectRows({0});
    window_->AddPoint();
    QTest::keyClick(Editor(), Qt::Key_Escape);
    QCOMPARE(Cell(0, BookColumn::Name), QStringLiteral("B13"));
    QCOMPARE(page.SelectedRows(), std::vector<std::size_t>{1});
    window_->DeletePoints();
    QCOMPARE(Cell(0, BookColumn::Name) + Cell(1, BookColumn::Name), QStringLiteral("B12B11"));

    // The filter leaves B1, B10, B11 and B12, in the table and in the plan.
    QTest::keyClicks(page.Filter(), "b1");
    QCOMPARE(table->model()->rowCount(), 4);
    table->selectRow(1);
    QCOMPARE(Cell(1, BookColumn::Name), QStringLiteral("B11"));
    QCOMPARE(page.SelectedRows(), std::vector<std::size_t>{10});
    QCOMPARE(page.Plan()->Selection(), std::vector<int>{2});

    // A click on a point of the plan selects its row.
    const SurveyPoint& b1 = page.Book().Row(0).point;
    QTest::mouseClick(page.Plan(), Qt::LeftButton, {},
                      page.Plan()->Transform().ToScreen(b1.east, b1.north).toPoint());
    QCOMPARE(page.SelectedRows(), std::vector<std::size_t>{0});
    QCOMPARE(page.Plan()->Selection(), std::vector<int>{0});
}

void CoordBookWidgetTest::closingAsksAboutUnsavedChanges() {
    Open("a.dat", BookSamples::PointFile());
    Type(0, BookColumn::Code, "WALL");
    Open("b.dat", BookSamples::PointFile());
    Type(0, BookColumn::Code, "GATE");

    dialogs_->closeAnswers = {QMessageBox::Cancel};
    QVERIFY(!window_->ClosePage(0));
    QCOMPARE(window_->Tabs()->count(), 2);
    QCOMPARE(dialogs_->asked.last(), QStringLiteral("Save changes to a.dat?"));

    // The window asks for every changed file: b is saved, a is not.
    dialogs_->closeAnswers = {QMessageBox::Yes, QMessageBox::No};
    QVERIFY(window_->close());
    QCOMPARE(dialogs_->asked.mid(1),
             (QStringList{"Save changes to b.dat?", "Save changes to a.dat?"}));
    QCOMPARE(folder_->ReadFile("a.dat"), BookSamples::PointFile());
    QVERIFY(folder_->ReadFile("b.dat").starts_with("STN1,512.250,-48.500,97.000,GATE\r\n"));

    // A new file is named when it is saved.
    window_ = std::make_unique<CoordBookWindow>(
        std::unique_ptr<BookDialogs>(dialogs_ = new ScriptedDialogs));
    window_->NewFile();
    window_->AddPoint();
    QTest::keyClick(Editor(), Qt::Key_Escape);
    dialogs_->closeAnswers = {QMessageBox::Yes};
    dialogs_->saveAnswers = {BookDialogs::SaveChoice{Path("new.gsi"), BookFormat::Gsi16}};
    QVERIFY(window_->close());
    QCOMPARE(dialogs_->asked, (QStringList{"Save changes to Untitled?", "save as Untitled"}));
    QVERIFY(
        folder_->ReadFile("new.gsi").ends_with("*110001+00000000000000P1 81..00+0000000000000000 "
                                               "82..00+0000000000000000 \r\n"));
}

void CoordBookWidgetTest::savingAsksWhatAnotherFormatLeavesOutAndKeepsTheFileOnErrors() {
    BookPage* page = &Open("demo.gsi", BookSamples::DemoJob());
    Type(0, BookColumn::Height, "");

    dialogs_->saveAnswers = {BookDialogs::SaveChoice{Path("gone/x.gsi"), BookFormat::Gsi16}};
    QVERIFY(!window_->SaveAs());
    QCOMPARE(dialogs_->errors.last(),
             "Cannot save \"" + Path("gone/x.gsi") + "\": No such file or directory.");
    QVERIFY(page->IsModified());

    dialogs_->saveAnswers = {BookDialogs::SaveChoice{Path("demo.dat"), BookFormat::Dat}};
    dialogs_->goOnAnswers = {false};
    QVERIFY(!window_->SaveAs());
    QCOMPARE(dialogs_->asked.last(),
             QStringLiteral("2 lines without a point are not written to a point file (lines 1, "
                            "2). Save anyway?"));
    QVERIFY(!QFile::exists(Path("demo.dat")));

    // Saved in another format, the tab shows the new file as it is.
    dialogs_->saveAnswers = {BookDialogs::SaveChoice{Path("demo8.gsi"), BookFormat::Gsi8}};
    QVERIFY(window_->SaveAs());
    page = window_->Current();
    QCOMPARE(page->Path(), Path("demo8.gsi"));
    QCOMPARE(page->Book().Format(), BookFormat::Gsi8);
    QVERIFY(!page->IsModified());
    QCOMPARE(Cell(0, BookColumn::Height), QString());
    QCOMPARE(window_->Tabs()->count(), 1);

    // A name GSI-8 cannot hold is refused before anything is written.
    Open("wide.gsi",
         "*110001+0000000LONGNAME9 81..00+0000000000001000 82..00+0000000000001000 \r\n");
    dialogs_->saveAnswers = {BookDialogs::SaveChoice{Path("demo8.gsi"), BookFormat::Gsi8}};
    QVERIFY(!window_->SaveAs());
    QVERIFY(dialogs_->errors.last().endsWith(
        "point \"LONGNAME9\" (line 1): \"110001+0000000LONGNAME9\" holds more than GSI-8 can."));
    QCOMPARE(BookLoader::Load(folder_->Path("demo8.gsi")).book->Rows(), std::size_t{12});
}

QTEST_MAIN(CoordBookWidgetTest)
#include "CoordBookWidgetTest.moc"
