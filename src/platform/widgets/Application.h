#pragma once

#include <QApplication>

#include <exception>
#include <functional>
#include <string>
#include <vector>

namespace widgets {

// The application object: its title captions the default error box, which
// reports every exception that escapes an event handler; the event loop goes on.
class Application : public QApplication {
    Q_OBJECT
  public:
    Application(int& argc, char** argv);

    static Application* instance();

    // The command line as the program got it, before Qt took its own options out.
    void setCommandLine(std::vector<std::string> arguments) { arguments_ = std::move(arguments); }
    // Argument `index` (0 is the program), or empty text when there is none.
    std::string paramStr(std::size_t index) const {
        return index < arguments_.size() ? arguments_[index] : std::string();
    }

    void setTitle(const QString& title) { title_ = title; }
    const QString& title() const noexcept { return title_; }

    // Asks the start-up to end the program at once, before the event loop runs.
    void terminate() noexcept { terminated_ = true; }
    bool terminated() const noexcept { return terminated_; }
    void resetTermination() noexcept { terminated_ = false; }

    // The default error box for an exception: innermost message, a full stop added
    // when it ends in a character above ".", the title as caption, an error icon.
    void handleException(std::exception_ptr error);

    bool notify(QObject* receiver, QEvent* event) override;

  private:
    QString title_;
    std::vector<std::string> arguments_;
    bool terminated_ = false;
};

// The text the default error box shows for a message.
QString errorBoxText(const QString& message);
// The message of the innermost nested exception.
QString innermostMessage(std::exception_ptr error);

// Runs a handler; an exception it lets escape goes to the default error box.
void runGuarded(const std::function<void()>& handler);

// Wraps a handler for connect(), so its exceptions reach the default error box.
template <typename F>
auto guarded(F handler) {
    return [handler = std::move(handler)]() { runGuarded(handler); };
}

}  // namespace widgets
