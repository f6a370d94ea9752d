#include "launcher/CSuitepadDlg.h"
#include "FakeSuiteFolder.h"
#include "launcher/CAboutDlg.h"
#include "launcher/CIconButton.h"
#include "launcher/ColourOffset.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

namespace {

constexpr int kStartTimeoutMs = 30000;

struct Expected {
    const char* text;
    const char* program;
};

// Top to bottom, as the buttons stand in the window.
constexpr Expected kButtons[] = {
    {"Data Exchange Manager", "stationlink"},
    {"Coordinate Editor", "coordbook"},
    {"Codebook Manager", "codebook"},
    {"Road Line Editor", "routebook"},
    {"Gsi To Dxf", "drawexport"},
    {"USB Communication", "legacyxfer"},
};

QList<CIconButton*> ButtonsTopToBottom(const QWidget& dialog) {
    QList<CIconButton*> buttons = dialog.findChildren<CIconButton*>();
    std::sort(buttons.begin(), buttons.end(),
              [](const QWidget* a, const QWidget* b) { return a->y() < b->y(); });
    return buttons;
}

CIconButton* ButtonNamed(const QWidget& dialog, const QString& text) {
    for (CIconButton* button : dialog.findChildren<CIconButton*>()) {
        if (button->text() == text) {
            return button;
        }
    }
    return nullptr;
}

IconButtonLayout::Parts PartsOf(const CIconButton& button) {
    return IconButtonLayout::Arrange(button.rect(), CIconButton::kDefaultIconSize, true,
                                     button.Align(), false);
}

// Waits for the next modal dialog (or popup menu) of the given type, lets inspect look at it,
// then closes it, so code that runs one can be tested without blocking.
template <typename Window>
void CloseNext(std::function<void(Window&)> inspect) {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, [poll, inspect] {
        QWidget* shown = QApplication::activePopupWidget();
        auto* window = qobject_cast<Window*>(shown ? shown : QApplication::activeModalWidget());
        if (window == nullptr) {
            return;
        }
        poll->deleteLater();
        poll->stop();
        inspect(*window);
        window->close();
    });
    poll->start(20);
}

class ScopedApplicationFont {
public:
    explicit ScopedApplicationFont(const QFont& font) : previous_(QApplication::font()) {
        QApplication::setFont(font);
    }
    ~ScopedApplicationFont() { QApplication::setFont(previous_); }
    ScopedApplicationFont(const ScopedApplicationFont&) = delete;
    ScopedApplicationFont& operator=(const ScopedApplicationFont&) = delete;

private:
    QFont previous_;
};

} // namespace

class CSuitepadDlgTest : public QObject {
    Q_OBJECT
private slots:
    void showsTheSixToolsInOrder();
    void drawsEveryIcon();
    void captionsFitTheirButtons_data();
    void captionsFitTheirButtons();
    void everyButtonStartsItsToolFromTheLauncherFolder();
    void pressingTwiceStartsTwice();
    void missingToolIsReportedAndTheLauncherStaysAsItWas();
    void missingToolShowsAMessageBoxByDefault();
    void aboutEntryShowsTheVersion();
    void aboutEntryIsInTheContextMenuOfEveryButton();
    void escapeCloses();
};

void CSuitepadDlgTest::showsTheSixToolsInOrder() {
    CSuitepadDlg dialog;
    QCOMPARE(dialog.windowTitle(), QString("Drosk"));
    QVERIFY(!dialog.windowIcon().isNull());
    const auto buttons = ButtonsTopToBottom(dialog);
    QCOMPARE(buttons.size(), qsizetype(std::size(kButtons)));
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        const CIconButton* button = buttons[i];
        QCOMPARE(button->text(), QString(kButtons[i].text));
        QCOMPARE(button->Align(), IconAlignment::Above);
        QVERIFY(button->isFlat());
        QCOMPARE(button->Colour(CIconButton::BackIn),
                 ColourOffset::Apply(button->Colour(CIconButton::BackOut), 30));
        QCOMPARE(button->width(), dialog.width());
        QVERIFY(dialog.rect().contains(button->geometry()));
        if (i > 0) {
            QVERIFY(button->y() > buttons[i - 1]->geometry().bottom());
            QCOMPARE(buttons[i - 1]->nextInFocusChain(), button);
        }
    }
}

void CSuitepadDlgTest::drawsEveryIcon() {
    CSuitepadDlg dialog;
    for (CIconButton* button : dialog.findChildren<CIconButton*>()) {
        const QImage image = button->grab().toImage();
        const QRect icon = PartsOf(*button).icon;
        const QColor face = button->Colour(CIconButton::BackOut);
        int drawn = 0;
        for (int y = icon.top(); y <= icon.bottom(); ++y) {
            for (int x = icon.left(); x <= icon.right(); ++x) {
                drawn += image.pixelColor(x, y) != face ? 1 : 0;
            }
        }
        QVERIFY2(drawn > icon.width() * icon.height() / 10, qPrintable(button->text()));
    }
}

void CSuitepadDlgTest::captionsFitTheirButtons_data() {
    QTest::addColumn<int>("pointSize");
    QTest::newRow("desktop default") << QApplication::font().pointSize();
    QTest::newRow("large") << 16;
}

