// Presence test for the numbered serial ports the configurator lists.
#pragma once

#include <QString>

namespace plat {

// Port numbers run from 1 to 256 (COM1..COM256). Linux has no such numbering, so the number
// range is split over the three usual device families:
//    1.. 64  ->  ttyS0   .. ttyS63    (on-board and PCI UARTs)
//   65..192  ->  ttyUSB0 .. ttyUSB127 (USB serial adapters)
//  193..256  ->  ttyACM0 .. ttyACM63  (USB CDC-ACM devices)
// Returns the device path below SerialDeviceFolder(), or an empty text outside 1..256.
QString SerialPortDevice(int n);

// True when port n exists: its device opens for reading and writing, or the open is refused
// only because the port is in use or not ours (EBUSY, EACCES). The device is closed at once.
bool SerialPortPresent(int n);

// Folder holding the devices, "/dev" by default; tests point it at a folder of fake files.
QString SerialDeviceFolder();
void SetSerialDeviceFolder(const QString &folder);

} // namespace plat
