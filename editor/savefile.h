#pragma once

#include <QByteArrayView>
#include <QString>

// Replaces the file at path by bytes, all or nothing: the bytes go to a
// temporary file beside it, which takes the file's place only once every
// byte is written. On failure (no such folder, no permission, a full disk)
// the old file is left exactly as it was and the result is false.
bool SaveBytesAtomically(const QString &path, QByteArrayView bytes);
