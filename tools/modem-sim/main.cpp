// modem-sim: a GSM modem answering AT commands on a pseudo-terminal, for
// the SMS sender's tests and for running the program without a phone.

#include <poll.h>
#include <unistd.h>

#include <QString>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "at_modem.h"
#include "messaging/port_names.h"
#include "messaging/screens/messaging_texts.h"
#include "messaging/settings_file.h"
#include "pseudo_terminal.h"
#include "stdin_watch.h"

namespace {

using namespace modemsim;

const char kUsage[] =
    "modem-sim [--log FILE] [--send-reply ok|error|cms:N|silent] [--silent] [--pdu]\n"
    "          [--telport FILE]\n"
    "Opens a pseudo-terminal, prints its path on the first line and answers AT\n"
    "commands there as a GSM modem in text mode until stdin closes.\n"
    "  --log FILE        every command and message, one line each\n"
    "  --send-reply R    answer to the end of a message (default ok)\n"
    "  --silent          never answer anything\n"
    "  --pdu             offer PDU mode besides text mode\n"
    "  --telport FILE    write this terminal's port name into the settings line of FILE\n";

struct Options {
  ModemConfig config;
  std::string logFile;
  std::string telport;
  std::string error;
  bool help = false;
};

bool ParseReply(const std::string& v, ModemConfig& c) {
  if (v == "ok") {
    c.sendReply = SendReply::Ok;
  } else if (v == "error") {
    c.sendReply = SendReply::Error;
  } else if (v == "silent") {
    c.sendReply = SendReply::Silent;
  } else if (v.rfind("cms:", 0) == 0 && v.size() > 4 && v.size() < 8 &&
             v.find_first_not_of("0123456789", 4) == std::string::npos) {
    c.sendReply = SendReply::CmsError;
    c.cmsError = std::atoi(v.c_str() + 4);
  } else {
    return false;
  }
  return true;
}

Options ParseOptions(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool hasValue = i + 1 < argc;
    if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a == "--silent") {
      o.config.silent = true;
    } else if (a == "--pdu") {
      o.config.pduMode = true;
    } else if (a == "--log" && hasValue) {
      o.logFile = argv[++i];
    } else if (a == "--telport" && hasValue) {
      o.telport = argv[++i];
    } else if (a == "--send-reply" && hasValue) {
      if (!ParseReply(argv[++i], o.config))
        o.error = "неизвестный ответ на отправку: " + std::string(argv[i]);
    } else {
      o.error = "неизвестный параметр: " + a;
    }
  }
  return o;
}

void WriteAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EAGAIN) {
      pollfd p{fd, POLLOUT, 0};
      poll(&p, 1, 100);
    } else if (!(n < 0 && errno == EINTR)) {
      return;  // the host went away; what it did not read is lost, as on a wire
    }
  }
}

int Serve(int master, AtModem& modem, FILE* log, bool watchStdin) {
  for (;;) {
    pollfd fds[2] = {{master, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
    const int ready = poll(fds, watchStdin ? 2 : 1, 500);
    if (ready < 0 && errno != EINTR) return 1;
    if (watchStdin && tools::StdinClosed(fds[1].revents)) return 0;
    if (!(fds[0].revents & POLLIN)) continue;
    char buf[1024];
    const ssize_t n = read(master, buf, sizeof buf);
    if (n <= 0) continue;  // EIO while no host holds the terminal open
    std::string reply;
    std::vector<std::string> lines;
    modem.Receive(buf, static_cast<std::size_t>(n), reply, lines);
    if (log != nullptr) {
      for (const std::string& l : lines) std::fprintf(log, "%s\n", l.c_str());
      std::fflush(log);
    }
    WriteAll(master, reply);
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::signal(SIGPIPE, SIG_IGN);
  const Options options = ParseOptions(argc, argv);
  if (options.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (!options.error.empty()) {
    std::fprintf(stderr, "modem-sim: %s\n%s", options.error.c_str(), kUsage);
    return 2;
  }
  FILE* log = nullptr;
  if (!options.logFile.empty()) {
    log = std::fopen(options.logFile.c_str(), "w");
    if (log == nullptr) {
      std::fprintf(stderr, "modem-sim: не удалось создать журнал %s: %s\n", options.logFile.c_str(),
                   std::strerror(errno));
      return 2;
    }
  }
  tools::Pty pty;
  if (!tools::OpenPty(pty)) {
    std::perror("modem-sim: псевдотерминал не открылся");
    return 1;
  }
  if (!options.telport.empty()) {
    const auto name = sfigmo::PortNameForDevice(pty.path);
    const QString error =
        name ? sfigmo::MessagingErrorText(sfigmo::WriteSettingsPort(
                   QString::fromStdString(options.telport), QString::fromStdString(*name)))
             : QStringLiteral("у терминала %1 нет имени порта")
                   .arg(QString::fromLocal8Bit(pty.path.c_str()));
    if (!error.isEmpty()) {
      std::fprintf(stderr, "modem-sim: %s\n", error.toLocal8Bit().constData());
      return 2;
    }
  }
  std::printf("%s\n", pty.path.c_str());
  std::fflush(stdout);
  AtModem modem(options.config);
  const int rc = Serve(pty.master, modem, log, tools::WatchStdin());
  if (log != nullptr) std::fclose(log);
  return rc;
}
