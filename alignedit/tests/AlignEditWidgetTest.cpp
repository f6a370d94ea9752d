#include "alignedit/CAlignEditDoc.h"
#include "alignedit/CAlignEditView.h"
#include "alignedit/CChildFrame.h"
#include "alignedit/CMainFrame.h"
#include "alignedit/UserDialogs.h"
#include "testsupport/ActiveWindow.h"

#include <QClipboard>
#include <QFile>
#include <QMdiArea>
#include <QMenuBar>
#include <QPrinter>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QToolBar>
#include <QtTest>

#include <deque>

namespace {

// Answers the editor's questions from a script and records what was asked.
class ScriptedDialogs : public UserDialogs {
public:
    struct SaveRequest {
        QString title;
        QStringList filters;
        QString initialName;
    };

    std::deque<SaveChoice> saveAnswers;
    std::deque<QMessageBox::StandardButton> yesNoAnswers;
    QList<SaveRequest> saveRequests;
    QStringList errors;
    QStringList questions;

    SaveChoice AskSaveName(QWidget*, const QString& title, const QStringList& filters,
                           const QString& initialName) override {
        saveRequests.append({title, filters, initialName});
        return Take(saveAnswers, SaveChoice{});
    }
    QString AskOpenName(QWidget*) override { return {}; }
    void ShowError(QWidget*, const QString& text) override { errors.append(text); }
    QMessageBox::StandardButton AskYesNoCancel(QWidget*, const QString& text) override {
        questions.append(text);
        return Take(yesNoAnswers, QMessageBox::Cancel);
    }

private:
    template <typename T>
    static T Take(std::deque<T>& answers, T otherwise) {
        if (answers.empty()) {
            return otherwise;
        }
        T answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

QByteArray EveryByteWithCrLf() {
    QByteArray bytes;
    for (int value = 1; value <= 0xFF; ++value) {
        bytes += static_cast<char>(value);
        if (value % 40 == 0) {
            bytes += "\r\n";
        }
    }
    return bytes;
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class AlignEditWidgetTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void ownSaveWritesTheChosenTypeAndKeepsTheName();
    void ctrlSAsksForANameUntilTheDocumentHasOne();
    void everyByteRoundTripsThroughTheEditor();
    void typedLinesEndWithCrLf();
    void modifiedFlagFollowsEditsAndSaves();
    void closingAModifiedDocumentAsks();
    void recentFilesKeepFourAndPersist();
    void openFailuresLeaveTheFrameAsItWas();
    void saveFailuresLeaveDocumentAndFile();
    void menusFollowOpenDocuments();
    void viewWrapsWithoutHorizontalScrollBar();
    void longLinesOpenInPiecesAndKeepTheirBytes();
    void printsTheText();

private:
    CAlignEditView* View() const { return frame_->ActiveView(); }
    void Type(const QString& text) { QTest::keyClicks(View(), text); }
    QString Path(const QString& name) const { return dir_->filePath(name); }

    std::unique_ptr<QTemporaryDir> settingsDir_;
    std::unique_ptr<QTemporaryDir> dir_;
    ScriptedDialogs* dialogs_ = nullptr;
    std::unique_ptr<CMainFrame> frame_;
};

void AlignEditWidgetTest::initTestCase() {
    settingsDir_ = std::make_unique<QTemporaryDir>();
    QCoreApplication::setOrganizationName(QStringLiteral("alignedit-test"));
    QCoreApplication::setApplicationName(QStringLiteral("alignedit"));
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir_->path());
}

void AlignEditWidgetTest::init() {
    QSettings().clear();
    dir_ = std::make_unique<QTemporaryDir>();
    auto dialogs = std::make_unique<ScriptedDialogs>();
    dialogs_ = dialogs.get();
    frame_ = std::make_unique<CMainFrame>(std::move(dialogs));
    frame_->show();
    frame_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
}

void AlignEditWidgetTest::cleanup() {
    for (CAlignEditDoc* document : frame_->Documents()) {
        document->SetModified(false);
    }
    frame_.reset();
}

void AlignEditWidgetTest::ownSaveWritesTheChosenTypeAndKeepsTheName() {
    CAlignEditDoc* document = frame_->OnFileNew();
    QCOMPARE(document->Title(), QStringLiteral("AlignEd1"));
    Type(QStringLiteral("HAL"));
    dialogs_->saveAnswers = {{Path(QStringLiteral("x")), 0}, {Path(QStringLiteral("y")), 1}};

    frame_->Action(QStringLiteral("ownSave"))->trigger();
    QCOMPARE(ReadFile(Path(QStringLiteral("x.hal"))), QByteArray("HAL"));
    QCOMPARE(dialogs_->saveRequests.value(0).title, QStringLiteral("Save"));
    QCOMPARE(dialogs_->saveRequests.value(0).filters,
             (QStringList{QStringLiteral("hal file(*.hal)"), QStringLiteral("val file(*.val)")}));
    QVERIFY(dialogs_->saveRequests.value(0).initialName.isEmpty());
    QVERIFY(!document->IsModified());
    // A copy under another name: the document, its window and the list stay.
    QCOMPARE(document->Title(), QStringLiteral("AlignEd1"));
    QVERIFY(document->PathName().isEmpty());
    QCOMPARE(frame_->MdiArea()->currentSubWindow()->windowTitle(), QStringLiteral("AlignEd1[*]"));
    QCOMPARE(frame_->windowTitle(), QStringLiteral("Velmor Road editor - AlignEd1"));
    QVERIFY(frame_->RecentFiles().Files().isEmpty());

    frame_->Action(QStringLiteral("ownSaveAs"))->trigger();
    QCOMPARE(dialogs_->saveRequests.value(1).title, QStringLiteral("Save as"));
    QCOMPARE(ReadFile(Path(QStringLiteral("y.val"))), QByteArray("HAL"));
    QCOMPARE(document->Title(), QStringLiteral("AlignEd1"));

    // Cancelled: nothing written, nothing changed.
    Type(QStringLiteral("!"));
    frame_->Action(QStringLiteral("ownSave"))->trigger();
    QVERIFY(document->IsModified());
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files).size(), 2);
}

