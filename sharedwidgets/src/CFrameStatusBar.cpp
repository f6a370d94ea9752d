#include "sharedwidgets/CFrameStatusBar.h"

#include <QFontMetrics>
#include <QLabel>

namespace {
constexpr std::array<const char*, 3> kIndicatorNames{"CAPS", "NUM", "SCRL"};
constexpr int kPollMilliseconds = 250;
} // namespace

CFrameStatusBar::CFrameStatusBar(QWidget* parent, LockReader reader)
    : QStatusBar(parent), reader_(std::move(reader)),
      idle_(new QLabel(QStringLiteral("Ready"), this)) {
    addWidget(idle_, 1);
    const QFontMetrics metrics(font());
    for (std::size_t i = 0; i < indicators_.size(); ++i) {
        auto* label = new QLabel(this);
        label->setAlignment(Qt::AlignCenter);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        // Fixed width, so a lock coming on does not shift the panes.
        label->setFixedWidth(metrics.horizontalAdvance(QLatin1String(kIndicatorNames[i])) + 12);
        addPermanentWidget(label);
        indicators_[i] = label;
    }
    connect(&poll_, &QTimer::timeout, this, [this] { UpdateIndicators(); });
    // Where the display cannot tell the lock states, there is nothing to poll.
    if (UpdateIndicators()) {
        poll_.start(kPollMilliseconds);
    }
}

QString CFrameStatusBar::IdleText() const {
    return idle_->text();
}

std::array<QString, 3> CFrameStatusBar::IndicatorTexts() const {
    return {indicators_[0]->text(), indicators_[1]->text(), indicators_[2]->text()};
}

bool CFrameStatusBar::UpdateIndicators() {
    const std::optional<KeyLocks> read = reader_ ? reader_() : std::nullopt;
    const KeyLocks locks = read.value_or(KeyLocks{});
    const std::array<bool, 3> on{locks.caps, locks.num, locks.scroll};
    for (std::size_t i = 0; i < indicators_.size(); ++i) {
        indicators_[i]->setText(on[i] ? QLatin1String(kIndicatorNames[i]) : QString());
    }
    return read.has_value();
}
