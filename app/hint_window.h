#pragma once
// The frame's hint: a small tip window for a control with a hint text, shown after the
// pointer rests on it and hidden after a while or as soon as the user does anything.

#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QTimer>

namespace pound::app {

class HintController : public QObject {
    Q_OBJECT
  public:
    static constexpr int kHintPauseMs = 500;
    static constexpr int kHintHidePauseMs = 2500;

    explicit HintController(QObject* parent = nullptr);
    ~HintController() override;

    // Shows `hint` (the part before the first "|") for `control`.
    void Attach(QWidget* control, const QString& hint);

    bool IsShown() const { return tip_->isVisible(); }
    QString ShownText() const { return tip_->text(); }
    void Cancel();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Show();

    QLabel* tip_;
    QTimer rest_;
    QTimer hide_;
    QPointer<QWidget> control_;
    QString hint_;
};

}  // namespace pound::app
