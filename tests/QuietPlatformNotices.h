#pragma once

// The offscreen platform says, for every window shown, that it cannot raise or resize a native
// window; that says nothing about Tempulo and buries the output of the tests and benchmarks that
// run headless. Installed first thing in their main(), this drops those notices and passes every
// other message on.

#include <cstdio>

#include <QString>
#include <QtGlobal>

namespace quiet_platform_notices {

inline QtMessageHandler& Previous() {
  static QtMessageHandler previous = nullptr;
  return previous;
}

inline void Handle(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (text.startsWith(QLatin1String("This plugin does not support"))) return;
  if (Previous() != nullptr) {
    Previous()(type, context, text);
  } else {
    std::fprintf(stderr, "%s\n", qPrintable(text));
  }
}

inline void Install() { Previous() = qInstallMessageHandler(Handle); }

}  // namespace quiet_platform_notices