void CSuitepadDlgTest::captionsFitTheirButtons() {
    QFETCH(int, pointSize);
    QFont font = QApplication::font();
    font.setPointSize(pointSize);
    const ScopedApplicationFont scoped(font);
    CSuitepadDlg dialog;
    for (const CIconButton* button : dialog.findChildren<CIconButton*>()) {
        const QRect caption = PartsOf(*button).caption;
        const QRect needed = button->fontMetrics().boundingRect(
            caption, Qt::AlignCenter | Qt::TextWordWrap, button->text());
        QVERIFY2(caption.contains(needed), qPrintable(button->text()));
    }
}

void CSuitepadDlgTest::everyButtonStartsItsToolFromTheLauncherFolder() {
    FakeSuiteFolder suite;
    for (const Expected& expected : kButtons) {
        suite.AddTool(expected.program);
    }
    const ScopedCurrentFolder elsewhere;
    CSuitepadDlg dialog(ToolStarter(suite.LauncherPath()));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    const auto buttons = ButtonsTopToBottom(dialog);
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        QTest::mouseClick(buttons[i], Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(suite.Starts().size(), i + 1, kStartTimeoutMs);
        QCOMPARE(suite.Starts().last(),
                 suite.ToolPath(kButtons[i].program) + "|" + elsewhere.Path());
    }
}

void CSuitepadDlgTest::pressingTwiceStartsTwice() {
    FakeSuiteFolder suite;
    suite.AddTool("stationlink");
    CSuitepadDlg dialog(ToolStarter(suite.LauncherPath()));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    CIconButton* button = ButtonNamed(dialog, "Data Exchange Manager");
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::mouseClick(button, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(suite.Starts().size(), 2, kStartTimeoutMs);
}

void CSuitepadDlgTest::missingToolIsReportedAndTheLauncherStaysAsItWas() {
    FakeSuiteFolder suite;
    CSuitepadDlg dialog(ToolStarter(suite.LauncherPath()));
    QStringList messages;
    dialog.SetErrorReporter(
        [&messages](QWidget*, const QString& message) { messages.append(message); });
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QRect geometry = dialog.geometry();

    CIconButton* button = ButtonNamed(dialog, "Coordinate Editor");
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages.first().startsWith("cannot start \"" + suite.ToolPath("coordbook") + "\""),
             qPrintable(messages.first()));
    QVERIFY(messages.first().endsWith("No such file or directory"));

    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.windowTitle(), QString("Drosk"));
    QCOMPARE(dialog.geometry(), geometry);
    for (const CIconButton* each : dialog.findChildren<CIconButton*>()) {
        QVERIFY(each->isEnabled());
        QVERIFY(!each->isDown());
    }
    // Once the tool is there, the same button starts it.
    suite.AddTool("coordbook");
    QTest::mouseClick(button, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(suite.Starts().size(), 1, kStartTimeoutMs);
    QCOMPARE(messages.size(), 1);
}

void CSuitepadDlgTest::missingToolShowsAMessageBoxByDefault() {
    FakeSuiteFolder suite;
    CSuitepadDlg dialog(ToolStarter(suite.LauncherPath()));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QString shown;
    CloseNext<QMessageBox>([&shown](QMessageBox& box) { shown = box.text(); });
    QTest::mouseClick(ButtonNamed(dialog, "Gsi To Dxf"), Qt::LeftButton);
    QVERIFY2(shown.contains("cannot start \"" + suite.ToolPath("drawexport") + "\""),
             qPrintable(shown));
    QVERIFY(dialog.isVisible());
}

void CSuitepadDlgTest::aboutEntryShowsTheVersion() {
    CSuitepadDlg dialog;
    QCOMPARE(dialog.contextMenuPolicy(), Qt::ActionsContextMenu);
    QCOMPARE(dialog.actions().size(), 1);
    QAction* about = dialog.actions().first();
    QVERIFY(about->text().contains("About suitepad"));

    QString title;
    QStringList lines;
    bool hasIcon = false;
    CloseNext<CAboutDlg>([&](CAboutDlg& box) {
        title = box.windowTitle();
        for (const QLabel* label : box.findChildren<QLabel*>()) {
            lines.append(label->text());
            hasIcon = hasIcon || !label->pixmap().isNull();
        }
    });
    about->trigger();
    QCOMPARE(title, QString("About suitepad"));
    QVERIFY(lines.contains("suitepad version 1.0"));
    QVERIFY(hasIcon);
}

void CSuitepadDlgTest::aboutEntryIsInTheContextMenuOfEveryButton() {
    CSuitepadDlg dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    for (CIconButton* button : dialog.findChildren<CIconButton*>()) {
        QStringList entries;
        CloseNext<QMenu>([&entries](QMenu& menu) {
            for (const QAction* action : menu.actions()) {
                entries.append(action->text());
            }
        });
        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, button->rect().center(),
                                     button->mapToGlobal(button->rect().center()));
        QCoreApplication::sendEvent(button, &rightClick);
        QCOMPARE(entries, QStringList{dialog.actions().first()->text()});
    }
}

void CSuitepadDlgTest::escapeCloses() {
    CSuitepadDlg dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

QTEST_MAIN(CSuitepadDlgTest)
#include "CSuitepadDlgTest.moc"
