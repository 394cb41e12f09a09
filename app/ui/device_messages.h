#pragma once
// The device library's message sink for the main window: shows each message
// through TForm1::presentDeviceMessage on the window's thread. A call from
// another thread (the library's reader) is queued and does not wait for the
// user, because the window's thread may at that moment be waiting for that
// very thread to end (_SetDTRPort(0)). `context` is the TForm1.

void DeviceMessageSink(const char* textUtf8, const char* captionUtf8, int isError, void* context);
