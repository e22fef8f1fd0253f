#include "savefile.h"

#include <QSaveFile>

bool SaveBytesAtomically(const QString &path, QByteArrayView bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // A full disk shows as a short write, not as an error: anything less
    // than every byte must not replace the old file.
    if (file.write(bytes.data(), bytes.size()) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
