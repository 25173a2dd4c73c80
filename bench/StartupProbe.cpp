// Start-up probe: starts programs on an X display with no window manager and measures, for each,
// the time from the fork to the first drawing into its top-level window, and its peak memory.
// Several programs are measured in alternating rounds, so a slow spell on the machine falls on
// all of them alike, and each is reported as a ratio to the last one named (the baseline).
//
//   startup_probe [--rounds N] [--warmup N] [--settle-ms N] [--timeout-s N] [--verbose]
//                 LABEL=PROGRAM ... BASELINE_LABEL=PROGRAM
//
// How the moment of showing is seen: the probe selects SubstructureNotify on the root window,
// so it hears of every top-level window as it is created, configured and mapped (without a window
// manager nothing reparents them), and it keeps a DAMAGE object on the root window. Without
// compositing every window draws into the screen's one pixmap, so that object reports every
// drawing anywhere on the screen, with its rectangle: the first rectangle that falls on a mapped
// window of the program is its first drawing. Qt's windows have no background, so mapping one
// draws nothing; the first rectangle is the program's own first frame. The root's object exists
// before the program is started, so no drawing can come before the probe listens.
//
// Peak memory is the program's VmHWM (/proc/PID/status) after it has run for --settle-ms past
// its first drawing; it is then ended with SIGTERM (SIGKILL if it lingers) and reaped.

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

double NowMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

struct Program {
  std::string label;
  std::string path;
};

struct Run {
  double shownMs = 0;   // fork to the first drawing on the program's window
  double mappedMs = 0;  // fork to the window's MapNotify
  double peakRssMiB = 0;
  double cpuMs = 0;  // user + system time of the whole run, settling included
};

struct Options {
  int rounds = 20;
  int warmup = 2;
  int settleMs = 300;
  int timeoutS = 10;
  bool verbose = false;
  std::vector<Program> programs;
};

struct Failure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

using EventPtr = std::unique_ptr<xcb_generic_event_t, decltype(&std::free)>;

class Display {
 public:
  Display() : connection_(xcb_connect(nullptr, &screenNumber_)) {
    if (xcb_connection_has_error(connection_) != 0) {
      const char* name = std::getenv("DISPLAY");
      throw Failure("cannot open the X display \"" + std::string(name != nullptr ? name : "") +
                    "\"");
    }
    // The programs started must not inherit the probe's connection.
    fcntl(xcb_get_file_descriptor(connection_), F_SETFD, FD_CLOEXEC);

    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection_));
    for (int i = 0; i < screenNumber_ && it.rem > 0; ++i) xcb_screen_next(&it);
    if (it.rem == 0) throw Failure("the display has no such screen");
    root_ = it.data->root;

    const xcb_query_extension_reply_t* damage = xcb_get_extension_data(connection_, &xcb_damage_id);
    if (damage == nullptr || damage->present == 0) {
      throw Failure("the X server has no DAMAGE extension");
    }
    damageEvent_ = damage->first_event + XCB_DAMAGE_NOTIFY;
    // The version must be agreed before the first DAMAGE request.
    std::free(xcb_damage_query_version_reply(
        connection_, xcb_damage_query_version(connection_, 1, 1), nullptr));

    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    Check(xcb_change_window_attributes_checked(connection_, root_, XCB_CW_EVENT_MASK, &mask),
          "cannot watch the root window");
    Check(xcb_damage_create_checked(connection_, xcb_generate_id(connection_), root_,
                                    XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES),
          "cannot create the DAMAGE object on the root window");
  }

  ~Display() { xcb_disconnect(connection_); }
  Display(const Display&) = delete;
  Display& operator=(const Display&) = delete;
  Display(Display&&) = delete;
  Display& operator=(Display&&) = delete;

  // Handles every queued event, waits up to timeoutMs for more, and handles those too.
  template <class Handler>
  void Pump(double timeoutMs, Handler&& handler) {
    Drain(handler);
    if (xcb_connection_has_error(connection_) != 0) throw Failure("lost the X display");
    pollfd fd{xcb_get_file_descriptor(connection_), POLLIN, 0};
    const int ms = std::max(0, static_cast<int>(timeoutMs + 0.999));
    if (poll(&fd, 1, ms) < 0 && errno != EINTR) throw Failure("poll failed");
    Drain(handler);
  }

  // A round trip: every event the server made before it is then in the queue, and is dropped.
  void DiscardPending() {
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) std::free(event);
  }

  [[nodiscard]] xcb_window_t Root() const { return root_; }
  [[nodiscard]] std::uint8_t DamageEvent() const { return damageEvent_; }

 private:
  template <class Handler>
  void Drain(Handler& handler) {
    while (xcb_generic_event_t* raw = xcb_poll_for_event(connection_)) {
      const EventPtr event(raw, &std::free);
      handler(*event);
    }
  }

  void Check(xcb_void_cookie_t cookie, const char* what) {
    if (xcb_generic_error_t* error = xcb_request_check(connection_, cookie)) {
      const int code = error->error_code;
      std::free(error);
      throw Failure(std::string(what) + " (X error " + std::to_string(code) + ")");
    }
  }

  int screenNumber_ = 0;
  xcb_connection_t* connection_;
  xcb_window_t root_ = 0;
  std::uint8_t damageEvent_ = 0;
};

