#include "launcher/CIconButton.h"
#include "launcher/ColourOffset.h"

#include <QPainter>
#include <QSignalSpy>
#include <QWindow>
#define QTEST_QPA_MOUSE_HANDLING // moves go through the window, as a real cursor's do
#include "testsupport/ActiveWindow.h"
#include <QtTest>

namespace {

QIcon RedIcon() {
    QPixmap pixmap(CIconButton::kDefaultIconSize);
    pixmap.fill(Qt::red);
    return QIcon(pixmap);
}

int CountPixels(const QImage& image, const QRect& area, const std::function<bool(QColor)>& test) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            count += test(image.pixelColor(x, y)) ? 1 : 0;
        }
    }
    return count;
}

} // namespace

class CIconButtonTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startColoursComeFromThePalette();
    void hoverFollowsEnterMoveAndLeave();
    void hoverClearsWhenTheCursorLeavesTheWindowAtOnce();
    void hoverShowsLitFaceAndRaisedEdge();
    void pressStaysSunkenWhileDraggedOff();
    void dragBackAndReleaseClicks();
    void disabledButtonGreysIconAndEmbossesCaption();
    void flatButtonShowsNoFocusUnlessAsked();

private:
    QImage Grab() const { return button_->grab().toImage(); }
    QPoint Outside() const { return button_->geometry().bottomRight() + QPoint(20, 20); }
    // A point off the button in its own coordinates: while the button is pressed it holds the
    // mouse, so moves and the release off it still come to it.
    QPoint OffButton() const { return button_->mapFrom(host_.get(), Outside()); }

    std::unique_ptr<QWidget> host_;
    CIconButton* button_ = nullptr;
};

void CIconButtonTest::init() {
    host_ = std::make_unique<QWidget>();
    host_->resize(300, 200);
    button_ = new CIconButton(host_.get());
    button_->setGeometry(40, 40, 140, 60);
    button_->setText("Data Exchange Manager");
    button_->SetIcon(RedIcon());
    button_->OffsetColour(CIconButton::BackIn, 30);
    button_->SetAlign(IconAlignment::Above);
    host_->show();
    host_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(host_.get()));
    QVERIFY(!button_->IsMouseOnButton());
}

void CIconButtonTest::cleanup() {
    // Park the cursor off the button, so the next window does not open under it.
    QTest::mouseMove(host_.get(), QPoint(5, 5));
    host_.reset();
}

void CIconButtonTest::startColoursComeFromThePalette() {
    const QColor face = button_->palette().color(QPalette::Button);
    const QColor text = button_->palette().color(QPalette::ButtonText);
    QCOMPARE(button_->Colour(CIconButton::BackOut), face);
    QCOMPARE(button_->Colour(CIconButton::BackFocus), face);
    QCOMPARE(button_->Colour(CIconButton::TextIn), text);
    QCOMPARE(button_->Colour(CIconButton::BackIn), ColourOffset::Apply(face, 30));
}

void CIconButtonTest::hoverFollowsEnterMoveAndLeave() {
    QVERIFY(!button_->IsMouseOnButton());
    QTest::mouseMove(button_, QPoint(10, 10));
    QVERIFY(button_->IsMouseOnButton());
    QTest::mouseMove(button_, QPoint(100, 30));
    QVERIFY(button_->IsMouseOnButton());
    QTest::mouseMove(host_.get(), Outside());
    QVERIFY(!button_->IsMouseOnButton());
}

void CIconButtonTest::hoverClearsWhenTheCursorLeavesTheWindowAtOnce() {
    QTest::mouseMove(button_, button_->rect().center());
    QVERIFY(button_->IsMouseOnButton());
    // A fast move out of the window brings no move outside the button, only the window's leave.
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(host_->windowHandle(), &leave);
    QVERIFY(!button_->IsMouseOnButton());
}

void CIconButtonTest::hoverShowsLitFaceAndRaisedEdge() {
    const QPalette palette = button_->palette();
    const QImage plain = Grab();
    QCOMPARE(plain.pixel(0, 0), button_->Colour(CIconButton::BackOut).rgb());
    QCOMPARE(plain.pixel(2, 2), button_->Colour(CIconButton::BackOut).rgb());

    QTest::mouseMove(button_, button_->rect().center());
    const QImage hovered = Grab();
    QCOMPARE(hovered.pixel(0, 0), palette.color(QPalette::Light).rgb());
    QCOMPARE(hovered.pixel(139, 59), palette.color(QPalette::Dark).rgb());
    QCOMPARE(hovered.pixel(2, 2), button_->Colour(CIconButton::BackIn).rgb());
}

void CIconButtonTest::pressStaysSunkenWhileDraggedOff() {
    const QPalette palette = button_->palette();
    QSignalSpy clicks(button_, &QAbstractButton::clicked);
    QTest::mousePress(button_, Qt::LeftButton, {}, button_->rect().center());
    QTest::mouseMove(button_, OffButton());
    QVERIFY(button_->isDown());
    QVERIFY(!button_->IsMouseOnButton());
    const QImage dragged = Grab();
    QCOMPARE(dragged.pixel(0, 0), palette.color(QPalette::Dark).rgb());
    QCOMPARE(dragged.pixel(139, 59), palette.color(QPalette::Light).rgb());

    QTest::mouseRelease(button_, Qt::LeftButton, {}, OffButton());
    QVERIFY(!button_->isDown());
    QCOMPARE(clicks.count(), 0);
}

void CIconButtonTest::dragBackAndReleaseClicks() {
    QSignalSpy clicks(button_, &QAbstractButton::clicked);
    QTest::mousePress(button_, Qt::LeftButton, {}, button_->rect().center());
    QTest::mouseMove(button_, OffButton());
    QTest::mouseMove(button_, QPoint(10, 10));
    QVERIFY(button_->isDown());
    QTest::mouseRelease(button_, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(clicks.count(), 1);
}

void CIconButtonTest::disabledButtonGreysIconAndEmbossesCaption() {
    const QColor light = button_->palette().color(QPalette::Light);
    const auto parts = IconButtonLayout::Arrange(button_->rect(), CIconButton::kDefaultIconSize,
                                                 true, IconAlignment::Above, false);
    const auto red = [](QColor c) { return c.red() > c.green() + 60; };
    const auto isLight = [light](QColor c) { return c == light; };

    const QImage enabled = Grab();
    QVERIFY(CountPixels(enabled, parts.icon, red) > 0);
    QCOMPARE(CountPixels(enabled, parts.caption, isLight), 0);

    button_->setEnabled(false);
    const QImage disabled = Grab();
    QCOMPARE(CountPixels(disabled, parts.icon, red), 0);
    QVERIFY(CountPixels(disabled, parts.caption, isLight) > 0);
}

void CIconButtonTest::flatButtonShowsNoFocusUnlessAsked() {
    SL_SKIP_UNLESS_ACTIVE(host_);
    const QImage unfocused = Grab();
    // Focus rectangles show after keyboard focus changes only.
    QTest::keyClick(host_.get(), Qt::Key_Tab);
    QVERIFY(button_->hasFocus());
    QCOMPARE(Grab(), unfocused);
    button_->SetDrawFlatFocus(true);
    QVERIFY(Grab() != unfocused);
}

QTEST_MAIN(CIconButtonTest)
#include "CIconButtonTest.moc"
