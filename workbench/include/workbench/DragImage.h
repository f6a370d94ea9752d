#pragma once

#include <QPixmap>
#include <QPoint>
#include <QWidget>

class QIcon;
class QString;

// The picture of a dragged item (its icon and label). Where the window
// system lets a program place its windows (X11), it is a frameless window of
// its own, so it follows the cursor over the whole screen, outside the
// program's windows too. Where it does not (Wayland: a window's place on the
// screen is the compositor's), it is drawn inside the given window, over its
// widgets. It never takes input or focus.
class DragImage : public QWidget {
    Q_OBJECT

public:
    // The point of the picture that sits under the cursor.
    static constexpr QPoint kHotSpot{8, 8};

    // window: the top-level window the drag starts in.
    DragImage(QPixmap picture, QWidget* window);

    // Whether the platform can place a window of its own at the cursor.
    static bool OwnWindowFollowsCursor();

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
