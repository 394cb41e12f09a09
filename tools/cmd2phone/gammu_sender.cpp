#include "gammu_sender.h"

#include <gammu.h>

#include <cstring>
#include <memory>

namespace cmd2phone {

namespace {

struct SendStatus {
  bool answered = false;
  int status = 0;  // 0: sent; a +CMS ERROR number; -1 for a plain ERROR
  int reference = -1;
};

void OnSendStatus(GSM_StateMachine*, int status, int reference, void* data) {
  auto* s = static_cast<SendStatus*>(data);
  s->answered = true;
  s->status = status;
  s->reference = reference;
}

struct MachineDeleter {
  void operator()(GSM_StateMachine* s) const {
    if (GSM_IsConnected(s)) GSM_TerminateConnection(s);
    GSM_FreeStateMachine(s);
  }
};
using Machine = std::unique_ptr<GSM_StateMachine, MachineDeleter>;

std::string LibraryError(const char* step, GSM_Error e) {
  return std::string(step) + ": " + GSM_ErrorString(e) + " (" + GSM_ErrorName(e) + ")";
}

// Meaning of the modem's +CMS ERROR numbers a user may meet (3GPP 27.005).
std::string ModemError(int code) {
  if (code < 0) return "модем ответил на отправку: ERROR";
  const char* meaning = nullptr;
  switch (code) {
    case 300:
      meaning = "сбой телефона";
      break;
    case 301:
      meaning = "услуга SMS зарезервирована";
      break;
    case 302:
      meaning = "операция не разрешена";
      break;
    case 304:
      meaning = "неверный параметр в режиме PDU";
      break;
    case 305:
      meaning = "неверный параметр в текстовом режиме";
      break;
    case 310:
      meaning = "нет SIM-карты";
      break;
    case 311:
      meaning = "нужен PIN-код SIM-карты";
      break;
    case 330:
      meaning = "неизвестен номер SMS-центра";
      break;
    case 331:
      meaning = "нет сети";
      break;
    case 332:
      meaning = "сеть не ответила вовремя";
      break;
    case 500:
      meaning = "неизвестная ошибка";
      break;
    default:
      break;
  }
  std::string text = "модем ответил на отправку: +CMS ERROR: " + std::to_string(code);
  if (meaning != nullptr) text += std::string(" (") + meaning + ")";
  return text;
}

void Configure(GSM_StateMachine* s, const std::string& device) {
  GSM_Config* cfg = GSM_GetConfig(s, 0);
  // The library frees these strings itself when the machine goes.
  std::free(cfg->Device);
  std::free(cfg->Connection);
  std::free(cfg->DebugFile);
  cfg->Device = strdup(device.c_str());
  cfg->Connection = strdup("at");
  cfg->DebugFile = nullptr;
  cfg->Model[0] = '\0';
  cfg->DebugLevel[0] = '\0';
  cfg->SyncTime = FALSE;
  cfg->LockDevice = FALSE;  // lock files need a writable /var/lock
  cfg->StartInfo = FALSE;
  cfg->UseGlobalDebugFile = FALSE;
  GSM_SetConfigNum(s, 1);
}

}  // namespace

SendResult SendSms(const std::string& device, const std::string& number, const std::string& text,
                   bool plain) {
  SendResult result;
  Machine s(GSM_AllocStateMachine());
  if (!s) {
    result.error = "нет памяти для библиотеки телефона";
    return result;
  }
  Configure(s.get(), device);
  GSM_Error e = GSM_InitConnection(s.get(), 1);
  if (e != ERR_NONE) {
    result.error = LibraryError(("нет связи с телефоном на " + device).c_str(), e);
    return result;
  }
  SendStatus status;
  GSM_SetSendSMSStatusCallback(s.get(), OnSendStatus, &status);

  GSM_SMSC smsc{};
  smsc.Location = 1;
  e = GSM_GetSMSC(s.get(), &smsc);
  if (e != ERR_NONE) {
    result.error = LibraryError("номер SMS-центра не прочитан", e);
    return result;
  }
  auto sms = std::make_unique<GSM_SMSMessage>();
  std::memset(sms.get(), 0, sizeof *sms);
  CopyUnicodeString(sms->SMSC.Number, smsc.Number);
  sms->SMSC.Location = 0;
  EncodeUnicode(sms->Number, number.c_str(), number.size());
  DecodeUTF8(sms->Text, text.c_str(), text.size());
  sms->PDU = SMS_Submit;
  sms->UDH.Type = UDH_NoUDH;
  sms->Coding = plain ? SMS_Coding_Default_No_Compression : SMS_Coding_Unicode_No_Compression;
  sms->Class = -1;

  e = GSM_SendSMS(s.get(), sms.get());
  if (e != ERR_NONE) {
    result.error = LibraryError("библиотека телефона не приняла SMS", e);
    return result;
  }
  // The modem answers the message some seconds later; the caller's time-out
  // ends a modem that never does.
  while (!status.answered) {
    GSM_ReadDevice(s.get(), TRUE);
    if (!GSM_IsConnected(s.get())) {
      result.error = "связь с телефоном прервалась";
      return result;
    }
  }
  if (status.status != 0) {
    result.error = ModemError(status.status);
    return result;
  }
  result.ok = true;
  result.reference = status.reference;
  return result;
}

}  // namespace cmd2phone
