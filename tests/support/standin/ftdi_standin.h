#pragma once
// A stand-in for libftdi1, for tests and benchmarks of the USB path: the same
// functions, over one simulated FTDI chip with the simulated sensor behind
// it. Its costs are a real chip's: every control transfer (line settings,
// purge, DTR, modem status) takes 1 ms, a bulk read with nothing to deliver
// waits the context's read time-out, and the chip's receive buffer holds 256
// bytes, so a host that reads too slowly loses bytes. Bytes reach the chip at
// most at the sensor's 250000 baud unless that limit is lifted.
//
// Linked in place of libftdi1: libsensordrv-standin.so is the device library
// built over it. The hooks below are plain C so a test can find them in that
// library with dlsym.

#ifdef __cplusplus
extern "C" {
#endif

struct FtdiStandinOptions {
  double rate;      // sensor samples per second (five per frame)
  int wireLimited;  // 1: bytes reach the chip at 250000 baud at most
  int controlUs;    // duration of one control transfer
  int failPurge;    // 1: purge control transfers fail
  int batteryBits;  // bit-count byte of the battery reply (the sensor's own: 10)
  int fifoBytes;    // the chip's receive buffer
};

struct FtdiStandinStats {
  long controlTransfers;
  long modemPolls;
  long bulkReads;
  long droppedBytes;  // lost to a full receive buffer
};

// Attaches a fresh chip and sensor (replacing one attached before).
void FtdiStandinPlug(const struct FtdiStandinOptions* options);
// Pulls the chip out: every later transfer on it fails as on a real bus.
void FtdiStandinUnplug(void);
void FtdiStandinGetStats(struct FtdiStandinStats* stats);

typedef void (*FtdiStandinPlugFn)(const struct FtdiStandinOptions*);
typedef void (*FtdiStandinUnplugFn)(void);
typedef void (*FtdiStandinGetStatsFn)(struct FtdiStandinStats*);

#ifdef __cplusplus
}

// The real chip's figures; the sensor at its default rate.
inline FtdiStandinOptions FtdiStandinDefaults() {
  return FtdiStandinOptions{50.0, 1, 1000, 0, 10, 256};
}
#endif