// What the screen shows of one program: its top-level windows, in root coordinates, and when
// the first was mapped and first drawn into.
class Watch {
 public:
  explicit Watch(const Display& display) : root_(display.Root()), damage_(display.DamageEvent()) {}

  void Handle(const xcb_generic_event_t& event) {
    const std::uint8_t type = event.response_type & 0x7fU;
    if (type == 0) {
      throw Failure("X error " +
                    std::to_string(reinterpret_cast<const xcb_generic_error_t&>(event).error_code));
    }
    switch (type) {
      case XCB_CREATE_NOTIFY:
        Created(reinterpret_cast<const xcb_create_notify_event_t&>(event));
        break;
      case XCB_CONFIGURE_NOTIFY:
        Configured(reinterpret_cast<const xcb_configure_notify_event_t&>(event));
        break;
      case XCB_MAP_NOTIFY:
        Mapped(reinterpret_cast<const xcb_map_notify_event_t&>(event));
        break;
      case XCB_UNMAP_NOTIFY:
        Unmapped(reinterpret_cast<const xcb_unmap_notify_event_t&>(event));
        break;
      case XCB_DESTROY_NOTIFY:
        Destroyed(reinterpret_cast<const xcb_destroy_notify_event_t&>(event));
        break;
      default:
        if (type == damage_) Drawn(reinterpret_cast<const xcb_damage_notify_event_t&>(event));
        break;
    }
  }

  [[nodiscard]] std::optional<double> MappedAt() const { return mappedAt_; }
  [[nodiscard]] std::optional<double> ShownAt() const { return shownAt_; }
  [[nodiscard]] bool AllDestroyed() const {
    return std::all_of(windows_.begin(), windows_.end(),
                       [](const auto& entry) { return entry.second.destroyed; });
  }

 private:
  struct TopLevel {
    int x = 0, y = 0, width = 0, height = 0;  // the border included
    bool mapped = false;
    bool destroyed = false;

    [[nodiscard]] bool Covers(const xcb_rectangle_t& r) const {
      return r.x < x + width && x < r.x + r.width && r.y < y + height && y < r.y + r.height;
    }
  };

  TopLevel* Find(xcb_window_t parent, xcb_window_t window) {
    if (parent != root_) return nullptr;
    const auto it = windows_.find(window);
    return it != windows_.end() ? &it->second : nullptr;
  }

