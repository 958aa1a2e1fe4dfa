#include "hint_window.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCursor>
#include <QEvent>

namespace pound::app {

HintController::HintController(QObject* parent) : QObject(parent), tip_(new QLabel) {
    tip_->setWindowFlags(Qt::ToolTip);
    tip_->setObjectName("HintWindow");
    tip_->setTextFormat(Qt::PlainText);
    tip_->setForegroundRole(QPalette::ToolTipText);
    tip_->setBackgroundRole(QPalette::ToolTipBase);
    tip_->setAutoFillBackground(true);
    tip_->setMargin(2);
    rest_.setSingleShot(true);
    hide_.setSingleShot(true);
    connect(&rest_, &QTimer::timeout, this, &HintController::Show);
    connect(&hide_, &QTimer::timeout, this, &HintController::Cancel);
    qApp->installEventFilter(this);  // any key, button or wheel anywhere cancels the hint
}

HintController::~HintController() {
    delete tip_;
}

void HintController::Attach(QWidget* control, const QString& hint) {
    control_ = control;
    hint_ = hint.section(u'|', 0, 0);
    control->setMouseTracking(true);
    if (auto* area = qobject_cast<QAbstractScrollArea*>(control)) {
        area->viewport()->setMouseTracking(true);
    }
}

void HintController::Cancel() {
    rest_.stop();
    hide_.stop();
    tip_->hide();
}

void HintController::Show() {
    if (control_ == nullptr || QApplication::activeWindow() == nullptr)
        return;
    if (!control_->rect().contains(control_->mapFromGlobal(QCursor::pos())))
        return;
    tip_->setText(hint_);
    tip_->adjustSize();
    tip_->move(QCursor::pos() + QPoint(0, 20));
    tip_->show();
    hide_.start(kHintHidePauseMs);
}

bool HintController::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ApplicationDeactivate:
            Cancel();
            break;
        case QEvent::Leave:
            if (watched == control_)
                Cancel();
            break;
        case QEvent::MouseMove: {
            QWidget* widget = qobject_cast<QWidget*>(watched);
            const bool onControl = widget != nullptr && control_ != nullptr &&
                                   (widget == control_ || control_->isAncestorOf(widget));
            if (onControl && !tip_->isVisible())
                rest_.start(kHintPauseMs);
            break;
        }
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace pound::app
