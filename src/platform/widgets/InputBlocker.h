#pragma once

#include <QObject>

#include <functional>

namespace widgets {

// While it lives, the operator's input waits: keys and clicks anywhere in the
// application are dropped, except Esc, which calls `onEscape`. Repaints and
// other events go on, so a long operation can show its progress.
class InputBlocker : public QObject {
    Q_OBJECT
  public:
    explicit InputBlocker(std::function<void()> onEscape);
    ~InputBlocker() override;
    InputBlocker(const InputBlocker&) = delete;
    InputBlocker& operator=(const InputBlocker&) = delete;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::function<void()> onEscape_;
};

}  // namespace widgets