  void Created(const xcb_create_notify_event_t& e) {
    if (e.parent != root_) return;
    const int border = 2 * e.border_width;
    windows_[e.window] = TopLevel{e.x, e.y, e.width + border, e.height + border};
  }
  void Configured(const xcb_configure_notify_event_t& e) {
    if (TopLevel* w = Find(e.event, e.window)) {
      const int border = 2 * e.border_width;
      *w = TopLevel{e.x, e.y, e.width + border, e.height + border, w->mapped, w->destroyed};
    }
  }
  void Mapped(const xcb_map_notify_event_t& e) {
    if (TopLevel* w = Find(e.event, e.window)) {
      w->mapped = true;
      if (!mappedAt_) mappedAt_ = NowMs();
    }
  }
  void Unmapped(const xcb_unmap_notify_event_t& e) {
    if (TopLevel* w = Find(e.event, e.window)) w->mapped = false;
  }
  void Destroyed(const xcb_destroy_notify_event_t& e) {
    if (TopLevel* w = Find(e.event, e.window)) w->destroyed = true;
  }
  void Drawn(const xcb_damage_notify_event_t& e) {
    if (shownAt_) return;
    const bool onProgram = std::any_of(windows_.begin(), windows_.end(), [&](const auto& entry) {
      return entry.second.mapped && !entry.second.destroyed && entry.second.Covers(e.area);
    });
    if (onProgram) shownAt_ = NowMs();
  }

  xcb_window_t root_;
  std::uint8_t damage_;
  std::map<xcb_window_t, TopLevel> windows_;
  std::optional<double> mappedAt_;
  std::optional<double> shownAt_;
};

// What the program printed, kept to show when it fails.
class ChildLog {
 public:
  ChildLog() : file_(std::tmpfile(), &std::fclose) {
    if (file_ == nullptr) throw Failure("cannot create a temporary file");
  }

  [[nodiscard]] int Fd() const { return fileno(file_.get()); }
  void Reset() const {
    if (ftruncate(Fd(), 0) != 0) throw Failure("cannot empty the temporary file");
    lseek(Fd(), 0, SEEK_SET);
  }
  [[nodiscard]] std::string Text() const {
    std::string text;
    std::array<char, 4096> buffer{};
    for (off_t at = 0;;) {
      const ssize_t n = pread(Fd(), buffer.data(), buffer.size(), at);
      if (n <= 0) break;
      text.append(buffer.data(), static_cast<std::size_t>(n));
      at += n;
    }
    return text;
  }

 private:
  std::unique_ptr<std::FILE, decltype(&std::fclose)> file_;
};

// The program being measured. It is ended and reaped however the measurement ends: a failed
// run must not leave a window behind on the display for the next one.
class Child {
 public:
  Child(const std::string& path, const ChildLog& log) : started_(NowMs()), pid_(fork()) {
    if (pid_ < 0) throw Failure("fork failed");
    if (pid_ == 0) {
      dup2(log.Fd(), STDOUT_FILENO);
      dup2(log.Fd(), STDERR_FILENO);
      std::string program = path;
      std::array<char*, 2> argv = {program.data(), nullptr};
      execv(argv[0], argv.data());
      std::fprintf(stderr, "cannot start %s: %s\n", argv[0], std::strerror(errno));
      _exit(127);
    }
  }
  ~Child() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;
  Child(Child&&) = delete;
  Child& operator=(Child&&) = delete;

  // The monotonic time taken right before the fork.
  [[nodiscard]] double Started() const { return started_; }
  [[nodiscard]] pid_t Pid() const { return pid_; }

  // Why the program has ended on its own, if it has.
  std::optional<std::string> Ended() {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) != pid_) return std::nullopt;
    pid_ = 0;
    return WIFEXITED(status) ? "exit status " + std::to_string(WEXITSTATUS(status))
                             : "signal " + std::to_string(WTERMSIG(status));
  }

  // Ends the program with SIGTERM (SIGKILL if it lingers) and reaps it; returns its resource use.
  rusage End() {
    rusage usage{};
    int status = 0;
    kill(pid_, SIGTERM);
    const double deadline = NowMs() + 3000;
    pid_t done = 0;
    while (done == 0 && NowMs() < deadline) {
      done = wait4(pid_, &status, WNOHANG, &usage);
      if (done == 0) usleep(2000);
    }
    if (done == 0) {
      kill(pid_, SIGKILL);
      done = wait4(pid_, &status, 0, &usage);
    }
    pid_ = 0;
    if (done < 0) throw Failure("cannot reap the program");
    return usage;
  }

 private:
  double started_;
  pid_t pid_;
};

std::optional<double> PeakRssMiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) {
      std::istringstream fields(line.substr(6));
      double kib = 0;
      if (fields >> kib) return kib / 1024.0;
    }
  }
  return std::nullopt;
}

