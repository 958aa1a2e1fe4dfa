#include "controls.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <limits>
#include <memory>

namespace pound::ui {

TLabel::TLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setFocusPolicy(Qt::NoFocus);
}

void TLabel::SetCaption(const QString& caption) {
    if (caption == text())
        return;
    setText(caption);
    FitToCaption();
}

void TLabel::FitToCaption() {
    const QFontMetrics metrics(font());
    const QString measured =
        text().isEmpty() || text() == QLatin1String("&") ? QStringLiteral(" ") : text();
    resize(metrics.horizontalAdvance(measured), metrics.height());
}

void TLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        FitToCaption();
}

TEdit::TEdit(QWidget* parent) : QLineEdit(parent) {
    setMaxLength(std::numeric_limits<int>::max());
}

void TEdit::focusInEvent(QFocusEvent* event) {
    if (event->reason() != Qt::MouseFocusReason)
        selectAll();
    QLineEdit::focusInEvent(event);
}

TListBox::TListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    clock_ = [timer] { return timer->elapsed(); };
}

void TListBox::keyboardSearch(const QString& search) {
    TypeAhead(search, false);
}

void TListBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Backspace && event->modifiers() == Qt::NoModifier) {
        TypeAhead(QString(), true);
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

void TListBox::TypeAhead(const QString& typed, bool backspace) {
    const qint64 now = clock_();
    if (now - lastKeyMs_ >= kTypeAheadIntervalMs)
        search_.clear();
    lastKeyMs_ = now;
    if (backspace) {
        search_.chop(1);
    } else {
        search_ += typed;
    }
    if (search_.isEmpty()) {
        setCurrentRow(0);
        return;
    }
    for (int row = 0; row < count(); ++row) {
        if (item(row)->text().startsWith(search_, Qt::CaseInsensitive)) {
            setCurrentRow(row);
            return;
        }
    }
}

QItemSelectionModel::SelectionFlags TListBox::selectionCommand(const QModelIndex& index,
                                                               const QEvent*) const {
    if (!index.isValid())
        return QItemSelectionModel::NoUpdate;
    return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
}

}  // namespace pound::ui
