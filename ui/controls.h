#pragma once
// Controls with the behaviour the window relies on where Qt's differ.

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <functional>
#include <limits>

namespace pound::ui {

// A label that keeps its top-left corner and fits its size to its caption, drawn as plain
// text on one line. An empty caption measures as one blank.
class TLabel : public QLabel {
    Q_OBJECT
  public:
    explicit TLabel(QWidget* parent);

    // Stores, repaints and fits a caption that differs from the current one.
    void SetCaption(const QString& caption);
    void FitToCaption();

  protected:
    void changeEvent(QEvent* event) override;
};

// The Unicode label; Qt's labels are all Unicode, so it is a label like the others.
class TTntLabel : public TLabel {
    Q_OBJECT
  public:
    using TLabel::TLabel;
};

// A single-line entry without a length limit that selects its whole text whenever it gets
// the focus other than by a mouse click.
class TEdit : public QLineEdit {
    Q_OBJECT
  public:
    explicit TEdit(QWidget* parent);

  protected:
    void focusInEvent(QFocusEvent* event) override;
};

// A single-selection list that always keeps one row selected, with type-ahead: keys typed
// within 500 ms of each other form a search text (Backspace takes its last character
// away), which selects the first row beginning with it in any letter case; an empty search
// text selects row 0 and one that matches nothing changes nothing.
class TListBox : public QListWidget {
    Q_OBJECT
  public:
    static constexpr qint64 kTypeAheadIntervalMs = 500;

    explicit TListBox(QWidget* parent);

    // Milliseconds on a monotonic clock; tests drive their own.
    void SetClock(std::function<qint64()> clock) { clock_ = std::move(clock); }

    QString Hint() const { return hint_; }
    void SetHint(const QString& hint) { hint_ = hint; }

    void keyboardSearch(const QString& search) override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;

  private:
    void TypeAhead(const QString& typed, bool backspace);

    std::function<qint64()> clock_;
    QString search_;
    qint64 lastKeyMs_ = std::numeric_limits<qint64>::min() / 2;  // long before any key
    QString hint_;
};

}  // namespace pound::ui
