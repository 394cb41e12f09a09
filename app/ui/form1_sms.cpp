// "МобSMS": the phone SMS window, which replaces the current record with
// the last saved measurement.

#include "messaging/screens/form3.h"
#include "ui/form1.h"

void TForm1::SMS2Click() {
  if (Form3 == nullptr) return;
  if (!CurrentRecord) CurrentRecord = std::make_unique<sfigmo::PulsogramRecord>();
  Form3->setSources(CurrentRecord.get(), ProgramFolder);
  execModal(Form3);  // the start-up check runs again when it closes
}
