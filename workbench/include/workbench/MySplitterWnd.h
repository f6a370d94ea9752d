#pragma once

#include <QWidget>

#include <array>

// A fixed two-by-two split: a header row of fixed height over a row that
// takes the rest, and two columns of which the last takes what the first
// leaves. Only the bar between the columns can be dragged, and only below
// the header row: a press with 0 < y < 30 starts nothing, and a move with
// 1 <= y <= 24 neither tracks nor shows the split cursor (splitter
// coordinates). The bar under the header row (y 20..26) therefore never moves.
class MySplitterWnd : public QWidget {
    Q_OBJECT

public:
    static constexpr int kRows = 2;
    static constexpr int kColumns = 2;
    static constexpr int kBarSize = 7;
    static constexpr int kHeaderRowHeight = 20;

    explicit MySplitterWnd(QWidget* parent = nullptr);

    // Puts a widget into a pane; the splitter owns it from then on.
    void SetPane(int row, int column, QWidget* pane);
    QWidget* GetPane(int row, int column) const;
    // Row and column of a pane, or false when widget is none of them.
    bool PaneIndex(const QWidget* widget, int& row, int& column) const;

    // Width of the first column: half the splitter's width until the bar is
    // moved; from then on fixed, the last column taking the rest.
    int FirstColumnWidth() const;
    void SetFirstColumnWidth(int width);

    static bool PressIgnored(int y) { return y > 0 && y < 30; }
    static bool MoveIgnored(int y) { return y >= 1 && y <= 24; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    enum class Bar { None, Column, Row };
    Bar BarAt(QPoint point) const;
    QRect ColumnBar() const;
    QRect RowBar() const;
    void LayoutPanes();

    std::array<std::array<QWidget*, kColumns>, kRows> panes_{};
    int firstColumnWidth_ = -1;
    bool tracking_ = false;
    int trackOffset_ = 0;
};
