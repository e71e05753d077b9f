#pragma once
// The commands a page offers the work flow, by name: the page binds each to the control that
// carries it, and the availability rules switch them on and off without seeing the controls.
#include <QWidget>
#include <array>
#include <cstddef>
#include <initializer_list>

namespace orvelo::ui {

// `Command` is an enum class whose last enumerator is `Count`.
template <class Command>
class PageCommands {
public:
    using CommandType = Command;

    void setAvailable(Command command, bool on) const { widget(command)->setEnabled(on); }
    void setAvailable(std::initializer_list<Command> commands, bool on) const {
        for (Command c : commands) setAvailable(c, on);
    }
    bool available(Command command) const { return widget(command)->isEnabled(); }

protected:
    void bind(Command command, QWidget* control) { controls_[static_cast<std::size_t>(command)] = control; }

private:
    QWidget* widget(Command command) const { return controls_[static_cast<std::size_t>(command)]; }
    std::array<QWidget*, static_cast<std::size_t>(Command::Count)> controls_{};
};

}  // namespace orvelo::ui
