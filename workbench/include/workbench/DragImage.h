#pragma once

#include <QPixmap>
#include <QPoint>
#include <QWidget>

class QIcon;
class QString;

// The picture of a dragged item (its icon and label) in a frameless window
// of its own, so it can follow the cursor over the whole screen, outside the
// program's windows too. It never takes input or focus.
class DragImage : public QWidget {
    Q_OBJECT

public:
    // The point of the picture that sits under the cursor.
    static constexpr QPoint kHotSpot{8, 8};

    explicit DragImage(QPixmap picture);

    // A picture of an icon (at iconSize) and a label, drawn in the font and
    // colours of a selected item of style; null when there is nothing to draw.
    static QPixmap Render(const QIcon& icon, const QString& label, QSize iconSize,
                          const QWidget& style);

    // Places the hot spot at a point in screen coordinates.
    void MoveTo(QPoint global);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap picture_;
};
