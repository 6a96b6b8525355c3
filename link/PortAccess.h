#pragma once

#include <QString>

// Why the pedal's port could not be opened, in words a user can act on. On Linux a serial
// device belongs to a group (dialout on Debian and Ubuntu, uucp elsewhere) whose members
// may open it; anyone else gets "Permission denied" and needs to join that group.
namespace PortAccess {

// What the system says about a device after an open failed.
struct DeviceFacts
{
    int accessError = 0;    // errno of access(path, R_OK | W_OK); 0 when the user may open it
    QString group;          // name of the group that owns the device; empty when unknown
    bool notDevice = false; // it exists and is not a character device
};

// The device a port name stands for: a path that exists (from the current folder too) as
// it is, made absolute; a bare name with no "/" that does not exist here is looked for
// under /dev ("ttyACM0").
QString devicePath(const QString &given);

// Whether `path` may be opened as a serial device: it is a character device, or does not
// exist (opening then says why). A regular file, a folder or a FIFO is not.
bool isSerialDevice(const QString &path);

// Looks the device up: stat() for its group, getgrgid() for the group's name, access() for
// whether this user may read and write it.
DeviceFacts inspect(const QString &path);

// The text that explains a failed open of `path`; `systemError` is the system's own
// description of the failure, which the text always carries.
QString openFailureText(const QString &path, const QString &systemError, const DeviceFacts &facts);

// openFailureText() with the facts of the device as it is now.
QString describeOpenFailure(const QString &path, const QString &systemError);

} // namespace PortAccess
