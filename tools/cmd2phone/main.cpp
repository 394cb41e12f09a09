// cmd2phone: sends the results message (sms.txt in the working folder) as an
// SMS through a phone or GSM modem. Started by sfigmo with the settings line
// of telport.txt as its arguments.

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "gammu_sender.h"
#include "message_text.h"
#include "sender_args.h"

namespace {

constexpr int kExitSendFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitTimeout = 3;

// The modem may stop answering in the middle of the library's dialogue;
// only a signal can end that wait.
void OnTimeout(int) {
  static const char kText[] = "cmd2phone: телефон не ответил вовремя\n";
  const ssize_t ignored = write(STDERR_FILENO, kText, sizeof kText - 1);
  (void)ignored;
  _exit(kExitTimeout);
}

}  // namespace

int main(int argc, char** argv) {
  const cmd2phone::SenderArgs args =
      cmd2phone::ParseSenderArgs(std::vector<std::string>(argv + 1, argv + argc));
  if (args.help) {
    std::fputs(cmd2phone::UsageText(), stdout);
    return 0;
  }
  if (!args.error.empty()) {
    std::fprintf(stderr, "cmd2phone: %s\n", args.error.c_str());
    return kExitUsage;
  }
  const cmd2phone::MessageText message = cmd2phone::ReadMessageText("sms.txt");
  if (!message.error.empty()) {
    std::fprintf(stderr, "cmd2phone: %s\n", message.error.c_str());
    return kExitUsage;
  }
  std::signal(SIGALRM, OnTimeout);
  alarm(static_cast<unsigned>(args.timeoutSeconds));
  const cmd2phone::SendResult sent =
      cmd2phone::SendSms(args.device, args.number, message.text, message.plain);
  alarm(0);
  if (!sent.ok) {
    std::fprintf(stderr, "cmd2phone: %s\n", sent.error.c_str());
    return kExitSendFailed;
  }
  std::printf("SMS отправлено на номер %s (порт %s, номер сообщения %d)\n", args.number.c_str(),
              args.portName.c_str(), sent.reference);
  return 0;
}
