#pragma once

#include "launcher/CIconButtonMenu.h"
#include "launcher/HoverTracker.h"
#include "launcher/IconButtonLayout.h"

#include <QColor>
#include <QIcon>
#include <QPushButton>

#include <array>

// A flat push button drawn by hand: an icon and a word-wrapped caption on a plain face that
// lights up while the mouse is over it and shows a raised edge then, a sunken one while pressed.
class CIconButton : public QPushButton {
    Q_OBJECT
public:
    // Background and text colours, each for the hovered or pressed state ("in"), the normal
    // state ("out") and the focused state.
    enum ColourIndex { BackIn, TextIn, BackOut, TextOut, BackFocus, TextFocus, ColourCount };

    static constexpr QSize kDefaultIconSize{32, 32};

    explicit CIconButton(QWidget* parent = nullptr);

    // Images for the hovered and the normal state; a null out icon means "the same as in".
    void SetIcon(const QIcon& in, const QIcon& out = QIcon(), QSize size = kDefaultIconSize);
    void SetColour(ColourIndex index, const QColor& colour);
    QColor Colour(ColourIndex index) const;
    // Lightens (or, negative, darkens) one colour; see ColourOffset.
    void OffsetColour(ColourIndex index, int offset);
    void SetAlign(IconAlignment alignment);
    IconAlignment Align() const { return alignment_; }
    // On a flat button: whether hovering and pressing show an edge, and whether focus shows a
    // focus rectangle (a button that is not flat always shows both).
    void SetDrawBorder(bool draw);
    void SetDrawFlatFocus(bool draw);

    bool IsMouseOnButton() const { return hover_.Hovered(); }
    CIconButtonMenu& Menu() { return menu_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void TrackMove(bool leftButtonDown, bool overButton);
    bool Lit() const;
    QColor BackgroundColour() const;
    QColor TextColour() const;
    void DrawEdge(QPainter& painter) const;
    void DrawIcon(QPainter& painter, const QRect& area) const;
    void DrawCaption(QPainter& painter, const QRect& area) const;
    void DrawFocus(QPainter& painter) const;

    HoverTracker hover_;
    IconAlignment alignment_ = IconAlignment::Left;
    bool drawBorder_ = true;
    bool drawFlatFocus_ = false;
    std::array<QColor, ColourCount> colours_;
    QIcon iconIn_;
    QIcon iconOut_;
    QSize iconSize_;
    CIconButtonMenu menu_;
};
