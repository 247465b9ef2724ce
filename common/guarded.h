#pragma once

// The guard around every user action (menu entry, button, key) and around every other
// handler Qt calls (timers, combo and list handlers, network replies, device data), and the
// words in which a failed access to the competition file is told to the person at the screen.

#include <QObject>
#include <QString>

#include <cstddef>
#include <functional>
#include <tuple>
#include <type_traits>
#include <utility>

namespace kx {

class UserInterface;
namespace db {
class Error;
}

// Runs one user action. A database error or any other std::exception is shown as a message
// and ends only that action; an abandoned PDF output (already reported) ends it silently.
// The program goes on.
// Returns true when the action ran to its end.
bool RunGuarded(UserInterface& ui, const std::function<void()>& action);

// The message about a failed access to the competition file. The faults of the file that a
// race office meets (another program's lock, a full disk, missing write rights, a replaced
// or damaged file) are said in German with the file's name, that nothing was saved and what
// to do; the technical text (SQLite's, with the statement) goes to the log only. Any other
// failure keeps its own text. Every message about a database error is formed here.
QString DatabaseErrorText(const db::Error& error);

// "Die Datei '<path>' wird gerade von einem anderen Programm verwendet." with `kept` (what
// was or was not saved, may be empty) and "Bitte später nochmals versuchen." on lines of
// their own.
QString FileInUseText(const QString& path, const QString& kept = QString());

namespace detail {

// Calls `handler` with as many of the leading arguments as it takes, as Qt's own connect
// does with a slot that takes fewer arguments than its signal.
template <std::size_t N, class Handler, class Args>
void CallWithLeading(Handler& handler, const Args& args) {
  constexpr bool takesN = []<std::size_t... I>(std::index_sequence<I...>) {
    return std::is_invocable_v<Handler&, std::tuple_element_t<I, Args>...>;
  }
  (std::make_index_sequence<N>{});
  if constexpr (takesN) {
    [&]<std::size_t... I>(std::index_sequence<I...>) {
      handler(std::get<I>(args)...);
    }
    (std::make_index_sequence<N>{});
  } else if constexpr (N == 0) {
    static_assert(takesN, "the handler takes none of the signal's argument lists");
  } else {
    CallWithLeading<N - 1>(handler, args);
  }
}

}  // namespace detail

// Connects a signal to a handler that runs under RunGuarded: an exception never leaves
// the handler into Qt's event loop. Every connection of the program is made this way (see
// CONTRIBUTING.md); `handler` takes the signal's leading arguments (or none), and is
// called while `context` lives.
template <class Sender, class Signal, class Handler>
QMetaObject::Connection ConnectGuarded(UserInterface& ui, const Sender* sender, Signal signal,
                                       const QObject* context, Handler handler) {
  return QObject::connect(sender, signal, context,
                          [&ui, handler = std::move(handler)](const auto&... args) mutable -> void {
                            RunGuarded(ui, [&] {
                              detail::CallWithLeading<sizeof...(args)>(handler, std::tie(args...));
                            });
                          });
}

}  // namespace kx
