// Arbitrary bytes from the line into the receiving state machine and the
// frame dispatch of the device object, and into the simulator's request
// decoder: nothing may crash, read out of bounds or hang.

#include <cstddef>
#include <cstdint>

#include "protocol.h"
#include "sensor_link.h"

namespace {

void DecodeLikeTheCaller(const sensordrv::Reply& reply) {
  using namespace sensordrv;
  for (std::uint8_t command : {kCmdVersion, kCmdBattery, kCmdStart, kCmdStop}) {
    if (!ReplyMatches(command, reply)) continue;
    if (command == kCmdBattery) (void)BatteryVoltage(reply.Data());
  }
  if (reply.code == kReplyData && reply.dataLength >= kDataBytes) {
    std::int32_t values[kSampleValues];
    DecodeSample(reply.Data(), values);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace sensordrv;
  // The device object on no device: bytes go straight to its receiver.
  static UsbPort port;
  static SensorLink link(port);
  FrameAssembler assembler;
  for (std::size_t i = 0; i < size; ++i) {
    link.PushByte(data[i]);
    if (assembler.PushByte(data[i])) {
      const DecodedFrame frame = DecodeFrame(assembler.Frame());
      if (frame.kind == FrameKind::Info) DecodeLikeTheCaller(frame.reply);
      (void)DecodeRequest(assembler.Frame());
      assembler.Release();
    }
  }
  // Frames as a whole, without the line coding.
  (void)DecodeFrame({data, size});
  (void)DecodeRequest({data, size});
  return 0;
}