double Milliseconds(const timeval& t) {
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
}

Run Measure(Display& display, const Program& program, const Options& options,
            const ChildLog& log) {
  log.Reset();
  Watch watch(display);
  const auto handle = [&watch](const xcb_generic_event_t& event) { watch.Handle(event); };
  Child child(program.path, log);
  const auto failure = [&](const std::string& what) {
    std::string message = program.label + ": " + what;
    const std::string output = log.Text();
    if (!output.empty()) message += "\n--- its output ---\n" + output + "---";
    return Failure(message);
  };

  const std::string timeout = std::to_string(options.timeoutS) + " s";
  const double deadline = child.Started() + options.timeoutS * 1000.0;
  while (!watch.ShownAt()) {
    const double now = NowMs();
    if (now >= deadline) {
      throw failure(watch.MappedAt() ? "its window was mapped but not drawn within " + timeout
                                     : "no window appeared within " + timeout);
    }
    if (const std::optional<std::string> why = child.Ended()) {
      throw failure("ended before showing a window (" + *why + ")");
    }
    // The wait returns as soon as the server sends anything; its cap only bounds how late an
    // early end of the program is noticed.
    display.Pump(std::min(50.0, deadline - now), handle);
  }

  const double settleUntil = *watch.ShownAt() + options.settleMs;
  for (double now = NowMs(); now < settleUntil; now = NowMs()) {
    display.Pump(settleUntil - now, handle);
  }
  const std::optional<double> peak = PeakRssMiB(child.Pid());
  const rusage usage = child.End();

  // The next program must not be confused by this one's windows: wait until the server has
  // destroyed them all, then drop whatever it reported before that.
  const double cleanDeadline = NowMs() + 3000;
  while (!watch.AllDestroyed() && NowMs() < cleanDeadline) display.Pump(50, handle);
  if (!watch.AllDestroyed()) {
    std::fprintf(stderr, "startup_probe: %s: its windows outlived it by 3 s\n",
                 program.label.c_str());
  }
  display.DiscardPending();

  Run run;
  run.shownMs = *watch.ShownAt() - child.Started();
  run.mappedMs = watch.MappedAt() ? *watch.MappedAt() - child.Started() : run.shownMs;
  // VmHWM while it runs; the kernel's ru_maxrss (KiB) of the reaped process says the same.
  run.peakRssMiB = peak ? *peak : static_cast<double>(usage.ru_maxrss) / 1024.0;
  run.cpuMs = Milliseconds(usage.ru_utime) + Milliseconds(usage.ru_stime);
  return run;
}

double Quantile(std::vector<double> values, double q) {
  std::sort(values.begin(), values.end());
  const double at = q * static_cast<double>(values.size() - 1);
  const auto lo = static_cast<std::size_t>(at);
  const std::size_t hi = std::min(lo + 1, values.size() - 1);
  return values[lo] + (values[hi] - values[lo]) * (at - static_cast<double>(lo));
}

double Median(const std::vector<double>& values) { return Quantile(values, 0.5); }

std::vector<double> Column(const std::vector<Run>& runs, double Run::*field) {
  std::vector<double> values;
  values.reserve(runs.size());
  std::transform(runs.begin(), runs.end(), std::back_inserter(values),
                 [field](const Run& run) { return run.*field; });
  return values;
}

