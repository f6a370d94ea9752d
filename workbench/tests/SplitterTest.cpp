#define QTEST_QPA_MOUSE_HANDLING

#include "workbench/MySplitterWnd.h"

#include <QTest>

#include <memory>

class SplitterTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void firstColumnIsHalfUntilTheBarMoves();
    void columnBarDragsBelowTheHeaderBand_data();
    void columnBarDragsBelowTheHeaderBand();
    void rowBarNeverMoves();
    void movesInTheTopBandNeitherTrackNorShowTheSplitCursor();

private:
    void Drag(QPoint from, QPoint to);
    int ColumnBarX() const { return splitter_->FirstColumnWidth() + MySplitterWnd::kBarSize / 2; }

    std::unique_ptr<MySplitterWnd> splitter_;
};

void SplitterTest::init() {
    splitter_ = std::make_unique<MySplitterWnd>();
    for (int row = 0; row < MySplitterWnd::kRows; ++row) {
        for (int column = 0; column < MySplitterWnd::kColumns; ++column) {
            splitter_->SetPane(row, column, new QWidget);
        }
    }
    splitter_->resize(800, 600);
    splitter_->show();
    QVERIFY(QTest::qWaitForWindowExposed(splitter_.get()));
}

void SplitterTest::cleanup() {
    splitter_.reset();
}

void SplitterTest::Drag(QPoint from, QPoint to) {
    QTest::mousePress(splitter_.get(), Qt::LeftButton, {}, from);
    QTest::mouseMove(splitter_.get(), to);
    QTest::mouseRelease(splitter_.get(), Qt::LeftButton, {}, to);
}

void SplitterTest::firstColumnIsHalfUntilTheBarMoves() {
    QCOMPARE(splitter_->FirstColumnWidth(), 400);
    splitter_->resize(1001, 600);
    QCOMPARE(splitter_->FirstColumnWidth(), 500);
    QCOMPARE(splitter_->GetPane(1, 0)->width(), 500);
    QCOMPARE(splitter_->GetPane(1, 1)->x(), 500 + MySplitterWnd::kBarSize);
    QCOMPARE(splitter_->GetPane(1, 1)->width(), 1001 - 500 - MySplitterWnd::kBarSize);

    Drag(QPoint(ColumnBarX(), 300), QPoint(ColumnBarX() - 200, 300));
    QCOMPARE(splitter_->FirstColumnWidth(), 300);
    // From now on the last column takes what the window gains or loses.
    splitter_->resize(700, 600);
    QCOMPARE(splitter_->FirstColumnWidth(), 300);
    QCOMPARE(splitter_->GetPane(0, 0)->width(), 300);
    QCOMPARE(splitter_->GetPane(1, 1)->width(), 700 - 300 - MySplitterWnd::kBarSize);
}

void SplitterTest::columnBarDragsBelowTheHeaderBand_data() {
    QTest::addColumn<int>("pressY");
    QTest::addColumn<bool>("moves");
    QTest::newRow("y 1, in the header row") << 1 << false;
    QTest::newRow("y 10, in the header row") << 10 << false;
    QTest::newRow("y 23, beside the row bar") << 23 << false;
    QTest::newRow("y 29, last ignored line") << 29 << false;
    QTest::newRow("y 30, first line that drags") << 30 << true;
    QTest::newRow("y 300, beside the trees") << 300 << true;
}

void SplitterTest::columnBarDragsBelowTheHeaderBand() {
    QFETCH(int, pressY);
    QFETCH(bool, moves);
    const int before = splitter_->FirstColumnWidth();
    Drag(QPoint(ColumnBarX(), pressY), QPoint(ColumnBarX() + 120, 300));
    QCOMPARE(splitter_->FirstColumnWidth(), moves ? before + 120 : before);
    QCOMPARE(splitter_->GetPane(0, 0)->width(), splitter_->FirstColumnWidth());
    QCOMPARE(splitter_->GetPane(1, 0)->width(), splitter_->FirstColumnWidth());
}

void SplitterTest::rowBarNeverMoves() {
    for (const int y : {21, 24, 26}) {
        Drag(QPoint(100, y), QPoint(100, 300));
        QCOMPARE(splitter_->GetPane(0, 0)->height(), MySplitterWnd::kHeaderRowHeight);
        QCOMPARE(splitter_->GetPane(1, 0)->y(),
                 MySplitterWnd::kHeaderRowHeight + MySplitterWnd::kBarSize);
    }
}

void SplitterTest::movesInTheTopBandNeitherTrackNorShowTheSplitCursor() {
    const auto cursorAt = [this](QPoint point) {
        QTest::mouseMove(splitter_.get(), point);
        return splitter_->cursor().shape();
    };
    QCOMPARE(cursorAt(QPoint(ColumnBarX(), 200)), Qt::SplitHCursor);
    QCOMPARE(cursorAt(QPoint(ColumnBarX(), 10)), Qt::ArrowCursor);
    QCOMPARE(cursorAt(QPoint(ColumnBarX(), 24)), Qt::ArrowCursor);
    QCOMPARE(cursorAt(QPoint(ColumnBarX(), 25)), Qt::SplitHCursor);
    QCOMPARE(cursorAt(QPoint(100, 24)), Qt::ArrowCursor);
    QCOMPARE(cursorAt(QPoint(100, 25)), Qt::SplitVCursor);

    // While tracking, moves through the band are not followed.
    const int before = splitter_->FirstColumnWidth();
    QTest::mousePress(splitter_.get(), Qt::LeftButton, {}, QPoint(ColumnBarX(), 200));
    QTest::mouseMove(splitter_.get(), QPoint(ColumnBarX() - 80, 12));
    QCOMPARE(splitter_->FirstColumnWidth(), before);
    QTest::mouseMove(splitter_.get(), QPoint(ColumnBarX() - 80, 100));
    QCOMPARE(splitter_->FirstColumnWidth(), before - 80);
    QTest::mouseRelease(splitter_.get(), Qt::LeftButton, {}, QPoint(ColumnBarX(), 100));
}

QTEST_MAIN(SplitterTest)
#include "SplitterTest.moc"
