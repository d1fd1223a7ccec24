#pragma once

#include <QString>

namespace platform {

// What the program does outside its window as it starts: no converter of an earlier run may
// still write, and the temporary folder starts empty. Tests answer for it.
class Housekeeping
{
public:
    virtual ~Housekeeping() = default;
    // Ends every process of the user that runs under the converter's name.
    virtual void EndConverters() = 0;
    // Deletes the program's temporary folder with what it holds.
    virtual void EmptyTemporaryFolder(const QString &folder) = 0;
};

} // namespace platform
