#pragma once
// A D2XX-compatible port interface of our own: the vendor's function names,
// argument order and status codes, so the layer above is written as for the
// vendor's driver library. Device 0 is the tty named by SENSORDRV_PORT when
// that is set (a sensor behind the kernel's FTDI driver, or the simulator's
// pseudo-terminal), otherwise the first FTDI chip that libftdi1 finds.
//
// Like the vendor's driver, every call may come from any thread, on one
// handle from two threads at once; a closed or unknown handle gives
// FT_INVALID_HANDLE, never a crash.

#include <cstdint>

using FT_HANDLE = void*;
using FT_STATUS = std::uint32_t;
using DWORD = std::uint32_t;
using LPDWORD = DWORD*;
using UCHAR = std::uint8_t;
using USHORT = std::uint16_t;

enum : FT_STATUS {
  FT_OK = 0,
  FT_INVALID_HANDLE = 1,
  FT_DEVICE_NOT_FOUND = 2,
  FT_DEVICE_NOT_OPENED = 3,
  FT_IO_ERROR = 4,
  FT_INSUFFICIENT_RESOURCES = 5,
  FT_INVALID_PARAMETER = 6,
  FT_INVALID_BAUD_RATE = 7,
  FT_NOT_SUPPORTED = 17,
  FT_OTHER_ERROR = 18,
};

inline constexpr DWORD FT_LIST_NUMBER_ONLY = 0x80000000;
inline constexpr DWORD FT_LIST_BY_INDEX = 0x40000000;
inline constexpr DWORD FT_LIST_ALL = 0x20000000;
inline constexpr DWORD FT_OPEN_BY_SERIAL_NUMBER = 1;
inline constexpr DWORD FT_OPEN_BY_DESCRIPTION = 2;
inline constexpr DWORD FT_PURGE_RX = 1;
inline constexpr DWORD FT_PURGE_TX = 2;
inline constexpr UCHAR FT_BITS_8 = 8;
inline constexpr UCHAR FT_BITS_7 = 7;
inline constexpr UCHAR FT_STOP_BITS_1 = 0;
inline constexpr UCHAR FT_STOP_BITS_2 = 2;
inline constexpr UCHAR FT_PARITY_NONE = 0;
inline constexpr UCHAR FT_PARITY_ODD = 1;
inline constexpr UCHAR FT_PARITY_EVEN = 2;
// The chip's baud clock: baud = 3 MHz / divisor.
inline constexpr DWORD FT_BAUD_CLOCK = 3000000;

// FT_LIST_ALL | FT_OPEN_BY_DESCRIPTION: pArg1 is a null-terminated array of
// 64-byte buffers (only as many are filled as the array holds), pArg2 the
// device count. FT_LIST_NUMBER_ONLY: pArg1 is the count.
FT_STATUS FT_ListDevices(void* pArg1, void* pArg2, DWORD Flags);
FT_STATUS FT_Open(int deviceNumber, FT_HANDLE* pHandle);
FT_STATUS FT_Close(FT_HANDLE ftHandle);
FT_STATUS FT_Read(FT_HANDLE ftHandle, void* lpBuffer, DWORD dwBytesToRead, LPDWORD lpBytesReturned);
FT_STATUS FT_Write(FT_HANDLE ftHandle, void* lpBuffer, DWORD dwBytesToWrite,
                   LPDWORD lpBytesWritten);
FT_STATUS FT_SetDataCharacteristics(FT_HANDLE ftHandle, UCHAR uWordLength, UCHAR uStopBits,
                                    UCHAR uParity);
FT_STATUS FT_SetDtr(FT_HANDLE ftHandle);
FT_STATUS FT_ClrDtr(FT_HANDLE ftHandle);
FT_STATUS FT_Purge(FT_HANDLE ftHandle, DWORD Mask);
FT_STATUS FT_SetTimeouts(FT_HANDLE ftHandle, DWORD ReadTimeout, DWORD WriteTimeout);
FT_STATUS FT_GetStatus(FT_HANDLE ftHandle, DWORD* dwRxBytes, DWORD* dwTxBytes, DWORD* dwEventDWord);
FT_STATUS FT_SetDivisor(FT_HANDLE ftHandle, USHORT usDivisor);
FT_STATUS FT_SetBitMode(FT_HANDLE ftHandle, UCHAR ucMask, UCHAR ucEnable);
FT_STATUS FT_SetUSBParameters(FT_HANDLE ftHandle, DWORD ulInTransferSize, DWORD ulOutTransferSize);

// The same operations as a table, so the layer above can be driven by a
// stand-in device in tests.
struct FtFunctions {
  decltype(&FT_ListDevices) ListDevices = &FT_ListDevices;
  decltype(&FT_Open) Open = &FT_Open;
  decltype(&FT_Close) Close = &FT_Close;
  decltype(&FT_Read) Read = &FT_Read;
  decltype(&FT_Write) Write = &FT_Write;
  decltype(&FT_SetDataCharacteristics) SetDataCharacteristics = &FT_SetDataCharacteristics;
  decltype(&FT_SetDtr) SetDtr = &FT_SetDtr;
  decltype(&FT_ClrDtr) ClrDtr = &FT_ClrDtr;
  decltype(&FT_Purge) Purge = &FT_Purge;
  decltype(&FT_SetTimeouts) SetTimeouts = &FT_SetTimeouts;
  decltype(&FT_GetStatus) GetStatus = &FT_GetStatus;
  decltype(&FT_SetDivisor) SetDivisor = &FT_SetDivisor;
  decltype(&FT_SetBitMode) SetBitMode = &FT_SetBitMode;
  decltype(&FT_SetUSBParameters) SetUSBParameters = &FT_SetUSBParameters;
};