void AlignEditWidgetTest::ctrlSAsksForANameUntilTheDocumentHasOne() {
    SL_SKIP_UNLESS_ACTIVE(frame_);
    CAlignEditDoc* document = frame_->OnFileNew();
    Type(QStringLiteral("V1"));
    dialogs_->saveAnswers = {{Path(QStringLiteral("own")), 0}};
    frame_->Action(QStringLiteral("ownSave"))->trigger();

    // The own Save gave it no name: Ctrl+S asks, with the framework's dialog.
    Type(QStringLiteral("2"));
    QTest::keyClick(View(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(dialogs_->saveRequests.size(), 2);
    QCOMPARE(dialogs_->saveRequests[1].title, QStringLiteral("Save As"));
    QCOMPARE(dialogs_->saveRequests[1].initialName, QStringLiteral("AlignEd1"));
    QVERIFY(document->IsModified()); // cancelled

    dialogs_->saveAnswers = {{Path(QStringLiteral("named.val")), 0}};
    QTest::keyClick(View(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(ReadFile(Path(QStringLiteral("named.val"))), QByteArray("V12"));
    QCOMPARE(document->Title(), QStringLiteral("named.val"));
    QCOMPARE(frame_->MdiArea()->currentSubWindow()->windowTitle(), QStringLiteral("named.val[*]"));
    QCOMPARE(frame_->RecentFiles().Files(), QStringList{Path(QStringLiteral("named.val"))});

    // Now it has a path: Ctrl+S saves there without asking.
    Type(QStringLiteral("3"));
    QTest::keyClick(View(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(dialogs_->saveRequests.size(), 3);
    QCOMPARE(ReadFile(Path(QStringLiteral("named.val"))), QByteArray("V123"));
    QVERIFY(!document->IsModified());
}

void AlignEditWidgetTest::everyByteRoundTripsThroughTheEditor() {
    const QByteArray bytes = EveryByteWithCrLf();
    const QString path = Path(QStringLiteral("every.hal"));
    WriteFile(path, bytes);
    CAlignEditDoc* document = frame_->OpenDocumentFile(path);
    QVERIFY(document != nullptr);
    QVERIFY(!document->IsModified());
    QCOMPARE(document->TextDocument()->blockCount(), 7);
    // No-break space (0xA0) and the C1 stand-ins keep their own characters.
    QVERIFY(document->Text().contains(QChar(0x00A0)));
    QVERIFY(document->Text().contains(QChar(0x20AC)));

    dialogs_->saveAnswers = {{Path(QStringLiteral("copy")), 0}};
    frame_->Action(QStringLiteral("ownSave"))->trigger();
    QCOMPARE(ReadFile(Path(QStringLiteral("copy.hal"))), bytes);

    // An edit and its undo leave the bytes as they were, saved in place.
    Type(QStringLiteral("Z"));
    QTest::keyClick(View(), Qt::Key_Z, Qt::ControlModifier);
    document->SetModified(true);
    QVERIFY(frame_->OnFileSave());
    QCOMPARE(ReadFile(path), bytes);
    QVERIFY(dialogs_->errors.isEmpty());
}

void AlignEditWidgetTest::typedLinesEndWithCrLf() {
    const QString path = Path(QStringLiteral("lines.hal"));
    WriteFile(path, QByteArray("A\r\nB"));
    CAlignEditDoc* document = frame_->OpenDocumentFile(path);
    QVERIFY(document != nullptr);
    View()->moveCursor(QTextCursor::End);
    QTest::keyClick(View(), Qt::Key_Return);
    Type(QStringLiteral("C"));
    QVERIFY(frame_->OnFileSave());
    QCOMPARE(ReadFile(path), QByteArray("A\r\nB\r\nC"));

    const QString unix = Path(QStringLiteral("unix.val"));
    WriteFile(unix, QByteArray("A\nB\n"));
    QVERIFY(frame_->OpenDocumentFile(unix) != nullptr);
    View()->moveCursor(QTextCursor::End);
    Type(QStringLiteral("C"));
    QVERIFY(frame_->OnFileSave());
    QCOMPARE(ReadFile(unix), QByteArray("A\nB\nC"));
}

void AlignEditWidgetTest::modifiedFlagFollowsEditsAndSaves() {
    CAlignEditDoc* document = frame_->OnFileNew();
    QMdiSubWindow* child = frame_->MdiArea()->currentSubWindow();
    QVERIFY(!document->IsModified());
    Type(QStringLiteral("a"));
    QVERIFY(document->IsModified());
    QVERIFY(child->isWindowModified());
    QTest::keyClick(View(), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(!document->IsModified());
    Type(QStringLiteral("b"));
    dialogs_->saveAnswers = {{Path(QStringLiteral("m")), 0}};
    QVERIFY(View()->OnOwnSave());
    QVERIFY(!document->IsModified());
    QVERIFY(!child->isWindowModified());

    // A second window of the same document shares text and flag.
    frame_->OnWindowNew();
    QCOMPARE(frame_->Frames(document).size(), 2);
    Type(QStringLiteral("c"));
    QVERIFY(document->IsModified());
    QVERIFY(child->isWindowModified());
}

void AlignEditWidgetTest::closingAModifiedDocumentAsks() {
    CAlignEditDoc* document = frame_->OnFileNew();
    Type(QStringLiteral("x"));
    frame_->OnWindowNew();
    QList<CChildFrame*> frames = frame_->Frames(document);
    // Not the last window: no question.
    QVERIFY(frames[1]->close());
    QCOMPARE(frame_->Frames(document).size(), 1);
    QVERIFY(dialogs_->questions.isEmpty());

    dialogs_->yesNoAnswers = {QMessageBox::Cancel};
    QVERIFY(!frames[0]->close());
    QCOMPARE(dialogs_->questions, QStringList{QStringLiteral("Save changes to AlignEd1?")});
    QCOMPARE(frame_->Documents().size(), 1);

    // Yes, then the save fails: the window stays.
    dialogs_->yesNoAnswers = {QMessageBox::Yes};
    dialogs_->saveAnswers = {{QStringLiteral("/dev/full"), 0}};
    QVERIFY(!frames[0]->close());
    QCOMPARE(dialogs_->errors.size(), 1);
    QVERIFY(document->IsModified());

    dialogs_->yesNoAnswers = {QMessageBox::No};
    QVERIFY(frames[0]->close());
    QTRY_VERIFY(frame_->Documents().isEmpty());

    // Closing the main window asks once per modified document.
    frame_->OnFileNew();
    Type(QStringLiteral("y"));
    dialogs_->questions.clear();
    dialogs_->yesNoAnswers = {QMessageBox::No};
    QVERIFY(frame_->close());
    QCOMPARE(dialogs_->questions, QStringList{QStringLiteral("Save changes to AlignEd2?")});
}

void AlignEditWidgetTest::recentFilesKeepFourAndPersist() {
    QStringList paths;
    QList<CAlignEditDoc*> documents;
    for (int i = 1; i <= 5; ++i) {
        paths.append(Path(QStringLiteral("r%1.hal").arg(i)));
        WriteFile(paths.last(), QByteArray::number(i));
        documents.append(frame_->OpenDocumentFile(paths.last()));
        QVERIFY(documents.last() != nullptr);
    }
    const QStringList newest{paths[4], paths[3], paths[2], paths[1]};
    QCOMPARE(frame_->RecentFiles().Files(), newest);
    QCOMPARE(frame_->Action(QStringLiteral("recentFile1"))->text(),
             QStringLiteral("&1 ") + paths[4]);
    QVERIFY(!frame_->Action(QStringLiteral("recentFile"))->isVisible());

    // Opening an open file again brings up its window and moves nothing.
    QCOMPARE(frame_->OpenDocumentFile(paths[1]), documents[1]);
    QCOMPARE(frame_->ActiveDocument(), documents[1]);
    QCOMPARE(frame_->Documents().size(), 5);

    // Kept in the settings for the next start.
    CMainFrame next(std::make_unique<ScriptedDialogs>());
    QCOMPARE(next.RecentFiles().Files(), newest);

    // An entry that no longer opens leaves the list.
    QFile::remove(paths[3]);
    auto* nextDialogs = new ScriptedDialogs;
    CMainFrame third{std::unique_ptr<UserDialogs>(nextDialogs)};
    third.Action(QStringLiteral("recentFile2"))->trigger();
    QCOMPARE(nextDialogs->errors.size(), 1);
    QCOMPARE(third.RecentFiles().Files(), (QStringList{paths[4], paths[2], paths[1]}));
}

void AlignEditWidgetTest::openFailuresLeaveTheFrameAsItWas() {
    const QString missing = Path(QStringLiteral("missing.hal"));
    QVERIFY(frame_->OpenDocumentFile(missing) == nullptr);
    WriteFile(Path(QStringLiteral("binary.hal")), QByteArray("AB\0CD", 5));
    QVERIFY(frame_->OpenDocumentFile(Path(QStringLiteral("binary.hal"))) == nullptr);
    QVERIFY(frame_->OpenDocumentFile(Path(QStringLiteral("binary.hal/x"))) == nullptr);
    QCOMPARE(dialogs_->errors.size(), 3);
    QCOMPARE(dialogs_->errors[0],
             QStringLiteral("Cannot open \"%1\": No such file or directory.").arg(missing));
    QVERIFY(dialogs_->errors[1].contains(QStringLiteral("NUL byte at offset 2")));
    QVERIFY(dialogs_->errors[2].contains(QStringLiteral("Not a directory")));
    QVERIFY(frame_->Documents().isEmpty());
    QVERIFY(frame_->MdiArea()->subWindowList().isEmpty());
    QVERIFY(frame_->RecentFiles().Files().isEmpty());
}

void AlignEditWidgetTest::saveFailuresLeaveDocumentAndFile() {
    SL_SKIP_UNLESS_ACTIVE(frame_);
    const QString path = Path(QStringLiteral("kept.hal"));
    WriteFile(path, QByteArray("old\r\n"));
    CAlignEditDoc* document = frame_->OpenDocumentFile(path);
    QVERIFY(document != nullptr);
    Type(QStringLiteral("new"));
    const QString underFile = path + QStringLiteral("/x");
    dialogs_->saveAnswers = {{QStringLiteral("/sys/alignedit-test"), 0},
                             {Path(QStringLiteral("no/such/folder/x")), 1},
                             {underFile, 0}};
    for (int i = 0; i < 3; ++i) {
        QVERIFY(!View()->OnOwnSave());
    }
    QCOMPARE(
        dialogs_->errors,
        (QStringList{QStringLiteral("Cannot save \"/sys/alignedit-test.hal\": Permission denied."),
                     QStringLiteral("Cannot save \"%1\": No such file or directory.")
                         .arg(Path(QStringLiteral("no/such/folder/x.val"))),
                     QStringLiteral("Cannot save \"%1.hal\": Not a directory.").arg(underFile)}));
    QVERIFY(document->IsModified());
    QCOMPARE(document->PathName(), path);
    QCOMPARE(document->Title(), QStringLiteral("kept.hal"));
    QCOMPARE(ReadFile(path), QByteArray("old\r\n"));

    // A character the code page cannot hold is refused, not written as '?'.
    View()->insertPlainText(QString(QChar(0x6F22)));
    QVERIFY(!frame_->OnFileSave());
    QVERIFY(dialogs_->errors.last().contains(QStringLiteral("U+6F22 in line 1")));
    QCOMPARE(ReadFile(path), QByteArray("old\r\n"));
    QVERIFY(document->IsModified());
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList{QStringLiteral("kept.hal")});

    // A full disk, through Ctrl+S on a new document: it keeps its name.
    CAlignEditDoc* fresh = frame_->OnFileNew();
    Type(QStringLiteral("data"));
    dialogs_->saveAnswers = {{QStringLiteral("/dev/full"), 0}};
    QTest::keyClick(View(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(dialogs_->errors.last(),
             QStringLiteral("Cannot save \"/dev/full\": No space left on device."));
    QCOMPARE(fresh->Title(), QStringLiteral("AlignEd1"));
    QVERIFY(fresh->PathName().isEmpty());
    QVERIFY(fresh->IsModified());
    QVERIFY(frame_->RecentFiles().Files() == QStringList{path});
}

void AlignEditWidgetTest::menusFollowOpenDocuments() {
    const auto titles = [this] {
        QStringList names;
        for (QAction* menu : frame_->menuBar()->actions()) {
            names.append(menu->text());
        }
        return names;
    };
    QCOMPARE(frame_->windowTitle(), QStringLiteral("Velmor Road editor"));
    QCOMPARE(titles(), (QStringList{"&File", "&View", "&Help"}));
    QVERIFY(!frame_->Action(QStringLiteral("ownSave"))->isEnabled());
    QVERIFY(frame_->Action(QStringLiteral("recentFile"))->isVisible());
    frame_->OnFileNew();
    QCOMPARE(titles(), (QStringList{"&File", "&Edit", "&View", "&Window", "&Help"}));
    QVERIFY(frame_->Action(QStringLiteral("ownSave"))->isEnabled());
    QCOMPARE(frame_->Action(QStringLiteral("ownSave"))->text(), QStringLiteral("&Save\tCtrl+S"));
    QCOMPARE(frame_->OnFileNew()->Title(), QStringLiteral("AlignEd2"));
    frame_->MdiArea()->closeAllSubWindows();
    QTRY_COMPARE(titles(), (QStringList{"&File", "&View", "&Help"}));
    QCOMPARE(frame_->OnFileNew()->Title(), QStringLiteral("AlignEd3"));

    QString about;
    QTimer::singleShot(0, this, [&about] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            about = box->windowTitle() + QLatin1Char('|') + box->text();
            box->accept();
        }
    });
    frame_->Action(QStringLiteral("appAbout"))->trigger();
    QCOMPARE(about, QStringLiteral("About alignedit|alignedit Version 2.0"));

    // "Toolbar" shows and hides the tool bar.
    frame_->Action(QStringLiteral("viewToolbar"))->trigger();
    QVERIFY(frame_->ToolBar()->isHidden());
}

void AlignEditWidgetTest::viewWrapsWithoutHorizontalScrollBar() {
    frame_->OnFileNew();
    frame_->MdiArea()->currentSubWindow()->resize(300, 200);
    View()->setPlainText(QString(400, QLatin1Char('w')) + QStringLiteral(" end"));
    QCOMPARE(View()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(View()->horizontalScrollBar()->maximum(), 0);
    const QTextBlock block = View()->document()->firstBlock();
    QVERIFY(block.layout()->lineCount() > 3);
}

// A line without blanks longer than a piece is held in pieces, so it opens
// at once; edits at and inside the pieces change the bytes as they would in
// one line, and undoing them gives the file back.
void AlignEditWidgetTest::longLinesOpenInPiecesAndKeepTheirBytes() {
    SL_SKIP_UNLESS_ACTIVE(frame_);
    constexpr int kPiece = CAlignEditDoc::kPieceLength;
    QByteArray line;
    while (line.size() < 3 * kPiece + 100) {
        line += QByteArray::number(line.size()) + ',';
    }
    line.truncate(3 * kPiece + 100);
    const QByteArray bytes = "first\r\n" + line + "\r\nlast";
    const QString path = Path(QStringLiteral("long.hal"));
    WriteFile(path, bytes);
    CAlignEditDoc* document = frame_->OpenDocumentFile(path);
    QVERIFY(document != nullptr);
    QTextDocument* text = document->TextDocument();
    QCOMPARE(text->blockCount(), 6); // "first", four pieces, "last"
    QCOMPARE(View()->wordWrapMode(), QTextOption::WrapAnywhere);
    QVERIFY(!document->IsModified());
    QVERIFY(frame_->OnFileSave());
    QCOMPARE(ReadFile(path), bytes);

    const auto placeAt = [this, text](int block, int offset) {
        QTextCursor cursor(text->findBlockByNumber(block));
        cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, offset);
        View()->setTextCursor(cursor);
    };
    placeAt(2, 10); // inside the second piece: the line ends there
    QTest::keyClick(View(), Qt::Key_Return);
    placeAt(4, 0); // the third piece: the character before it goes
    QTest::keyClick(View(), Qt::Key_Backspace);
    placeAt(5, 0); // the fourth piece: a pasted line end is a line end
    QGuiApplication::clipboard()->setText(QStringLiteral("x\ny"));
    View()->paste();
    QVERIFY(frame_->OnFileSave());
    QCOMPARE(ReadFile(path), "first\r\n" + line.left(kPiece + 10) + "\r\n" +
                                 line.mid(kPiece + 10, kPiece - 11) + line.mid(2 * kPiece, kPiece) +
                                 "x\r\ny" + line.mid(3 * kPiece) + "\r\nlast");

    for (int step = 0; step < 3; ++step) {
        QTest::keyClick(View(), Qt::Key_Z, Qt::ControlModifier);
    }
    QVERIFY(frame_->OnFileSave());
    QCOMPARE(ReadFile(path), bytes);
    QVERIFY(dialogs_->errors.isEmpty());
}

void AlignEditWidgetTest::printsTheText() {
    frame_->OnFileNew();
    Type(QStringLiteral("PRINTED LINE"));
    QPrinter& printer = frame_->Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(Path(QStringLiteral("out.pdf")));
    View()->OnFilePrintDirect(printer);
    QVERIFY(ReadFile(Path(QStringLiteral("out.pdf"))).startsWith("%PDF"));
}

QTEST_MAIN(AlignEditWidgetTest)
#include "AlignEditWidgetTest.moc"
