#pragma once

#include <QString>
#include <QtGlobal>

namespace zuk {

// A count the operator reads (strikes, plan lines), grouped in threes the Russian way, as the
// rest of the program speaks: "22 778", the groups parted by the no-break space the Russian
// locale gives, whatever locale the system has.
QString countText(qint64 count);

} // namespace zuk
