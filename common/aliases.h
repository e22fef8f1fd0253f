#pragma once

#include <QString>

// Rewrites every long alias ("@A-button", "@qdf", ...) into its two-character
// token, one alias after the other in table order, each pass left to right
// without overlaps.
QString ExpandAliases(const QString &text);