void PrintSummary(const Options& options, std::map<std::string, std::vector<Run>>& runs) {
  std::printf("%d rounds after %d warm-up; each program ends %d ms after its first drawing\n",
              options.rounds, options.warmup, options.settleMs);
  std::printf("%-10s %-28s %9s %12s %9s\n", "", "start-up ms", "mapped ms", "peak RSS MiB",
              "CPU ms");
  std::printf("%-10s %7s %9s %10s %9s %12s %9s\n", "program", "median", "p25-p75", "min-max",
              "median", "median", "median");
  for (const Program& program : options.programs) {
    const std::vector<Run>& r = runs[program.label];
    const std::vector<double> shown = Column(r, &Run::shownMs);
    const auto range = [](double a, double b) {
      return std::to_string(std::lround(a)) + "-" + std::to_string(std::lround(b));
    };
    std::printf("%-10s %7.1f %9s %10s %9.1f %12.1f %9.1f\n", program.label.c_str(),
                Median(shown), range(Quantile(shown, 0.25), Quantile(shown, 0.75)).c_str(),
                range(Quantile(shown, 0), Quantile(shown, 1)).c_str(),
                Median(Column(r, &Run::mappedMs)), Median(Column(r, &Run::peakRssMiB)),
                Median(Column(r, &Run::cpuMs)));
  }

  // The lines scripts/bench reads: medians, and their ratios to the baseline's.
  const Program& baseline = options.programs.back();
  const std::vector<Run>& base = runs[baseline.label];
  for (const Program& program : options.programs) {
    const std::vector<Run>& r = runs[program.label];
    std::printf("result %s startup_ms=%.2f rss_mib=%.2f\n", program.label.c_str(),
                Median(Column(r, &Run::shownMs)), Median(Column(r, &Run::peakRssMiB)));
  }
  for (const Program& program : options.programs) {
    if (&program == &baseline) continue;
    const std::vector<Run>& r = runs[program.label];
    std::printf("ratio %s/%s startup=%.3f rss=%.3f\n", program.label.c_str(),
                baseline.label.c_str(),
                Median(Column(r, &Run::shownMs)) / Median(Column(base, &Run::shownMs)),
                Median(Column(r, &Run::peakRssMiB)) / Median(Column(base, &Run::peakRssMiB)));
  }
}

[[noreturn]] void Usage(const std::string& message) {
  std::fprintf(stderr,
               "startup_probe: %s\n"
               "usage: startup_probe [--rounds N] [--warmup N] [--settle-ms N] [--timeout-s N]"
               " [--verbose] LABEL=PROGRAM ... BASELINE_LABEL=PROGRAM\n",
               message.c_str());
  std::exit(2);
}

Options ParseOptions(const std::vector<std::string>& args) {
  Options options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const auto number = [&](int minimum) {
      if (i + 1 >= args.size()) Usage("missing value after " + arg);
      const std::string& text = args[++i];
      char* end = nullptr;
      const long value = std::strtol(text.c_str(), &end, 10);
      if (text.empty() || *end != '\0' || value < minimum || value > 100000) {
        Usage("bad value for " + arg);
      }
      return static_cast<int>(value);
    };
    if (arg == "--rounds") {
      options.rounds = number(1);
    } else if (arg == "--warmup") {
      options.warmup = number(0);
    } else if (arg == "--settle-ms") {
      options.settleMs = number(0);
    } else if (arg == "--timeout-s") {
      options.timeoutS = number(1);
    } else if (arg == "--verbose") {
      options.verbose = true;
    } else if (const auto eq = arg.find('='); eq != std::string::npos && eq > 0) {
      const std::string path = arg.substr(eq + 1);
      if (access(path.c_str(), X_OK) != 0) Usage("cannot run " + path);
      options.programs.push_back({arg.substr(0, eq), path});
    } else {
      Usage("unknown argument " + arg);
    }
  }
  if (options.programs.empty()) Usage("no program to measure");
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
  try {
    Display display;
    const ChildLog log;
    std::map<std::string, std::vector<Run>> runs;

    // Each round measures every program once, in turn; every other round the other way round,
    // so none always runs on the heels of another.
    for (int round = 0; round < options.warmup + options.rounds; ++round) {
      std::vector<Program> order = options.programs;
      if (round % 2 == 1) std::reverse(order.begin(), order.end());
      const bool warmup = round < options.warmup;
      for (const Program& program : order) {
        const Run run = Measure(display, program, options, log);
        if (!warmup) runs[program.label].push_back(run);
        if (options.verbose) {
          std::printf("%s %-10s shown %7.1f ms  mapped %7.1f ms  peak %6.1f MiB  cpu %6.1f ms\n",
                      warmup ? "warm-up " : "measured", program.label.c_str(), run.shownMs,
                      run.mappedMs, run.peakRssMiB, run.cpuMs);
        }
      }
    }
    PrintSummary(options, runs);
    return 0;
  } catch (const Failure& failure) {
    std::fprintf(stderr, "startup_probe: %s\n", failure.what());
    return 1;
  }
}
