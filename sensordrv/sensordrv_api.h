#ifndef SENSORDRV_API_H
#define SENSORDRV_API_H
/*
 * libsensordrv.so: the finger sensor's device library, loaded at run time
 * by file name and bound by these exact names (plain C linkage).
 *
 * Results: a "byte" result defines only its low 8 bits (0 = false, 1 = true);
 * test the low byte. An int result is a full 32-bit 0 or 1. No call throws.
 *
 * Threads: the exports are meant for one caller thread at a time. Between
 * _SetDTRPort(1) and _SetDTRPort(0) the library runs its own reader thread,
 * named "sensordrv-rx", at the process's normal priority (the nice value in
 * effect when the library was loaded), whatever the priority of the thread
 * that starts it; _SetDTRPort(0) stops it and waits until it has ended. The
 * four waiting calls (_Get_version_Device, _Set_status_SENS, _Get_data_SENS,
 * _Get_V_bat) refuse with 0 while another of them is in progress. Each gives
 * up after 1000 sleeps of 1 ms without its reply: at least a second, a little
 * more on a busy machine, however fast the sensor streams.
 *
 * Replies: a reply shorter than its kind needs (4 version bytes, 7 battery
 * bytes, the echoed command of an acknowledgement, 21 bytes of a measurement
 * frame) is not used. After a command's wait has run out, a reply of the
 * same kind still held from earlier counts as the answer: a timed-out
 * _Get_V_bat can return the previous battery reading, and a second
 * _Set_status_SENS(1) during a stream can be acknowledged by the first one's
 * reply.
 *
 * Calling order: _SearchDevices, _OpenPort, 100 ms, _SetDTRPort(1), 100 ms,
 * _Get_V_bat / _Get_version_Device / _Set_status_SENS(1), then one
 * _Get_data_SENS per frame, and at the end _Set_status_SENS(0),
 * _SetDTRPort(0), _ClosePort. The cycle may be repeated while loaded.
 *
 * Device: the tty named by the environment variable SENSORDRV_PORT (a sensor
 * on /dev/ttyUSB0, or sensor-sim's pseudo-terminal), else the first FTDI chip
 * on the USB through libftdi1.
 */

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(SENSORDRV_BUILDING)
#define SENSORDRV_EXPORT __attribute__((visibility("default")))
#else
#define SENSORDRV_EXPORT
#endif

/* 1 when the driver's device listing answered (not: a device is attached). */
SENSORDRV_EXPORT unsigned char _SearchDevices(void);
/* 1 while the device is open. */
SENSORDRV_EXPORT unsigned char _CheckOpenPort(void);
/* Opens and configures device 0; on failure the port is closed again and 0. */
SENSORDRV_EXPORT unsigned char _OpenPort(void);
/* Closes the device; does not stop the reader thread. */
SENSORDRV_EXPORT void _ClosePort(void);
/* on != 0: raises DTR and starts the reader thread; 0: drops DTR and stops
 * it. 0 when the port is closed or DTR could not be changed. */
SENSORDRV_EXPORT unsigned char _SetDTRPort(unsigned char on);
/* Copies the sensor's 4 version bytes to version; 1 on a reply, 0 and version
 * untouched otherwise. */
SENSORDRV_EXPORT int32_t _Get_version_Device(uint8_t* version);
/* on != 0 starts the measurement stream, 0 stops it; 1 when acknowledged.
 * Measurement frames still queued are dropped when the start is sent and when
 * the stop has been waited for. */
SENSORDRV_EXPORT int32_t _Set_status_SENS(unsigned char on);
/* 1 when no waiting call is in progress. */
SENSORDRV_EXPORT unsigned char _Check_status_cmd(void);
/* Fills sample[0..10] (status byte, then ten 16-bit values) from the oldest
 * measurement frame not yet returned: at once when one is queued, else the
 * next one to arrive. 0 and sample untouched when none came within the wait
 * (before _Set_status_SENS(1): after the full wait), and at once when a reply
 * of another kind (an acknowledgement, a battery or version reply) arrives
 * during the wait, or on the first call after loading. Frames are queued 16
 * deep, oldest first: a caller slower than the stream lags behind it by up to
 * 16 frames, and once more than 16 behind loses the oldest without notice. */
SENSORDRV_EXPORT int32_t _Get_data_SENS(int32_t* sample);
/* Asks for the battery: 1 on a reply; the voltage is stored only when the
 * reply gives the converter's width as 10 bits, otherwise the result is 1 and
 * *volts untouched (a caller that must tell these apart presets *volts). */
SENSORDRV_EXPORT int32_t _Get_V_bat(float* volts);
/* 1 after five link tests in a row went unanswered. Cleared only by a link
 * acknowledgement or a completed exchange (a reply to _Get_version_Device,
 * _Get_V_bat or _Set_status_SENS); measurement frames do not clear it, but
 * while they arrive no link tests are sent. */
SENSORDRV_EXPORT unsigned char _Check_failed_Device(void);

/* Added beside the eleven: measurement frames lost since the last
 * _Set_status_SENS(1); 0 when none, otherwise at least 1. Seen are frames
 * damaged on the line (a bad CRC, a frame cut short), frames the stream's
 * own clock shows never arrived (the A + B ticks of the frames received
 * against their arrival times: seen once three more frames have come, when
 * the gap exceeds half a frame and 30 ms), and frames dropped because the
 * caller fell more than 16 behind. Call it after the last frame wanted and
 * two more have been read, before the stop. */
SENSORDRV_EXPORT int32_t _Get_lost_frames_SENS(void);

/* Receives the library's messages (open and write errors, thread start):
 * text and caption in UTF-8; isError 1 for the error-icon boxes (caption
 * "Error"), 0 for plain boxes (caption "ERROR"). The library waits until the
 * sink returns, as for a modal message box. The sink may be called from the
 * reader thread (a failed link-test write): a sink that hands the message to
 * the caller's thread and waits for it must not wait while that thread is
 * inside _SetDTRPort(0), which waits for the reader thread to end.
 * A null sink restores the default: one line on stderr. */
typedef void (*SensordrvMessageSink)(const char* textUtf8, const char* captionUtf8, int isError,
                                     void* context);
SENSORDRV_EXPORT void _SetMessageSink(SensordrvMessageSink sink, void* context);

/* Function-pointer types for dlsym. */
typedef unsigned char (*SensordrvSearchDevicesFn)(void);
typedef unsigned char (*SensordrvCheckOpenPortFn)(void);
typedef unsigned char (*SensordrvOpenPortFn)(void);
typedef void (*SensordrvClosePortFn)(void);
typedef unsigned char (*SensordrvSetDTRPortFn)(unsigned char on);
typedef int32_t (*SensordrvGetVersionDeviceFn)(uint8_t* version);
typedef int32_t (*SensordrvSetStatusSensFn)(unsigned char on);
typedef unsigned char (*SensordrvCheckStatusCmdFn)(void);
typedef int32_t (*SensordrvGetDataSensFn)(int32_t* sample);
typedef int32_t (*SensordrvGetVBatFn)(float* volts);
typedef unsigned char (*SensordrvCheckFailedDeviceFn)(void);
typedef int32_t (*SensordrvGetLostFramesFn)(void);
typedef void (*SensordrvSetMessageSinkFn)(SensordrvMessageSink sink, void* context);

#define SENSORDRV_LIBRARY_NAME "libsensordrv.so"
#define SENSORDRV_SAMPLE_VALUES 11

#ifdef __cplusplus
}
#endif

#endif /* SENSORDRV_API_H */
