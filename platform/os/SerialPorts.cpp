#include "platform/os/SerialPorts.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace plat {

namespace {

QString &deviceFolder()
{
    static QString folder = QStringLiteral("/dev");
    return folder;
}

} // namespace

QString SerialDeviceFolder()
{
    return deviceFolder();
}

void SetSerialDeviceFolder(const QString &folder)
{
    deviceFolder() = folder;
}

QString SerialPortDevice(int n)
{
    QString name;
    if (n >= 1 && n <= 64)
        name = QStringLiteral("ttyS%1").arg(n - 1);
    else if (n >= 65 && n <= 192)
        name = QStringLiteral("ttyUSB%1").arg(n - 65);
    else if (n >= 193 && n <= 256)
        name = QStringLiteral("ttyACM%1").arg(n - 193);
    else
        return {};
    return deviceFolder() + QLatin1Char('/') + name;
}

bool SerialPortPresent(int n)
{
    const QString device = SerialPortDevice(n);
    if (device.isEmpty())
        return false;
    const QByteArray path = QFile::encodeName(device);
    // O_NONBLOCK: do not wait for carrier; O_NOCTTY: never become our controlling terminal.
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        return true;
    }
    return errno == EACCES || errno == EBUSY;
}

} // namespace plat
