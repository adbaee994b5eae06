#pragma once

#include <QString>

namespace zuk {

// The program's version, as "zuk --version", "zuk-batch --version" and "zuk-devsim --version"
// print it.
inline QString versionText() {
    return QStringLiteral(ZUK_VERSION);
}

} // namespace zuk
